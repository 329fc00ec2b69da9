// kova wizard-map: a wizard map, or every map when none is named,
// evaluated under the settings.
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

void print_map(const KOVA_WIZARD_MAP_RESULT& map, std::ostream& out) {
    out << map.map << ": " << map.entries.size() << " objects\n";
    print_table(object_table(map), out);
}

void one_map(const std::string& name, KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output) {
    KOVA_WIZARD_MAP_RESULT map;
    if (!kova_evaluate_wizard_map(session, name, map, output.messages)) {
        output.usage_problem = "no wizard map is named " + name;
        return;
    }
    output.document = kova_wizard_map_json(map);
    output.text = [map](std::ostream& out) { print_map(map, out); };
}

// Every map, a blank line between two.
void every_map(KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output) {
    const std::vector<KOVA_WIZARD_MAP_RESULT> maps = kova_evaluate_wizard_maps(session, output.messages);
    output.document = kova_wizard_maps_json(maps);
    output.text = [maps](std::ostream& out) {
        for (std::size_t i = 0; i < maps.size(); ++i) {
            if (i) out << "\n";
            print_map(maps[i], out);
        }
    };
}

}  // namespace

void add_wizard_map_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("wizard-map", "Evaluate a wizard map, or every map, and print its objects");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("name", *name, "Wizard map name (every map when left out)");
    add_settings_options(*command, state);
    command->footer("Example: kova wizard-map examples/counter.xml generics --set WIDTH=12 --set DIRECTION=down");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            if (name->empty()) every_map(session, output);
            else one_map(*name, session, output);
        });
    });
}
