// The condition result of a rule, by rule type.
#include "validator/rule_condition.h"

std::string evaluate_rule_condition(KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object,
                                    const KOVA_RULE_ELEMENT& rule) {
    const std::string& condition = rule.get_condition();
    if (condition.empty()) return "true";
    if (rule.rule_type == KOVA_RULE_CMD_CONDITION) return validator.evaluate_cmd_expression(condition);
    if (rule.rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES &&
        !(object.obj_type == KOVA_OBJ_INPUT_PORT && object.get_effective_usage_state() == KOVA_USAGE_CONSTANT))
        return "false";
    return validator.evaluate_expression(condition, PARSER_MODE_EVALUATE);
}
