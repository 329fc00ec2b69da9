// kova widths: the width of every port under the settings.
#include "session/json_text.h"
#include "session/port_queries.h"
#include "tools/subcommands.h"

void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("widths", "Evaluate the width of every port");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer("Example: kova widths examples/fifo.xml --set WIDTH=32 --set DEPTH=512");
    command->callback([&state]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_TABLE table{{"PORT", "WIDTH", "EXPRESSION"}};
            nlohmann::json ports = nlohmann::json::array();
            for (const KOVA_PORT_WIDTH& port : kova_port_widths(session, output.messages)) {
                table.push_back({port.port, std::to_string(port.width), port.expression});
                ports.push_back({{"port", kova_json_text(port.port)},
                                 {"width", port.width >= 0 ? nlohmann::json(port.width) : nlohmann::json()},
                                 {"expression", kova_json_text(port.expression)}});
            }
            output.document["ports"] = ports;
            output.text = [table](std::ostream& out) { print_table(table, out); };
        });
    });
}
