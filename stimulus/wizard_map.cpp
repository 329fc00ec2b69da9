// Wizard-map evaluation: each port or parameter object of a map gets the
// value and usage state that its value text and rules give under the
// validator's current settings, and the map can be filled with every
// parameter and every used port. Only the map's objects are written; the
// validator's port and parameter copies stay as they are.
//
// Walks go over snapshots (of the map, of its objects' rules and of the
// port and parameter lists), so the evaluations called from inside a walk
// cannot move its cursor.
#include "expr/truth.h"
#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "validator/kova_rules_validator.h"
#include "validator/message_origin.h"
#include "validator/rule_condition.h"

namespace {

// A non-empty result is written as both the current value and the usage
// state: UNUSED for the word UNUSED in any letter case, USED for anything
// else. An empty result changes nothing.
void write_result(KOVA_OBJ_INFO& object, const std::string& result) {
    if (result.empty()) return;
    object.usage_state = kova_usage_word_state(result) == KOVA_USAGE_UNUSED ? KOVA_USAGE_UNUSED : KOVA_USAGE_USED;
    object.set_current_value(result);
}

// What an assignment rule writes: its value, evaluated as one expression
// whatever the rule type (a "|" list is not split as the validation run
// splits it), when the condition holds; otherwise its alternate value,
// except for the legal-value rule types; "" for nothing.
std::string assigned_value(KOVA_RULES_VALIDATOR& validator, const KOVA_RULE_ELEMENT& rule, bool holds) {
    if (holds) return validator.evaluate_value_expression(rule.get_value(), false);
    if (!kova_applies_alt_value(rule)) return "";
    return validator.evaluate_value_expression(rule.get_alt_value(), false);
}

}  // namespace

void KOVA_RULES_VALIDATOR::evaluate_wizard_map(KOVA_WIZARD_MAP& map) {
    for (KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot()) evaluate_wizard_obj(object);
    if (map.add_all_parameters) {
        for (const KOVA_PARAMETER_OBJ* parameter : m_parameter_list.objects()) {
            if (KOVA_OBJ_INFO* added = map.add_kova_object(parameter->get_name(), parameter->obj_type)) {
                added->wizard_kind = KOVA_WIZARD_ADDED_PARAMETER;
                added->set_current_value(parameter->get_current_value());
            }
        }
    }
    if (map.add_used_ports) {
        for (const KOVA_PORT_OBJ* port : m_port_list.objects()) {
            if (port->m_current_usage_state != KOVA_USAGE_USED) continue;
            if (KOVA_OBJ_INFO* added = map.add_kova_object(port->get_name(), port->obj_type)) {
                added->wizard_kind = KOVA_WIZARD_ADDED_PORT;
                added->usage_state = KOVA_USAGE_USED;
            }
        }
    }
}

void KOVA_RULES_VALIDATOR::evaluate_wizard_obj(KOVA_OBJ_INFO* object) {
    if (!object || (!object->is_port() && !object->is_parameter())) return;
    const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_object_origin(object->get_name(), *object, KOVA_FIELD_VALUE));
    if (!object->get_value().empty())
        write_result(*object, evaluate_expression(object->get_value(), PARSER_MODE_EVALUATE));
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
        ++index;
        if (rule->is_port_value_rule()) continue;
        set_message_origin(kova_rule_origin(&object->get_name(), index, *rule, KOVA_FIELD_CONDITION));
        const std::string result = evaluate_rule_condition(*this, *object, *rule);
        if (!kova_is_boolean(result)) {
            post_error_message("Condition " + rule->get_condition() + " of object " + object->get_name() +
                                   " did not evaluate to be a boolean expression, but evaluates to " + result,
                               KOVA_SEVERITY_WARNING, KOVA_DIAG_NOT_BOOLEAN);
        } else if (!rule->get_value().empty() || !rule->get_alt_value().empty()) {
            // A check rule (no value, no alternate value) only has to be boolean.
            write_result(*object, assigned_value(*this, *rule, kova_is_true(result)));
        }
    }
}
