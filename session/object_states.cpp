// The port and parameter list of a validator, read from its copies.
#include "session/object_states.h"

#include "host/qel_util.h"
#include "session/session.h"

namespace {

// A known port value in decimal; "" while any of its bits is unknown.
std::string known_value(const KOVA_PORT_OBJ& port) {
    const NUVO_UINTEGER* value = port.get_current_port_value();
    if (!value || value->is_x()) return "";
    return port.get_current_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL);
}

KOVA_OBJECT_STATE model_state(const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
    KOVA_OBJECT_STATE state;
    state.port = object.is_port();
    state.kind = kova_object_kind_name(object.obj_type);
    state.name = object.get_name();
    state.value_text = state.port ? object.get_port_width() : object.get_value();
    state.default_value = object.get_default_value();
    state.model_usage = object.get_effective_usage_state();
    state.help = kova_help_of(validator, object.source_id);
    return state;
}

}  // namespace

std::vector<KOVA_OBJECT_STATE> kova_object_states(const KOVA_RULES_VALIDATOR& validator, bool with_hidden) {
    std::vector<KOVA_OBJECT_STATE> states;
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        if (const KOVA_PORT_OBJ* port = validator.get_port_object(object->get_name())) {
            KOVA_OBJECT_STATE state = model_state(validator, *object);
            state.value = known_value(*port);
            state.usage = port->m_current_usage_state;
            state.alt_usage = port->m_alt_usage_state;
            states.push_back(std::move(state));
        } else if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object->get_name())) {
            KOVA_OBJECT_STATE state = model_state(validator, *object);
            state.value = parameter->get_current_value();
            state.alt_value = parameter->m_alt_value;
            state.usage = parameter->m_current_usage_state;
            state.alt_usage = parameter->m_alt_usage_state;
            states.push_back(std::move(state));
        } else if (with_hidden && object->obj_type == KOVA_OBJ_HIDDEN_PARAMETER) {
            KOVA_OBJECT_STATE state = model_state(validator, *object);
            state.value = KOVA_RULES_VALIDATOR::hidden_parameter_value_of(*object);
            states.push_back(std::move(state));
        }
    }
    return states;
}

std::vector<KOVA_OBJECT_STATE> kova_object_states(const KOVA_SESSION& session, bool with_hidden) {
    std::vector<KOVA_OBJECT_STATE> states = kova_object_states(session.validator(), with_hidden);
    kova_add_value_origins(session, states);
    return states;
}
