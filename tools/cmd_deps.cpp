// kova deps: the ports and parameters an object or an expression depends
// on, and the text that messages show for them.
#include "tools/subcommands.h"

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
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            const bool is_expression = !expr_option->empty();
            kova_deps_answer(session, is_expression ? *expression : *name, is_expression, answer);
        });
    });
}
