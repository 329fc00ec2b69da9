// kova simlib: the simulation libraries the configuration needs.
#include "tools/subcommands.h"

void add_simlib_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("simlib", "Show the simulation libraries for the settings");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova simlib examples/fifo.xml --set MEMORY_TYPE=distributed");
    command->callback([&state]() {
        run_command(state, true, [](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_simlib_answer(session, answer);
        });
    });
}
