// Building the JSON documents of the shared layer.
#include "session/json_document.h"

#include <map>
#include <utility>

namespace {

// A number, or null where it is unknown (0 or less for lines and columns).
nlohmann::json positive_or_null(long long value) { return value > 0 ? nlohmann::json(value) : nlohmann::json(); }


nlohmann::json usage_json(int state) { return kova_get_usage_state_as_string(state); }

}  // namespace

nlohmann::json kova_json_document(const std::string& command) {
    return {{"schema_version", KOVA_JSON_SCHEMA_VERSION}, {"command", command}};
}

nlohmann::json kova_json_error(const std::string& command, const std::string& text, const KOVA_MESSAGES& messages) {
    nlohmann::json document = kova_json_document(command);
    document["error"] = kova_json_text(text);
    document["messages"] = kova_messages_json(messages);
    return document;
}

nlohmann::json kova_command_json(const std::string& command, const std::string& description,
                                 std::optional<bool> valid, nlohmann::json members, const KOVA_MESSAGES& messages) {
    nlohmann::json document = kova_json_document(command);
    document["description"] = kova_json_text(description);
    if (valid) document["valid"] = *valid;
    for (auto& [key, value] : members.items())
        if (!document.contains(key)) document[key] = std::move(value);
    document["messages"] = kova_messages_json(messages);
    return document;
}

nlohmann::json kova_message_json(const KOVA_MESSAGE& message) {
    nlohmann::json setting;
    if (!message.setting.file.empty())
        setting = {{"file", kova_json_text(message.setting.file)}, {"line", positive_or_null(message.setting.line)}};
    nlohmann::json document = {
        {"severity", kova_severity_name(message.severity)},
        {"kind", kova_diagnostic_kind_name(message.kind)},
        {"text", kova_json_text(message.text)},
        {"object", kova_json_text_or_null(message.object)},
        {"rule", message.rule_index >= 0 ? nlohmann::json(message.rule_index) : nlohmann::json()},
        {"file", kova_json_text_or_null(message.location.file)},
        {"line", positive_or_null(message.location.line)},
        {"column", positive_or_null(message.location.column)},
        {"setting", setting}};
    if (message.check.empty()) return document;
    document["check"] = message.check;
    document["hint"] = kova_json_text_or_null(message.hint);
    nlohmann::json related = nlohmann::json::array();
    for (const KOVA_RELATED_PLACE& place : message.related)
        related.push_back({{"file", kova_json_text_or_null(place.location.file)},
                           {"line", positive_or_null(place.location.line)},
                           {"column", positive_or_null(place.location.column)},
                           {"object", kova_json_text_or_null(place.object)}});
    document["related"] = std::move(related);
    return document;
}

nlohmann::json kova_messages_json(const KOVA_MESSAGES& messages) {
    nlohmann::json list = nlohmann::json::array();
    for (const KOVA_MESSAGE& message : messages) list.push_back(kova_message_json(message));
    return list;
}

nlohmann::json kova_object_state_json(const KOVA_OBJECT_STATE& state, int width) {
    const bool hidden = state.kind == "hidden";
    const bool parameter = !state.port && !hidden;
    // Members placed one by one, in key order at the map's end: a list of
    // pairs would build a two-element array for each member first, and at
    // 10,000 objects those allocations were a large part of a document.
    nlohmann::json object(nlohmann::json::value_t::object);
    auto& members = object.get_ref<nlohmann::json::object_t&>();
    const auto add = [&members](const char* key, nlohmann::json value) {
        members.emplace_hint(members.end(), key, std::move(value));
    };
    add("alt_usage", usage_json(state.alt_usage));
    add("alt_value", parameter ? kova_json_text(state.alt_value) : nlohmann::json());
    add("default", kova_json_text(state.default_value));
    add("help", kova_json_text_or_null(state.help.text));
    add("hidden", hidden);
    add("kind", kova_json_text(state.kind));
    add("label", kova_json_text_or_null(state.help.label));
    add("model_usage", usage_json(state.model_usage));
    add("name", kova_json_text(state.name));
    add("origin", kova_value_origin_json(state.origin));
    add("port", state.port);
    add("usage", usage_json(state.usage));
    add("value", state.port && state.value.empty() ? nlohmann::json() : kova_json_text(state.value));
    add("value_text", kova_json_text(state.value_text));
    add("width", state.port && width >= 0 ? nlohmann::json(width) : nlohmann::json());
    return object;
}

nlohmann::json kova_object_states_json(KOVA_SESSION& session, bool with_hidden) {
    return kova_object_states_json(session, kova_object_states(session, with_hidden));
}

std::vector<int> kova_state_widths(KOVA_SESSION& session, const std::vector<KOVA_OBJECT_STATE>& states) {
    // The widths as kova widths gives them; what evaluating them posts is
    // no part of the run's messages, which the document holds.
    KOVA_MESSAGES ignored;
    std::map<std::string, int> by_port;
    for (const KOVA_PORT_WIDTH& port : kova_port_widths(session, ignored)) by_port[port.port] = port.width;
    std::vector<int> widths;
    widths.reserve(states.size());
    for (const KOVA_OBJECT_STATE& state : states) {
        const auto width = by_port.find(state.name);
        widths.push_back(width == by_port.end() ? -1 : width->second);
    }
    return widths;
}

nlohmann::json kova_object_states_json(KOVA_SESSION& session, const std::vector<KOVA_OBJECT_STATE>& states) {
    const std::vector<int> widths = kova_state_widths(session, states);
    nlohmann::json objects = nlohmann::json::array();
    for (std::size_t i = 0; i < states.size(); ++i) objects.push_back(kova_object_state_json(states[i], widths[i]));
    return objects;
}

nlohmann::json kova_port_range_json(const KOVA_PORT_RANGE& range) {
    return {{"port", kova_json_text(range.port)},
            {"width", range.width >= 0 ? nlohmann::json(range.width) : nlohmann::json()},
            {"lower", kova_json_text(range.lower)},
            {"upper", kova_json_text(range.upper)},
            {"values", range.listed ? kova_texts_json(range.values) : nlohmann::json()}};
}

nlohmann::json kova_port_ranges_json(const std::vector<KOVA_PORT_RANGE>& ranges) {
    nlohmann::json ports = nlohmann::json::array();
    for (const KOVA_PORT_RANGE& range : ranges) ports.push_back(kova_port_range_json(range));
    return {{"ports", ports}};
}

nlohmann::json kova_simulation_libraries_json(const KOVA_SIMULATION_LIBRARIES& libraries) {
    return {{"libraries", kova_texts_json(libraries.names)}, {"library_text", kova_json_text(libraries.text)}};
}

nlohmann::json kova_wizard_map_json(const KOVA_WIZARD_MAP_RESULT& map) {
    nlohmann::json objects = nlohmann::json::array();
    for (const KOVA_MAP_ENTRY& entry : map.entries)
        objects.push_back({{"kind", kova_json_text(entry.kind)},
                           {"name", kova_json_text(entry.name)},
                           {"value", kova_json_text(entry.value)},
                           {"usage", kova_json_text(entry.usage)},
                           {"source", kova_json_text(entry.source)}});
    return {{"map", kova_json_text(map.map)},
            {"label", kova_json_text_or_null(map.help.label)},
            {"help", kova_json_text_or_null(map.help.text)},
            {"objects", objects}};
}

nlohmann::json kova_wizard_maps_json(const std::vector<KOVA_WIZARD_MAP_RESULT>& maps) {
    nlohmann::json list = nlohmann::json::array();
    for (const KOVA_WIZARD_MAP_RESULT& map : maps) list.push_back(kova_wizard_map_json(map));
    return {{"maps", list}};
}

nlohmann::json kova_help_items_json(const std::vector<KOVA_HELP_ITEM>& items) {
    nlohmann::json list = nlohmann::json::array();
    for (const KOVA_HELP_ITEM& item : items)
        list.push_back({{"kind", item.kind},
                        {"name", kova_json_text(item.name)},
                        {"label", kova_json_text_or_null(item.help.label)},
                        {"help", kova_json_text_or_null(item.help.text)}});
    return list;
}

nlohmann::json kova_texts_json(const std::vector<std::string>& texts) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& text : texts) list.push_back(kova_json_text(text));
    return list;
}

std::string kova_json_dump(const nlohmann::json& document) {
    // Every text went through kova_json_text; replacing stays as a guard
    // so that a text that did not can never end the program.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}
