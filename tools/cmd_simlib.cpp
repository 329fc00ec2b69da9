// kova simlib: the simulation libraries the configuration needs.
#include "session/json_document.h"
#include "tools/subcommands.h"

void add_simlib_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("simlib", "Show the simulation libraries for the settings");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova simlib examples/fifo.xml --set MEMORY_TYPE=distributed");
    command->callback([&state]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_RULES_VALIDATOR& validator = session.validator();
            validator.clear_error_messages();
            const std::string libraries = validator.get_simulation_library();
            output.messages = session.take_messages();
            std::vector<std::string> list;
            for (std::size_t start = 0, end; (end = libraries.find(';', start)) != std::string::npos; start = end + 1)
                list.push_back(libraries.substr(start, end - start));
            output.document["libraries"] = kova_texts_json(list);
            output.document["library_text"] = kova_json_text(libraries);
            output.text = [libraries](std::ostream& out) { out << libraries << "\n"; };
        });
    });
}
