// Macro instances: every distinct macro call met in a rule text becomes a
// KOVA_FN_MACRO holding the body with the actual arguments in place, with
// a dependency position; and the map from each macro to the parameters it
// depends on.
#include "validator/kova_rules_validator.h"

#include <algorithm>
#include <memory>

#include "expr/token_utils.h"
#include "host/qel_util.h"
#include "validator/macro_call.h"
#include "validator/message_origin.h"

namespace {

// Collects the actual arguments of a call whose "(" was just taken: every
// element delimiter separates arguments. Answers whether the ")" was found.
bool collect_arguments(QEL_TOKEN_READER& tokens, std::string& arguments) {
    std::string delimiter = "(";
    arguments.clear();
    while (delimiter != ")" && !tokens.empty()) {
        const std::string token = tokens.next(delimiter);
        if (!arguments.empty()) arguments += ",";
        arguments += token;
    }
    return delimiter == ")";
}

}  // namespace

int KOVA_RULES_VALIDATOR::create_fn_macros(const std::string& expression, KOVA_NAME_MAP& in_progress) {
    int highest = -1;
    QEL_TOKEN_READER tokens(expression, kova_element_delimiters());
    while (!tokens.empty()) {
        std::string delimiter;
        const std::string token = tokens.next(delimiter);
        if (token.empty() || delimiter != "(") continue;
        const KOVA_OBJ_INFO* macro = get_kova_obj(token);
        if (!macro || macro->obj_type != KOVA_OBJ_FN_MACRO) continue;
        std::string arguments;
        if (!collect_arguments(tokens, arguments)) continue;

        const std::string name = kova_macro_instance_name(token, arguments);
        if (in_progress.contains(name) || m_fn_macro_list.find_entry(name)) continue;
        const std::string body = substitute_macro_arguments(token, arguments);
        if (kova_equal_nocase(body, macro->get_value())) continue;

        // The instance is on the path while its own body is scanned, so a
        // macro that calls itself ends instead of recursing without end.
        in_progress.insert(name, name);
        auto instance = std::make_unique<KOVA_FN_MACRO>(name, body);
        instance->source_id = macro->source_id;
        int position;
        {
            const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_object_origin(instance->get_name(), *instance,
                                                                           KOVA_FIELD_VALUE));
            position = process_string_for_position_count(body, in_progress, name);
        }
        instance->set_dependency_position(position);
        highest = std::max(highest, position);
        m_fn_macro_list.add_entry(name, std::move(instance));
    }
    return highest;
}

void KOVA_RULES_VALIDATOR::initialize_fn_rules() {
    KOVA_NAME_MAP in_progress;
    for (const KOVA_RULE_ELEMENT* rule : get_fn_rule_snapshot()) {
        const bool function_rule = rule->rule_type == KOVA_RULE_FN_CLEAR || rule->rule_type == KOVA_RULE_FN_SET;
        if (function_rule && !rule->get_condition().empty()) create_fn_macros(rule->get_condition(), in_progress);
    }
}

KOVA_MACRO_DEPENDENCY_MAP KOVA_RULES_VALIDATOR::create_macro_dependency_map() {
    KOVA_MACRO_DEPENDENCY_MAP result;
    const std::vector<KOVA_OBJ_INFO*> objects = get_kova_obj_snapshot();
    int highest = -1;
    for (const KOVA_OBJ_INFO* object : objects) highest = std::max(highest, object->evaluation_position);

    // Levels rise, so a macro that another macro uses is stored first. The
    // loop ends after the highest level present, even where some object
    // has no level.
    for (int level = 0; level <= highest; ++level) {
        for (const KOVA_OBJ_INFO* object : objects) {
            if (object->evaluation_position != level || object->obj_type != KOVA_OBJ_FN_MACRO) continue;
            KOVA_ORDERED_NAME_MAP names;
            for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
                update_macro_dependency_map_from_string(result, names, rule->get_alt_value());
                update_macro_dependency_map_from_string(result, names, rule->get_condition());
                update_macro_dependency_map_from_string(result, names, rule->get_value());
            }
            update_macro_dependency_map_from_string(result, names, object->get_default_value());
            result[object->get_name()] = names;
        }
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
