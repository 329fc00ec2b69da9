// kova show: every port and parameter of a description with its kind,
// value text, default and usage states.
#include <iomanip>
#include <iostream>
#include <vector>

#include "tools/kova_tool.h"
#include "tools/subcommands.h"

namespace {

struct ROW {
    std::string kind, name, value, default_value, usage, model_usage;
};

std::vector<ROW> collect_rows(const KOVA_RULES_VALIDATOR& validator) {
    std::vector<ROW> rows;
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        int usage;
        if (const KOVA_PORT_OBJ* port = validator.get_port_object(object->get_name()))
            usage = port->get_current_usage_state();
        else if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object->get_name()))
            usage = parameter->get_current_usage_state();
        else
            continue;
        const std::string value = object->is_port() ? object->get_port_width() : object->get_value();
        rows.push_back({object_kind_name(object->obj_type), object->get_name(), value, object->get_default_value(),
                        kova_get_usage_state_as_string(usage),
                        kova_get_usage_state_as_string(object->get_effective_usage_state())});
    }
    return rows;
}

void print_rows(const std::vector<ROW>& rows, std::ostream& out) {
    ROW header{"KIND", "NAME", "VALUE/WIDTH", "DEFAULT", "USAGE", "MODEL-USAGE"};
    std::size_t widths[5] = {header.kind.size(), header.name.size(), header.value.size(), header.default_value.size(),
                             header.usage.size()};
    for (const ROW& row : rows) {
        widths[0] = std::max(widths[0], row.kind.size());
        widths[1] = std::max(widths[1], row.name.size());
        widths[2] = std::max(widths[2], row.value.size());
        widths[3] = std::max(widths[3], row.default_value.size());
        widths[4] = std::max(widths[4], row.usage.size());
    }
    auto print = [&](const ROW& row) {
        out << std::left << std::setw(static_cast<int>(widths[0])) << row.kind << "  "
            << std::setw(static_cast<int>(widths[1])) << row.name << "  " << std::setw(static_cast<int>(widths[2]))
            << row.value << "  " << std::setw(static_cast<int>(widths[3])) << row.default_value << "  "
            << std::setw(static_cast<int>(widths[4])) << row.usage << "  " << row.model_usage << "\n";
    };
    print(header);
    for (const ROW& row : rows) print(row);
}

}  // namespace

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("show", "List every port and parameter of a description");
    add_load_options(*command, state.load);
    command->footer("Example: kova show examples/fifo.xml");
    command->callback([&state]() {
        auto validator = load_validator(state.load, std::cerr);
        if (!validator) {
            state.exit_code = KOVA_EXIT_USAGE;
            return;
        }
        std::cout << state.load.description << ": " << validator->get_port_list().size() << " ports, "
                  << validator->get_parameter_list().size() << " parameters\n";
        print_rows(collect_rows(*validator), std::cout);
    });
}
