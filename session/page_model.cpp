// Building the model and states documents from the shared layer's object
// states, value-text readings and wizard-map evaluation.
#include "session/page_model.h"

#include <algorithm>

#include "session/expression_queries.h"
#include "session/json_document.h"
#include "session/object_states.h"
#include "session/value_text.h"
#include "session/wizard_queries.h"

namespace {

using json = nlohmann::json;

// The control a parameter's value text calls for: its list items as
// choices, or its range's bounds (LOW <= HIGH); both null for a free text
// (and for ports and hidden parameters, which the user does not type).
void add_control(const KOVA_OBJECT_STATE& state, json& object) {
    object["choices"] = json();
    object["range"] = json();
    if (state.port || state.kind == "hidden") return;
    long long low = 0, high = 0;
    const std::vector<std::string> items = kova_value_list(state.value_text);
    if (!items.empty()) {
        object["choices"] = kova_texts_json(items);
    } else if (kova_value_range(state.value_text, low, high)) {
        object["range"] = {{"min", low}, {"max", high}};
    }
}

// Every map evaluated in the description's order; the page shows a map's
// messages when it asks for the maps under its settings.
json wizard_maps_json(KOVA_SESSION& session) {
    KOVA_MESSAGES ignored;
    return kova_wizard_maps_json(kova_evaluate_wizard_maps(session, ignored))["maps"];
}

// The ports and parameters that the texts of a map's own object read: its
// value and each rule's condition, value and alternate value, each once.
json reads_of(const KOVA_SESSION& session, const KOVA_OBJ_INFO& object) {
    std::vector<std::string> texts{object.get_value()}, names;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view())
        texts.insert(texts.end(), {rule->get_condition(), rule->get_value(), rule->get_alt_value()});
    for (const std::string& text : texts)
        for (std::string& name : kova_expression_dependencies(session, text).names)
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    return kova_texts_json(names);
}

// The rules of a map's own object as written: condition, value, alternate.
json rules_of(const KOVA_OBJ_INFO& object) {
    json rules = json::array();
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view())
        rules.push_back({{"condition", kova_json_text(rule->get_condition())},
                         {"value", kova_json_text(rule->get_value())},
                         {"alt_value", kova_json_text(rule->get_alt_value())}});
    return rules;
}

// Every map's own objects (not those a map adds), each with the value
// text and rules the description writes for it and what they read: what
// the page shows beside the value a map gives. They do not change with
// the settings, so the model gives them once.
json map_expressions_json(KOVA_SESSION& session) {
    json list = json::array();
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.reset_wizard_map();
    while (const KOVA_WIZARD_MAP* map = validator.get_next_wizard_map())
        for (const KOVA_OBJ_INFO* object : map->get_kova_obj_snapshot())
            if (object->wizard_kind == KOVA_WIZARD_FROM_MAP)
                list.push_back({{"map", kova_json_text(map->get_map_name())},
                                {"name", kova_json_text(object->get_name())},
                                {"expression", kova_json_text(object->get_value())},
                                {"rules", rules_of(*object)},
                                {"reads", reads_of(session, *object)}});
    return list;
}

}  // namespace

KOVA_PAGE_MODEL kova_page_model(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings) {
    session.derive();
    KOVA_PAGE_MODEL model{kova_json_document("model"), kova_read_states(session)};
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    json& document = model.document;
    document["description"] = kova_json_text(session.description());
    document["function"] = kova_json_text(validator.get_function_name());
    document["library"] = kova_json_text(validator.get_vhdl_library());
    json objects = json::array();
    const KOVA_STATE_BASELINE& states = model.states;
    for (std::size_t i = 0; i < states.states.size(); ++i) {
        objects.push_back(kova_object_state_json(states.states[i], states.widths[i]));
        add_control(states.states[i], objects.back());
    }
    document["objects"] = std::move(objects);
    document["wizard_maps"] = wizard_maps_json(session);
    document["map_expressions"] = map_expressions_json(session);
    json settings = json::object();
    for (const KOVA_SETTING& setting : initial_settings)
        settings[kova_json_safe(setting.name)] = kova_json_text(setting.value);
    document["settings"] = settings;
    return model;
}
