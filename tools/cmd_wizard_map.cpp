// kova wizard-map: a wizard map evaluated under the settings.
#include "session/json_document.h"
#include "session/wizard_queries.h"
#include "tools/subcommands.h"

namespace {

KOVA_TABLE object_table(const KOVA_WIZARD_MAP_RESULT& map) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "USAGE", "SOURCE"}};
    for (const KOVA_MAP_ENTRY& entry : map.entries)
        table.push_back({entry.kind, entry.name, entry.value, entry.usage, entry.source});
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
            KOVA_WIZARD_MAP_RESULT map;
            if (!kova_evaluate_wizard_map(session, *name, map, output.messages)) {
                output.usage_problem = "no wizard map is named " + *name;
                return;
            }
            const KOVA_TABLE table = object_table(map);
            output.document = kova_wizard_map_json(map);
            output.text = [table, map_name = map.map, count = map.entries.size()](std::ostream& out) {
                out << map_name << ": " << count << " objects\n";
                print_table(table, out);
            };
        });
    });
}
