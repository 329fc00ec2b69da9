// kova stimulus: the values a stimulus vector drives at one time.
#include "tools/subcommands.h"

void add_stimulus_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("stimulus", "Print the transitions of a stimulus vector at a time");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    auto time = std::make_shared<int>(0);
    command->add_option("vector", *name, "Stimulus vector name")->required();
    command->add_option("--time", *time, "Time, in the unit the force commands use")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova stimulus examples/counter.xml count_cycle --time 50 --set DIRECTION=both");
    command->callback([&state, name, time]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_stimulus_answer(session, *name, *time, answer);
        });
    });
}
