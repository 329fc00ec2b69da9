// Grouping objects by wizard map, and matching them against a search.
#include "session/object_groups.h"

#include <algorithm>
#include <cctype>
#include <map>

const char* const KOVA_NOT_IN_CONFIGURATION = "Not in this configuration";

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The group index of each lower-case name the maps hold, in the order
// maps first name them; groups gets one (empty) group per map.
std::map<std::string, std::size_t> map_places(const std::vector<KOVA_WIZARD_MAP_RESULT>& maps,
                                              std::vector<KOVA_OBJECT_GROUP>& groups) {
    std::map<std::string, std::size_t> places;
    for (const KOVA_WIZARD_MAP_RESULT& map : maps) {
        groups.push_back({map.help.label.empty() ? map.map : map.help.label, map.map, false, {}});
        for (const KOVA_MAP_ENTRY& entry : map.entries) places.emplace(lower(entry.name), groups.size() - 1);
    }
    return places;
}

}  // namespace

std::vector<KOVA_OBJECT_GROUP> kova_object_groups(const std::vector<KOVA_OBJECT_STATE>& states,
                                                  const std::vector<KOVA_WIZARD_MAP_RESULT>& maps) {
    std::vector<KOVA_OBJECT_GROUP> groups;
    const std::map<std::string, std::size_t> places = map_places(maps, groups);
    const std::size_t parameters = groups.size();
    // As the page names them: "Other ..." beside the maps.
    groups.push_back({maps.empty() ? "Parameters" : "Other parameters", "", false, {}});
    groups.push_back({maps.empty() ? "Ports" : "Other ports", "", false, {}});
    groups.push_back({KOVA_NOT_IN_CONFIGURATION, "", true, {}});
    for (std::size_t i = 0; i < states.size(); ++i) {
        const KOVA_OBJECT_STATE& state = states[i];
        const auto place = places.find(lower(state.name));
        if (state.model_usage == KOVA_USAGE_NONE) groups[parameters + 2].members.push_back(i);
        else if (place != places.end()) groups[place->second].members.push_back(i);
        else groups[parameters + (state.port ? 1 : 0)].members.push_back(i);
    }
    const auto empty = [](const KOVA_OBJECT_GROUP& group) { return group.members.empty(); };
    groups.erase(std::remove_if(groups.begin(), groups.end(), empty), groups.end());
    return groups;
}

bool kova_object_matches(const KOVA_OBJECT_STATE& state, const std::string& query) {
    if (query.empty()) return false;
    const std::string wanted = lower(query);
    for (const std::string* text : {&state.name, &state.help.label, &state.value, &state.help.text})
        if (lower(*text).find(wanted) != std::string::npos) return true;
    return false;
}
