// kova validate: one validation run; exit status 0 when valid, 1 when not.
#include <iostream>

#include "tools/settings_file.h"
#include "tools/subcommands.h"

void add_validate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("validate", "Run the validator and print every message");
    add_load_options(*command, state.load);
    add_settings_options(*command, state);
    auto save = std::make_shared<std::string>();
    command->add_option("--save", *save, "Write the settings after the run (corrections included) to a file");
    command->footer("Example: kova validate examples/fifo.xml --set WIDTH=12 --use din --save fifo.settings");
    command->callback([&state, save]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        const bool valid = validator->run_validator();
        const nlohmann::json document = {{"description", state.load.description},
                                         {"valid", valid},
                                         {"messages", messages_json(*validator)},
                                         {"ports", ports_json(*validator)},
                                         {"parameters", parameters_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            print_messages(*validator, state.load.description, out);
            out << state.load.description << ": " << (valid ? "valid" : "invalid") << "\n";
        }, std::cout);
        state.exit_code = valid ? KOVA_EXIT_OK : KOVA_EXIT_INVALID;
        if (!save->empty() && !write_settings_file(*save, current_settings(*validator))) {
            usage_error(state, "cannot write " + *save);
        }
    });
}
