// Deciding each object's origin from what the session recorded (its last
// setting, its silent corrections) and what the description says of it.
#include "session/value_origins.h"

#include "session/json_text.h"
#include "session/object_states.h"
#include "session/session.h"

namespace {

// A place in the description; the description itself where the table
// names no file.
void place_at(const KOVA_SESSION& session, uint32_t source_id, KOVA_SOURCE_FIELD field, KOVA_VALUE_ORIGIN& origin) {
    const KOVA_SOURCE_LOCATION place = session.validator().locate(source_id, field);
    origin.file = place.file.empty() ? session.description() : place.file;
    origin.line = place.line;
}

void take_setting(const KOVA_SETTING& setting, KOVA_VALUE_ORIGIN& origin) {
    origin.by_setting = true;
    origin.source = setting.source;
    if (setting.source != KOVA_SETTING_SOURCE::FILE) return;
    origin.file = setting.file;
    origin.line = static_cast<uint32_t>(setting.line);
}

// The correcting rule's text and place; the object's place when the run
// followed no rule.
void take_correction(const KOVA_SESSION& session, const KOVA_OBJ_INFO& object, const KOVA_CORRECTION& correction,
                     KOVA_VALUE_ORIGIN& origin) {
    origin.kind = KOVA_ORIGIN_KIND::CORRECTED;
    origin.was = correction.was;
    if (correction.rule_index < 0 || static_cast<std::size_t>(correction.rule_index) >= object.get_rule_count())
        return place_at(session, object.source_id, KOVA_FIELD_ELEMENT, origin);
    const KOVA_RULE_ELEMENT& rule = *object.rule_view()[correction.rule_index];
    const bool conditional = !rule.get_condition().empty();
    origin.rule = conditional ? rule.get_condition()
                  : correction.field == KOVA_FIELD_ALT_VALUE ? rule.get_alt_value()
                                                             : rule.get_value();
    place_at(session, rule.source_id, conditional ? KOVA_FIELD_CONDITION : correction.field, origin);
}

// The usage state a port or parameter has now; NONE for the others.
int current_usage(const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
    if (const KOVA_PORT_OBJ* port = object.is_port() ? validator.get_port_object(object.get_name()) : nullptr)
        return port->m_current_usage_state;
    if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object.get_name()))
        return parameter->m_current_usage_state;
    return KOVA_USAGE_NONE;
}

// How a setting's source reads after "set" or "held constant, set".
std::string given(const KOVA_VALUE_ORIGIN& origin) {
    switch (origin.source) {
    case KOVA_SETTING_SOURCE::FILE: return "in " + origin.file + ":" + std::to_string(origin.line);
    case KOVA_SETTING_SOURCE::PAGE: return "on the page";
    case KOVA_SETTING_SOURCE::PYTHON: return "from Python";
    case KOVA_SETTING_SOURCE::MENU: return "in the menu";
    default: return "on the command line";
    }
}

std::string at(const KOVA_VALUE_ORIGIN& origin) {
    return origin.file.empty() ? "" : " at " + origin.file + (origin.line ? ":" + std::to_string(origin.line) : "");
}

}  // namespace

std::string kova_origin_kind_name(KOVA_ORIGIN_KIND kind) {
    switch (kind) {
    case KOVA_ORIGIN_KIND::SET: return "set";
    case KOVA_ORIGIN_KIND::CORRECTED: return "corrected";
    case KOVA_ORIGIN_KIND::DERIVED: return "derived";
    case KOVA_ORIGIN_KIND::HELD: return "held";
    case KOVA_ORIGIN_KIND::ABSENT: return "absent";
    default: return "default";
    }
}

// In order: a constant port is held whoever made it so; a correction
// stands until the object is set again, so it comes before the setting;
// then the setting, a hidden parameter's (or macro's) value text, the
// description's missing usage state, and its default.
KOVA_VALUE_ORIGIN kova_value_origin(const KOVA_SESSION& session, const std::string& name) {
    KOVA_VALUE_ORIGIN origin;
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    const KOVA_OBJ_INFO* object = validator.get_kova_obj(name);
    if (!object) return origin;
    const KOVA_SETTING* setting = session.setting_of(name);
    const int usage = current_usage(validator, *object);
    if (object->is_port() && usage == KOVA_USAGE_CONSTANT) {
        origin.kind = KOVA_ORIGIN_KIND::HELD;
        if (setting) take_setting(*setting, origin);
        if (!setting || setting->source != KOVA_SETTING_SOURCE::FILE)
            place_at(session, object->source_id, KOVA_FIELD_ELEMENT, origin);
    } else if (const KOVA_CORRECTION* correction = session.correction_of(name)) {
        take_correction(session, *object, *correction, origin);
    } else if (setting) {
        origin.kind = KOVA_ORIGIN_KIND::SET;
        take_setting(*setting, origin);
    } else if (object->obj_type == KOVA_OBJ_HIDDEN_PARAMETER || object->obj_type == KOVA_OBJ_FN_MACRO) {
        origin.kind = KOVA_ORIGIN_KIND::DERIVED;
        origin.rule = object->get_value();
        place_at(session, object->source_id, KOVA_FIELD_VALUE, origin);
    } else {
        // Without a usage state of its own an object is left out, unless
        // a rule has made it used.
        const bool absent = object->get_effective_usage_state() == KOVA_USAGE_NONE && usage != KOVA_USAGE_USED;
        origin.kind = absent ? KOVA_ORIGIN_KIND::ABSENT : KOVA_ORIGIN_KIND::DEFAULT;
        place_at(session, object->source_id, KOVA_FIELD_ELEMENT, origin);
    }
    return origin;
}

void kova_add_value_origins(const KOVA_SESSION& session, std::vector<KOVA_OBJECT_STATE>& states) {
    for (KOVA_OBJECT_STATE& state : states) state.origin = kova_value_origin(session, state.name);
}

std::string kova_value_origin_text(const KOVA_VALUE_ORIGIN& origin) {
    switch (origin.kind) {
    case KOVA_ORIGIN_KIND::SET: return "set " + given(origin);
    case KOVA_ORIGIN_KIND::HELD:
        return "held constant" + (origin.by_setting ? ", set " + given(origin) : at(origin));
    case KOVA_ORIGIN_KIND::CORRECTED:
        return "corrected from " + (origin.was.empty() ? "(no value)" : origin.was) +
               (origin.rule.empty() ? "" : " by " + origin.rule) + at(origin);
    case KOVA_ORIGIN_KIND::DERIVED: return "derived from " + origin.rule + at(origin);
    case KOVA_ORIGIN_KIND::ABSENT: return "absent" + at(origin);
    default: return "default" + at(origin);
    }
}

nlohmann::json kova_value_origin_json(const KOVA_VALUE_ORIGIN& origin) {
    nlohmann::json object = {{"kind", kova_origin_kind_name(origin.kind)}};
    if (origin.by_setting) object["source"] = kova_setting_source_name(origin.source);
    if (!origin.file.empty()) object["file"] = kova_json_text(origin.file);
    if (origin.line) object["line"] = origin.line;
    if (origin.kind == KOVA_ORIGIN_KIND::CORRECTED || origin.kind == KOVA_ORIGIN_KIND::DERIVED)
        if (!origin.rule.empty()) object["rule"] = kova_json_text(origin.rule);
    if (origin.kind == KOVA_ORIGIN_KIND::CORRECTED) object["was"] = kova_json_text(origin.was);
    return object;
}
