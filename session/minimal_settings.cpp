// The settings that differ from the defaults, and saving a session's
// settings in full or minimal form.
#include "session/minimal_settings.h"

#include <map>

#include "expr/usage_words.h"
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

std::string joined_values(const NAME_SETTINGS& named) {
    std::string text;
    for (const KOVA_SETTING& setting : named.settings) text += (text.empty() ? "" : ", ") + setting.value;
    return text;
}

// Calls visit(now, defaults) for each name whose settings differ from the
// defaults', in the model's order; defaults is null for a name the
// defaults do not set.
template <class VISIT>
void each_difference(const KOVA_SESSION& session, VISIT visit) {
    std::vector<std::string> order;
    const std::map<std::string, NAME_SETTINGS> current = by_name(session.current_settings(), &order);
    const std::map<std::string, NAME_SETTINGS> defaults = by_name(session.default_settings());
    for (const std::string& key : order) {
        const NAME_SETTINGS& now = current.at(key);
        const auto found = defaults.find(key);
        if (found != defaults.end() && found->second == now) continue;
        visit(now, found == defaults.end() ? nullptr : &found->second);
    }
}

}  // namespace

std::vector<KOVA_SETTING> kova_minimal_settings(const KOVA_SESSION& session) {
    std::vector<KOVA_SETTING> minimal;
    each_difference(session, [&](const NAME_SETTINGS& now, const NAME_SETTINGS* defaults) {
        // A usage state alone keeps the value the defaults give: clear it.
        if (defaults && defaults->has_value() && !now.has_value())
            minimal.push_back({now.settings.front().name, "", "", 0});
        for (const KOVA_SETTING& setting : now.settings) minimal.push_back(setting);
    });
    return minimal;
}

std::vector<KOVA_SETTING_DIFFERENCE> kova_setting_differences(const KOVA_SESSION& session) {
    std::vector<KOVA_SETTING_DIFFERENCE> differences;
    each_difference(session, [&](const NAME_SETTINGS& now, const NAME_SETTINGS* defaults) {
        differences.push_back({now.settings.front().name, defaults ? joined_values(*defaults) : "",
                               joined_values(now)});
    });
    return differences;
}

std::string kova_session_settings_text(const KOVA_SESSION& session, bool minimal) {
    return kova_render_settings(minimal ? kova_minimal_settings(session) : session.current_settings());
}

KOVA_PROBLEM kova_save_session_settings(const KOVA_SESSION& session, const std::string& path, bool minimal) {
    if (minimal) return kova_save_settings_file(path, kova_minimal_settings(session), true);
    return kova_save_settings_file(path, session.current_settings(), false);
}
