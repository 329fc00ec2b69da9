// Stimulus vectors: which force command a record drives under the current
// settings, whether a vector forces a signal, the transitions of a vector
// at a time (one record per call, from the vector's cursor on), the words
// of a force command that name a value, and an object's initial vector
// state.
//
// The vector's stimulus cursor is part of the answer of these operations
// (see the header), so they walk the vector itself rather than a copy.
#include <optional>

#include "expr/truth.h"
#include "host/kova_stl.h"
#include "stimulus/force_command.h"
#include "validator/kova_rules_validator.h"
#include "validator/rule_condition.h"

namespace {

// The command of a record: its value when the condition holds, else its
// alternate value; none when that is empty.
std::optional<std::string> record_command(KOVA_RULES_VALIDATOR& validator, const KOVA_RULE_ELEMENT& record) {
    if (kova_is_true(kova_condition_result(validator, record.get_condition()))) return record.get_value();
    if (record.get_alt_value().empty()) return std::nullopt;
    return record.get_alt_value();
}

// The signal a command forces; "" for a command other than force.
std::string forced_signal(const std::string& command) {
    const KOVA_FORCE_HEAD head = kova_read_force_head(command);
    return head.is_force ? head.signal : "";
}

}  // namespace

std::string KOVA_RULES_VALIDATOR::get_stimulus_value(const std::string& token) {
    const KOVA_OBJ_INFO* object = get_kova_obj(token);
    if (!object) return token;
    if (object->obj_type == KOVA_OBJ_FN_MACRO) return get_macro_value(token, true);
    const KOVA_PORT_OBJ* port = object->is_port() ? get_port_object(token) : nullptr;
    if (port && port->m_current_usage_state == KOVA_USAGE_CONSTANT)
        return evaluate_expression(token, PARSER_MODE_EVALUATE);
    return token;
}

bool KOVA_RULES_VALIDATOR::kova_stimulus_exists(KOVA_VECTOR_OBJ* vector, const std::string& name) {
    if (!vector) return false;
    vector->reset_vector_stimulus();
    while (const KOVA_RULE_ELEMENT* record = vector->get_next_vector_stimulus()) {
        if (kova_equal_nocase(forced_signal(record_command(*this, *record).value_or("")), name)) return true;
    }
    return false;
}

bool KOVA_RULES_VALIDATOR::kova_get_vector_transition(KOVA_VECTOR_OBJ* vector, int time, std::string& name,
                                                      std::string& value) {
    if (!vector) return false;
    while (const KOVA_RULE_ELEMENT* record = vector->get_next_vector_stimulus()) {
        const std::optional<std::string> command = record_command(*this, *record);
        if (command && kova_get_transition_at_time(*command, time, name, value)) return true;
    }
    vector->reset_vector_stimulus();
    return false;
}

std::string KOVA_RULES_VALIDATOR::get_obj_initial_vec_state(const std::string& name) {
    const KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object) return "";
    const std::string text = object->get_initial_vec_state();
    if (text.empty()) return text;
    const std::string result = evaluate_value_expression(text, true);
    return result.empty() ? text : result;
}
