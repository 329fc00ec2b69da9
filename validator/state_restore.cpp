// Restoring a copy of a validator to the state of the validator it was
// copied from, in place: each object takes its original's state by
// assignment, so the object lists, their indexes, the scanners and the
// program cache stay, and a validator reused for one configuration after
// another allocates far less than a fresh copy per configuration.
//
// Invariant: restore_state changes nothing unless the two validators hold
// the same objects in the same order and one source table (a copy and its
// original, from a description file, neither
// changed in shape since); then every model object, port and parameter
// copy, macro instance, external message and run record is as a fresh
// copy of original has it.
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
    for (std::size_t i = 0; i < objects.size(); ++i) *objects[i] = *originals[i];
    assign_entries(m_parameter_list, original.m_parameter_list);
    assign_entries(m_port_list, original.m_port_list);
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
