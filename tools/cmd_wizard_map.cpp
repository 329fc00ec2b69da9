// kova wizard-map: evaluates one wizard map under the given settings and
// prints every object of the map with its current value and usage state.
// A validation run comes first, so that hidden parameters and macro calls
// that the map's rules read hold their derived values.
#include <iostream>

#include "tools/kova_tool.h"
#include "tools/subcommands.h"

namespace {

// Where an object of the map comes from: its own description, or the
// filling with parameters or used ports.
std::string object_source(int wizard_kind) {
    if (wizard_kind == 1) return "parameter";
    if (wizard_kind == 2) return "port";
    return "map";
}

KOVA_TABLE object_table(KOVA_WIZARD_MAP& map) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "USAGE", "SOURCE"}};
    for (const KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot())
        table.push_back({object_kind_name(object->obj_type), object->get_name(), object->get_current_value(),
                         kova_get_usage_state_as_string(object->usage_state), object_source(object->wizard_kind)});
    return table;
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
            usage_error(state, "no wizard map is named " + *name);
            return;
        }
        derive_values(*validator);
        validator->evaluate_wizard_map(*map);
        const KOVA_TABLE table = object_table(*map);
        const nlohmann::json document = {
            {"map", map->get_map_name()}, {"objects", table_json(table)}, {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            out << map->get_map_name() << ": " << map->get_kova_obj_count() << " objects\n";
            print_table(table, out);
            print_messages(*validator, state.load.description, out);
        }, std::cout);
    });
}
