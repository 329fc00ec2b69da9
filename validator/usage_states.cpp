// Usage-state resets of the port and parameter copies, and the resets of
// current and alternate state between validation runs.
#include "validator/kova_rules_validator.h"

#include "host/qel_util.h"
#include "validator/alt_state.h"

namespace {

// The value a used string parameter starts from: its default, else the
// entry of its value list at default_index.
std::string string_parameter_start_value(const KOVA_PARAMETER_OBJ& parameter) {
    if (!parameter.get_default_value().empty()) return parameter.get_default_value();
    if (parameter.default_index != -1) return qel_get_token_at_index(parameter.get_value(), parameter.default_index);
    return parameter.get_value();
}

}  // namespace

void KOVA_RULES_VALIDATOR::set_all_ports_and_parameters_to_unused_state() {
    for (KOVA_PARAMETER_OBJ* parameter : m_parameter_list.objects()) parameter->m_current_usage_state = KOVA_USAGE_UNUSED;
    for (KOVA_PORT_OBJ* port : m_port_list.objects()) port->m_current_usage_state = KOVA_USAGE_UNUSED;
}

void KOVA_RULES_VALIDATOR::set_all_ports_and_parameters_to_default_state() {
    for (KOVA_PARAMETER_OBJ* parameter : m_parameter_list.objects()) {
        if (parameter->get_effective_usage_state() != KOVA_USAGE_USED) continue;
        if (parameter->obj_type == KOVA_OBJ_INTEGER_PARAMETER) {
            parameter->m_current_usage_state = KOVA_USAGE_USED;
            parameter->set_current_value(parameter->get_default_value());
        } else if (parameter->obj_type == KOVA_OBJ_STRING_PARAMETER) {
            std::string value = string_parameter_start_value(*parameter);
            if (value.empty()) continue;
            parameter->m_current_usage_state = KOVA_USAGE_USED;
            parameter->set_current_value(value);
        }
    }
    for (KOVA_PORT_OBJ* port : m_port_list.objects()) {
        if (port->get_effective_usage_state() == KOVA_USAGE_USED) port->m_current_usage_state = KOVA_USAGE_USED;
    }
}

void KOVA_RULES_VALIDATOR::reset_validator(bool full) {
    clear_error_messages();
    for (KOVA_OBJ_INFO* object : get_kova_obj_snapshot()) reset_object_state(*object, full, true);
}

void KOVA_RULES_VALIDATOR::reset_object_state(KOVA_OBJ_INFO& object, bool full, bool parameters) {
    // Only objects with an expression value hold a current value between
    // runs; clearing an empty one would write the object's line for
    // nothing (its integer reading stays what it is).
    if (!object.get_current_value().empty()) object.set_current_value("");
    if (object.is_port()) {
        if (KOVA_PORT_OBJ* port = port_copy_of(object)) {
            if (full) port->m_current_usage_state = KOVA_USAGE_NONE;
            kova_reset_alt_state(*port, true);
            if (full) port->reset_current_port_width();
        }
    } else if (parameters && object.is_parameter()) {
        if (KOVA_PARAMETER_OBJ* parameter = parameter_copy_of(object)) {
            if (full) parameter->m_current_usage_state = KOVA_USAGE_NONE;
            kova_reset_alt_state(*parameter);
        }
    }
}

// Clears the alternate state of one port or parameter. Unlike a walk, a
// lookup by name leaves the model's object cursor where the caller's walk
// put it.
void KOVA_RULES_VALIDATOR::reset_alt_state_on_element(const std::string& name) {
    KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object) return;
    if (object->is_port()) {
        if (KOVA_PORT_OBJ* port = get_port_object(name)) kova_reset_alt_state(*port, true);
    } else if (object->is_parameter()) {
        if (KOVA_PARAMETER_OBJ* parameter = get_parameter_object(name)) kova_reset_alt_state(*parameter);
    }
}

void KOVA_RULES_VALIDATOR::reset_current_state_on_element(const std::string& name) {
    KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object) return;
    object->set_current_value("");
    if (object->is_port()) {
        if (KOVA_PORT_OBJ* port = get_port_object(name)) {
            port->m_current_usage_state = KOVA_USAGE_NONE;
            port->reset_port_values();
        }
    } else if (object->is_parameter()) {
        if (KOVA_PARAMETER_OBJ* parameter = get_parameter_object(name)) parameter->m_current_usage_state = KOVA_USAGE_NONE;
    }
}
