// Restoring a copy of a validator to the state of the validator it was
// copied from, in place: each object takes its original's state field by
// field (macro instances and messages by assignment), so the object
// lists, their indexes, the objects' name memos, the scanners and the
// program cache stay, and a validator reused for one configuration after
// another allocates far less than a fresh copy per configuration.
//
// Invariant: restore_state changes nothing unless the two validators hold
// the same objects in the same order and one source table (a copy and its
// original, from a description file, neither changed in shape since);
// then every model object, port and parameter copy, macro instance,
// external message and run record is as a fresh copy of original has it.
// A failure to allocate part-way (std::bad_alloc, let through) leaves the
// validator valid but part restored: restore it again or drop it.
#include <utility>

#include "validator/kova_rules_validator.h"

namespace {

// Whether two owned maps hold objects of the same names in the same order.
template <typename T>
bool same_entries(const KOVA_OWNED_MAP<T>& mine, const KOVA_OWNED_MAP<T>& theirs) {
    if (mine.size() != theirs.size()) return false;
    const auto& a = mine.entries();
    const auto& b = theirs.entries();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first) return false;
    return true;
}

// Each object of mine takes the state of the object at its place in theirs.
template <typename T>
void assign_entries(KOVA_OWNED_MAP<T>& mine, const KOVA_OWNED_MAP<T>& theirs) {
    const auto& a = mine.entries();
    const auto& b = theirs.entries();
    for (std::size_t i = 0; i < a.size(); ++i) *static_cast<T*>(a[i].second) = *static_cast<const T*>(b[i].second);
}

// A text given again only where it differs, so that its storage is reused.
void restore_text(const std::string& mine, const std::string& theirs, KOVA_OBJ_INFO& object,
                  void (KOVA_OBJ_INFO::*set)(const std::string&)) {
    if (mine != theirs) (object.*set)(theirs);
}

// mine takes theirs' state field by field, keeping its storage and its
// name memo (still right: no object changes place). Runs never change an
// object's rules, so rules of the same count are theirs' rules; otherwise
// the object is assigned whole.
void restore_object(KOVA_OBJ_INFO& mine, const KOVA_OBJ_INFO& theirs) {
    if (mine.get_rule_count() != theirs.get_rule_count()) {
        mine = theirs;
        return;
    }
    restore_text(mine.get_value(), theirs.get_value(), mine, &KOVA_OBJ_INFO::set_value);
    restore_text(mine.get_default_value(), theirs.get_default_value(), mine, &KOVA_OBJ_INFO::set_default_value);
    restore_text(mine.get_current_value(), theirs.get_current_value(), mine, &KOVA_OBJ_INFO::set_current_value);
    restore_text(mine.get_port_width(), theirs.get_port_width(), mine, &KOVA_OBJ_INFO::set_port_width);
    restore_text(mine.get_port_width2d(), theirs.get_port_width2d(), mine, &KOVA_OBJ_INFO::set_port_width2d);
    restore_text(mine.get_arguments(), theirs.get_arguments(), mine, &KOVA_OBJ_INFO::set_arguments);
    restore_text(mine.get_initial_vec_state(), theirs.get_initial_vec_state(), mine,
                 &KOVA_OBJ_INFO::set_initial_vec_state);
    mine.source_id = theirs.source_id;
    mine.obj_type = theirs.obj_type;
    mine.default_index = theirs.default_index;
    mine.usage_state = theirs.usage_state;
    mine.default_usage_state = theirs.default_usage_state;
    mine.evaluation_position = theirs.evaluation_position;
    mine.wizard_kind = theirs.wizard_kind;
    mine.silent_correction = theirs.silent_correction;
    mine.reset_rule_list();
}

// The same for a parameter copy, with its own states and alternate value.
void restore_parameter(KOVA_PARAMETER_OBJ& mine, const KOVA_PARAMETER_OBJ& theirs) {
    restore_object(mine, theirs);
    mine.m_current_usage_state = theirs.m_current_usage_state;
    mine.m_alt_usage_state = theirs.m_alt_usage_state;
    if (mine.m_alt_value != theirs.m_alt_value) mine.m_alt_value = theirs.m_alt_value;
}

// The same for a port copy: its states, and its width and values, which
// keep their storage where the widths agree. A port with a value array, or
// at another known width, is assigned whole.
void restore_port(KOVA_PORT_OBJ& mine, const KOVA_PORT_OBJ& theirs) {
    const int width = theirs.get_current_port_width();
    if (mine.get_port_value_array() || theirs.get_port_value_array() ||
        (width >= 0 && width != mine.get_current_port_width())) {
        mine = theirs;
        return;
    }
    restore_object(mine, theirs);
    mine.m_current_usage_state = theirs.m_current_usage_state;
    mine.m_alt_usage_state = theirs.m_alt_usage_state;
    if (width < 0) {
        mine.reset_current_port_width();
        return;
    }
    mine.get_current_port_value()->assign_keeping_width(*theirs.get_current_port_value());
    mine.get_min_port_value()->assign_keeping_width(*theirs.get_min_port_value());
    mine.get_max_port_value()->assign_keeping_width(*theirs.get_max_port_value());
}

}  // namespace

bool KOVA_RULES_VALIDATOR::restore_state(const KOVA_RULES_VALIDATOR& original) {
    if (this == &original) return true;
    const std::vector<KOVA_OBJ_INFO*> objects = get_kova_obj_snapshot();
    const std::vector<KOVA_OBJ_INFO*> originals = original.get_kova_obj_snapshot();
    if (!get_source_table() || get_source_table() != original.get_source_table() || objects.size() != originals.size() ||
        !same_entries(m_parameter_list, original.m_parameter_list) || !same_entries(m_port_list, original.m_port_list) ||
        !same_entries(m_fn_macro_list, original.m_fn_macro_list) || !original.get_error_messages().empty() ||
        !original.get_diagnostics().empty())
        return false;
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i]->get_name() != originals[i]->get_name()) return false;
    // Nothing has changed so far; from here on only assignments.
    for (std::size_t i = 0; i < objects.size(); ++i) restore_object(*objects[i], *originals[i]);
    const auto& parameters = m_parameter_list.entries();
    const auto& original_parameters = original.m_parameter_list.entries();
    for (std::size_t i = 0; i < parameters.size(); ++i)
        restore_parameter(*static_cast<KOVA_PARAMETER_OBJ*>(parameters[i].second),
                          *static_cast<const KOVA_PARAMETER_OBJ*>(original_parameters[i].second));
    const auto& ports = m_port_list.entries();
    const auto& original_ports = original.m_port_list.entries();
    for (std::size_t i = 0; i < ports.size(); ++i)
        restore_port(*static_cast<KOVA_PORT_OBJ*>(ports[i].second),
                     *static_cast<const KOVA_PORT_OBJ*>(original_ports[i].second));
    assign_entries(m_fn_macro_list, original.m_fn_macro_list);
    if (m_cmd_list.size() || original.m_cmd_list.size()) m_cmd_list = original.m_cmd_list;
    m_external_msg_list.clear();
    for (const auto& message : original.m_external_msg_list)
        m_external_msg_list.push_back(std::make_unique<KOVA_RULE_ELEMENT>(*message));
    m_external_msg_cursor = original.m_external_msg_cursor;
    m_value_rule = m_state_rule = KOVA_APPLIED_RULE();
    m_deciding_fn_rule = original.m_deciding_fn_rule;
    m_silent_corrections = original.m_silent_corrections;
    // The model's lists, cursors and origin as a copy starts them.
    clear_error_messages();
    set_message_origin(KOVA_MESSAGE_ORIGIN());
    reset_kova_obj_map();
    reset_sub_info_map();
    reset_wizard_map();
    reset_vector_map();
    reset_fn_rule_list();
    reset_msg_list();
    return true;
}
