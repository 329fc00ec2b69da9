// kova messages: the wizard's messages that apply to the settings.
#include "session/json_document.h"
#include "session/wizard_queries.h"
#include "tools/subcommands.h"

void add_messages_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("messages", "Show the messages that apply to the settings");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova messages examples/fifo.xml --set MEMORY_TYPE=distributed --set WIDTH=72");
    command->callback([&state]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            const std::vector<std::string> shown = kova_wizard_messages(session, output.messages);
            output.document["wizard_messages"] = kova_texts_json(shown);
            output.text = [shown](std::ostream& out) {
                for (const std::string& text : shown) out << text << "\n";
            };
        });
    });
}
