// The condition result of a rule, by rule type, and which values a rule
// applies.
#include "validator/rule_condition.h"

#include "expr/truth.h"

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

bool kova_is_check_rule(const KOVA_RULE_ELEMENT& rule) {
    return rule.get_value().empty() && rule.get_alt_value().empty();
}

KOVA_SOURCE_FIELD kova_applied_field(const KOVA_RULE_ELEMENT& rule, const std::string& result) {
    if (kova_is_true(result) && !kova_is_check_rule(rule)) return KOVA_FIELD_VALUE;
    if (kova_is_false(result) && kova_applies_alt_value(rule)) return KOVA_FIELD_ALT_VALUE;
    return KOVA_FIELD_ELEMENT;
}

std::string kova_applied_text(KOVA_RULES_VALIDATOR& validator, const KOVA_RULE_ELEMENT& rule,
                              KOVA_SOURCE_FIELD field) {
    if (field == KOVA_FIELD_ALT_VALUE) return validator.evaluate_value_expression(rule.get_alt_value(), false);
    if (rule.rule_type == KOVA_RULE_LEGAL_VALUES && rule.get_alt_value().empty())
        return validator.evaluate_value_list(rule.get_value());
    if (kova_is_legal_value_rule(rule) && !rule.get_alt_value().empty()) {
        const std::string upper = validator.evaluate_value_expression(rule.get_value(), false);
        const std::string lower = validator.evaluate_value_expression(rule.get_alt_value(), false);
        return lower + "-" + upper;
    }
    return validator.evaluate_value_expression(rule.get_value(), false);
}

KOVA_RULE_RESULT KOVA_RULES_VALIDATOR::evaluate_rule(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule) {
    KOVA_RULE_RESULT result;
    result.condition = evaluate_rule_condition(*this, object, rule);
    result.truth = kova_is_true(result.condition) ? 1 : kova_is_false(result.condition) ? 0 : -1;
    if (rule.is_port_value_rule()) return result;
    result.applied_field = kova_applied_field(rule, result.condition);
    if (result.applied_field != KOVA_FIELD_ELEMENT) result.applied = kova_applied_text(*this, rule, result.applied_field);
    return result;
}
