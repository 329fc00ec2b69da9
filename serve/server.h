// kova serve's HTTP server: the request layer (serve/api.h) and the page
// built into the program (serve/assets.h) on a socket, for one user on
// this machine. Everything here is about HTTP: which requests are
// answered, with which headers; what a request means is the request
// layer's business.
//
// Safety rules (docs/serve.md): it listens on 127.0.0.1 unless told
// otherwise; a request whose Host header names another machine, or a
// POST from a page of another origin, is refused (403), so that no web
// page the user visits can drive it; bodies are at most
// KOVA_SERVE_MAX_BODY bytes (413). Connections, their deadlines and
// limits are serve/http_server.h's.
#ifndef KOVA_SERVE_SERVER_H
#define KOVA_SERVE_SERVER_H

#include <functional>
#include <string>

#include "serve/api.h"

struct KOVA_SERVE_OPTIONS {
    std::string host = "127.0.0.1";
    int port = 8080;  // 0: any free port
};

// What kova_serve_run ends with.
enum class KOVA_SERVE_END {
    STOPPED,      // SIGINT or SIGTERM stopped it
    CANNOT_BIND,  // the address or port could not be had
    FAILED,       // listening ended by itself
};

// Whether a host name or address stays on this machine (127.0.0.0/8,
// localhost, ::1).
bool kova_serve_is_loopback(const std::string& host);

// Serves until SIGINT or SIGTERM. SIGINT and SIGTERM are blocked in the
// calling thread, and so in every thread started from it, while this
// runs: one thread waits for them and stops the server. listening is
// called with the URL ("http://HOST:PORT/") once the socket is bound,
// before the first request is taken; problem is set when it cannot bind.
KOVA_SERVE_END kova_serve_run(const KOVA_SERVE_API& api, const KOVA_SERVE_OPTIONS& options,
                              const std::function<void(const std::string& url)>& listening, std::string& problem);

#endif
