// Routing and answering kova serve's requests: the body checked and read,
// a copy of the template session given the settings and run, and the
// route's document built with the same session functions as the kova
// tool's subcommands (tools/options.cpp, run_command). Two routes run
// nothing: the model, and reading an uploaded settings file; one has no
// subcommand: every object's state after the run.
#include "serve/api.h"

#include <functional>
#include <optional>
#include <utility>

#include "generate/generate.h"
#include "serve/model_document.h"
#include "session/explain.h"
#include "session/fix.h"
#include "session/json_document.h"
#include "session/minimal_settings.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/settings_io.h"
#include "session/wizard_queries.h"

namespace {

using json = nlohmann::json;

// What a route adds to its document, as a subcommand's body does.
struct ROUTE_OUTPUT {
    json document = json::object();
    KOVA_MESSAGES messages;
    bool replaces_messages = false;
    std::optional<bool> valid;
    std::string problem;  // a request the route cannot answer (400)
};

using ROUTE_BODY = std::function<void(const json& request, KOVA_SESSION&, const KOVA_RUN_RESULT&, ROUTE_OUTPUT&)>;
// A route that runs nothing answers from the request, a template copy and
// the settings the page starts from.
using PLAIN_BODY = KOVA_SERVE_RESPONSE (*)(const json& request, KOVA_SESSION&,
                                           const std::vector<KOVA_SETTING>& initial);

// Invariant: exactly one of body and plain is set.
struct ROUTE {
    const char* path;
    const char* method;
    const char* command;
    ROUTE_BODY body;
    PLAIN_BODY plain = nullptr;
};

KOVA_SERVE_RESPONSE json_response(int status, const json& document) {
    return {status, "application/json", kova_json_dump(document) + "\n"};
}

KOVA_SERVE_RESPONSE error_response(int status, const std::string& command, const std::string& text,
                                   const KOVA_MESSAGES& messages = {}) {
    return json_response(status, kova_json_error(command, text, messages));
}

// A member holding text: its bytes, "" when absent; false when it is
// there but not a string.
bool text_member(const json& request, const char* name, std::string& text) {
    const auto found = request.find(name);
    if (found == request.end()) return true;
    if (!found->is_string()) return false;
    text = kova_json_restore(found->get<std::string>());
    return true;
}

// The request's settings in the order the parsed object holds them: by
// name, not as written (for distinct names the result is the same).
// Problem set when they are not an object of texts or more than the
// description could hold.
std::vector<KOVA_SETTING> request_settings(const json& request, std::size_t limit, std::string& problem) {
    std::vector<KOVA_SETTING> settings;
    const auto found = request.find("settings");
    if (found == request.end()) return settings;
    if (!found->is_object()) {
        problem = "settings must be an object of NAME: VALUE texts";
        return settings;
    }
    if (found->size() > limit) {
        problem = "more settings than the description has ports and parameters";
        return settings;
    }
    for (const auto& [name, value] : found->items()) {
        if (!value.is_string()) {
            problem = "the value of setting " + name + " must be a text";
            return {};
        }
        settings.push_back({kova_json_restore(name), kova_json_restore(value.get<std::string>()), "", 0});
    }
    return settings;
}

void validate_body(const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    output.document["ports"] = kova_ports_json(session);
    output.document["parameters"] = kova_parameters_json(session.validator());
}

void explain_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, ROUTE_OUTPUT& output) {
    std::string name;
    if (!text_member(request, "name", name) || name.empty()) {
        output.problem = "explain needs the name of a port or parameter";
        return;
    }
    KOVA_EXPLANATION explanation;
    if (!kova_explain(session, run, name, explanation, output.problem)) return;
    output.replaces_messages = true;
    output.messages = explanation.messages;
    output.document = kova_explanation_json(explanation);
}

void fix_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, ROUTE_OUTPUT& output) {
    KOVA_FIX_OPTIONS options;
    const auto keep = request.find("keep");
    if (keep != request.end()) {
        if (!keep->is_array()) {
            output.problem = "keep must be a list of names";
            return;
        }
        for (const json& name : *keep) {
            if (!name.is_string()) {
                output.problem = "keep must be a list of names";
                return;
            }
            options.keep.push_back(kova_json_restore(name.get<std::string>()));
        }
    }
    KOVA_FIX_RESULT result;
    if (!kova_fix(session, run, options, result, output.problem)) return;
    output.valid = result.valid;
    output.replaces_messages = true;
    output.messages = result.last_run.messages;
    output.document = kova_fix_json(result);
}

void widths_body(const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    json ports = json::array();
    for (const KOVA_PORT_WIDTH& port : kova_port_widths(session, output.messages))
        ports.push_back({{"port", kova_json_text(port.port)},
                         {"width", port.width >= 0 ? json(port.width) : json()},
                         {"expression", kova_json_text(port.expression)}});
    output.document["ports"] = ports;
}

void messages_body(const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    output.document["wizard_messages"] = kova_texts_json(kova_wizard_messages(session, output.messages));
}

void generate_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, ROUTE_OUTPUT& output) {
    KOVA_GENERATE_OPTIONS options;
    std::string language;
    if (!text_member(request, "lang", language) || !kova_generate_language_of(language, options.language)) {
        output.problem = "lang must be " + kova_generate_language_list();
        return;
    }
    const auto stub = request.find("stub");
    if (stub != request.end()) {
        if (!stub->is_boolean()) {
            output.problem = "stub must be true or false";
            return;
        }
        options.stub = stub->get<bool>();
    }
    output.problem = kova_generate_options_problem(options);
    if (!output.problem.empty()) return;
    KOVA_GENERATED generated = kova_generate(session, run, options);
    output.messages = generated.messages;
    output.document = generated.members;
    const bool in_document = generated.ok && options.language != KOVA_GENERATE_LANGUAGE::JSON;
    output.document["text"] = in_document ? kova_json_text(generated.text) : json();
}

// The name a query route asks about; "" when the request has no "name",
// for the route's answer about every one. Problem set when it is there
// but not a non-empty text.
bool query_name(const json& request, const char* what, std::string& name, std::string& problem) {
    if (text_member(request, "name", name) && (!name.empty() || !request.contains("name"))) return true;
    problem = std::string("name must be the name of ") + what + ", or left out for every one";
    return false;
}

void ranges_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    std::string name;
    if (!query_name(request, "a port", name, output.problem)) return;
    if (name.empty()) {
        output.document = kova_port_ranges_json(kova_port_ranges(session, output.messages));
        return;
    }
    KOVA_PORT_RANGE range;
    if (!kova_port_range(session, name, range, output.messages)) {
        output.problem = "no port is named " + name;
        return;
    }
    output.document = kova_port_range_json(range);
}

void simlib_body(const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    output.document = kova_simulation_libraries_json(kova_simulation_libraries(session, output.messages));
}

void wizard_map_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    std::string name;
    if (!query_name(request, "a wizard map", name, output.problem)) return;
    if (name.empty()) {
        output.document = kova_wizard_maps_json(kova_evaluate_wizard_maps(session, output.messages));
        return;
    }
    KOVA_WIZARD_MAP_RESULT map;
    if (!kova_evaluate_wizard_map(session, name, map, output.messages)) {
        output.problem = "no wizard map is named " + name;
        return;
    }
    output.document = kova_wizard_map_json(map);
}

// Every object's state after the run, hidden parameters with their
// derived values among them.
void states_body(const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    output.document = kova_serve_states_document(session.validator());
}

// The settings file text after the run (corrections included), as
// `kova validate --save` writes it; "minimal": true for the minimal form.
void settings_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, ROUTE_OUTPUT& output) {
    bool minimal = false;
    const auto found = request.find("minimal");
    if (found != request.end()) {
        if (!found->is_boolean()) {
            output.problem = "minimal must be true or false";
            return;
        }
        minimal = found->get<bool>();
    }
    output.document["minimal"] = minimal;
    output.document["text"] = kova_json_text(kova_session_settings_text(session, minimal));
}

KOVA_SERVE_RESPONSE model_body(const json&, KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial) {
    return json_response(200, kova_serve_model_document(session, initial));
}

// An uploaded settings file read by the shared reader: "text" the file's
// text, "file" its name for the messages. The settings in file order,
// each {"name", "value", "line"}; the file's warnings as messages.
KOVA_SERVE_RESPONSE load_body(const json& request, KOVA_SESSION& session, const std::vector<KOVA_SETTING>&) {
    std::string text, file;
    if (!text_member(request, "text", text) || !text_member(request, "file", file))
        return error_response(400, "load", "text and file must be texts");
    std::vector<KOVA_SETTING> settings;
    KOVA_MESSAGES problems;
    if (!kova_parse_settings_text(text, file.empty() ? "settings" : file, settings, problems))
        return error_response(400, "load", "the settings file has errors", problems);
    json list = json::array();
    for (const KOVA_SETTING& setting : settings)
        list.push_back({{"name", kova_json_text(setting.name)},
                        {"value", kova_json_text(setting.value)},
                        {"line", setting.line}});
    json members = {{"settings", list}};
    return json_response(200, kova_command_json("load", session.description(), std::nullopt, members, problems));
}

const std::vector<ROUTE>& routes() {
    static const std::vector<ROUTE> table = {
        {"/api/model", "GET", "model", nullptr, model_body},
        {"/api/load", "POST", "load", nullptr, load_body},
        {"/api/validate", "POST", "validate", validate_body},
        {"/api/explain", "POST", "explain", explain_body},
        {"/api/fix", "POST", "fix", fix_body},
        {"/api/widths", "POST", "widths", widths_body},
        {"/api/messages", "POST", "messages", messages_body},
        {"/api/generate", "POST", "generate", generate_body},
        {"/api/ranges", "POST", "ranges", ranges_body},
        {"/api/simlib", "POST", "simlib", simlib_body},
        {"/api/wizard-map", "POST", "wizard-map", wizard_map_body},
        {"/api/settings", "POST", "settings", settings_body},
        {"/api/states", "POST", "states", states_body},
    };
    return table;
}

void append(KOVA_MESSAGES& to, KOVA_MESSAGES from) {
    for (KOVA_MESSAGE& message : from) to.push_back(std::move(message));
}

// A POST route on a copy of the template: settings, run, the route's
// members, the document as run_command writes it.
KOVA_SERVE_RESPONSE answer(const ROUTE& route, const json& request, KOVA_SESSION& session, std::size_t limit) {
    std::string problem;
    const std::vector<KOVA_SETTING> settings = request_settings(request, limit, problem);
    if (!problem.empty()) return error_response(400, route.command, problem);
    KOVA_MESSAGES messages;
    if (!session.apply(settings, messages))
        return error_response(400, route.command, messages.empty() ? "failed" : messages.front().text, messages);
    const KOVA_RUN_RESULT result = session.run();
    append(messages, result.messages);
    ROUTE_OUTPUT output;
    route.body(request, session, result, output);
    if (!output.problem.empty()) return error_response(400, route.command, output.problem, messages);
    if (output.replaces_messages) messages.clear();
    append(messages, output.messages);
    const bool valid = output.valid.value_or(result.valid);
    return json_response(200, kova_command_json(route.command, session.description(), valid, output.document,
                                                messages));
}

}  // namespace

KOVA_SERVE_API::KOVA_SERVE_API(const KOVA_SESSION& session, std::vector<KOVA_SETTING> initial_settings)
    : m_template(session),
      m_initial_settings(std::move(initial_settings)),
      m_setting_limit(2 * kova_object_states(m_template.validator()).size()) {}

KOVA_SERVE_RESPONSE KOVA_SERVE_API::handle(const std::string& method, const std::string& path,
                                           const std::string& body) const {
    const ROUTE* route = nullptr;
    for (const ROUTE& candidate : routes())
        if (path == candidate.path) route = &candidate;
    if (!route) return error_response(404, "serve", "no such path: " + path);
    if (method != route->method)
        return error_response(405, route->command, std::string(route->path) + " takes " + route->method);
    if (body.size() > KOVA_SERVE_MAX_BODY) return error_response(413, route->command, "the request body is too large");
    const json request = json::parse(body.empty() ? "{}" : body, nullptr, false);
    if (request.is_discarded() || !request.is_object())
        return error_response(400, route->command, "the request body is not a JSON object");
    KOVA_SESSION session(m_template);
    if (route->plain) return route->plain(request, session, m_initial_settings);
    return answer(*route, request, session, m_setting_limit);
}
