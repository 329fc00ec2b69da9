// kova validate: one validation run; exit status 0 when valid, 1 when not.
#include <iostream>

#include "tools/subcommands.h"

void add_validate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("validate", "Run the validator and print every message");
    add_load_options(*command, state.load);
    add_settings_options(*command, state);
    command->footer("Example: kova validate examples/fifo.xml --set WIDTH=12 --use din");
    command->callback([&state]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        const bool valid = validator->run_validator();
        print_messages(*validator, state.load.description, std::cout);
        std::cout << state.load.description << ": " << (valid ? "valid" : "invalid") << "\n";
        state.exit_code = valid ? KOVA_EXIT_OK : KOVA_EXIT_INVALID;
    });
}
