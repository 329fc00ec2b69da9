// kova messages: the message texts the description shows for the given
// settings, selected after a validation run.
#include <iostream>
#include <vector>

#include "tools/subcommands.h"

void add_messages_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("messages", "Show the messages that apply to the settings");
    add_load_options(*command, state.load);
    add_settings_options(*command, state);
    command->footer("Example: kova messages examples/fifo.xml --set MEMORY_TYPE=distributed --set WIDTH=72");
    command->callback([&state]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        validator->run_validator();
        validator->process_external_messages();
        validator->reset_external_message_list();
        std::vector<std::string> shown;
        while (const KOVA_RULE_ELEMENT* message = validator->get_next_external_message())
            shown.push_back(message->get_value());
        const nlohmann::json document = {{"shown", shown}, {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            for (const std::string& text : shown) out << text << "\n";
        }, std::cout);
    });
}
