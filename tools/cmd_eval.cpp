// kova eval: the value of one expression under the given settings.
#include <iostream>
#include <map>

#include "tools/subcommands.h"

void add_eval_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("eval", "Evaluate an expression over a description");
    add_load_options(*command, state.load);
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
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        derive_values(*validator);
        const std::string result = validator->evaluate_expression(*expression, *mode);
        const nlohmann::json document = {{"result", result}, {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            out << result << "\n";
            print_messages(*validator, "expression", out);
        }, std::cout);
    });
}
