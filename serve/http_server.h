// kova serve's connections: one thread reads requests from every socket
// and writes their answers; a pool of workers computes the answers. A
// connection holds a worker only while its request is being answered, never
// while it is idle or while its request is still arriving, so that idle,
// slow or half-sent connections cannot delay another client.
//
// The rules (KOVA_HTTP_LIMITS): a request's head must arrive within
// head_time of its first byte and its body within body_time of the head,
// or the request is answered 408 and the connection closed; a connection
// with nothing to do closes after idle_time; one whose client takes no byte
// of its answer for write_time is closed. A client address holds at most
// per_client connections: a new one closes that client's connection idle
// longest, or is itself closed when none is idle. Requests sent one after
// another without waiting (pipelined) are answered in the order sent, up to
// pipelined of them read ahead of their answers.
#ifndef KOVA_SERVE_HTTP_SERVER_H
#define KOVA_SERVE_HTTP_SERVER_H

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "serve/http_message.h"

struct KOVA_HTTP_LIMITS {
    std::chrono::milliseconds head_time{1000};
    std::chrono::milliseconds body_time{5000};
    std::chrono::milliseconds idle_time{5000};
    std::chrono::milliseconds write_time{10000};
    std::size_t per_client = 16;
    std::size_t connections = 512;
    std::size_t pipelined = 8;
    std::size_t max_body = 1024 * 1024;
    unsigned workers = 4;
};

// Answers a request that was read whole (called on a worker thread).
using KOVA_HTTP_HANDLER = std::function<KOVA_HTTP_RESPONSE(const KOVA_HTTP_REQUEST&)>;
// Answers what the connection layer refuses itself: a malformed or
// oversized head (400, 413, 431, 501, 505), a head or body too slow (408),
// or a handler that threw (500). problem says why, for the user.
using KOVA_HTTP_REFUSAL = std::function<KOVA_HTTP_RESPONSE(int status, const std::string& problem)>;

class KOVA_HTTP_SERVER {
public:
    KOVA_HTTP_SERVER(KOVA_HTTP_LIMITS limits, KOVA_HTTP_HANDLER handler, KOVA_HTTP_REFUSAL refusal);
    ~KOVA_HTTP_SERVER();
    KOVA_HTTP_SERVER(const KOVA_HTTP_SERVER&) = delete;
    KOVA_HTTP_SERVER& operator=(const KOVA_HTTP_SERVER&) = delete;

    // Binds host:port (0: any free port) and listens; the port bound, or
    // -1 with errno set.
    int bind(const std::string& host, int port);
    // Serves until stop(); returns at once if stop() came first.
    void run();
    // Ends run() from any thread; the requests being answered are finished.
    void stop();

private:
    struct STATE;
    std::unique_ptr<STATE> m_state;
};

#endif
