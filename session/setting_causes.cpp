// The settings that differ from the defaults, and those of them each
// conflict follows from.
#include "session/setting_causes.h"

#include <algorithm>

#include "host/kova_name_index.h"
#include "session/expression_queries.h"
#include "session/json_document.h"
#include "session/minimal_settings.h"

namespace {

bool holds(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& held) { return kova_equal_nocase(held, name); });
}

// The changed settings among what object's rules read, then the object.
std::vector<std::string> causes_of(const KOVA_SESSION& session, const std::string& object,
                                   const std::vector<std::string>& changed) {
    KOVA_DEPENDENCIES dependencies;
    kova_object_dependencies(session, object, dependencies);
    dependencies.names.push_back(object);
    std::vector<std::string> causes;
    for (const std::string& name : dependencies.names)
        if (holds(changed, name) && !holds(causes, name)) causes.push_back(name);
    return causes;
}

}  // namespace

std::vector<std::string> kova_changed_setting_names(const KOVA_SESSION& session) {
    std::vector<std::string> names;
    for (const KOVA_SETTING& setting : kova_minimal_settings(session))
        if (!holds(names, setting.name)) names.push_back(setting.name);
    return names;
}

std::vector<KOVA_CONFLICT_CAUSE> kova_conflict_causes(const KOVA_SESSION& session, const KOVA_MESSAGES& messages,
                                                      const std::vector<std::string>& changed,
                                                      const std::string& last_change) {
    std::vector<KOVA_CONFLICT_CAUSE> causes;
    for (const KOVA_MESSAGE& message : messages) {
        if (message.severity != KOVA_SEVERITY_ERROR || message.object.empty()) continue;
        const bool listed = std::any_of(causes.begin(), causes.end(), [&](const KOVA_CONFLICT_CAUSE& cause) {
            return kova_equal_nocase(cause.object, message.object);
        });
        if (listed) continue;
        KOVA_CONFLICT_CAUSE cause{message.object, causes_of(session, message.object, changed), ""};
        for (const std::string& name : cause.settings)
            if (kova_equal_nocase(name, last_change)) cause.last = name;
        causes.push_back(std::move(cause));
    }
    return causes;
}

nlohmann::json kova_conflict_causes_json(const std::vector<KOVA_CONFLICT_CAUSE>& causes) {
    nlohmann::json list = nlohmann::json::array();
    for (const KOVA_CONFLICT_CAUSE& cause : causes)
        list.push_back({{"object", kova_json_text(cause.object)},
                        {"settings", kova_texts_json(cause.settings)},
                        {"last", cause.last.empty() ? nlohmann::json() : kova_json_text(cause.last)}});
    return list;
}
