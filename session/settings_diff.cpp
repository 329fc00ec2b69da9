// Two effective configurations of one description, compared setting by
// setting after each file's run.
#include "session/settings_diff.h"

#include <map>
#include <memory>
#include <utility>

#include "session/settings_text.h"
#include "host/kova_stl.h"
#include "session/json_document.h"

namespace {

// A configuration's settings by lower-case name and sort (value or usage).
using KEYED = std::map<std::pair<std::string, bool>, std::string>;

KEYED keyed(const std::vector<KOVA_SETTING>& settings) {
    KEYED found;
    for (const KOVA_SETTING& setting : settings)
        found[{to_lower_case(setting.name), kova_setting_is_usage(setting.value)}] = setting.value;
    return found;
}

// One side, run on its own copy of the session.
struct SIDE {
    KEYED now;
    std::map<std::string, std::string> set_at;  // lower-case name -> origin of its last setting
    bool valid = false;
};

KOVA_PROBLEM run_side(const KOVA_SESSION& session, const KOVA_DIFF_INPUT& input, SIDE& side,
                      KOVA_MESSAGES& messages) {
    KOVA_SESSION copy(session);
    if (KOVA_PROBLEM problem = copy.apply(input.settings, messages)) return problem;
    side.valid = copy.run().valid;
    side.now = keyed(copy.current_settings());
    for (const KOVA_SETTING& setting : input.settings) side.set_at[to_lower_case(setting.name)] = setting.origin();
    return {};
}

KOVA_DIFF_SIDE side_of(const SIDE& side, const KEYED& defaults, const std::pair<std::string, bool>& key) {
    KOVA_DIFF_SIDE result;
    const auto now = side.now.find(key);
    if (now != side.now.end()) result.text = now->second;
    const auto set = side.set_at.find(key.first);
    const auto fallback = defaults.find(key);
    const std::optional<std::string> default_text =
        fallback == defaults.end() ? std::nullopt : std::optional<std::string>(fallback->second);
    result.origin = set != side.set_at.end() ? set->second : result.text == default_text ? "default" : "run";
    return result;
}

std::string side_text(const KOVA_DIFF_SIDE& side) {
    return (side.text ? *side.text : std::string("(none)")) + " (" + side.origin + ")";
}

nlohmann::json optional_text_json(const std::optional<std::string>& text) {
    return text ? nlohmann::json(kova_json_text(*text)) : nlohmann::json(nullptr);
}

}  // namespace

KOVA_PROBLEM kova_diff_settings(const KOVA_SESSION& session, const KOVA_DIFF_INPUT& a, const KOVA_DIFF_INPUT& b,
                                KOVA_SETTINGS_DIFF& diff, KOVA_MESSAGES& messages) {
    SIDE first, second;
    if (KOVA_PROBLEM problem = run_side(session, a, first, messages)) return problem;
    if (KOVA_PROBLEM problem = run_side(session, b, second, messages)) return problem;
    diff.a_valid = first.valid;
    diff.b_valid = second.valid;
    const KEYED defaults = keyed(session.default_settings());
    for (const std::string& name : session.object_names()) {
        for (const bool usage : {false, true}) {
            const std::pair<std::string, bool> key{to_lower_case(name), usage};
            KOVA_CONFIGURATION_DIFFERENCE difference{name, usage, side_of(first, defaults, key),
                                               side_of(second, defaults, key)};
            if (difference.a.text != difference.b.text) diff.differences.push_back(std::move(difference));
        }
    }
    return {};
}

void kova_settings_diff_answer(const KOVA_SESSION& session, const KOVA_DIFF_INPUT& a, const KOVA_DIFF_INPUT& b,
                               KOVA_ANSWER& answer) {
    auto diff = std::make_shared<KOVA_SETTINGS_DIFF>();
    answer.problem = kova_diff_settings(session, a, b, *diff, answer.messages);
    if (answer.problem) return kova_explain_problem(answer);
    nlohmann::json differences = nlohmann::json::array();
    for (const KOVA_CONFIGURATION_DIFFERENCE& difference : diff->differences)
        differences.push_back({{"name", kova_json_text(difference.name)},
                               {"what", difference.usage ? "usage" : "value"},
                               {"a", optional_text_json(difference.a.text)},
                               {"b", optional_text_json(difference.b.text)},
                               {"a_origin", kova_json_text(difference.a.origin)},
                               {"b_origin", kova_json_text(difference.b.origin)}});
    answer.document["compares"] = "settings";
    answer.document["a"] = {{"settings_file", kova_json_text(a.file)}, {"valid", diff->a_valid}};
    answer.document["b"] = {{"settings_file", kova_json_text(b.file)}, {"valid", diff->b_valid}};
    answer.document["equal"] = diff->differences.empty();
    answer.document["differences"] = std::move(differences);
    answer.text = [diff, a_file = a.file, b_file = b.file](std::ostream& out) {
        for (const KOVA_CONFIGURATION_DIFFERENCE& difference : diff->differences)
            out << difference.name << (difference.usage ? " usage" : "") << ": " << side_text(difference.a)
                << " -> " << side_text(difference.b) << "\n";
        const std::size_t count = diff->differences.size();
        out << a_file << " (" << (diff->a_valid ? "valid" : "invalid") << ") and " << b_file << " ("
            << (diff->b_valid ? "valid" : "invalid") << "): "
            << (count == 0 ? "no differences" : std::to_string(count) + (count == 1 ? " difference" : " differences"))
            << "\n";
    };
}
