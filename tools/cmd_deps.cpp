// kova deps: the ports and parameters an object or an expression depends
// on, and the text that messages show for them.
#include "session/json_text.h"
#include "tools/subcommands.h"

namespace {

void describe(const KOVA_NAME_MAP& names, const std::string& text, KOVA_COMMAND_OUTPUT& output) {
    std::vector<std::string> list;
    for (const auto& entry : names) list.push_back(entry.first);
    nlohmann::json json_names = nlohmann::json::array();
    for (const std::string& name : list) json_names.push_back(kova_json_text(name));
    output.document["names"] = json_names;
    output.document["text"] = kova_json_text(text);
    output.text = [list, text](std::ostream& out) {
        out << "names: ";
        for (std::size_t i = 0; i < list.size(); ++i) out << (i ? ", " : "") << list[i];
        out << "\ntext: " << text << "\n";
    };
}

}  // namespace

void add_deps_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("deps", "Show what an object or an expression depends on");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    auto expression = std::make_shared<std::string>();
    auto* name_option = command->add_option("name", *name, "Port or parameter name");
    auto* expr_option = command->add_option("--expr", *expression, "An expression instead of a name");
    name_option->excludes(expr_option);
    add_settings_options(*command, state);
    command->footer("Examples: kova deps examples/fifo.xml DEPTH\n          kova deps examples/fifo.xml --expr 'WIDTH gt 8'");
    command->callback([&state, name, expression, name_option, expr_option]() {
        if (name_option->empty() == expr_option->empty()) {
            report_failure(state, "deps takes a NAME or --expr EXPR");
            return;
        }
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            const KOVA_RULES_VALIDATOR& validator = session.validator();
            if (!expr_option->empty()) {
                describe(validator.get_ports_and_parameters_used_in_expression(*expression),
                         validator.get_dependency_error_message_for_condition(*expression), output);
                return;
            }
            const KOVA_OBJ_INFO* object = validator.get_kova_obj(*name);
            if (!object) {
                output.usage_problem = "no object is named " + *name;
                return;
            }
            describe(validator.get_ports_and_parameters_impacting_obj(*name),
                     validator.get_dependency_error_message_for_obj(object), output);
        });
    });
}
