// Reading a session's object states against a baseline of them.
#include "session/state_changes.h"

#include <tuple>

#include "session/json_document.h"

namespace {

// Every member of the state shape, for comparing two states.
auto members(const KOVA_OBJECT_STATE& s) {
    return std::tie(s.port, s.kind, s.name, s.value_text, s.default_value, s.value, s.alt_value, s.usage, s.alt_usage,
                    s.model_usage, s.help.label, s.help.text, s.origin.kind, s.origin.by_setting, s.origin.source,
                    s.origin.file, s.origin.line, s.origin.rule, s.origin.was);
}

}  // namespace

KOVA_STATE_BASELINE kova_read_states(KOVA_SESSION& session) {
    KOVA_STATE_BASELINE read;
    read.states = kova_object_states(session, true);
    read.widths = kova_state_widths(session, read.states);
    return read;
}

nlohmann::json kova_changed_states_json(KOVA_SESSION& session, const KOVA_STATE_BASELINE& baseline) {
    const KOVA_STATE_BASELINE now = kova_read_states(session);
    nlohmann::json changed = nlohmann::json::array();
    for (std::size_t i = 0; i < now.states.size(); ++i) {
        // Past the baseline's end cannot happen for one description; such
        // a state is sent rather than dropped.
        const bool same = i < baseline.states.size() && now.widths[i] == baseline.widths[i] &&
                          members(now.states[i]) == members(baseline.states[i]);
        if (!same) changed.push_back(kova_object_state_json(now.states[i], now.widths[i]));
    }
    return changed;
}
