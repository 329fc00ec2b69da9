// kova wizard-map: evaluates one wizard map under the given settings and
// prints every object of the map with its current value and usage state.
// A validation run comes first, so that hidden parameters and macro calls
// that the map's rules read hold their derived values.
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <vector>

#include "tools/kova_tool.h"
#include "tools/subcommands.h"

namespace {

using ROW = std::vector<std::string>;

// Where an object of the map comes from: its own description, or the
// filling with parameters or used ports.
std::string object_source(int wizard_kind) {
    if (wizard_kind == 1) return "parameter";
    if (wizard_kind == 2) return "port";
    return "map";
}

std::vector<ROW> collect_rows(KOVA_WIZARD_MAP& map) {
    std::vector<ROW> rows{{"KIND", "NAME", "VALUE", "USAGE", "SOURCE"}};
    for (const KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot())
        rows.push_back({object_kind_name(object->obj_type), object->get_name(), object->get_current_value(),
                        kova_get_usage_state_as_string(object->usage_state), object_source(object->wizard_kind)});
    return rows;
}

// Columns padded to their widest cell, the last one unpadded.
void print_rows(const std::vector<ROW>& rows, std::ostream& out) {
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const ROW& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const ROW& row : rows) {
        for (std::size_t column = 0; column + 1 < row.size(); ++column)
            out << std::left << std::setw(static_cast<int>(widths[column])) << row[column] << "  ";
        out << row.back() << "\n";
    }
}

}  // namespace

void add_wizard_map_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("wizard-map", "Evaluate a wizard map and print its objects");
    add_load_options(*command, state.load);
    auto name = std::make_shared<std::string>();
    command->add_option("name", *name, "Wizard map name")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova wizard-map examples/counter.xml generics --set WIDTH=12 --set DIRECTION=down");
    command->callback([&state, name]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        KOVA_WIZARD_MAP* map = validator->get_wizard_map(*name);
        if (!map) {
            std::cerr << "kova: no wizard map is named " << *name << "\n";
            state.exit_code = KOVA_EXIT_USAGE;
            return;
        }
        validator->run_validator();
        validator->clear_error_messages();
        validator->evaluate_wizard_map(*map);
        std::cout << map->get_map_name() << ": " << map->get_kova_obj_count() << " objects\n";
        print_rows(collect_rows(*map), std::cout);
        print_messages(*validator, state.load.description, std::cout);
    });
}
