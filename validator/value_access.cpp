// Reading and setting parameter and port values and usage states by name,
// and applying a rule's value to an object's alternate state.
//
// A parameter has two current values: that of its copy in m_parameter_list
// (which the getters read) and that of the model object (which rules see
// through the model); the setters write both.
#include "validator/kova_rules_validator.h"

#include "expr/usage_words.h"
#include "host/kova_atoi.h"
#include "host/qel_util.h"

namespace {

// The parameter copy when it is of the given kind.
KOVA_PARAMETER_OBJ* of_kind(KOVA_PARAMETER_OBJ* parameter, int type) {
    return parameter && parameter->obj_type == type ? parameter : nullptr;
}

KOVA_PARAMETER_OBJ* parameter_of_kind(const KOVA_RULES_VALIDATOR& validator, const std::string& name, int type) {
    return of_kind(validator.get_parameter_object(name), type);
}

// A parameter's current text, in its copy and its model object (when it
// has one); nothing without a copy of the kind.
void set_current_text(KOVA_OBJ_INFO* object, KOVA_PARAMETER_OBJ* parameter, const std::string& text) {
    if (!parameter) return;
    parameter->set_current_value(text);
    if (object) object->set_current_value(text);
}

// An integer parameter's text: signed decimal, since an unsigned rendering
// would turn -5 into a number that reads back clamped to the largest
// integer.
std::string integer_text(int value) { return std::to_string(value); }

int integer_value(const KOVA_PARAMETER_OBJ* parameter) { return parameter ? parameter->integer_reading() : -1; }

std::string string_value(const KOVA_PARAMETER_OBJ* parameter) {
    if (!parameter) return "";
    if (!parameter->get_current_value().empty()) return parameter->get_current_value();
    if (!parameter->get_default_value().empty()) return parameter->get_default_value();
    if (!parameter->get_value().empty() && parameter->default_index != -1)
        return qel_get_token_at_index(parameter->get_value(), parameter->default_index);
    return "";
}

}  // namespace

int KOVA_RULES_VALIDATOR::get_integer_parameter_value(const std::string& name) const {
    return integer_value(parameter_of_kind(*this, name, KOVA_OBJ_INTEGER_PARAMETER));
}

std::string KOVA_RULES_VALIDATOR::get_string_parameter_value(const std::string& name) const {
    return string_value(parameter_of_kind(*this, name, KOVA_OBJ_STRING_PARAMETER));
}

std::string KOVA_RULES_VALIDATOR::get_hidden_parameter_value(const std::string& name) const {
    const KOVA_OBJ_INFO* object = get_kova_obj(name);
    return object ? hidden_parameter_value_of(*object) : "";
}

int KOVA_RULES_VALIDATOR::integer_parameter_value_of(const KOVA_OBJ_INFO& object) {
    return integer_value(of_kind(parameter_copy_of(object), KOVA_OBJ_INTEGER_PARAMETER));
}

std::string KOVA_RULES_VALIDATOR::string_parameter_value_of(const KOVA_OBJ_INFO& object) {
    return string_value(of_kind(parameter_copy_of(object), KOVA_OBJ_STRING_PARAMETER));
}

std::string KOVA_RULES_VALIDATOR::hidden_parameter_value_of(const KOVA_OBJ_INFO& object) {
    if (object.obj_type != KOVA_OBJ_HIDDEN_PARAMETER) return "";
    return object.get_current_value().empty() ? object.get_value() : object.get_current_value();
}

// The name is looked up once: the copy is the object's, found through its
// name memo (the list is keyed without letter case, as the model is).
void KOVA_RULES_VALIDATOR::set_parameter_value(const std::string& name, const std::string& text) {
    KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object || !object->is_parameter()) return;
    const int type = object->obj_type;
    KOVA_PARAMETER_OBJ* parameter = parameter_copy_of(*object);
    if (kova_usage_word_state(text) == KOVA_USAGE_UNUSED) {
        if (parameter) parameter->m_current_usage_state = KOVA_USAGE_UNUSED;
        return;
    }
    if (type == KOVA_OBJ_STRING_PARAMETER)
        set_current_text(object, of_kind(parameter, KOVA_OBJ_STRING_PARAMETER), text);
    else if (type == KOVA_OBJ_INTEGER_PARAMETER)
        set_current_text(object, of_kind(parameter, KOVA_OBJ_INTEGER_PARAMETER), integer_text(kova_atoi(text)));
}

void KOVA_RULES_VALIDATOR::set_string_parameter_value(const std::string& name, const std::string& text) {
    KOVA_PARAMETER_OBJ* parameter = parameter_of_kind(*this, name, KOVA_OBJ_STRING_PARAMETER);
    if (parameter) set_current_text(get_kova_obj(name), parameter, text);
}

void KOVA_RULES_VALIDATOR::set_integer_parameter_value(const std::string& name, int value) {
    KOVA_PARAMETER_OBJ* parameter = parameter_of_kind(*this, name, KOVA_OBJ_INTEGER_PARAMETER);
    if (parameter) set_current_text(get_kova_obj(name), parameter, integer_text(value));
}

void KOVA_RULES_VALIDATOR::set_parameter_usage_state(const std::string& name, int state) {
    if (KOVA_PARAMETER_OBJ* parameter = get_parameter_object(name)) parameter->m_current_usage_state = state;
}

void KOVA_RULES_VALIDATOR::set_port_usage_state(const std::string& name, int state) {
    if (KOVA_PORT_OBJ* port = get_port_object(name)) port->m_current_usage_state = state;
}

NUVO_UINTEGER* KOVA_RULES_VALIDATOR::get_current_port_value(const std::string& name) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port ? port->get_current_port_value() : nullptr;
}

uint32_t KOVA_RULES_VALIDATOR::get_current_port_value_as_integer(const std::string& name) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port ? port->get_current_port_value_as_integer() : 0;
}

std::string KOVA_RULES_VALIDATOR::get_current_port_value_as_string(const std::string& name, int radix) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port ? port->get_current_port_value_as_string(radix) : "";
}

void KOVA_RULES_VALIDATOR::set_current_port_value(const std::string& name, const std::string& text, int radix) {
    if (KOVA_PORT_OBJ* port = get_port_object(name)) port->set_current_port_value(text, radix);
}

void KOVA_RULES_VALIDATOR::set_current_port_value(const std::string& name, int value) {
    if (KOVA_PORT_OBJ* port = get_port_object(name)) port->set_current_port_value(value);
}

void KOVA_RULES_VALIDATOR::set_current_port_value(const std::string& name, const NUVO_UINTEGER& value) {
    if (KOVA_PORT_OBJ* port = get_port_object(name)) port->set_current_port_value(value);
}

void KOVA_RULES_VALIDATOR::set_current_port_width(const std::string& name, int width) {
    if (KOVA_PORT_OBJ* port = get_port_object(name)) port->set_current_port_width(width);
}

int KOVA_RULES_VALIDATOR::get_current_port_width(const std::string& name) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port ? port->get_current_port_width() : -1;
}

namespace {

// Loads a constant port's value or range "first|second" into its bounds;
// a number that does not read leaves the bounds as they are.
void apply_constant_range(KOVA_PORT_OBJ& port, const std::string& text) {
    std::string rest = text;
    const std::string first = qel_get_token(rest, "|");
    const std::string& second = rest;
    std::string digits;
    if (!first.empty() && qel_convert_numeric_string_to_binary_format(first, digits)) {
        port.set_min_port_value(digits, QEL_RADIX_BINARY);
        port.set_max_port_value(digits, QEL_RADIX_BINARY);
    }
    if (!second.empty() && qel_convert_numeric_string_to_binary_format(second, digits)) {
        port.set_max_port_value(digits, QEL_RADIX_BINARY);
        NUVO_UINTEGER* low = port.get_min_port_value();
        NUVO_UINTEGER* high = port.get_max_port_value();
        if (!low->is_x() && !high->is_x() && *low > *high) {
            NUVO_UINTEGER swapped = *low;
            *low = *high;
            *high = swapped;
        }
    }
}

}  // namespace

void KOVA_RULES_VALIDATOR::set_value_on_object(KOVA_OBJ_INFO* object, KOVA_PARAMETER_OBJ* parameter,
                                               KOVA_PORT_OBJ* port, const std::string& text) {
    if (text.empty()) return;
    const int word = kova_usage_word_state(text);
    if (word == KOVA_USAGE_USED || word == KOVA_USAGE_UNUSED) {
        if (parameter) {
            parameter->m_alt_usage_state = word;
            if (parameter->obj_type == KOVA_OBJ_STRING_PARAMETER)
                parameter->m_alt_value = kova_get_usage_state_as_string(word);
        } else if (port) {
            port->m_alt_usage_state = word;
        }
        return;
    }
    if (parameter) {
        parameter->m_alt_value = text;
        parameter->m_alt_usage_state = KOVA_USAGE_USED;
    } else if (!port) {
        if (object) object->set_current_value(text);
    } else if (word == KOVA_USAGE_CONSTANT) {
        port->m_alt_usage_state = KOVA_USAGE_CONSTANT;
    } else if (port->m_current_usage_state == KOVA_USAGE_CONSTANT && port->get_current_port_width() >= 0) {
        apply_constant_range(*port, text);
    }
}
