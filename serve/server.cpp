// kova serve's HTTP layer on cpp-httplib: binding, the safety checks on
// Host and Origin, the page's files, /api/ requests handed to the request
// layer, JSON for every error, and stopping on SIGINT or SIGTERM.
#include "serve/server.h"

#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "host/kova_stl.h"
#include "serve/assets.h"
#include "session/json_document.h"
#include "session/json_text.h"

namespace {

// Seconds a connection may stay silent while a request is read or a
// response written, and idle between two requests on one connection.
constexpr time_t KOVA_SERVE_IO_TIMEOUT = 10;
constexpr time_t KOVA_SERVE_KEEP_ALIVE = 2;

// A host as written in a URL or Host header: IPv6 addresses in brackets.
std::string url_host(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

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

void json_answer(httplib::Response& response, int status, const std::string& text) {
    response.status = status;
    response.set_content(kova_json_dump(kova_json_error("serve", text, {})) + "\n", "application/json");
}

// Answers of the API, refusals and errors included, are never cached:
// each depends on the request's settings.
void mark_api_answer(const httplib::Request& request, httplib::Response& response) {
    if (request.path.compare(0, 5, "/api/") == 0) response.set_header("Cache-Control", "no-store");
}

// Files travel as bytes, so that the page needs no mapping of its own
// between bytes and the JSON safe form: the server maps them with
// session/json_text. A load request sent as application/octet-stream is
// an uploaded settings file (?file=NAME), given to the request layer as
// the route's JSON; an answer asked for with "Accept:
// application/octet-stream" is its text member as the bytes it stands
// for, or the JSON document as usual when it has no text.
const char* const BYTES = "application/octet-stream";

std::string api_body(const httplib::Request& request) {
    if (request.path != "/api/load" || request.get_header_value("Content-Type") != BYTES) return request.body;
    return kova_json_dump(
        {{"text", kova_json_text(request.body)}, {"file", kova_json_text(request.get_param_value("file"))}});
}

void answer_api(const KOVA_SERVE_API& api, const httplib::Request& request, httplib::Response& response) {
    const KOVA_SERVE_RESPONSE answered = api.handle(request.method, request.path, api_body(request));
    response.status = answered.status;
    if (answered.status == 200 && request.get_header_value("Accept") == BYTES) {
        const nlohmann::json document = nlohmann::json::parse(answered.body, nullptr, false);
        const auto text = document.is_object() ? document.find("text") : document.end();
        if (document.is_object() && text != document.end() && text->is_string())
            return response.set_content(kova_json_restore(text->get<std::string>()), BYTES);
    }
    response.set_content(answered.body, answered.content_type.c_str());
}

// A request that is neither refused nor in error: /api/ goes to the
// request layer, anything else is a file of the page.
void answer(const KOVA_SERVE_API& api, const httplib::Request& request, httplib::Response& response) {
    if (request.path.compare(0, 5, "/api/") == 0) return answer_api(api, request, response);
    const KOVA_SERVE_ASSET* asset = kova_serve_asset(request.path);
    if (!asset) return json_answer(response, 404, "no such path: " + request.path);
    if (request.method != "GET" && request.method != "HEAD")
        return json_answer(response, 405, request.path + " takes GET");
    response.set_content(reinterpret_cast<const char*>(asset->data), asset->size, asset->content_type);
}

// Every request: the safety checks first, then the answer.
void route(const KOVA_SERVE_API& api, const KOVA_SERVE_ORIGINS& origins, const httplib::Request& request,
           httplib::Response& response) {
    mark_api_answer(request, response);
    // Two Host or Origin headers could name different servers to the
    // check here and to a proxy or browser; each must be there once at most.
    if (request.get_header_value_count("Host") != 1)
        return json_answer(response, 400, "a request names its server in exactly one Host header");
    if (request.get_header_value_count("Origin") > 1)
        return json_answer(response, 400, "a request holds at most one Origin header");
    if (!origins.host_allowed(request.get_header_value("Host")))
        return json_answer(response, 403, "the Host header names another server; open the address kova serve printed");
    const bool reads_only = request.method == "GET" || request.method == "HEAD";
    if (!reads_only && request.has_header("Origin") && !origins.origin_allowed(request.get_header_value("Origin")))
        return json_answer(response, 403, "requests from pages of another origin are refused");
    answer(api, request, response);
}

// An error the library answered itself (a body too large, a malformed
// request, a method no route takes) gets a JSON document too.
httplib::Server::HandlerResponse error_document(const httplib::Request& request, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    if (!response.has_header("Cache-Control")) mark_api_answer(request, response);
    const int status = response.status;
    json_answer(response, status,
                status == 413   ? "the request body is too large"
                : status == 404 ? "no such path"
                                : "the request cannot be answered (HTTP " + std::to_string(status) + ")");
    return httplib::Server::HandlerResponse::Handled;
}

// How connections are taken and answered; before binding, since the
// socket options apply to the listening socket.
void configure_connections(httplib::Server& server) {
    const std::size_t threads = std::min<std::size_t>(8, std::max(2u, std::thread::hardware_concurrency()));
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // SO_REUSEADDR alone: the library's default, SO_REUSEPORT, would let
    // a second server bind the same port and share its requests.
    server.set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server.set_read_timeout(KOVA_SERVE_IO_TIMEOUT);
    server.set_write_timeout(KOVA_SERVE_IO_TIMEOUT);
    server.set_keep_alive_timeout(KOVA_SERVE_KEEP_ALIVE);
    server.set_payload_max_length(KOVA_SERVE_MAX_BODY);
    server.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                                {"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'"},
                                {"Referrer-Policy", "no-referrer"}});
    server.set_error_handler(httplib::Server::HandlerWithResponse(error_document));
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        json_answer(response, 500, "internal error");
    });
}

// Every method and path goes to route; the origins need the bound port.
// The server keeps the handler, so it keeps a copy of the origins, not a
// reference to a caller's object; api outlives the server (kova_serve_run).
void add_routes(httplib::Server& server, const KOVA_SERVE_API& api, const KOVA_SERVE_ORIGINS& origins) {
    const httplib::Server::Handler handler = [&api, origins](const httplib::Request& request,
                                                             httplib::Response& response) {
        route(api, origins, request, response);
    };
    const std::string any = ".*";
    server.Get(any, handler).Post(any, handler).Put(any, handler).Patch(any, handler).Delete(any, handler);
    server.Options(any, handler);
}

// Stops the server on SIGINT or SIGTERM. The signals are blocked in the
// constructing thread, so every thread started afterwards inherits the
// mask and none is interrupted; one thread takes them with sigwait and
// calls stop() as ordinary code, so no work happens in a signal handler.
// They stay blocked after the server ends: the process exits next, and a
// second Ctrl-C then must not end it with another status.
class KOVA_SIGNAL_STOP {
public:
    explicit KOVA_SIGNAL_STOP(httplib::Server& server) : m_server(server) {
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

    // Says the listening socket exists. A signal is acted on only after
    // this, so that making the socket happens before stop() closes it in
    // a way every thread checker sees, not only through the HTTP
    // library's own state.
    void bound() { m_bound = true; }

private:
    void wait() {
        int number = 0;
        sigwait(&m_signals, &number);
        if (m_done) return;
        m_signalled = true;
        // A signal between binding and listening waits for listening to
        // start, since stop() before then does nothing.
        while (!m_done) {
            if (m_bound && m_server.is_running()) {
                m_server.stop();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    httplib::Server& m_server;
    sigset_t m_signals;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_signalled{false};
    std::atomic<bool> m_bound{false};
};

}  // namespace

bool kova_serve_is_loopback(const std::string& host) {
    const std::string name = to_lower_case(host);
    return name == "localhost" || name == "::1" || name == "[::1]" || name.compare(0, 4, "127.") == 0;
}

KOVA_SERVE_END kova_serve_run(const KOVA_SERVE_API& api, const KOVA_SERVE_OPTIONS& options,
                              const std::function<void(const std::string& url)>& listening, std::string& problem) {
    // A client that goes away mid-answer gives an error on the write, not
    // the end of the process.
    signal(SIGPIPE, SIG_IGN);
    httplib::Server server;
    configure_connections(server);
    KOVA_SIGNAL_STOP stop(server);
    errno = 0;
    int port = options.port;
    if (port == 0) port = server.bind_to_any_port(options.host);
    else if (!server.bind_to_port(options.host, port)) port = -1;
    if (port < 0) {
        const int error = errno;
        problem = "cannot listen on " + url_host(options.host) + ":" + std::to_string(options.port) + ": " +
                  (error ? std::strerror(error) : "the address cannot be bound") +
                  (error == EADDRINUSE ? " (another server has the port; choose another with --port, or --port 0)"
                                       : "");
        return KOVA_SERVE_END::CANNOT_BIND;
    }
    stop.bound();
    const KOVA_SERVE_ORIGINS origins(options.host, port);
    add_routes(server, api, origins);
    listening("http://" + url_host(options.host) + ":" + std::to_string(port) + "/");
    server.listen_after_bind();
    return stop.signalled() ? KOVA_SERVE_END::STOPPED : KOVA_SERVE_END::FAILED;
}
