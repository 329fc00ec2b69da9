// kova wizard-map: a wizard map evaluated under the settings.
#include "session/json_text.h"
#include "tools/subcommands.h"

namespace {

// Where an object of the map comes from: its own description, or the
// filling with parameters or used ports.
const char* source_name(int wizard_kind) {
    switch (wizard_kind) {
        case KOVA_WIZARD_ADDED_PARAMETER: return "parameter";
        case KOVA_WIZARD_ADDED_PORT: return "port";
        default: return "map";
    }
}

KOVA_TABLE object_table(const KOVA_WIZARD_MAP& map) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "USAGE", "SOURCE"}};
    for (const KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot()) {
        table.push_back({kova_object_kind_name(object->obj_type), object->get_name(), object->get_current_value(),
                         kova_get_usage_state_as_string(object->usage_state), source_name(object->wizard_kind)});
    }
    return table;
}

}  // namespace

void add_wizard_map_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("wizard-map", "Evaluate a wizard map and print its objects");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("name", *name, "Wizard map name")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova wizard-map examples/counter.xml generics --set WIDTH=12 --set DIRECTION=down");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_RULES_VALIDATOR& validator = session.validator();
            KOVA_WIZARD_MAP* map = validator.get_wizard_map(*name);
            if (!map) {
                output.usage_problem = "no wizard map is named " + *name;
                return;
            }
            validator.clear_error_messages();
            validator.evaluate_wizard_map(*map);
            output.messages = session.take_messages();
            const KOVA_TABLE table = object_table(*map);
            const std::string map_name = map->get_map_name();
            const std::size_t count = map->get_kova_obj_count();
            output.document["map"] = kova_json_text(map_name);
            output.document["objects"] = table_json(table);
            output.text = [table, map_name, count](std::ostream& out) {
                out << map_name << ": " << count << " objects\n";
                print_table(table, out);
            };
        });
    });
}
