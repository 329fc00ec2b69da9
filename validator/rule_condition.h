// What a rule's condition gives for the object that holds the rule, and
// which of its values a rule applies; shared by the validation run, the
// wizard-map evaluation, the port value rules, the external messages and
// the stimulus records, which treat conditions and rule types alike.
#ifndef KOVA_RULE_CONDITION_H
#define KOVA_RULE_CONDITION_H

#include <string>

#include "validator/kova_rules_validator.h"

// The result of a condition text: "true" for an empty condition, which
// always holds; otherwise the text evaluated.
std::string kova_condition_result(KOVA_RULES_VALIDATOR& validator, const std::string& condition);

// "true" for an empty condition; a command rule asks the command list; a
// rule for a constant port counts only on an input port whose effective
// model usage state is CONSTANT, and is "false" elsewhere; every other
// condition is evaluated.
std::string evaluate_rule_condition(KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object,
                                    const KOVA_RULE_ELEMENT& rule);

// The legal-value rules (legal_values and constant_legal_values): with an
// alt value they give the range from the alt value up to the value.
bool kova_is_legal_value_rule(const KOVA_RULE_ELEMENT& rule);

// Whether a rule whose condition fails applies its alt value: it has one,
// and it is not a legal-value rule, whose alt value is a range's lower end.
bool kova_applies_alt_value(const KOVA_RULE_ELEMENT& rule);

// A check rule: a condition with neither value nor alt value, which
// applies nothing and fails the run when the condition is false.
bool kova_is_check_rule(const KOVA_RULE_ELEMENT& rule);

// The field a rule applies once its condition gave result: the value
// when it holds (not for a check rule), the alt value when it fails and
// kova_applies_alt_value; KOVA_FIELD_ELEMENT when it applies nothing (a
// result that is not boolean included). Port value rules, which the run
// passes over, are left to the caller.
KOVA_SOURCE_FIELD kova_applied_field(const KOVA_RULE_ELEMENT& rule, const std::string& result);

// The text a rule applies from that field: for the value, a legal-value
// list with each item evaluated (empty results dropped), a legal-value
// range as "lower-upper", any other value evaluated; for the alt value,
// the alt value evaluated.
std::string kova_applied_text(KOVA_RULES_VALIDATOR& validator, const KOVA_RULE_ELEMENT& rule,
                              KOVA_SOURCE_FIELD field);

#endif
