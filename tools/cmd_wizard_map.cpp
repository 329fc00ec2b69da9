// kova wizard-map: a wizard map, or every map when none is named,
// evaluated under the settings.
#include "tools/subcommands.h"

void add_wizard_map_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("wizard-map", "Evaluate a wizard map, or every map, and print its objects");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("name", *name, "Wizard map name (every map when left out)");
    add_settings_options(*command, state);
    command->footer("Example: kova wizard-map examples/counter.xml generics --set WIDTH=12 --set DIRECTION=down");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_wizard_map_answer(session, *name, answer);
        });
    });
}
