// kova widths: the width of every port under the settings.
#include "tools/subcommands.h"

void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("widths", "Evaluate the width of every port");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova widths examples/fifo.xml --set WIDTH=32 --set DEPTH=512");
    command->callback([&state]() {
        run_command(state, true, [](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_widths_answer(session, answer);
        });
    });
}
