// The state a repair's steps share: which settings it may change, its
// counted runs and the record of its changes. Apart from the steps, so
// that the driver (fix.cpp) and the search (fix_search.cpp) both use it
// without calling each other.
#include "session/fix_context.h"

#include "expr/usage_words.h"
#include "host/kova_stl.h"

KOVA_REPAIR_CONTEXT::KOVA_REPAIR_CONTEXT(KOVA_SESSION& session, const KOVA_FIX_OPTIONS& options)
    : m_session(session), m_options(options) {
    for (const std::string& name : options.keep) m_keep.insert(to_lower_case(name));
}

bool KOVA_REPAIR_CONTEXT::may_change(const std::string& name) const {
    const KOVA_RULES_VALIDATOR& validator = m_session.validator();
    return (validator.get_port_object(name) || validator.get_parameter_object(name)) &&
           m_keep.count(to_lower_case(name)) == 0;
}

KOVA_RUN_RESULT KOVA_REPAIR_CONTEXT::run(KOVA_SESSION& session) {
    KOVA_RUN_RESULT result = session.run();
    ++m_runs;
    if (m_options.progress) {
        m_options.progress(m_runs, static_cast<int>(kova_error_count(result.messages)));
    }
    return result;
}

std::string KOVA_REPAIR_CONTEXT::held(const std::string& name, const std::string& value) const {
    const KOVA_RULES_VALIDATOR& validator = m_session.validator();
    const bool usage = kova_usage_word_state(value) != KOVA_USAGE_NONE;
    if (const KOVA_PORT_OBJ* port = validator.get_port_object(name))
        return kova_get_usage_state_as_string(port->m_current_usage_state);
    const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(name);
    if (!parameter) return "";
    return usage ? kova_get_usage_state_as_string(parameter->m_current_usage_state) : parameter->get_current_value();
}

void KOVA_REPAIR_CONTEXT::change(const std::string& name, const std::string& value, const std::string& reason) {
    const std::string key = to_lower_case(name) + (kova_usage_word_state(value) != KOVA_USAGE_NONE ? "/usage" : "/value");
    const std::string before = held(name, value);
    KOVA_MESSAGES ignored;
    m_session.apply({{name, value, "", 0}}, ignored);
    for (auto entry = m_changes.begin(); entry != m_changes.end(); ++entry) {
        if (entry->first != key) continue;
        entry->second.new_value = value;
        entry->second.reason = reason;
        if (entry->second.old_value == value) m_changes.erase(entry);
        return;
    }
    m_changes.push_back({key, {name, before, value, reason}});
}

std::vector<KOVA_FIX_CHANGE> KOVA_REPAIR_CONTEXT::changes() const {
    std::vector<KOVA_FIX_CHANGE> list;
    for (const auto& entry : m_changes) list.push_back(entry.second);
    return list;
}
