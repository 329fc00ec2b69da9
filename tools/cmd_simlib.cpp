// kova simlib: the library names a simulation of the building block needs
// under the given settings.
#include <iostream>

#include "tools/subcommands.h"

void add_simlib_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("simlib", "Show the simulation libraries for the settings");
    add_load_options(*command, state.load);
    add_settings_options(*command, state);
    command->footer("Example: kova simlib examples/fifo.xml --set MEMORY_TYPE=distributed");
    command->callback([&state]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        const std::string libraries = validator->get_simulation_library();
        const nlohmann::json document = {{"libraries", libraries}, {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) { out << libraries << "\n"; }, std::cout);
    });
}
