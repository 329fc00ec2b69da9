// The request-handling layer of kova serve, without sockets: one request
// (method, path, JSON body) in, one response (status, type, body) out.
// Every /api/ route answers the JSON document the matching kova
// subcommand writes with --format json (docs/json.md), so the web page and
// the tool agree; model, load, states and refresh have no subcommand.
//
// Invariant: the template session is loaded once and never changed; each
// request works on its own copy, so handle is const and copies of the
// session may serve requests on several threads at once.
#ifndef KOVA_SERVE_API_H
#define KOVA_SERVE_API_H

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "session/session.h"
#include "session/state_changes.h"

struct KOVA_SERVE_RESPONSE {
    int status = 200;
    std::string content_type = "application/json";
    std::string body;
};

// The largest request body accepted; a larger one is answered 413.
constexpr std::size_t KOVA_SERVE_MAX_BODY = 1024 * 1024;
// The longest a request may keep the engine working (a repair's search on
// a large block); work past it stops, and the request is answered 503.
constexpr std::chrono::milliseconds KOVA_SERVE_WORK_TIME{5000};

class KOVA_SERVE_API {
public:
    // Keeps a copy of a loaded session as the template of every request,
    // and makes the model document once, with the settings the page starts
    // from (kova serve --settings); requests bring their own settings.
    explicit KOVA_SERVE_API(const KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings = {},
                            std::chrono::milliseconds work_time = KOVA_SERVE_WORK_TIME);

    // Answers one request. The body is a JSON object
    // {"settings": {"NAME": "VALUE", ...}, ...} with the route's own
    // members ("name" for explain, ranges and wizard-map, the last two
    // answering for every port or map without it, "keep" for fix,
    // "lang" and "stub" for generate, "minimal" for settings, "text" and
    // "file" for load).
    KOVA_SERVE_RESPONSE handle(const std::string& method, const std::string& path, const std::string& body) const;

private:
    KOVA_SESSION m_template;
    std::chrono::milliseconds m_work_time;
    // The most settings a request may give: twice the ports and
    // parameters (a value and a usage state each), counted once here.
    std::size_t m_setting_limit;
    // Every object's state as the model document gives it, read once:
    // a refresh lists only the objects whose state differs from it.
    KOVA_STATE_BASELINE m_baseline;
    // The answer to GET /api/model: the template and the starting
    // settings never change, so neither does it.
    KOVA_SERVE_RESPONSE m_model;
};

#endif
