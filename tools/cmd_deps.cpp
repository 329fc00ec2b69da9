// kova deps: the ports and parameters an object or an expression depends
// on, and the text that messages show for them.
#include "session/expression_queries.h"
#include "session/json_document.h"
#include "tools/subcommands.h"

namespace {

void describe(const KOVA_DEPENDENCIES& dependencies, KOVA_COMMAND_OUTPUT& output) {
    output.document["names"] = kova_texts_json(dependencies.names);
    output.document["text"] = kova_json_text(dependencies.text);
    output.text = [dependencies](std::ostream& out) {
        out << "names: ";
        for (std::size_t i = 0; i < dependencies.names.size(); ++i) out << (i ? ", " : "") << dependencies.names[i];
        out << "\ntext: " << dependencies.text << "\n";
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
            if (!expr_option->empty()) {
                describe(kova_expression_dependencies(session, *expression), output);
                return;
            }
            KOVA_DEPENDENCIES dependencies;
            if (!kova_object_dependencies(session, *name, dependencies)) {
                output.usage_problem = "no object is named " + *name;
                return;
            }
            describe(dependencies, output);
        });
    });
}
