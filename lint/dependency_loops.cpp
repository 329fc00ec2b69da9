// Finding the way a reported dependency loop takes through the model.
#include "lint/dependency_loops.h"

#include <algorithm>
#include <map>

#include "expr/kova_tokens.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"

namespace {

struct FOUND {
    const KOVA_INFO* model = nullptr;
    const KOVA_OBJ_INFO* object = nullptr;
};

FOUND find(const std::vector<KOVA_INFO*>& models, const std::string& name) {
    for (const KOVA_INFO* model : models)
        if (const KOVA_OBJ_INFO* object = model->get_kova_obj(name)) return {model, object};
    return {};
}

struct READ_TEXT {
    const std::string* text;  // the object's own, which outlives the walk
    KOVA_LINT_PLACE place;
};

// The texts of an object that the dependency walk reads, in its order.
std::vector<READ_TEXT> read_texts(const FOUND& found) {
    std::vector<READ_TEXT> texts;
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : found.object->rule_view()) {
        ++index;
        const auto add = [&](const std::string& text, KOVA_SOURCE_FIELD field) {
            texts.push_back({&text, {found.model, found.object, index, rule->source_id, field}});
        };
        add(rule->get_alt_value(), KOVA_FIELD_ALT_VALUE);
        add(rule->get_condition(), KOVA_FIELD_CONDITION);
        add(rule->get_value(), KOVA_FIELD_VALUE);
    }
    if (found.object->has_expression_value())
        texts.push_back({&found.object->get_value(),
                         {found.model, found.object, -1, found.object->source_id, KOVA_FIELD_VALUE}});
    return texts;
}

// How the walk reached an object: from the object before it, through that
// object's text at place.
struct REACHED {
    const KOVA_OBJ_INFO* before;
    KOVA_LINT_PLACE place;
};

// The steps from the start to last, following each object's way back.
std::vector<KOVA_LOOP_STEP> steps_to(const KOVA_OBJ_INFO* last,
                                     const std::map<const KOVA_OBJ_INFO*, REACHED>& reached) {
    std::vector<KOVA_LOOP_STEP> steps{{last->get_name(), KOVA_LINT_PLACE()}};
    for (const KOVA_OBJ_INFO* at = last; reached.at(at).before; at = reached.at(at).before)
        steps.push_back({reached.at(at).before->get_name(), reached.at(at).place});
    std::reverse(steps.begin(), steps.end());
    return steps;
}

}  // namespace

std::vector<KOVA_LOOP_STEP> kova_dependency_path(const std::vector<KOVA_INFO*>& models, const std::string& from,
                                                 const std::string& to) {
    const FOUND start = find(models, from), goal = find(models, to);
    if (!start.object || !goal.object) return {};
    // Invariant: every object in work is in reached, with the way to it.
    std::map<const KOVA_OBJ_INFO*, REACHED> reached{{start.object, {nullptr, KOVA_LINT_PLACE()}}};
    std::vector<FOUND> work{start};
    for (std::size_t next = 0; next < work.size(); ++next) {
        const FOUND current = work[next];
        for (const READ_TEXT& text : read_texts(current)) {
            QEL_TOKEN_READER tokens(*text.text, kova_element_delimiters());
            while (!tokens.empty()) {
                const std::string token = tokens.next();
                const FOUND found = token.empty() ? FOUND() : find(models, token);
                if (!found.object || reached.count(found.object)) continue;
                reached.emplace(found.object, REACHED{current.object, text.place});
                if (found.object == goal.object) return steps_to(goal.object, reached);
                work.push_back(found);
            }
        }
    }
    return {};
}

bool kova_cycle_ends(const std::string& message, std::string& from, std::string& to) {
    static const std::string OBJECT = " because of object ", OWNER = " while creating dependency list for ";
    const std::size_t owner = message.rfind(OWNER);
    const std::size_t object = owner == std::string::npos ? owner : message.rfind(OBJECT, owner);
    if (object == std::string::npos) return false;
    from = message.substr(object + OBJECT.size(), owner - object - OBJECT.size());
    // The owner may be a macro instance, "NAME(ARGUMENTS)": its body is the macro's.
    to = message.substr(owner + OWNER.size());
    to = to.substr(0, to.find('('));
    return !from.empty() && !to.empty();
}

std::string kova_loop_key(const std::vector<KOVA_LOOP_STEP>& loop) {
    std::vector<std::string> names;
    for (const KOVA_LOOP_STEP& step : loop) names.push_back(to_lower_case(step.object));
    std::rotate(names.begin(), std::min_element(names.begin(), names.end()), names.end());
    std::string key;
    for (const std::string& name : names) key += name + '\n';
    return key;
}
