// HTTP/1.x messages of kova serve, apart from sockets: reading a request's
// head from the bytes received so far, and writing a response's bytes.
// Only what a browser and the tools send is taken: a request line, header
// fields, and a body of a stated Content-Length (no chunked bodies).
#ifndef KOVA_SERVE_HTTP_MESSAGE_H
#define KOVA_SERVE_HTTP_MESSAGE_H

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The longest request head taken; a longer one is answered 431.
constexpr std::size_t KOVA_HTTP_MAX_HEAD = 16 * 1024;

struct KOVA_HTTP_REQUEST {
    std::string method;
    std::string path;                                          // the target before '?', percent-decoded
    std::string query;                                         // the target after '?', as sent
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case, in order
    std::string body;
    bool keep_alive = true;  // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only if asked

    // The first value of a header (name in lower case), or "".
    std::string header(const std::string& name) const;
    std::size_t header_count(const std::string& name) const;
    // The first value of a query parameter, decoded ('+' is a blank).
    std::string param(const std::string& name) const;
};

// What the head at the start of the bytes received so far gives.
struct KOVA_HTTP_HEAD {
    enum STATE { INCOMPLETE, COMPLETE, BAD } state = INCOMPLETE;
    std::size_t size = 0;            // bytes of the head, its blank line included (COMPLETE)
    std::size_t content_length = 0;  // bytes of body after the head (COMPLETE)
    int status = 0;                  // the answer to a BAD head: 400, 413, 431, 501 or 505
    std::string problem;             // why it is BAD, for the user
    KOVA_HTTP_REQUEST
    request;  // method, path, query, headers, keep_alive (COMPLETE)
};

// Reads a head from the start of bytes; max_body is the largest body taken
// (a larger Content-Length is BAD with 413). Lines may end in CRLF or LF.
KOVA_HTTP_HEAD kova_http_read_head(std::string_view bytes, std::size_t max_body);

struct KOVA_HTTP_RESPONSE {
    int status = 200;
    std::string content_type = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // beyond type, length and connection

    void set_header(const std::string& name, const std::string& value) { headers.emplace_back(name, value); }
};

// The bytes of a response: status line, the headers, Content-Type,
// Content-Length, "Connection: close" unless keep_alive, then the body
// (none for HEAD, whose length still counts the body).
std::string kova_http_response_bytes(const KOVA_HTTP_RESPONSE& response, bool head_only, bool keep_alive);

// The reason phrase of a status code ("OK", "Not Found", ...).
const char* kova_http_reason(int status);

// Compresses the body with gzip at a fast level when the request accepts
// gzip and the body is long enough to gain, and marks the response so.
void kova_http_gzip(const KOVA_HTTP_REQUEST& request, KOVA_HTTP_RESPONSE& response);

#endif
