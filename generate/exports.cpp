// The values kova generate --export adds: hidden parameters (derived
// values, such as a divisor a driver needs) and a wizard map's own
// objects, looked up by name and evaluated under the session's state.
#include "generate/configuration.h"
#include "generate/generate.h"
#include "host/kova_stl.h"
#include "session/object_states.h"
#include "session/suggest.h"
#include "session/wizard_queries.h"

namespace {

// A value that can be named, with where the description declares it.
struct EXPORTABLE {
    std::string name, kind, value;
};

std::vector<EXPORTABLE> exportables(KOVA_SESSION& session) {
    std::vector<EXPORTABLE> found;
    for (const KOVA_OBJECT_STATE& object : kova_object_states(session.validator(), true))
        if (object.kind == "hidden") found.push_back({object.name, object.kind, object.value});
    KOVA_MESSAGES ignored;  // a map's evaluation repeats what the run reported
    for (const KOVA_WIZARD_MAP_RESULT& map : kova_evaluate_wizard_maps(session, ignored))
        for (const KOVA_MAP_ENTRY& entry : map.entries)
            if (entry.source == "map" && (entry.kind == "integer" || entry.kind == "string" || entry.kind == "hidden"))
                found.push_back({entry.name, entry.kind, entry.value});
    return found;
}

const EXPORTABLE* find(const std::vector<EXPORTABLE>& values, const std::string& name) {
    for (const EXPORTABLE& value : values)
        if (kova_equal_nocase(value.name, name)) return &value;
    return nullptr;
}

KOVA_GEN_PARAMETER exported_parameter(const KOVA_SESSION& session, const EXPORTABLE& value) {
    KOVA_GEN_PARAMETER parameter;
    parameter.name = value.name;
    parameter.value = parameter.default_value = value.value;
    long long integer = 0;
    parameter.is_string = value.kind == "string" || !kova_generate_integer(value.value, integer);
    if (const KOVA_OBJ_INFO* object = session.validator().get_kova_obj(value.name))
        parameter.place = session.validator().locate(object->source_id, KOVA_FIELD_NAME);
    return parameter;
}

KOVA_PROBLEM unknown(const std::string& name, const std::vector<EXPORTABLE>& values) {
    std::vector<std::string> names;
    for (const EXPORTABLE& value : values) names.push_back(value.name);
    return kova_problem(KOVA_PROBLEM_KIND::NOT_FOUND, "export: no hidden parameter or wizard-map value is named '" +
                                                          name + "'" + kova_did_you_mean(name, names));
}

}  // namespace

KOVA_PROBLEM kova_generate_exports(KOVA_SESSION& session, const KOVA_GENERATE_OPTIONS& options,
                                   std::vector<KOVA_GEN_PARAMETER>* exported) {
    if (options.exports.empty()) return {};
    if (options.language == KOVA_GENERATE_LANGUAGE::JSON)
        return kova_problem(KOVA_PROBLEM_KIND::USAGE,
                            "export applies to c, " + kova_generate_language_list(true) + ", not json");
    const std::vector<EXPORTABLE> values = exportables(session);
    std::vector<const EXPORTABLE*> chosen;
    for (const std::string& name : options.exports) {
        const EXPORTABLE* value = find(values, name);
        if (!value) return unknown(name, values);
        if (session.validator().get_port_object(value->name) ||
            (value->kind != "hidden" && session.validator().get_parameter_object(value->name)))
            return kova_problem(KOVA_PROBLEM_KIND::USAGE,
                                "export: " + value->name + " is also a port or parameter of the block");
        bool repeated = false;
        for (const EXPORTABLE* earlier : chosen) repeated = repeated || earlier == value;
        if (!repeated) chosen.push_back(value);
    }
    if (exported)
        for (const EXPORTABLE* value : chosen) exported->push_back(exported_parameter(session, *value));
    return {};
}
