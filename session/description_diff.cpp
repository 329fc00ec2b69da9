// Two versions of a block compared object by object, through previous
// names where an object was renamed.
#include "session/description_diff.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "host/kova_stl.h"
#include "session/json_document.h"
#include "session/object_states.h"
#include "session/previous_names.h"

namespace {

// What the user sees of one port or parameter.
struct SEEN {
    KOVA_OBJECT_STATE state;
    std::string default_value;       // the session's default setting of its value
    std::vector<std::string> rules;  // kova_rule_text of each rule, in order
};

// The ports and parameters of a session, in the description's order.
std::vector<SEEN> seen_objects(const KOVA_SESSION& session) {
    std::map<std::string, std::string> defaults;
    for (const KOVA_SETTING& setting : session.default_settings()) defaults[to_lower_case(setting.name)] = setting.value;
    std::vector<SEEN> objects;
    for (KOVA_OBJECT_STATE& state : kova_object_states(session.validator())) {
        SEEN seen;
        if (!state.port) seen.default_value = defaults[to_lower_case(state.name)];
        if (const KOVA_OBJ_INFO* object = session.validator().get_kova_obj(state.name))
            for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) seen.rules.push_back(kova_rule_text(*rule));
        seen.state = std::move(state);
        objects.push_back(std::move(seen));
    }
    return objects;
}

class COMPARER {
public:
    explicit COMPARER(std::vector<KOVA_DESCRIPTION_CHANGE>& changes) : m_changes(changes) {}
    void pair(const SEEN& old_object, const SEEN& new_object);

private:
    void field(const std::string& change, const std::string& old_text, const std::string& new_text) {
        if (old_text != new_text) m_changes.push_back({m_name, change, old_text, new_text});
    }
    void rules(const std::vector<std::string>& old_rules, const std::vector<std::string>& new_rules);

    std::vector<KOVA_DESCRIPTION_CHANGE>& m_changes;
    std::string m_name;
};

void COMPARER::pair(const SEEN& old_object, const SEEN& new_object) {
    const KOVA_OBJECT_STATE& was = old_object.state;
    const KOVA_OBJECT_STATE& now = new_object.state;
    m_name = now.name;
    if (was.name != now.name) field("renamed", was.name, now.name);
    field("kind", was.kind, now.kind);
    field("default", old_object.default_value, new_object.default_value);
    // A port's value text is its width expression.
    field(now.port ? "width" : "values", was.value_text, now.value_text);
    field("usage", kova_get_usage_state_as_string(was.model_usage), kova_get_usage_state_as_string(now.model_usage));
    rules(old_object.rules, new_object.rules);
    field("label", was.help.label, now.help.label);
    field("help", was.help.text, now.help.text);
}

// The rules each side has more of than the other, as multisets of texts.
void COMPARER::rules(const std::vector<std::string>& old_rules, const std::vector<std::string>& new_rules) {
    std::vector<std::string> left = new_rules;
    for (const std::string& rule : old_rules) {
        const auto kept = std::find(left.begin(), left.end(), rule);
        if (kept == left.end())
            m_changes.push_back({m_name, "rule-removed", rule, ""});
        else
            left.erase(kept);
    }
    for (const std::string& rule : left) m_changes.push_back({m_name, "rule-added", "", rule});
}

// The old object each new one stands for (null for an added object):
// first every object that kept its name, then, among the old objects
// left, the first that one of its previous names names. An old object
// pairs once, and a name kept wins over a previous name.
std::vector<const SEEN*> counterparts(const KOVA_SESSION& new_session, const std::vector<SEEN>& new_objects,
                                      const std::vector<SEEN>& old_objects) {
    std::map<std::string, const SEEN*> left;  // the old objects not yet paired, by lower-case name
    for (const SEEN& seen : old_objects) left.emplace(to_lower_case(seen.state.name), &seen);
    std::vector<const SEEN*> pairs(new_objects.size(), nullptr);
    for (std::size_t at = 0; at < new_objects.size(); ++at) {
        const auto same = left.find(to_lower_case(new_objects[at].state.name));
        if (same == left.end()) continue;
        pairs[at] = same->second;
        left.erase(same);
    }
    for (std::size_t at = 0; at < new_objects.size(); ++at) {
        const KOVA_OBJ_INFO* object = new_session.validator().get_kova_obj(new_objects[at].state.name);
        if (pairs[at] || !object) continue;
        for (const std::string& previous : kova_previous_names(new_session.validator(), *object)) {
            const auto found = left.find(to_lower_case(previous));
            if (found == left.end()) continue;
            pairs[at] = found->second;
            left.erase(found);
            break;
        }
    }
    return pairs;
}

void print_change(const KOVA_DESCRIPTION_CHANGE& change, std::ostream& out) {
    out << change.object << ": ";
    if (change.change == "added" || change.change == "removed")
        out << change.change << " (" << (change.change == "added" ? change.new_text : change.old_text) << ")";
    else if (change.change == "renamed")
        out << "renamed from " << change.old_text;
    else if (change.change == "rule-added")
        out << "rule added: " << change.new_text;
    else if (change.change == "rule-removed")
        out << "rule removed: " << change.old_text;
    else if (change.change == "help")
        out << "help text changed";
    else
        out << change.change << ": " << (change.old_text.empty() ? "(none)" : change.old_text) << " -> "
            << (change.new_text.empty() ? "(none)" : change.new_text);
    out << "\n";
}

}  // namespace

std::string kova_rule_text(const KOVA_RULE_ELEMENT& rule) {
    std::string text = "type=\"" + kova_get_rule_type_word(rule.rule_type) + "\"";
    const std::pair<const char*, const std::string*> fields[] = {
        {"condition", &rule.get_condition()}, {"value", &rule.get_value()}, {"alt_value", &rule.get_alt_value()}};
    for (const auto& field : fields)
        if (!field.second->empty()) text += std::string(" ") + field.first + "=\"" + *field.second + "\"";
    return text;
}

std::vector<KOVA_DESCRIPTION_CHANGE> kova_diff_descriptions(const KOVA_SESSION& old_session,
                                                            const KOVA_SESSION& new_session) {
    const std::vector<SEEN> old_objects = seen_objects(old_session);
    const std::vector<SEEN> new_objects = seen_objects(new_session);
    const std::vector<const SEEN*> pairs = counterparts(new_session, new_objects, old_objects);
    const std::set<const SEEN*> paired(pairs.begin(), pairs.end());
    std::vector<KOVA_DESCRIPTION_CHANGE> changes;
    COMPARER comparer(changes);
    for (std::size_t at = 0; at < new_objects.size(); ++at) {
        if (pairs[at])
            comparer.pair(*pairs[at], new_objects[at]);
        else
            changes.push_back({new_objects[at].state.name, "added", "", new_objects[at].state.kind});
    }
    for (const SEEN& was : old_objects)
        if (!paired.count(&was)) changes.push_back({was.state.name, "removed", was.state.kind, ""});
    return changes;
}

void kova_description_diff_answer(const KOVA_SESSION& old_session, const KOVA_SESSION& new_session,
                                  KOVA_ANSWER& answer) {
    auto changes = std::make_shared<std::vector<KOVA_DESCRIPTION_CHANGE>>(
        kova_diff_descriptions(old_session, new_session));
    nlohmann::json list = nlohmann::json::array();
    for (const KOVA_DESCRIPTION_CHANGE& change : *changes)
        list.push_back({{"object", kova_json_text(change.object)},
                        {"change", change.change},
                        {"old", kova_json_text_or_null(change.old_text)},
                        {"new", kova_json_text_or_null(change.new_text)}});
    answer.document["compares"] = "descriptions";
    answer.document["old"] = kova_json_text(old_session.description());
    answer.document["new"] = kova_json_text(new_session.description());
    answer.document["equal"] = changes->empty();
    answer.document["changes"] = std::move(list);
    answer.text = [changes, old_file = old_session.description(), new_file = new_session.description()](
                      std::ostream& out) {
        for (const KOVA_DESCRIPTION_CHANGE& change : *changes) print_change(change, out);
        const std::size_t count = changes->size();
        out << old_file << " -> " << new_file << ": "
            << (count == 0 ? "no changes" : std::to_string(count) + (count == 1 ? " change" : " changes")) << "\n";
    };
}
