// Routing and answering kova serve's requests: the body checked and read,
// then the layer's flow (session/command_flow.h) on a copy of the template
// session with the route's answer builder (session/answers.h), as the
// kova tool's subcommands run it. Two routes run nothing: the model, made
// once when the layer is built, and reading an uploaded settings file;
// two have no subcommand: every object's state after the run, and
// everything the page shows after a change.
#include "serve/api.h"

#include <algorithm>
#include <utility>

#include "generate/answer.h"
#include "session/command_flow.h"
#include "session/json_document.h"
#include "session/object_states.h"
#include "session/page_model.h"
#include "session/utf8.h"

namespace {

using json = nlohmann::json;

// A route's answer from the request, the session after the run and the
// object states the page holds from the model; a request it cannot read
// sets the answer's problem.
using ROUTE_BODY = void (*)(const json& request, KOVA_SESSION&, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&,
                            KOVA_ANSWER&);
// A route that runs nothing answers from the request and a template copy.
using PLAIN_BODY = KOVA_SERVE_RESPONSE (*)(const json& request, KOVA_SESSION&);

// Invariant: exactly one of body, plain and fixed is set.
struct ROUTE {
    const char* path;
    const char* method;
    const char* command;
    // The members a request may hold, separated by blanks: any other is
    // refused, so that a misspelt "settingz" is not read as no settings.
    const char* members;
    ROUTE_BODY body;
    PLAIN_BODY plain = nullptr;
    // The answer is the model's, the same for every request, made once.
    bool fixed = false;
};

KOVA_SERVE_RESPONSE json_response(int status, const json& document) {
    return {status, "application/json", kova_json_dump(document) + "\n"};
}

// The HTTP status of a problem's kind: a name the description lacks is
// not found, a limit too large, a file the server cannot use or work past
// its time unavailable, anything else a bad request.
int problem_status(KOVA_PROBLEM_KIND kind) {
    switch (kind) {
        case KOVA_PROBLEM_KIND::NOT_FOUND: return 404;
        case KOVA_PROBLEM_KIND::LIMIT: return 413;
        case KOVA_PROBLEM_KIND::FILE:
        case KOVA_PROBLEM_KIND::LOAD:
        case KOVA_PROBLEM_KIND::TIME: return 503;
        default: return 400;
    }
}

KOVA_SERVE_RESPONSE problem_response(const std::string& command, const KOVA_PROBLEM& problem) {
    return json_response(problem_status(problem.kind), kova_problem_json(command, problem));
}

KOVA_SERVE_RESPONSE error_response(int status, const std::string& command, const std::string& text) {
    return json_response(status, kova_json_error(command, text, {}));
}

void usage(KOVA_ANSWER& answer, std::string text) {
    answer.problem = kova_problem(KOVA_PROBLEM_KIND::USAGE, std::move(text));
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

// A member holding true or false: false when absent; a problem when it is
// there but not a boolean.
bool flag_member(const json& request, const char* name, KOVA_ANSWER& answer) {
    const auto found = request.find(name);
    if (found == request.end()) return false;
    if (found->is_boolean()) return found->get<bool>();
    usage(answer, std::string(name) + " must be true or false");
    return false;
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
        settings.push_back({kova_json_restore(name), kova_json_restore(value.get<std::string>()), "", 0,
                            KOVA_SETTING_SOURCE::PAGE});
    }
    return settings;
}

// The member key as a list of names (none when it is not there); false,
// with a usage problem, when it is not a list of texts.
bool names_member(const json& request, const std::string& key, std::vector<std::string>& names, KOVA_ANSWER& answer) {
    const auto found = request.find(key);
    if (found == request.end()) return true;
    const bool texts = found->is_array() && std::all_of(found->begin(), found->end(), [](const json& name) {
        return name.is_string();
    });
    if (!texts) {
        usage(answer, key + " must be a list of names");
        return false;
    }
    for (const json& name : *found) names.push_back(kova_json_restore(name.get<std::string>()));
    return true;
}

void explain_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_STATE_BASELINE&,
                  KOVA_ANSWER& answer) {
    std::string name;
    if (!text_member(request, "name", name) || name.empty())
        return usage(answer, "explain needs the name of a port or parameter");
    kova_explain_answer(session, run, name, answer);
}

void fix_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_STATE_BASELINE&,
              KOVA_ANSWER& answer) {
    KOVA_FIX_OPTIONS options;
    if (!names_member(request, "keep", options.keep, answer)) return;
    kova_fix_answer(session, run, options, answer);
}

void generate_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_STATE_BASELINE&,
                   KOVA_ANSWER& answer) {
    KOVA_GENERATE_OPTIONS options;
    std::string language;
    if (!text_member(request, "lang", language)) return usage(answer, "lang must be a text");
    answer.problem = kova_generate_language_problem(language, options.language);
    if (answer.problem) return;
    options.stub = flag_member(request, "stub", answer);
    if (answer.problem || !names_member(request, "export", options.exports, answer)) return;
    kova_generate_answer(session, run, options, true, answer);
}

// The name a query route asks about; "" when the request has no "name",
// for the route's answer about every one. A problem when it is there but
// not a non-empty text.
bool query_name(const json& request, const char* what, std::string& name, KOVA_ANSWER& answer) {
    if (text_member(request, "name", name) && (!name.empty() || !request.contains("name"))) return true;
    usage(answer, std::string("name must be the name of ") + what + ", or left out for every one");
    return false;
}

void ranges_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&,
                 KOVA_ANSWER& answer) {
    std::string name;
    if (query_name(request, "a port", name, answer)) kova_ranges_answer(session, name, answer);
}

void wizard_map_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&,
                     KOVA_ANSWER& answer) {
    std::string name;
    if (query_name(request, "a wizard map", name, answer)) kova_wizard_map_answer(session, name, answer);
}

// The settings file text after the run (corrections included), as
// `kova validate --save` writes it; "minimal": true for the minimal form.
void settings_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&,
                   KOVA_ANSWER& answer) {
    const bool minimal = flag_member(request, "minimal", answer);
    if (!answer.problem) kova_settings_answer(session, minimal, answer);
}

// Everything the page shows after a change; of the objects, those whose
// state differs from the model's; the causes of the run's errors, with
// "last" the setting the user changed last, when the page knows it.
void refresh_body(const json& request, KOVA_SESSION& session, const KOVA_RUN_RESULT& run,
                  const KOVA_STATE_BASELINE& baseline, KOVA_ANSWER& answer) {
    std::string last;
    if (!text_member(request, "last", last)) return usage(answer, "last must be the name of a setting");
    kova_refresh_answer(session, run, baseline, last, answer);
}

// An uploaded settings file read by the shared reader: "text" the file's
// text, "file" its name for the messages.
KOVA_SERVE_RESPONSE load_body(const json& request, KOVA_SESSION& session) {
    std::string text, file;
    if (!text_member(request, "text", text) || !text_member(request, "file", file))
        return error_response(400, "load", "text and file must be texts");
    KOVA_ANSWER answer;
    kova_load_answer(text, file, answer);
    if (answer.problem) return problem_response("load", answer.problem);
    return json_response(200, kova_command_json("load", session.description(), std::nullopt, std::move(answer.document),
                                                answer.messages));
}

// The first member of the request that members (separated by blanks)
// does not name, in the safe form; "" when there is none.
std::string unknown_member(const json& request, const std::string& members) {
    for (const auto& member : request.items())
        if (member.key().find(' ') != std::string::npos ||
            (" " + members + " ").find(" " + member.key() + " ") == std::string::npos)
            return member.key();
    return "";
}

// The routes whose answer needs no member of the request.
#define KOVA_PLAIN_ANSWER(call)                                                                                   \
    [](const json&, KOVA_SESSION& session, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&, KOVA_ANSWER& answer) { \
        call;                                                                                                     \
    }

const std::vector<ROUTE>& routes() {
    static const std::vector<ROUTE> table = {
        {"/api/model", "GET", "model", "", nullptr, nullptr, true},
        {"/api/load", "POST", "load", "text file", nullptr, load_body},
        {"/api/validate", "POST", "validate", "settings",
         KOVA_PLAIN_ANSWER(kova_validate_answer(session, true, answer))},
        {"/api/explain", "POST", "explain", "settings name", explain_body},
        {"/api/fix", "POST", "fix", "settings keep", fix_body},
        {"/api/widths", "POST", "widths", "settings", KOVA_PLAIN_ANSWER(kova_widths_answer(session, answer))},
        {"/api/messages", "POST", "messages", "settings", KOVA_PLAIN_ANSWER(kova_messages_answer(session, answer))},
        {"/api/generate", "POST", "generate", "settings lang stub export", generate_body},
        {"/api/ranges", "POST", "ranges", "settings name", ranges_body},
        {"/api/simlib", "POST", "simlib", "settings", KOVA_PLAIN_ANSWER(kova_simlib_answer(session, answer))},
        {"/api/wizard-map", "POST", "wizard-map", "settings name", wizard_map_body},
        {"/api/settings", "POST", "settings", "settings minimal", settings_body},
        {"/api/states", "POST", "states", "settings", KOVA_PLAIN_ANSWER(kova_states_answer(session, answer))},
        {"/api/refresh", "POST", "refresh", "settings last", refresh_body},
    };
    return table;
}
#undef KOVA_PLAIN_ANSWER

// A POST route on a copy of the template: settings, run, the route's
// answer, the document as the kova tool writes it.
KOVA_SERVE_RESPONSE answer(const ROUTE& route, const json& request, KOVA_SESSION& session, std::size_t limit,
                           const KOVA_STATE_BASELINE& baseline) {
    std::string problem;
    const std::vector<KOVA_SETTING> settings = request_settings(request, limit, problem);
    if (!problem.empty()) return error_response(400, route.command, problem);
    const auto build = [&](KOVA_SESSION& target, const KOVA_RUN_RESULT& run, KOVA_ANSWER& answer) {
        route.body(request, target, run, baseline, answer);
    };
    KOVA_COMMAND_RESULT result = kova_run_command(session, settings, {}, true, build);
    if (result.problem) return problem_response(route.command, result.problem);
    return json_response(200, kova_command_result_json(route.command, session.description(), std::move(result), true));
}

}  // namespace

KOVA_SERVE_API::KOVA_SERVE_API(const KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings,
                               std::chrono::milliseconds work_time)
    : m_template(session),
      m_work_time(work_time),
      m_setting_limit(2 * kova_object_states(m_template.validator()).size()) {
    // The model's answer and the states it gives, from one derive of a
    // copy: the template itself is never changed.
    KOVA_SESSION copy(m_template);
    KOVA_PAGE_MODEL model = kova_page_model(copy, initial_settings);
    m_baseline = std::move(model.states);
    m_model = json_response(200, model.document);
}

KOVA_SERVE_RESPONSE KOVA_SERVE_API::handle(const std::string& method, const std::string& path,
                                           const std::string& body) const {
    const ROUTE* route = nullptr;
    for (const ROUTE& candidate : routes())
        if (path == candidate.path) route = &candidate;
    if (!route) return error_response(404, "serve", "no such path: " + path);
    if (method != route->method)
        return error_response(405, route->command, std::string(route->path) + " takes " + route->method);
    if (body.size() > KOVA_SERVE_MAX_BODY) return error_response(413, route->command, "the request body is too large");
    if (!kova_is_utf8(body)) return error_response(400, route->command, "the request body is not UTF-8");
    const json request = json::parse(body.empty() ? "{}" : body, nullptr, false);
    if (request.is_discarded() || !request.is_object())
        return error_response(400, route->command, "the request body is not a JSON object");
    if (const std::string unknown = unknown_member(request, route->members); !unknown.empty())
        return error_response(400, route->command,
                              "the request has no member named " + unknown + "; " + route->path + " takes " +
                                  (*route->members ? route->members : "none"));
    if (route->fixed) return m_model;
    KOVA_SESSION session(m_template);
    session.set_work_deadline(std::chrono::steady_clock::now() + m_work_time);
    if (route->plain) return route->plain(request, session);
    return answer(*route, request, session, m_setting_limit, m_baseline);
}
