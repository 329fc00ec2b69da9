// The JSON writer: the configuration as members of a tool-interface
// document (docs/json.md, command "generate"): every integer and string
// parameter with its value and usage state, every port with its kind,
// usage state and evaluated width; and the whole document that
// --lang json writes.
#include "generate/writers.h"
#include "session/json_document.h"
#include "session/json_text.h"

nlohmann::json kova_configuration_members(const KOVA_GEN_CONFIG& config, KOVA_GENERATE_LANGUAGE language) {
    nlohmann::json parameters = nlohmann::json::array();
    for (const KOVA_GEN_PARAMETER& parameter : config.parameters)
        parameters.push_back({{"name", kova_json_text(parameter.name)},
                              {"kind", parameter.is_string ? "string" : "integer"},
                              {"value", kova_json_text(parameter.value)},
                              {"usage", kova_get_usage_state_as_string(parameter.usage)}});
    nlohmann::json ports = nlohmann::json::array();
    for (const KOVA_GEN_PORT& port : config.ports)
        ports.push_back({{"name", kova_json_text(port.name)},
                         {"kind", kova_object_kind_name(port.kind)},
                         {"usage", kova_get_usage_state_as_string(port.usage)},
                         {"width", port.width}});
    return {{"language", kova_generate_language_name(language)},
            {"function", kova_json_text(config.function)},
            {"parameters", parameters},
            {"ports", ports}};
}

std::string kova_write_json(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATED& generated) {
    // The document holds the run's messages and what evaluating the
    // widths reported; its text member is null, since it is the text.
    KOVA_MESSAGES messages = run.messages;
    messages.insert(messages.end(), generated.messages.begin(), generated.messages.end());
    nlohmann::json members = generated.members;
    members["text"] = nullptr;
    return kova_json_dump(kova_command_json("generate", session.description(), run.valid, members, messages)) + "\n";
}
