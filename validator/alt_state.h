// The alternate state of the validator's port and parameter copies: what
// the rules of a validation derive for an object besides its current
// state. Every reset of it goes through these two functions, so that a
// run, a reset and a reset of one element forget the same things.
#ifndef KOVA_ALT_STATE_H
#define KOVA_ALT_STATE_H

#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"

// Forgets a parameter copy's alternate value and usage state.
inline void kova_reset_alt_state(KOVA_PARAMETER_OBJ& parameter) {
    parameter.m_alt_value.clear();
    parameter.m_alt_usage_state = KOVA_USAGE_NONE;
}

// Forgets a port copy's alternate usage state and, with port_values, the
// value and bounds that port value rules gave it (they become unknown).
// Validating one object keeps them: they are narrowed apart from the
// object's own rules (determine_port_value_validity).
inline void kova_reset_alt_state(KOVA_PORT_OBJ& port, bool port_values) {
    port.m_alt_usage_state = KOVA_USAGE_NONE;
    if (port_values) port.reset_port_values();
}

#endif
