// kova eval: the value of an expression under the settings, after a run
// has brought derived values up to date. A text that does not parse
// exits 1.
#include <map>

#include "session/json_text.h"
#include "tools/subcommands.h"

void add_eval_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("eval", "Evaluate an expression over a description");
    add_load_options(*command, state);
    auto expression = std::make_shared<std::string>();
    auto mode = std::make_shared<KOVA_RULES_VALIDATOR_PARSER_MODE>(PARSER_MODE_EVALUATE);
    command->add_option("expression", *expression, "Rule text to evaluate")->required();
    add_settings_options(*command, state);
    const std::map<std::string, KOVA_RULES_VALIDATOR_PARSER_MODE> modes{
        {"evaluate", PARSER_MODE_EVALUATE}, {"refresh", PARSER_MODE_REFRESH_MACROS}, {"text", PARSER_MODE_TEXT}};
    command->add_option("--mode", *mode, "evaluate, refresh (re-evaluate macros) or text")
        ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case));
    command->footer("Example: kova eval examples/fifo.xml 'ceil_log(DEPTH)' --set DEPTH=512");
    command->callback([&state, expression, mode]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            session.validator().clear_error_messages();
            const std::string result = session.validator().evaluate_expression(*expression, *mode);
            output.messages = session.take_messages();
            for (KOVA_MESSAGE& message : output.messages) {
                if (message.location.file.empty()) message.location.file = "expression";
                if (message.kind == KOVA_DIAG_PARSE_ERROR) output.failed = true;
            }
            output.document["expression"] = kova_json_text(*expression);
            output.document["result"] = kova_json_text(result);
            output.text = [result](std::ostream& out) { out << result << "\n"; };
        });
    });
}
