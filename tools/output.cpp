// Tables, JSON documents and message lines of the kova tool.
#include "tools/output.h"

#include <algorithm>
#include <iomanip>

#include "host/kova_stl.h"
#include "tools/kova_tool.h"

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
            row[to_lower_case(table.front()[column])] = table[r][column];
        rows.push_back(row);
    }
    return rows;
}

nlohmann::json messages_json(const KOVA_RULES_VALIDATOR& validator) { return validator.get_error_messages(); }

nlohmann::json ports_json(const KOVA_RULES_VALIDATOR& validator) {
    nlohmann::json ports = nlohmann::json::array();
    const KOVA_OBJ_MAP list = validator.get_port_list();  // a copy: keep it alive through the walk
    for (const auto& entry : list.entries()) {
        const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
        ports.push_back({{"name", port->get_name()},
                         {"kind", object_kind_name(port->obj_type)},
                         {"width", port->get_port_width()},
                         {"usage", kova_get_usage_state_as_string(port->m_current_usage_state)},
                         {"alt_usage", kova_get_usage_state_as_string(port->m_alt_usage_state)}});
    }
    return ports;
}

nlohmann::json parameters_json(const KOVA_RULES_VALIDATOR& validator) {
    nlohmann::json parameters = nlohmann::json::array();
    const KOVA_OBJ_MAP list = validator.get_parameter_list();  // a copy: keep it alive through the walk
    for (const auto& entry : list.entries()) {
        const auto* parameter = static_cast<const KOVA_PARAMETER_OBJ*>(entry.second);
        parameters.push_back({{"name", parameter->get_name()},
                              {"kind", object_kind_name(parameter->obj_type)},
                              {"value", parameter->get_current_value()},
                              {"alt_value", parameter->m_alt_value},
                              {"usage", kova_get_usage_state_as_string(parameter->m_current_usage_state)},
                              {"alt_usage", kova_get_usage_state_as_string(parameter->m_alt_usage_state)}});
    }
    return parameters;
}

void print_messages(const KOVA_RULES_VALIDATOR& validator, const std::string& source, std::ostream& out) {
    for (const std::string& message : validator.get_error_messages()) out << source << ": error: " << message << "\n";
}

void emit(bool json, const nlohmann::json& document, const std::function<void(std::ostream&)>& text,
          std::ostream& out) {
    if (json)
        out << document.dump(2) << "\n";
    else
        text(out);
}
