// kova deps: the ports and parameters an object or an expression depends
// on, and the text that messages show for them.
#include <iostream>

#include "tools/subcommands.h"

namespace {

void print_dependencies(bool json, const KOVA_NAME_MAP& names, const std::string& text) {
    std::string joined;
    nlohmann::json list = nlohmann::json::array();
    for (const auto& entry : names) {
        joined += (joined.empty() ? "" : ", ") + entry.first;
        list.push_back(entry.first);
    }
    emit(json, {{"names", list}, {"text", text}},
         [&](std::ostream& out) { out << "names: " << joined << "\ntext: " << text << "\n"; }, std::cout);
}

}  // namespace

void add_deps_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("deps", "Show what an object or an expression depends on");
    add_load_options(*command, state.load);
    auto name = std::make_shared<std::string>();
    auto expression = std::make_shared<std::string>();
    auto* name_option = command->add_option("name", *name, "Port or parameter name");
    auto* expr_option = command->add_option("--expr", *expression, "An expression instead of a name");
    name_option->excludes(expr_option);
    add_settings_options(*command, state);
    command->footer("Examples: kova deps examples/fifo.xml DEPTH\n          kova deps examples/fifo.xml --expr 'WIDTH gt 8'");
    command->callback([&state, name, expression, name_option, expr_option]() {
        if (name_option->empty() == expr_option->empty()) {
            usage_error(state, "deps takes a NAME or --expr EXPR");
            return;
        }
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        if (!expr_option->empty()) {
            print_dependencies(state.load.json(), validator->get_ports_and_parameters_used_in_expression(*expression),
                               validator->get_dependency_error_message_for_condition(*expression));
            return;
        }
        const KOVA_OBJ_INFO* object = validator->get_kova_obj(*name);
        if (!object) {
            usage_error(state, "no object is named " + *name);
            return;
        }
        print_dependencies(state.load.json(), validator->get_ports_and_parameters_impacting_obj(*name),
                           validator->get_dependency_error_message_for_obj(object));
    });
}
