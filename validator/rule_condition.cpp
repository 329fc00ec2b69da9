// The condition result of a rule, by rule type, and which values a rule
// applies.
#include "validator/rule_condition.h"

std::string kova_condition_result(KOVA_RULES_VALIDATOR& validator, const std::string& condition) {
    return condition.empty() ? "true" : validator.evaluate_expression(condition, PARSER_MODE_EVALUATE);
}

std::string evaluate_rule_condition(KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object,
                                    const KOVA_RULE_ELEMENT& rule) {
    const std::string& condition = rule.get_condition();
    if (!condition.empty()) {
        if (rule.rule_type == KOVA_RULE_CMD_CONDITION) return validator.evaluate_cmd_expression(condition);
        if (rule.rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES &&
            !(object.obj_type == KOVA_OBJ_INPUT_PORT && object.get_effective_usage_state() == KOVA_USAGE_CONSTANT))
            return "false";
    }
    return kova_condition_result(validator, condition);
}

bool kova_is_legal_value_rule(const KOVA_RULE_ELEMENT& rule) {
    return rule.rule_type == KOVA_RULE_LEGAL_VALUES || rule.rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES;
}

bool kova_applies_alt_value(const KOVA_RULE_ELEMENT& rule) {
    return !rule.get_alt_value().empty() && !kova_is_legal_value_rule(rule);
}
