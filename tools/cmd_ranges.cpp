// kova ranges: the legal values of one port under the given settings, its
// bounds and its explicit value list, in decimal ("X" where unknown).
#include <iostream>
#include <vector>

#include "host/qel_util.h"
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
    add_load_options(*command, state.load);
    auto name = std::make_shared<std::string>();
    command->add_option("port", *name, "Port name")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova ranges examples/fifo.xml prog_full_thresh --set HAS_DATA_COUNT=1 --set DEPTH=64");
    command->callback([&state, name]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        derive_values(*validator);
        validator->evaluate_port_widths();
        const KOVA_PORT_OBJ* port = validator->determine_port_value_validity(*name);
        if (!port) {
            usage_error(state, "no port is named " + *name);
            return;
        }
        const int width = port->get_current_port_width();
        const std::string lower = in_decimal(*port->get_min_port_value(), width);
        const std::string upper = in_decimal(*port->get_max_port_value(), width);
        const std::vector<std::string> values = value_list(port->get_port_value_array(), width);
        nlohmann::json document = {{"port", port->get_name()}, {"width", width}, {"lower", lower},
                                   {"upper", upper},           {"values", values}, {"messages", messages_json(*validator)}};
        if (!port->get_port_value_array()) document["values"] = nullptr;
        emit(state.load.json(), document, [&](std::ostream& out) {
            out << "port: " << port->get_name() << "\nwidth: " << width << "\nlower: " << lower << "\nupper: " << upper
                << "\n";
            if (port->get_port_value_array()) {
                out << "values: ";
                for (std::size_t i = 0; i < values.size(); ++i) out << (i ? "|" : "") << values[i];
                out << "\n";
            }
            print_messages(*validator, state.load.description, out);
        }, std::cout);
    });
}
