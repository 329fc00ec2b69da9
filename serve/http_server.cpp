// The connection thread of kova serve (serve/http_server.h): accepting,
// reading requests, the deadlines and limits, and writing answers in the
// order their requests came. Every socket is non-blocking and watched by
// one poll(); a worker that finishes an answer wakes it through an eventfd.
#include "serve/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "serve/http_workers.h"

namespace {

using CLOCK = std::chrono::steady_clock;
using TIME = CLOCK::time_point;
constexpr TIME NEVER = TIME::max();

// One request's answer on its connection: filled in when its worker is done.
struct SLOT {
    bool ready = false;
    std::string bytes;
    bool close = false;
};

// What is known of one connection. Invariant: slots hold the answers of
// the requests read and not yet written, in the order read; slot i is the
// answer of request first_place + i.
struct CONNECTION {
    int socket = -1;
    std::string client;      // the client's address
    std::string in;          // bytes received and not yet part of a request
    bool head_read = false;  // a head is read and its body awaited
    KOVA_HTTP_HEAD head;
    TIME head_deadline = NEVER;  // set when a head's first byte arrives
    TIME body_deadline = NEVER;
    TIME last_used;  // last byte received or sent
    std::deque<SLOT> slots;
    std::uint64_t first_place = 0;
    std::string out;  // bytes of answers being written
    std::size_t sent = 0;
    bool reading_done = false;  // no more requests are read from it
    bool close_after_out = false;
    bool broken = false;  // the socket failed: nothing more can be sent
    // All is written and the sending side shut; what the client still
    // sends is read and dropped until it closes or drain_deadline, so
    // that closing with unread bytes cannot reset the connection before
    // the client has read its answer (a 413 while a body is on its way).
    bool draining = false;
    TIME drain_deadline = NEVER;

    // Whether nothing is left to do on it: closed at once.
    bool finished() const {
        const bool written = sent == out.size() && slots.empty();
        return broken || (written && (close_after_out || reading_done));
    }

    bool idle() const { return !reading_done && in.empty() && !head_read && slots.empty() && out.size() == sent; }
};

// The client's address as text, whatever the family.
std::string address_text(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof text);
    else if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text, sizeof text);
    return text;
}

// "5 s", or "500 ms" for a part of a second.
std::string duration_text(std::chrono::milliseconds time) {
    return time.count() % 1000 ? std::to_string(time.count()) + " ms" : std::to_string(time.count() / 1000) + " s";
}

}  // namespace

struct KOVA_HTTP_SERVER::STATE {
    STATE(KOVA_HTTP_LIMITS limits_, KOVA_HTTP_HANDLER handler_, KOVA_HTTP_REFUSAL refusal_)
        : limits(limits_), handler(std::move(handler_)), refusal(std::move(refusal_)) {}

    KOVA_HTTP_LIMITS limits;
    KOVA_HTTP_HANDLER handler;
    KOVA_HTTP_REFUSAL refusal;
    int listener = -1;
    int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::atomic<bool> stopping{false};
    std::map<std::uint64_t, CONNECTION> connections;
    std::uint64_t next_connection = 1;

    void signal_wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
    }

    // A worker's work: the handler's answer, or the refusal's when it throws.
    KOVA_HTTP_ANSWER work(KOVA_HTTP_JOB& job) const {
        KOVA_HTTP_RESPONSE response;
        try {
            response = handler(job.request);
        } catch (...) {
            response = refusal(500, "internal error");
        }
        const bool keep = job.request.keep_alive;
        return {job.connection, job.place, kova_http_response_bytes(response, job.request.method == "HEAD", keep),
                !keep};
    }

    void serve(KOVA_HTTP_WORKERS& workers);
    void accept_connections();
    void make_room_for(const std::string& client);
    bool close_oldest_idle(const std::string* client);
    void read(std::uint64_t id, CONNECTION& connection, KOVA_HTTP_WORKERS& workers);
    void take_requests(std::uint64_t id, CONNECTION& connection, KOVA_HTTP_WORKERS& workers);
    void refuse(CONNECTION& connection, int status, const std::string& problem);
    void place_answers(std::vector<KOVA_HTTP_ANSWER> answers);
    void write(CONNECTION& connection);
    bool expired(CONNECTION& connection, TIME now);
    TIME deadline(const CONNECTION& connection) const;
    void close(std::uint64_t id);
};

KOVA_HTTP_SERVER::KOVA_HTTP_SERVER(KOVA_HTTP_LIMITS limits, KOVA_HTTP_HANDLER handler, KOVA_HTTP_REFUSAL refusal)
    : m_state(std::make_unique<STATE>(limits, std::move(handler), std::move(refusal))) {}

KOVA_HTTP_SERVER::~KOVA_HTTP_SERVER() {
    for (const auto& entry : m_state->connections) ::close(entry.second.socket);
    if (m_state->listener >= 0) ::close(m_state->listener);
    if (m_state->wake >= 0) ::close(m_state->wake);
}

int KOVA_HTTP_SERVER::bind(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        errno = EADDRNOTAVAIL;
        return -1;
    }
    int error = EADDRNOTAVAIL;
    for (const addrinfo* address = found; address && m_state->listener < 0; address = address->ai_next) {
        const int socket = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (socket < 0) continue;
        // SO_REUSEADDR alone, not SO_REUSEPORT, which would let a second
        // server bind the same port and share its requests.
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(socket, address->ai_addr, address->ai_addrlen) == 0 && listen(socket, 128) == 0)
            m_state->listener = socket;
        else
            error = errno, ::close(socket);
    }
    freeaddrinfo(found);
    if (m_state->listener < 0) return errno = error, -1;
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    getsockname(m_state->listener, reinterpret_cast<sockaddr*>(&bound), &size);
    return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                             : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
}

void KOVA_HTTP_SERVER::run() {
    STATE& state = *m_state;
    KOVA_HTTP_WORKERS workers(
        state.limits.workers, [&state](KOVA_HTTP_JOB& job) { return state.work(job); },
        [&state] { state.signal_wake(); });
    state.serve(workers);
}

void KOVA_HTTP_SERVER::stop() {
    m_state->stopping = true;
    m_state->signal_wake();
}

// The loop: wait for a socket, an answer or a deadline, and act on it.
void KOVA_HTTP_SERVER::STATE::serve(KOVA_HTTP_WORKERS& workers) {
    std::vector<pollfd> watched;
    std::vector<std::uint64_t> ids;
    while (!stopping) {
        watched.assign({{wake, POLLIN, 0}, {listener, POLLIN, 0}});
        ids.clear();
        TIME next = NEVER;
        for (const auto& [id, connection] : connections) {
            const bool reads =
                connection.draining || (!connection.reading_done && connection.slots.size() < limits.pipelined);
            const bool writes = connection.sent < connection.out.size();
            watched.push_back(
                {connection.socket, static_cast<short>((reads ? POLLIN : 0) | (writes ? POLLOUT : 0)), 0});
            ids.push_back(id);
            next = std::min(next, deadline(connection));
        }
        const TIME now = CLOCK::now();
        const int wait = next == NEVER ? -1
                         : next <= now
                             ? 0
                             : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next - now).count());
        if (poll(watched.data(), watched.size(), wait) < 0 && errno != EINTR) return;
        if (watched[0].revents) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(wake, &count, sizeof count);
            place_answers(workers.take_answers());
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const auto found = connections.find(ids[i]);
            if (found == connections.end() || !watched[i + 2].revents) continue;
            // A hang-up or error: the client can take no answer any more.
            if (watched[i + 2].revents & (POLLHUP | POLLERR))
                found->second.broken = true;
            else if (watched[i + 2].revents & POLLIN)
                read(ids[i], found->second, workers);
            if (connections.count(ids[i])) write(found->second);
        }
        if (watched[1].revents) accept_connections();
        for (const std::uint64_t id : ids) {
            const auto found = connections.find(id);
            if (found != connections.end() && expired(found->second, CLOCK::now())) close(id);
        }
    }
}

void KOVA_HTTP_SERVER::STATE::accept_connections() {
    for (;;) {
        sockaddr_storage address{};
        socklen_t size = sizeof address;
        const int socket =
            accept4(listener, reinterpret_cast<sockaddr*>(&address), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0) return;
        const std::string client = address_text(address);
        make_room_for(client);
        const std::size_t of_client =
            std::count_if(connections.begin(), connections.end(),
                          [&client](const auto& entry) { return entry.second.client == client; });
        if (of_client >= limits.per_client || connections.size() >= limits.connections) {
            ::close(socket);
            continue;
        }
        CONNECTION& connection = connections[next_connection++];
        connection.socket = socket;
        connection.client = client;
        connection.last_used = CLOCK::now();
    }
}

// Closes the client's connection idle longest when the client has its
// most, and any client's when the server has its most.
void KOVA_HTTP_SERVER::STATE::make_room_for(const std::string& client) {
    const std::size_t of_client = std::count_if(connections.begin(), connections.end(),
                                                [&client](const auto& entry) { return entry.second.client == client; });
    if (of_client >= limits.per_client) close_oldest_idle(&client);
    if (connections.size() >= limits.connections) close_oldest_idle(nullptr);
}

// Closes the idle connection (of client, or of anyone) used longest ago.
bool KOVA_HTTP_SERVER::STATE::close_oldest_idle(const std::string* client) {
    auto oldest = connections.end();
    for (auto entry = connections.begin(); entry != connections.end(); ++entry) {
        const CONNECTION& connection = entry->second;
        if (!connection.idle() || (client && connection.client != *client)) continue;
        if (oldest == connections.end() || connection.last_used < oldest->second.last_used) oldest = entry;
    }
    if (oldest == connections.end()) return false;
    close(oldest->first);
    return true;
}

// Takes what the socket holds, then the requests complete in it. The end
// of the client's sending ends reading; its answers are still written.
void KOVA_HTTP_SERVER::STATE::read(std::uint64_t id, CONNECTION& connection, KOVA_HTTP_WORKERS& workers) {
    char buffer[64 * 1024];
    while (connection.draining) {
        const ssize_t got = recv(connection.socket, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) connection.broken = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        if (got <= 0) return;
    }
    const std::size_t most = KOVA_HTTP_MAX_HEAD + limits.max_body;
    while (!connection.reading_done && connection.in.size() < most) {
        const ssize_t got = recv(connection.socket, buffer, sizeof buffer, 0);
        if (got > 0) {
            if (connection.in.empty() && !connection.head_read)
                connection.head_deadline = CLOCK::now() + limits.head_time;
            connection.in.append(buffer, static_cast<std::size_t>(got));
            connection.last_used = CLOCK::now();
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (got < 0 && errno == EINTR) continue;
        // The client sent all it will: a request it left unfinished is dropped.
        take_requests(id, connection, workers);
        connection.reading_done = true;
        connection.in.clear();
        connection.head_read = false;
        return;
    }
    take_requests(id, connection, workers);
}

// Hands each request whose head and body are complete to the workers.
void KOVA_HTTP_SERVER::STATE::take_requests(std::uint64_t id, CONNECTION& connection, KOVA_HTTP_WORKERS& workers) {
    while (!connection.reading_done && connection.slots.size() < limits.pipelined) {
        if (!connection.head_read) {
            KOVA_HTTP_HEAD head = kova_http_read_head(connection.in, limits.max_body);
            if (head.state == KOVA_HTTP_HEAD::INCOMPLETE) return;
            if (head.state == KOVA_HTTP_HEAD::BAD) return refuse(connection, head.status, head.problem);
            connection.in.erase(0, head.size);
            connection.head = std::move(head);
            connection.head_read = true;
            connection.head_deadline = NEVER;
            connection.body_deadline = CLOCK::now() + limits.body_time;
        }
        if (connection.in.size() < connection.head.content_length) return;
        KOVA_HTTP_JOB job{id, connection.first_place + connection.slots.size(), std::move(connection.head.request)};
        job.request.body = connection.in.substr(0, connection.head.content_length);
        connection.in.erase(0, connection.head.content_length);
        connection.head_read = false;
        connection.body_deadline = NEVER;
        connection.head_deadline = connection.in.empty() ? NEVER : CLOCK::now() + limits.head_time;
        connection.reading_done = !job.request.keep_alive;
        connection.slots.emplace_back();
        workers.add(std::move(job));
    }
}

// Answers the connection layer's refusal after the answers before it, and
// closes the connection then: what follows in it cannot be read.
void KOVA_HTTP_SERVER::STATE::refuse(CONNECTION& connection, int status, const std::string& problem) {
    connection.slots.push_back({true, kova_http_response_bytes(refusal(status, problem), false, false), true});
    connection.reading_done = true;
    connection.in.clear();
    connection.head_read = false;
    connection.head_deadline = connection.body_deadline = NEVER;
    write(connection);
}

// Puts each finished answer in its slot, and writes what is ready.
void KOVA_HTTP_SERVER::STATE::place_answers(std::vector<KOVA_HTTP_ANSWER> answers) {
    for (KOVA_HTTP_ANSWER& answer : answers) {
        const auto found = connections.find(answer.connection);
        if (found == connections.end()) continue;  // closed while it was answered
        CONNECTION& connection = found->second;
        SLOT& slot = connection.slots[answer.place - connection.first_place];
        slot = {true, std::move(answer.bytes), answer.close};
        write(connection);
    }
}

// Moves the answers ready at the front to the output, in order, and sends
// what the socket takes.
void KOVA_HTTP_SERVER::STATE::write(CONNECTION& connection) {
    while (!connection.slots.empty() && connection.slots.front().ready && !connection.close_after_out) {
        if (connection.sent == connection.out.size()) connection.out.clear(), connection.sent = 0;
        connection.out += connection.slots.front().bytes;
        connection.close_after_out = connection.slots.front().close;
        connection.slots.pop_front();
        ++connection.first_place;
    }
    while (connection.sent < connection.out.size()) {
        const ssize_t sent = send(connection.socket, connection.out.data() + connection.sent,
                                  connection.out.size() - connection.sent, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) connection.broken = true;
        if (sent <= 0) break;
        connection.sent += static_cast<std::size_t>(sent);
        connection.last_used = CLOCK::now();
    }
}

// The time by which the connection must have moved on.
TIME KOVA_HTTP_SERVER::STATE::deadline(const CONNECTION& connection) const {
    if (connection.draining && !connection.broken) return connection.drain_deadline;
    if (connection.finished()) return TIME::min();
    if (connection.sent < connection.out.size()) return connection.last_used + limits.write_time;
    // Requests not yet answered: none is read meanwhile when there are
    // as many as pipelined.
    if (connection.slots.size() >= limits.pipelined) return NEVER;
    if (connection.head_read) return connection.body_deadline;
    if (!connection.in.empty()) return connection.head_deadline;
    if (!connection.slots.empty()) return NEVER;  // its workers are answering
    return connection.last_used + limits.idle_time;
}

// Whether the connection is to be closed now: it failed, its draining
// ended, or a deadline passed; once its answers are all written and no
// more are coming, it starts draining. A late head or body is answered 408
// first.
bool KOVA_HTTP_SERVER::STATE::expired(CONNECTION& connection, TIME now) {
    if (connection.broken) return true;
    if (connection.draining) return now >= connection.drain_deadline;
    if (connection.finished()) {
        shutdown(connection.socket, SHUT_WR);
        connection.draining = true;
        connection.drain_deadline = now + std::chrono::seconds(1);
        return false;
    }
    if (deadline(connection) > now) return false;
    if (connection.sent < connection.out.size() || connection.idle()) return true;
    refuse(connection, 408,
           connection.head_read
               ? "the request body did not arrive within " + duration_text(limits.body_time) + " of its head"
               : "the request head did not arrive within " + duration_text(limits.head_time));
    return false;
}

void KOVA_HTTP_SERVER::STATE::close(std::uint64_t id) {
    const auto found = connections.find(id);
    if (found == connections.end()) return;
    ::close(found->second.socket);
    connections.erase(found);
}
