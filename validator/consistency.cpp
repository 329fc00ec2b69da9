// The consistency check: after an object's rules have run, its current
// state (what the user set) is compared with its alternate state (what the
// rules derived). A conflict is explained in a message, or, for an object
// that asks for it, corrected silently.
#include "validator/kova_rules_validator.h"

#include "expr/token_utils.h"
#include "expr/usage_words.h"
#include "validator/message_origin.h"

namespace {

bool is_unused_word(const std::string& text) { return kova_usage_word_state(text) == KOVA_USAGE_UNUSED; }

// A value the alternate value allows: equal to it, one of its list items,
// or inside it read as a range; UNUSED matches an unused state.
bool value_conflicts(const KOVA_PARAMETER_OBJ& parameter) {
    const std::string& alt = parameter.m_alt_value;
    const std::string& current = parameter.get_current_value();
    if (alt.empty() || current.empty() || kova_equal_nocase(alt, current)) return false;
    if (is_unused_word(current) && parameter.m_alt_usage_state == KOVA_USAGE_UNUSED) return false;
    if (is_unused_word(alt) && parameter.m_current_usage_state == KOVA_USAGE_UNUSED) return false;
    return !kova_token_is_in_list(alt, current) && !kova_token_is_in_range(alt, current);
}

bool states_conflict(int current, int alt) {
    return current != KOVA_USAGE_NONE && alt != KOVA_USAGE_NONE && current != alt;
}

std::string state_message(const std::string& what, const std::string& name, int current, int alt,
                          const std::string& dependencies) {
    return what + name + " is being set to the state " + kova_get_usage_state_as_string(current) +
           " which is incompatible with the current settings of " + dependencies + ". The legal state is " +
           kova_get_usage_state_as_string(alt);
}

}  // namespace

KOVA_MESSAGE_ORIGIN KOVA_RULES_VALIDATOR::applied_origin(const KOVA_OBJ_INFO* object,
                                                          const KOVA_APPLIED_RULE& applied) const {
    if (!object) return get_message_origin();
    if (applied.rule_index >= 0 && static_cast<std::size_t>(applied.rule_index) < object->get_rule_count()) {
        const KOVA_RULE_ELEMENT* rule = object->rule_view()[applied.rule_index];
        return kova_rule_origin(&object->get_name(), applied.rule_index, *rule, applied.field);
    }
    return kova_object_origin(object->get_name(), *object, KOVA_FIELD_ELEMENT);
}

void KOVA_RULES_VALIDATOR::note_silent_correction(const KOVA_OBJ_INFO& object, const KOVA_APPLIED_RULE& applied) {
    m_silent_corrections.push_back({object.get_name(), applied.rule_index, applied.field});
}

bool KOVA_RULES_VALIDATOR::check_value_consistency_on_object(KOVA_OBJ_INFO* object, KOVA_PARAMETER_OBJ* parameter,
                                                             KOVA_PORT_OBJ* port) {
    const bool silent = object && object->silent_correction;
    if (parameter) {
        if (value_conflicts(*parameter)) {
            if (!silent) {
                const KOVA_MODEL_ORIGIN_SCOPE origin(*this, applied_origin(object, m_value_rule));
                post_error_message("Parameter " + parameter->get_name() + " has been assigned the value " +
                                       parameter->get_current_value() +
                                       " which is incompatible with the current settings of " +
                                       get_dependency_error_message_for_obj(object) +
                                       ". The legal value (or range) is " + parameter->m_alt_value,
                                   KOVA_SEVERITY_ERROR, KOVA_DIAG_VALUE_CONFLICT);
                return false;
            }
            parameter->set_current_value(get_last_legal_value(parameter->m_alt_value));
            note_silent_correction(*object, m_value_rule);
        }
        const std::string& current = parameter->get_current_value();
        const bool unused_item = is_unused_word(current) && kova_token_is_in_list(parameter->m_alt_value, current);
        if (!states_conflict(parameter->m_current_usage_state, parameter->m_alt_usage_state) || unused_item)
            return true;
        if (silent) {
            parameter->set_current_value(get_last_legal_value(parameter->m_alt_value));
            note_silent_correction(*object, m_state_rule);
            return true;
        }
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, applied_origin(object, m_state_rule));
        post_error_message(state_message("Parameter ", parameter->get_name(), parameter->m_current_usage_state,
                                         parameter->m_alt_usage_state, get_dependency_error_message_for_obj(object)),
                           KOVA_SEVERITY_ERROR, KOVA_DIAG_USAGE_CONFLICT);
        return false;
    }
    if (!port || !states_conflict(port->m_current_usage_state, port->m_alt_usage_state)) return true;
    if (silent) {
        port->m_current_usage_state = port->m_alt_usage_state;
        note_silent_correction(*object, m_state_rule);
        return true;
    }
    const KOVA_MODEL_ORIGIN_SCOPE origin(*this, applied_origin(object, m_state_rule));
    post_error_message(state_message("Port ", port->get_name(), port->m_current_usage_state, port->m_alt_usage_state,
                                     get_dependency_error_message_for_obj(object)),
                       KOVA_SEVERITY_ERROR, KOVA_DIAG_USAGE_CONFLICT);
    return false;
}
