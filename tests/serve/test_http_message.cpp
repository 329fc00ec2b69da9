// kova serve's reading of request heads, against heads a browser, a script
// or a hostile client sends: what each gives (the request or the refusal),
// and the bytes of an answer.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "serve/http_message.h"

namespace {

constexpr std::size_t MAX_BODY = 100;

// A head and what reading it gives: "METHOD path ?query length keep|close +BYTES AFTER" of a complete
// head, "incomplete", or "bad STATUS".
struct HEAD_CASE { const char* what; std::string bytes, read; };

// What a head read from bytes gives, as HEAD_CASE writes it.
std::string reading(const std::string& bytes) {
    const KOVA_HTTP_HEAD head = kova_http_read_head(bytes, MAX_BODY);
    if (head.state == KOVA_HTTP_HEAD::INCOMPLETE) return "incomplete";
    if (head.state == KOVA_HTTP_HEAD::BAD) return "bad " + std::to_string(head.status);
    return head.request.method + " " + head.request.path + " ?" + head.request.query + " " +
           std::to_string(head.content_length) + (head.request.keep_alive ? " keep" : " close") + " +" +
           bytes.substr(head.size);
}

TEST(HttpMessage, HeadsAreReadOrRefused) {
    const std::string big(KOVA_HTTP_MAX_HEAD, 'x');
    const HEAD_CASE cases[] = {
        {"a GET", "GET / HTTP/1.1\r\nHost: a\r\n\r\n", "GET / ? 0 keep +"},
        {"bare line feeds", "GET /x HTTP/1.1\nHost: a\n\n", "GET /x ? 0 keep +"},
        {"blank lines before it", "\r\n\r\nGET / HTTP/1.1\r\n\r\n", "GET / ? 0 keep +"},
        {"a POST with a body", "POST /api/v HTTP/1.1\r\nContent-Length: 12\r\n\r\n{}", "POST /api/v ? 12 keep +{}"},
        {"a query and an encoded path", "POST /a%20b?file=x%2By HTTP/1.1\r\n\r\n", "POST /a b ?file=x%2By 0 keep +"},
        {"Connection: close", "GET / HTTP/1.1\r\nConnection: Keep-Alive, Close\r\n\r\n", "GET / ? 0 close +"},
        {"HTTP/1.0", "GET / HTTP/1.0\r\n\r\n", "GET / ? 0 close +"},
        {"HTTP/1.0 kept alive", "GET / HTTP/1.0\r\nconnection: keep-alive\r\n\r\n", "GET / ? 0 keep +"},
        {"the same length twice", "POST / HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 5\r\n\r\n",
         "POST / ? 5 keep +"},
        {"the largest body", "POST / HTTP/1.1\r\nContent-Length: 00100\r\n\r\n", "POST / ? 100 keep +"},
        {"no blank line yet", "GET / HTTP/1.1\r\nHost: a\r\n", "incomplete"},
        {"half a request line", "GE", "incomplete"},
        {"nothing", "", "incomplete"},
        {"two lengths", "POST / HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n", "bad 400"},
        {"a signed length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", "bad 400"},
        {"a body too large", "POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n", "bad 413"},
        {"a length beyond any number", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n",
         "bad 413"},
        {"a chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", "bad 501"},
        {"HTTP/2 in the request line", "GET / HTTP/2.0\r\n\r\n", "bad 505"},
        {"no version", "GET /\r\n\r\n", "bad 400"},
        {"a target without a slash", "GET http://a/ HTTP/1.1\r\n\r\n", "bad 400"},
        {"two blanks in the request line", "GET  / HTTP/1.1\r\n\r\n", "bad 400"},
        {"a header without a colon", "GET / HTTP/1.1\r\nHost a\r\n\r\n", "bad 400"},
        {"a blank in a header name", "GET / HTTP/1.1\r\nHo st: a\r\n\r\n", "bad 400"},
        {"a folded header", "GET / HTTP/1.1\r\nX: a\r\n b\r\n\r\n", "bad 400"},
        {"a control byte in a value", std::string("GET / HTTP/1.1\r\nX: a\x01\r\n\r\n"), "bad 400"},
        {"a head too long, unfinished", "GET /" + big, "bad 431"},
        {"a head too long, finished", "GET / HTTP/1.1\r\nX: " + big + "\r\n\r\n", "bad 431"},
    };
    for (const HEAD_CASE& c : cases) EXPECT_EQ(reading(c.bytes), c.read) << c.what;
}

TEST(HttpMessage, HeadersAndParametersAreFoundByName) {
    const KOVA_HTTP_HEAD head = kova_http_read_head(
        "POST /api/load?x=1&file=a+b%26c.settings&empty= HTTP/1.1\r\nOrigin: "
        "o\r\nHOST:  h:1 \r\norigin: p\r\n\r\n",
        MAX_BODY);
    ASSERT_EQ(head.state, KOVA_HTTP_HEAD::COMPLETE);
    const KOVA_HTTP_REQUEST& request = head.request;
    EXPECT_EQ(request.header("host"), "h:1");
    EXPECT_EQ(request.header("origin"), "o");
    EXPECT_EQ(request.header_count("origin"), 2u);
    EXPECT_EQ(request.header_count("cookie"), 0u);
    EXPECT_EQ(request.param("file"), "a b&c.settings");
    EXPECT_EQ(request.param("x"), "1");
    EXPECT_EQ(request.param("empty"), "");
    EXPECT_EQ(request.param("none"), "");
}

// Only a client that takes gzip gets it, and only for a body long enough
// to gain; what it gets unpacks to the body.
TEST(HttpMessage, AnswersAreCompressedForClientsThatTakeGzip) {
    const std::string long_body(5000, 'a');
    const struct { const char* accept; std::string body; bool compressed; } cases[] = {
        {"gzip, deflate, br", long_body, true}, {"br;q=1.0, GZIP;q=0.5", long_body, true},
        {"deflate, br", long_body, false},      {"", long_body, false},                   {"gzip", "{}", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accept);
        KOVA_HTTP_REQUEST request;
        request.headers = {{"accept-encoding", c.accept}};
        KOVA_HTTP_RESPONSE response;
        response.body = c.body;
        kova_http_gzip(request, response);
        EXPECT_EQ(response.headers.size(), c.compressed ? 2u : 0u);
        if (!c.compressed) {
            EXPECT_EQ(response.body, c.body);
            continue;
        }
        EXPECT_LT(response.body.size(), c.body.size() / 10);
        z_stream stream{};
        ASSERT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
        std::string unpacked(c.body.size() + 1, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(response.body.data());
        stream.avail_in = static_cast<uInt>(response.body.size());
        stream.next_out = reinterpret_cast<Bytef*>(unpacked.data());
        stream.avail_out = static_cast<uInt>(unpacked.size());
        EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
        unpacked.resize(stream.total_out);
        inflateEnd(&stream);
        EXPECT_EQ(unpacked, c.body);
    }
}

TEST(HttpMessage, AnswerBytes) {
    KOVA_HTTP_RESPONSE response;
    response.status = 404;
    response.body = "{}";
    response.set_header("X-A", "b");
    EXPECT_EQ(kova_http_response_bytes(response, false, true),
              "HTTP/1.1 404 Not Found\r\nX-A: b\r\nContent-Type: "
              "application/json\r\nContent-Length: 2\r\n\r\n{}");
    // A HEAD answer states the body's length but carries none.
    EXPECT_EQ(kova_http_response_bytes(response, true, false),
              "HTTP/1.1 404 Not Found\r\nX-A: b\r\nContent-Type: "
              "application/json\r\nContent-Length: 2\r\n"
              "Connection: close\r\n\r\n");
}

}  // namespace
