// What a rule's condition gives for the object that holds the rule; shared
// by the validation run and the wizard-map evaluation, which treat the
// rule types alike.
#ifndef KOVA_RULE_CONDITION_H
#define KOVA_RULE_CONDITION_H

#include <string>

#include "validator/kova_rules_validator.h"

// "true" for an empty condition; a command rule asks the command list; a
// rule for a constant port counts only on an input port whose effective
// model usage state is CONSTANT, and is "false" elsewhere; every other
// condition is evaluated.
std::string evaluate_rule_condition(KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object,
                                    const KOVA_RULE_ELEMENT& rule);

#endif
