// kova widths: every port with the width its expression evaluates to under
// the given settings.
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
        derive_values(*validator);
        validator->evaluate_port_widths();
        KOVA_TABLE table{{"PORT", "WIDTH", "EXPRESSION"}};
        const KOVA_OBJ_MAP ports = validator->get_port_list();
        for (const auto& entry : ports.entries()) {
            const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
            table.push_back({port->get_name(), std::to_string(port->get_current_port_width()), port->get_port_width()});
        }
        const nlohmann::json document = {{"ports", table_json(table)}, {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            print_table(table, out);
            print_messages(*validator, state.load.description, out);
        }, std::cout);
    });
}
