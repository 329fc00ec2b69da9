// Tables of the answers' text form.
#include "session/text_table.h"

#include <algorithm>
#include <iomanip>

#include "host/kova_stl.h"
#include "session/json_text.h"

void print_table(const KOVA_TABLE& table, std::ostream& out) {
    if (table.empty()) return;
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& row : table)
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const auto& row : table) {
        for (std::size_t column = 0; column + 1 < row.size(); ++column)
            out << std::left << std::setw(static_cast<int>(widths[column])) << row[column] << "  ";
        if (!row.empty()) out << row.back();
        out << "\n";
    }
}

nlohmann::json table_json(const KOVA_TABLE& table) {
    nlohmann::json rows = nlohmann::json::array();
    for (std::size_t r = 1; r < table.size(); ++r) {
        nlohmann::json row = nlohmann::json::object();
        for (std::size_t column = 0; column < table[r].size(); ++column)
            row[to_lower_case(table.front()[column])] = kova_json_text(table[r][column]);
        rows.push_back(row);
    }
    return rows;
}
