// Macro instances: every distinct macro call met in a rule text becomes a
// KOVA_FN_MACRO holding the body with the actual arguments in place, with
// a dependency position (the dependency walk, dependency_walk.cpp, makes
// and orders them); the instances of the function rules; and the map from
// each macro to the parameters it depends on.
#include "validator/kova_rules_validator.h"

#include <algorithm>
#include <vector>

#include "expr/token_utils.h"
#include "validator/dependency_walk.h"

int KOVA_RULES_VALIDATOR::create_fn_macros(const std::string& expression, KOVA_NAME_MAP& in_progress) {
    return KOVA_DEPENDENCY_WALK::calls_level(*this, expression, in_progress);
}

void KOVA_RULES_VALIDATOR::initialize_fn_rules() {
    KOVA_NAME_MAP in_progress;
    for (const KOVA_RULE_ELEMENT* rule : get_fn_rule_snapshot()) {
        const bool function_rule = rule->rule_type == KOVA_RULE_FN_CLEAR || rule->rule_type == KOVA_RULE_FN_SET;
        if (function_rule && !rule->get_condition().empty()) create_fn_macros(rule->get_condition(), in_progress);
    }
}

KOVA_MACRO_DEPENDENCY_MAP KOVA_RULES_VALIDATOR::create_macro_dependency_map() {
    // Levels rise, so a macro that another macro uses is stored first;
    // macros of one level keep the model's order, and macros without a
    // level are left out. Sorting the macros once keeps this linear in the
    // model's size however many levels there are.
    std::vector<const KOVA_OBJ_INFO*> macros;
    for (const KOVA_OBJ_INFO* object : get_kova_obj_snapshot())
        if (object->obj_type == KOVA_OBJ_FN_MACRO && object->evaluation_position >= 0) macros.push_back(object);
    std::stable_sort(macros.begin(), macros.end(), [](const KOVA_OBJ_INFO* a, const KOVA_OBJ_INFO* b) {
        return a->evaluation_position < b->evaluation_position;
    });
    KOVA_MACRO_DEPENDENCY_MAP result;
    for (const KOVA_OBJ_INFO* object : macros) {
        KOVA_ORDERED_NAME_MAP names;
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
            update_macro_dependency_map_from_string(result, names, rule->get_alt_value());
            update_macro_dependency_map_from_string(result, names, rule->get_condition());
            update_macro_dependency_map_from_string(result, names, rule->get_value());
        }
        update_macro_dependency_map_from_string(result, names, object->get_default_value());
        result[object->get_name()] = names;
    }
    return result;
}

void KOVA_RULES_VALIDATOR::update_macro_dependency_map_from_string(KOVA_MACRO_DEPENDENCY_MAP& result,
                                                                   KOVA_ORDERED_NAME_MAP& names,
                                                                   const std::string& text) {
    KOVA_ELEMENT_READER tokens(text);
    while (!tokens.empty()) {
        const std::string token = tokens.next();
        if (token.empty() || is_reserved_keyword(token) || names.count(token)) continue;
        const KOVA_OBJ_INFO* object = get_kova_obj(token);
        if (!object) continue;
        if (object->is_parameter()) {
            names.emplace(object->get_name(), object->get_name());
        } else if (object->obj_type == KOVA_OBJ_FN_MACRO) {
            auto used = result.find(token);
            if (used == result.end()) continue;
            for (const auto& name : used->second) names.emplace(name.first, name.first);
        }
    }
}
