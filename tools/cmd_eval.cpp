// kova eval: the value of an expression under the settings, after a run
// has brought derived values up to date. A text that does not parse
// exits 1.
#include "session/expression_queries.h"
#include "tools/subcommands.h"

void add_eval_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("eval", "Evaluate an expression over a description");
    add_load_options(*command, state);
    auto expression = std::make_shared<std::string>();
    auto mode = std::make_shared<KOVA_RULES_VALIDATOR_PARSER_MODE>(PARSER_MODE_EVALUATE);
    command->add_option("expression", *expression, "Rule text to evaluate")->required();
    add_settings_options(*command, state);
    command->add_option("--mode", *mode, "evaluate, refresh (re-evaluate macros) or text")
        ->transform(CLI::CheckedTransformer(kova_parser_modes(), CLI::ignore_case));
    command->footer("Example: kova eval examples/fifo.xml 'ceil_log(DEPTH)' --set DEPTH=512");
    command->callback([&state, expression, mode]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_eval_answer(session, *expression, *mode, answer);
        });
    });
}
