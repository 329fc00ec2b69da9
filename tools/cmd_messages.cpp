// kova messages: the wizard's messages that apply to the settings.
#include "tools/subcommands.h"

void add_messages_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("messages", "Show the messages that apply to the settings");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova messages examples/fifo.xml --set MEMORY_TYPE=distributed --set WIDTH=72");
    command->callback([&state]() {
        run_command(state, true, [](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_messages_answer(session, answer);
        });
    });
}
