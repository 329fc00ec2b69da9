// kova explain: why a port or parameter is in its state after the run
// (session/explain.h); exit status 0 when the configuration is valid, 1
// when not, 2 for a name the description does not have.
#include "tools/subcommands.h"

void add_explain_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("explain", "Explain a port or parameter: its rules, what they gave, "
                                                  "the settings they depend on and what depends on it");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("name", *name, "Port or parameter name")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova explain examples/ram.xml BYTE_ENABLES --settings examples/ram-conflicts.settings");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT& run, KOVA_ANSWER& answer) {
            kova_explain_answer(session, run, *name, answer);
        });
    });
}
