// kova widths: the width of every port under the settings.
#include "session/json_text.h"
#include "tools/subcommands.h"

void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("widths", "Evaluate the width of every port");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova widths examples/fifo.xml --set WIDTH=32 --set DEPTH=512");
    command->callback([&state]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_RULES_VALIDATOR& validator = session.validator();
            validator.clear_error_messages();
            validator.evaluate_port_widths();
            output.messages = session.take_messages();
            KOVA_TABLE table{{"PORT", "WIDTH", "EXPRESSION"}};
            nlohmann::json ports = nlohmann::json::array();
            const KOVA_OBJ_MAP list = validator.get_port_list();  // a copy: keep it alive through the walk
            for (const auto& entry : list.entries()) {
                const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
                const int width = port->get_current_port_width();
                table.push_back({port->get_name(), std::to_string(width), port->get_port_width()});
                ports.push_back({{"port", kova_json_text(port->get_name())},
                                 {"width", width >= 0 ? nlohmann::json(width) : nlohmann::json()},
                                 {"expression", kova_json_text(port->get_port_width())}});
            }
            output.document["ports"] = ports;
            output.text = [table](std::ostream& out) { print_table(table, out); };
        });
    });
}
