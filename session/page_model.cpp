// Building the model and states documents from the shared layer's object
// states, value-text readings and wizard-map evaluation.
#include "session/page_model.h"

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

json object_json(const KOVA_OBJECT_STATE& state) {
    json object = {{"name", kova_json_text(state.name)},
                   {"kind", kova_json_text(state.kind)},
                   {"port", state.port},
                   {"hidden", state.kind == "hidden"},
                   {"value_text", kova_json_text(state.value_text)},
                   {"default", kova_json_text(state.default_value)},
                   {"usage", kova_get_usage_state_as_string(state.model_usage)},
                   {"value", state.kind == "hidden" ? kova_json_text(state.value) : json()}};
    add_control(state, object);
    return object;
}

json state_json(const KOVA_OBJECT_STATE& state) {
    const bool hidden = state.kind == "hidden";
    const bool parameter = !state.port && !hidden;
    return {{"name", kova_json_text(state.name)},
            {"kind", kova_json_text(state.kind)},
            {"port", state.port},
            {"hidden", hidden},
            {"value", state.port && state.value.empty() ? json() : kova_json_text(state.value)},
            {"alt_value", parameter ? kova_json_text(state.alt_value) : json()},
            {"usage", kova_get_usage_state_as_string(state.usage)},
            {"alt_usage", kova_get_usage_state_as_string(state.alt_usage)}};
}

// Every map evaluated in the description's order; the page shows a map's
// messages when it asks for the maps under its settings.
json wizard_maps_json(KOVA_SESSION& session) {
    KOVA_MESSAGES ignored;
    return kova_wizard_maps_json(kova_evaluate_wizard_maps(session, ignored))["maps"];
}

}  // namespace

json kova_page_model_document(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings) {
    session.derive();
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    json document = kova_json_document("model");
    document["description"] = kova_json_text(session.description());
    document["function"] = kova_json_text(validator.get_function_name());
    document["library"] = kova_json_text(validator.get_vhdl_library());
    json objects = json::array();
    for (const KOVA_OBJECT_STATE& state : kova_object_states(validator, true)) objects.push_back(object_json(state));
    document["objects"] = objects;
    document["wizard_maps"] = wizard_maps_json(session);
    json settings = json::object();
    for (const KOVA_SETTING& setting : initial_settings)
        settings[kova_json_safe(setting.name)] = kova_json_text(setting.value);
    document["settings"] = settings;
    return document;
}

json kova_page_states_members(const KOVA_RULES_VALIDATOR& validator) {
    json objects = json::array();
    for (const KOVA_OBJECT_STATE& state : kova_object_states(validator, true)) objects.push_back(state_json(state));
    return {{"objects", objects}};
}
