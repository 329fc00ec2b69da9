// kova serve's HTTP layer: the safety checks on Host and Origin, the
// page's files, /api/ requests handed to the request layer, JSON for every
// error, and stopping on SIGINT or SIGTERM. The connections themselves are
// serve/http_server's.
#include "serve/server.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "host/kova_stl.h"
#include "serve/assets.h"
#include "serve/http_server.h"
#include "session/json_document.h"
#include "session/json_text.h"

namespace {

// A host as written in a URL or Host header: IPv6 addresses in brackets.
std::string url_host(const std::string& host) { return host.find(':') != std::string::npos ? "[" + host + "]" : host; }

// Which names this server answers to. A Host header or Origin must name
// this machine (or the address it was told to bind) at the server's own
// port, so that a foreign page, or a foreign name resolved to this
// machine (DNS rebinding), cannot use it.
class KOVA_SERVE_ORIGINS {
public:
    KOVA_SERVE_ORIGINS(const std::string& bound_host, int port)
        : m_names{"localhost", "127.0.0.1", "[::1]", to_lower_case(url_host(bound_host))}, m_port(port) {}

    // "NAME" or "NAME:PORT" (no port means 80); an absent header is
    // allowed, since a browser always sends one.
    bool host_allowed(const std::string& header) const {
        if (header.empty()) return true;
        const std::size_t bracket = header.rfind(']');
        const std::size_t colon = header.rfind(':');
        const bool has_port = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
        const std::string name = to_lower_case(header.substr(0, has_port ? colon : std::string::npos));
        const std::string port = has_port ? header.substr(colon + 1) : "80";
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
        return std::stoi(port) == m_port && std::find(m_names.begin(), m_names.end(), name) != m_names.end();
    }

    // "http://NAME[:PORT]" with an allowed name and port, nothing after.
    bool origin_allowed(const std::string& origin) const {
        const std::string scheme = "http://";
        if (origin.compare(0, scheme.size(), scheme) != 0) return false;
        const std::string rest = origin.substr(scheme.size());
        return !rest.empty() && rest.find('/') == std::string::npos && host_allowed(rest);
    }

private:
    std::vector<std::string> m_names;
    int m_port;
};

// What every answer carries: no sniffing of types, no framing by other
// sites, no referrer sent on.
void add_safety_headers(KOVA_HTTP_RESPONSE& response) {
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
    response.set_header("Referrer-Policy", "no-referrer");
}

KOVA_HTTP_RESPONSE json_answer(int status, const std::string& text) {
    KOVA_HTTP_RESPONSE response;
    response.status = status;
    response.body = kova_json_dump(kova_json_error("serve", text, {})) + "\n";
    add_safety_headers(response);
    return response;
}

bool is_api(const KOVA_HTTP_REQUEST& request) { return request.path.compare(0, 5, "/api/") == 0; }

// Files travel as bytes, so that the page needs no mapping of its own
// between bytes and the JSON safe form: the server maps them with
// session/json_text. A load request sent as application/octet-stream is
// an uploaded settings file (?file=NAME), given to the request layer as
// the route's JSON; an answer asked for with "Accept:
// application/octet-stream" is its text member as the bytes it stands
// for, or the JSON document as usual when it has no text.
const char* const BYTES = "application/octet-stream";

std::string api_body(const KOVA_HTTP_REQUEST& request) {
    if (request.path != "/api/load" || request.header("content-type") != BYTES) return request.body;
    return kova_json_dump({{"text", kova_json_text(request.body)}, {"file", kova_json_text(request.param("file"))}});
}

KOVA_HTTP_RESPONSE answer_api(const KOVA_SERVE_API& api, const KOVA_HTTP_REQUEST& request) {
    const KOVA_SERVE_RESPONSE answered = api.handle(request.method, request.path, api_body(request));
    KOVA_HTTP_RESPONSE response;
    response.status = answered.status;
    response.content_type = answered.content_type;
    response.body = answered.body;
    if (answered.status == 200 && request.header("accept") == BYTES) {
        const nlohmann::json document = nlohmann::json::parse(answered.body, nullptr, false);
        const auto text = document.is_object() ? document.find("text") : document.end();
        if (document.is_object() && text != document.end() && text->is_string()) {
            response.content_type = BYTES;
            response.body = kova_json_restore(text->get<std::string>());
        }
    }
    add_safety_headers(response);
    return response;
}

// A request that is neither refused nor in error: /api/ goes to the
// request layer, anything else is a file of the page.
KOVA_HTTP_RESPONSE answer(const KOVA_SERVE_API& api, const KOVA_HTTP_REQUEST& request) {
    if (is_api(request)) return answer_api(api, request);
    const KOVA_SERVE_ASSET* asset = kova_serve_asset(request.path);
    if (!asset) return json_answer(404, "no such path: " + request.path);
    if (request.method != "GET" && request.method != "HEAD") return json_answer(405, request.path + " takes GET");
    KOVA_HTTP_RESPONSE response;
    response.content_type = asset->content_type;
    response.body.assign(reinterpret_cast<const char*>(asset->data), asset->size);
    add_safety_headers(response);
    return response;
}

// Every request: the safety checks first, then the answer.
KOVA_HTTP_RESPONSE checked_answer(const KOVA_SERVE_API& api, const KOVA_SERVE_ORIGINS& origins,
                                  const KOVA_HTTP_REQUEST& request) {
    // Two Host or Origin headers could name different servers to the
    // check here and to a proxy or browser; each must be there once at most.
    if (request.header_count("host") != 1)
        return json_answer(400, "a request names its server in exactly one Host header");
    if (request.header_count("origin") > 1) return json_answer(400, "a request holds at most one Origin header");
    if (!origins.host_allowed(request.header("host")))
        return json_answer(403,
                           "the Host header names another server; open the "
                           "address kova serve printed");
    const bool reads_only = request.method == "GET" || request.method == "HEAD";
    if (!reads_only && request.header_count("origin") && !origins.origin_allowed(request.header("origin")))
        return json_answer(403, "requests from pages of another origin are refused");
    return answer(api, request);
}

// Answers of the API, refusals and errors included, are never cached:
// each depends on the request's settings. Off this machine, answers
// travel gzip-compressed at a fast level when the client takes it; on the
// loopback address, compressing would cost more time than it saves.
KOVA_HTTP_RESPONSE route(const KOVA_SERVE_API& api, const KOVA_SERVE_ORIGINS& origins, bool compress,
                         const KOVA_HTTP_REQUEST& request) {
    KOVA_HTTP_RESPONSE response = checked_answer(api, origins, request);
    if (is_api(request)) response.set_header("Cache-Control", "no-store");
    if (compress) kova_http_gzip(request, response);
    return response;
}

// How many workers answer requests: the engine's work is computing, so
// a few more than the cores, enough that a long request (a fix's search)
// leaves others workers to run on.
KOVA_HTTP_LIMITS connection_limits() {
    KOVA_HTTP_LIMITS limits;
    limits.workers = std::min(16u, std::max(4u, 2 * std::thread::hardware_concurrency()));
    limits.max_body = KOVA_SERVE_MAX_BODY;
    return limits;
}

// Stops the server on SIGINT or SIGTERM. The signals are blocked in the
// constructing thread, so every thread started afterwards inherits the
// mask and none is interrupted; one thread takes them with sigwait and
// calls stop() as ordinary code, so no work happens in a signal handler.
// They stay blocked after the server ends: the process exits next, and a
// second Ctrl-C then must not end it with another status.
class KOVA_SIGNAL_STOP {
public:
    explicit KOVA_SIGNAL_STOP(KOVA_HTTP_SERVER& server) : m_server(server) {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGINT);
        sigaddset(&m_signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
        m_thread = std::thread([this] { wait(); });
    }

    // Wakes the waiting thread when no signal came, and joins it.
    ~KOVA_SIGNAL_STOP() {
        m_done = true;
        pthread_kill(m_thread.native_handle(), SIGTERM);
        m_thread.join();
    }

    bool signalled() const { return m_signalled; }

private:
    // A stop before the server runs makes it return at once.
    void wait() {
        int number = 0;
        sigwait(&m_signals, &number);
        if (m_done) return;
        m_signalled = true;
        m_server.stop();
    }

    KOVA_HTTP_SERVER& m_server;
    sigset_t m_signals;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_signalled{false};
};

}  // namespace

bool kova_serve_is_loopback(const std::string& host) {
    const std::string name = to_lower_case(host);
    return name == "localhost" || name == "::1" || name == "[::1]" || name.compare(0, 4, "127.") == 0;
}

KOVA_SERVE_END
kova_serve_run(const KOVA_SERVE_API& api, const KOVA_SERVE_OPTIONS& options,
               const std::function<void(const std::string& url)>& listening, std::string& problem) {
    // The handler needs the bound port, known only after binding; it is
    // set once, before run() starts the workers that read it.
    std::unique_ptr<KOVA_SERVE_ORIGINS> origins;
    const bool compress = !kova_serve_is_loopback(options.host);
    KOVA_HTTP_SERVER server(
        connection_limits(),
        [&api, &origins, compress](const KOVA_HTTP_REQUEST& request) {
            return route(api, *origins, compress, request);
        },
        [](int status, const std::string& text) {
            KOVA_HTTP_RESPONSE response = json_answer(status, text);
            response.set_header("Cache-Control", "no-store");
            return response;
        });
    KOVA_SIGNAL_STOP stop(server);
    const int port = server.bind(options.host, options.port);
    if (port < 0) {
        const int error = errno;
        problem = "cannot listen on " + url_host(options.host) + ":" + std::to_string(options.port) + ": " +
                  std::strerror(error) +
                  (error == EADDRINUSE ? " (another server has the port; choose "
                                         "another with --port, or --port 0)"
                                       : "");
        return KOVA_SERVE_END::CANNOT_BIND;
    }
    origins = std::make_unique<KOVA_SERVE_ORIGINS>(options.host, port);
    listening("http://" + url_host(options.host) + ":" + std::to_string(port) + "/");
    server.run();
    return stop.signalled() ? KOVA_SERVE_END::STOPPED : KOVA_SERVE_END::FAILED;
}
