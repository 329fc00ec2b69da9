// kova show: every port and parameter of a description with its kind,
// value text, default and usage states.
#include "session/json_text.h"
#include "tools/subcommands.h"

namespace {

KOVA_TABLE object_table(const KOVA_RULES_VALIDATOR& validator) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "DEFAULT", "USAGE", "MODEL_USAGE"}};
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        int usage;
        if (const KOVA_PORT_OBJ* port = validator.get_port_object(object->get_name()))
            usage = port->get_current_usage_state();
        else if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object->get_name()))
            usage = parameter->get_current_usage_state();
        else
            continue;
        const std::string value = object->is_port() ? object->get_port_width() : object->get_value();
        table.push_back({kova_object_kind_name(object->obj_type), object->get_name(), value,
                         object->get_default_value(), kova_get_usage_state_as_string(usage),
                         kova_get_usage_state_as_string(object->get_effective_usage_state())});
    }
    return table;
}

}  // namespace

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("show", "List every port and parameter of a description");
    add_load_options(*command, state);
    command->footer("Example: kova show examples/fifo.xml");
    command->callback([&state]() {
        run_command(state, false, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            const KOVA_RULES_VALIDATOR& validator = session.validator();
            const KOVA_TABLE table = object_table(validator);
            output.document["function"] = kova_json_text(validator.get_function_name());
            output.document["objects"] = table_json(table);
            const std::size_t ports = validator.get_port_list().size();
            const std::size_t parameters = validator.get_parameter_list().size();
            output.text = [&state, table, ports, parameters](std::ostream& out) {
                out << state.load.description << ": " << ports << " ports, " << parameters << " parameters\n";
                print_table(table, out);
            };
        });
    });
}
