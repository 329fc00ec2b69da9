// Expression evaluation and dependency queries through the validator.
#include "session/expression_queries.h"

#include "host/kova_stl.h"
#include "session/suggest.h"

namespace {

std::vector<std::string> names_of(const KOVA_NAME_MAP& names) {
    std::vector<std::string> list;
    for (const auto& entry : names) list.push_back(entry.first);
    return list;
}

}  // namespace

const std::map<std::string, KOVA_RULES_VALIDATOR_PARSER_MODE>& kova_parser_modes() {
    static const std::map<std::string, KOVA_RULES_VALIDATOR_PARSER_MODE> modes{
        {"evaluate", PARSER_MODE_EVALUATE}, {"refresh", PARSER_MODE_REFRESH_MACROS}, {"text", PARSER_MODE_TEXT}};
    return modes;
}

KOVA_PROBLEM kova_parser_mode_named(const std::string& name, KOVA_RULES_VALIDATOR_PARSER_MODE& mode) {
    const auto found = kova_parser_modes().find(to_lower_case(name));
    if (found != kova_parser_modes().end()) {
        mode = found->second;
        return {};
    }
    return kova_problem(KOVA_PROBLEM_KIND::INVALID_VALUE, "mode must be evaluate, refresh or text, not " + name +
                                                              kova_did_you_mean(name, {"evaluate", "refresh", "text"}));
}

KOVA_EVALUATION kova_evaluate(KOVA_SESSION& session, const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode) {
    KOVA_EVALUATION evaluation;
    session.validator().clear_error_messages();
    evaluation.result = session.validator().evaluate_expression(text, mode);
    evaluation.messages = session.take_messages();
    for (KOVA_MESSAGE& message : evaluation.messages) {
        // The text is in no file: text output names it "expression", and
        // the JSON document's file is null.
        if (message.location.file.empty()) message.origin = "expression";
        if (message.kind == KOVA_DIAG_PARSE_ERROR) evaluation.parsed = false;
    }
    return evaluation;
}

bool kova_object_dependencies(const KOVA_SESSION& session, const std::string& name, KOVA_DEPENDENCIES& dependencies) {
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    const KOVA_OBJ_INFO* object = validator.get_kova_obj(name);
    if (!object) return false;
    dependencies.names = names_of(validator.get_ports_and_parameters_impacting_obj(name));
    dependencies.text = validator.get_dependency_error_message_for_obj(object);
    return true;
}

KOVA_DEPENDENCIES kova_expression_dependencies(const KOVA_SESSION& session, const std::string& text) {
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    return {names_of(validator.get_ports_and_parameters_used_in_expression(text)),
            validator.get_dependency_error_message_for_condition(text)};
}
