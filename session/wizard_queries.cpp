// Message rules, simulation libraries, wizard maps and stimulus vectors
// read through the validator.
#include "session/wizard_queries.h"

namespace {

// Where an object of the map comes from: its own description, or the
// filling with parameters or used ports.
const char* source_name(int wizard_kind) {
    switch (wizard_kind) {
        case KOVA_WIZARD_ADDED_PARAMETER: return "parameter";
        case KOVA_WIZARD_ADDED_PORT: return "port";
        default: return "map";
    }
}

}  // namespace

std::vector<std::string> kova_wizard_messages(KOVA_SESSION& session, KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.clear_error_messages();
    validator.clear_external_messages();
    validator.process_external_messages();
    validator.reset_external_message_list();
    std::vector<std::string> shown;
    while (const KOVA_RULE_ELEMENT* message = validator.get_next_external_message())
        shown.push_back(message->get_value());
    messages = session.take_messages();
    return shown;
}

// One run brings the derived settings up to date; what it posts the
// caller's own run reported already, so only what evaluating the library
// entries posts is given back.
KOVA_SIMULATION_LIBRARIES kova_simulation_libraries(KOVA_SESSION& session, KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.run_validator();
    session.take_messages();
    KOVA_SIMULATION_LIBRARIES libraries;
    libraries.text = validator.evaluate_simulation_library();
    messages = session.take_messages();
    const std::string& text = libraries.text;
    for (std::size_t start = 0, end; (end = text.find(';', start)) != std::string::npos; start = end + 1)
        libraries.names.push_back(text.substr(start, end - start));
    return libraries;
}

bool kova_evaluate_wizard_map(KOVA_SESSION& session, const std::string& name, KOVA_WIZARD_MAP_RESULT& result,
                              KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    KOVA_WIZARD_MAP* map = validator.get_wizard_map(name);
    if (!map) return false;
    validator.clear_error_messages();
    validator.evaluate_wizard_map(*map);
    messages = session.take_messages();
    result.map = map->get_map_name();
    result.help = kova_help_of(validator, map->source_id);
    result.entries.clear();
    for (const KOVA_OBJ_INFO* object : map->get_kova_obj_snapshot()) {
        result.entries.push_back({kova_object_kind_name(object->obj_type), object->get_name(),
                                  object->get_current_value(), kova_get_usage_state_as_string(object->usage_state),
                                  source_name(object->wizard_kind)});
    }
    return true;
}

std::vector<KOVA_WIZARD_MAP_RESULT> kova_evaluate_wizard_maps(KOVA_SESSION& session, KOVA_MESSAGES& messages) {
    std::vector<std::string> names;
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.reset_wizard_map();
    while (const KOVA_WIZARD_MAP* map = validator.get_next_wizard_map()) names.push_back(map->get_map_name());
    std::vector<KOVA_WIZARD_MAP_RESULT> maps;
    messages.clear();
    for (const std::string& name : names) {
        KOVA_WIZARD_MAP_RESULT result;
        KOVA_MESSAGES posted;
        if (!kova_evaluate_wizard_map(session, name, result, posted)) continue;
        maps.push_back(std::move(result));
        for (KOVA_MESSAGE& message : posted) messages.push_back(std::move(message));
    }
    return maps;
}

bool kova_stimulus_at(KOVA_SESSION& session, const std::string& name, int time, KOVA_STIMULUS_RESULT& result,
                      KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    KOVA_VECTOR_OBJ* vector = validator.get_vector_object(name);
    if (!vector) return false;
    validator.clear_error_messages();
    vector->reset_vector_stimulus();
    result.vector = vector->get_vector_name();
    result.transitions.clear();
    std::string signal, value;
    while (validator.kova_get_vector_transition(vector, time, signal, value)) result.transitions.push_back({signal, value});
    messages = session.take_messages();
    return true;
}
