// The settings that differ from the defaults, and saving a session's
// settings in full or minimal form.
#include "session/minimal_settings.h"

#include <map>

#include "expr/usage_words.h"
#include "host/kova_name_index.h"
#include "host/kova_stl.h"
#include "session/settings_io.h"

namespace {

// One name's settings: its value (when it has one) and its usage state
// (when current_settings writes one), in the order they were written.
struct NAME_SETTINGS {
    std::vector<KOVA_SETTING> settings;
    bool has_value() const {
        for (const KOVA_SETTING& setting : settings)
            if (kova_usage_word_state(setting.value) == KOVA_USAGE_NONE) return true;
        return false;
    }
    bool operator==(const NAME_SETTINGS& other) const {
        if (settings.size() != other.settings.size()) return false;
        for (std::size_t i = 0; i < settings.size(); ++i)
            if (settings[i].value != other.settings[i].value) return false;
        return true;
    }
};

// Settings grouped by lower-case name; order lists the names as first met.
std::map<std::string, NAME_SETTINGS> by_name(const std::vector<KOVA_SETTING>& settings,
                                             std::vector<std::string>* order = nullptr) {
    std::map<std::string, NAME_SETTINGS> grouped;
    for (const KOVA_SETTING& setting : settings) {
        const std::string key = to_lower_case(setting.name);
        if (order && grouped.find(key) == grouped.end()) order->push_back(key);
        grouped[key].settings.push_back(setting);
    }
    return grouped;
}

// The settings of one name in a list: [first, second).
using RUN = std::pair<std::size_t, std::size_t>;

// The runs of one name's settings in a list, in order.
std::vector<RUN> runs(const std::vector<KOVA_SETTING>& settings) {
    std::vector<RUN> found;
    for (std::size_t at = 0; at < settings.size();) {
        std::size_t end = at + 1;
        while (end < settings.size() && kova_equal_nocase(settings[end].name, settings[at].name)) ++end;
        found.push_back({at, end});
        at = end;
    }
    return found;
}

// One name's settings of a run, for comparing and adding.
NAME_SETTINGS run_settings(const std::vector<KOVA_SETTING>& settings, RUN run) {
    return {std::vector<KOVA_SETTING>(settings.begin() + run.first, settings.begin() + run.second)};
}

// Adds a name's settings to minimal when they differ from its defaults
// (null when the defaults have none): a usage state alone keeps the value
// the defaults give, so that value is cleared first.
void add_if_changed(const NAME_SETTINGS& now, const NAME_SETTINGS* defaults, std::vector<KOVA_SETTING>& minimal) {
    if (defaults && *defaults == now) return;
    if (defaults && defaults->has_value() && !now.has_value())
        minimal.push_back({now.settings.front().name, "", "", 0});
    for (const KOVA_SETTING& setting : now.settings) minimal.push_back(setting);
}

// The minimal settings when both lists hold the same names in the same
// order, one run each, as they do for one description: a walk side by
// side, without indexing every name (a page asks this at every change).
// False, with nothing added, when they do not.
bool minimal_side_by_side(const std::vector<KOVA_SETTING>& current, const std::vector<KOVA_SETTING>& defaults,
                          std::vector<KOVA_SETTING>& minimal) {
    const auto now = runs(current), before = runs(defaults);
    if (now.size() != before.size()) return false;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (!kova_equal_nocase(current[now[i].first].name, defaults[before[i].first].name)) return false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const std::size_t count = now[i].second - now[i].first;
        bool same = count == before[i].second - before[i].first;
        for (std::size_t k = 0; same && k < count; ++k)
            same = current[now[i].first + k].value == defaults[before[i].first + k].value;
        if (same) continue;  // most names: compared in place, nothing copied
        const NAME_SETTINGS was = run_settings(defaults, before[i]);
        add_if_changed(run_settings(current, now[i]), &was, minimal);
    }
    return true;
}

std::string joined_values(const std::vector<KOVA_SETTING>& settings) {
    std::string text;
    for (const KOVA_SETTING& setting : settings) text += (text.empty() ? "" : ", ") + setting.value;
    return text;
}

}  // namespace

std::vector<KOVA_SETTING> kova_minimal_settings(const KOVA_SESSION& session) {
    const std::vector<KOVA_SETTING> settings = session.current_settings();
    std::vector<KOVA_SETTING> minimal;
    if (minimal_side_by_side(settings, session.default_settings(), minimal)) return minimal;
    std::vector<std::string> order;
    const std::map<std::string, NAME_SETTINGS> current = by_name(settings, &order);
    const std::map<std::string, NAME_SETTINGS> defaults = by_name(session.default_settings());
    for (const std::string& key : order) {
        const auto found = defaults.find(key);
        add_if_changed(current.at(key), found == defaults.end() ? nullptr : &found->second, minimal);
    }
    return minimal;
}

std::vector<KOVA_SETTING_DIFFERENCE> kova_setting_differences(const KOVA_SESSION& session) {
    const std::vector<KOVA_SETTING> minimal = kova_minimal_settings(session);
    std::vector<KOVA_SETTING_DIFFERENCE> differences;
    std::map<std::string, std::size_t> at;  // lower-case name: its difference
    for (const RUN& run : runs(minimal)) {
        NAME_SETTINGS now = run_settings(minimal, run);
        // The cleared value before a usage state alone is the save's, not the session's.
        const NAME_SETTINGS rest{std::vector<KOVA_SETTING>(now.settings.begin() + 1, now.settings.end())};
        if (now.settings.front().value.empty() && !rest.settings.empty() && !rest.has_value()) now = rest;
        at[to_lower_case(now.settings.front().name)] = differences.size();
        differences.push_back({now.settings.front().name, "", joined_values(now.settings)});
    }
    // The defaults of those few names, in one walk of the defaults.
    for (const KOVA_SETTING& setting : session.default_settings()) {
        const auto found = at.find(to_lower_case(setting.name));
        if (found == at.end()) continue;
        std::string& text = differences[found->second].default_value;
        text += (text.empty() ? "" : ", ") + setting.value;
    }
    return differences;
}

std::string kova_session_settings_text(const KOVA_SESSION& session, bool minimal) {
    return kova_render_settings(minimal ? kova_minimal_settings(session) : session.current_settings());
}

KOVA_PROBLEM kova_save_session_settings(const KOVA_SESSION& session, const std::string& path, bool minimal) {
    if (minimal) return kova_save_settings_file(path, kova_minimal_settings(session), true);
    return kova_save_settings_file(path, session.current_settings(), false);
}
