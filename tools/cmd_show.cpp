// kova show: every port and parameter of a description with its kind,
// value text, default and usage states.
#include "tools/subcommands.h"

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("show", "List every port and parameter of a description");
    add_load_options(*command, state);
    command->footer("Example: kova show examples/fifo.xml");
    command->callback([&state]() {
        run_command(state, false, [](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_show_answer(session, answer);
        });
    });
}
