// kova ranges: the legal values of one port under the given settings, its
// bounds and its explicit value list, in decimal ("X" where unknown).
#include <vector>

#include "host/qel_util.h"
#include "session/json_document.h"
#include "tools/subcommands.h"

namespace {

std::string in_decimal(const NUVO_UINTEGER& value, int width) {
    std::string text;
    qel_radix_conversion(value.as_bin_string(), text, QEL_RADIX_BINARY, QEL_RADIX_UNSIGNED_DECIMAL, width);
    return text;
}

// The values of a null-ended value array.
std::vector<std::string> value_list(NUVO_UINTEGER* const* array, int width) {
    std::vector<std::string> values;
    for (NUVO_UINTEGER* const* entry = array; entry && *entry; ++entry) values.push_back(in_decimal(**entry, width));
    return values;
}

}  // namespace

void add_ranges_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("ranges", "Show the legal values of a port");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("port", *name, "Port name")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova ranges examples/fifo.xml prog_full_thresh --set HAS_DATA_COUNT=1 --set DEPTH=64");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_RULES_VALIDATOR& validator = session.validator();
            validator.clear_error_messages();
            validator.evaluate_port_widths();
            const KOVA_PORT_OBJ* port = validator.determine_port_value_validity(*name);
            output.messages = session.take_messages();
            if (!port) {
                output.usage_problem = "no port is named " + *name;
                return;
            }
            const int width = port->get_current_port_width();
            const std::string port_name = port->get_name();
            const std::string lower = in_decimal(*port->get_min_port_value(), width);
            const std::string upper = in_decimal(*port->get_max_port_value(), width);
            const bool listed = port->get_port_value_array() != nullptr;
            const std::vector<std::string> values = value_list(port->get_port_value_array(), width);
            output.document["port"] = kova_json_text(port_name);
            output.document["width"] = width >= 0 ? nlohmann::json(width) : nlohmann::json();
            output.document["lower"] = kova_json_text(lower);
            output.document["upper"] = kova_json_text(upper);
            output.document["values"] = listed ? kova_texts_json(values) : nlohmann::json();
            output.text = [=](std::ostream& out) {
                out << "port: " << port_name << "\nwidth: " << width << "\nlower: " << lower << "\nupper: " << upper
                    << "\n";
                if (!listed) return;
                out << "values: ";
                for (std::size_t i = 0; i < values.size(); ++i) out << (i ? "|" : "") << values[i];
                out << "\n";
            };
        });
    });
}
