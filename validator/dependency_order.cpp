// Dependency levels: every model object's evaluation_position and every
// macro instance's dependency position, so that the validation run meets
// each object after the objects its texts mention.
//
// The in-progress map holds the names on the current path of the
// recursion (and those already met in the text being scanned). A name in
// the map whose object has no position yet lies on the current path:
// meeting it again is a cycle, reported and then ignored.
#include "validator/kova_rules_validator.h"

#include <algorithm>
#include <vector>

#include "expr/token_utils.h"
#include "validator/message_origin.h"

namespace {

// The texts of an object that decide its level, in order. They belong to
// the object's rules and the object, which scanning them leaves in place.
// Each text comes with the origin that names it in messages.
struct COUNTED_TEXT {
    const std::string* text;
    KOVA_MESSAGE_ORIGIN origin;
};

std::vector<COUNTED_TEXT> counted_texts(const KOVA_OBJ_INFO& object) {
    std::vector<COUNTED_TEXT> texts;
    const std::string* name = &object.get_name();
    int index = 0;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) {
        texts.push_back({&rule->get_alt_value(), kova_rule_origin(name, index, *rule, KOVA_FIELD_ALT_VALUE)});
        texts.push_back({&rule->get_condition(), kova_rule_origin(name, index, *rule, KOVA_FIELD_CONDITION)});
        texts.push_back({&rule->get_value(), kova_rule_origin(name, index, *rule, KOVA_FIELD_VALUE)});
        ++index;
    }
    if (object.has_expression_value())
        texts.push_back({&object.get_value(), kova_object_origin(*name, object, KOVA_FIELD_VALUE)});
    return texts;
}

// Raises level so that it lies above position.
void raise_above(int& level, int position) {
    if (position >= level) level = position + 1;
}

}  // namespace

void KOVA_RULES_VALIDATOR::create_dependency_list() {
    for (KOVA_OBJ_INFO* object : get_kova_obj_snapshot()) {
        if (object->evaluation_position != -1) continue;
        KOVA_NAME_MAP in_progress;
        in_progress.insert(object->get_name(), object->get_name());
        object->evaluation_position = get_element_position(object, in_progress);
    }
}

int KOVA_RULES_VALIDATOR::get_element_position(KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress) {
    if (object->evaluation_position != -1) return object->evaluation_position;
    in_progress.insert(object->get_name(), object->get_name());
    // Each text is scanned as if with its own copy of the map: the names
    // the scan adds (scans only ever add) are taken out again afterwards.
    // An empty text mentions nothing and gives 0.
    const std::size_t path_length = in_progress.size();
    int level = -1;
    for (const COUNTED_TEXT& counted : counted_texts(*object)) {
        const std::string* text = counted.text;
        if (text->empty()) {
            level = std::max(level, 0);
            continue;
        }
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, counted.origin);
        level = std::max(level, process_string_for_position_count(*text, in_progress, object->get_name()));
        in_progress.truncate(path_length);
    }
    return level < 0 ? 0 : level;
}

int KOVA_RULES_VALIDATOR::process_string_for_position_count(const std::string& text, KOVA_NAME_MAP& in_progress,
                                                            const std::string& owner) {
    int level = -1;
    KOVA_ELEMENT_READER tokens(text);
    while (!tokens.empty()) {
        const std::string token = tokens.next();
        if (token.empty() || is_reserved_keyword(token)) continue;
        KOVA_OBJ_INFO* object = get_kova_obj(token);
        if (!object) continue;
        if (!in_progress.contains(token)) {
            const int position = get_element_position(object, in_progress);
            object->evaluation_position = position;
            raise_above(level, position);
        } else if (object->evaluation_position != -1) {
            raise_above(level, object->evaluation_position);
        } else if (!owner.empty() && !kova_equal_nocase(token, owner)) {
            post_error_message("Cyclical dependency in string " + text + " because of object " + token +
                                   " while creating dependency list for " + owner,
                               KOVA_SEVERITY_WARNING, KOVA_DIAG_CYCLE);
        }
    }
    raise_above(level, create_fn_macros(text, in_progress));
    return level;
}
