// kova show: every port and parameter of a description with its kind,
// value text, default and usage states.
#include "session/json_text.h"
#include "session/object_states.h"
#include "tools/subcommands.h"

namespace {

KOVA_TABLE object_table(const KOVA_RULES_VALIDATOR& validator) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "DEFAULT", "USAGE", "MODEL_USAGE"}};
    for (const KOVA_OBJECT_STATE& object : kova_object_states(validator)) {
        table.push_back({object.kind, object.name, object.value_text, object.default_value,
                         kova_get_usage_state_as_string(object.usage),
                         kova_get_usage_state_as_string(object.model_usage)});
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
