// kova widths: every port with the width its expression evaluates to under
// the given settings.
#include <iomanip>
#include <iostream>

#include "tools/subcommands.h"

void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("widths", "Evaluate the width of every port");
    add_load_options(*command, state.load);
    add_settings_options(*command, state);
    command->footer("Example: kova widths examples/fifo.xml --set WIDTH=32 --set DEPTH=512");
    command->callback([&state]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        validator->evaluate_port_widths();
        const KOVA_OBJ_MAP ports = validator->get_port_list();
        std::size_t name_width = 4;
        for (const auto& entry : ports.entries()) name_width = std::max(name_width, entry.first.size());
        const int column = static_cast<int>(name_width);
        std::cout << std::left << std::setw(column) << "PORT" << "  WIDTH  EXPRESSION\n";
        for (const auto& entry : ports.entries()) {
            const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
            std::cout << std::left << std::setw(column) << port->get_name() << "  " << std::setw(5)
                      << port->get_current_port_width() << "  " << port->get_port_width() << "\n";
        }
        print_messages(*validator, state.load.description, std::cout);
    });
}
