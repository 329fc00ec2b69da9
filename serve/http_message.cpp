// Reading request heads and writing responses (serve/http_message.h).
// The head is read anew from the start of the buffer each time bytes
// arrive; a head is at most KOVA_HTTP_MAX_HEAD bytes, so that costs little.
#include "serve/http_message.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// A character of a method or header name (RFC 9110's tchar).
bool is_token_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool is_token(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), is_token_char); }

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// %XX becomes its byte; a '%' not followed by two hex digits stays.
std::string percent_decode(std::string_view text, bool plus_is_blank) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hex_digit(text[i + 1]) : -1;
        const int low = high >= 0 ? hex_digit(text[i + 2]) : -1;
        if (low >= 0) {
            result += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            result += plus_is_blank && text[i] == '+' ? ' ' : text[i];
        }
    }
    return result;
}

// The comma-separated items of a header value, in lower case, each without
// its parameters (";q=...").
std::vector<std::string> list_items(const std::string& value) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        const std::string_view item(value.data() + start, comma - start);
        items.push_back(lower(trim(item.substr(0, item.find(';')))));
        start = comma + 1;
    }
    return items;
}

KOVA_HTTP_HEAD bad(int status, std::string problem) {
    KOVA_HTTP_HEAD head;
    head.state = KOVA_HTTP_HEAD::BAD;
    head.status = status;
    head.problem = std::move(problem);
    return head;
}

// "METHOD /target HTTP/1.x" into the request: 0, or the status of the
// refusal (400 malformed, 505 another version).
int read_request_line(std::string_view line, KOVA_HTTP_REQUEST& request, int& minor_version) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) return 400;
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, second - first - 1);
    const std::string_view version = line.substr(second + 1);
    if (!is_token(method) || target.empty() || target.front() != '/') return 400;
    if (version.size() != 8 || version.compare(0, 5, "HTTP/") != 0 || version[6] != '.') return 400;
    if (version[5] != '1' || (version[7] != '0' && version[7] != '1')) return 505;
    minor_version = version[7] - '0';
    request.method = std::string(method);
    const std::size_t question = target.find('?');
    request.path = percent_decode(target.substr(0, question), false);
    if (question != std::string_view::npos) request.query = std::string(target.substr(question + 1));
    return 0;
}

// "Name: value" into the request's headers; false when malformed.
bool read_header_line(std::string_view line, KOVA_HTTP_REQUEST& request) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !is_token(line.substr(0, colon))) return false;
    const std::string_view value = trim(line.substr(colon + 1));
    const bool controls = std::any_of(value.begin(), value.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 32 && c != '\t') || c == 127;
    });
    if (controls) return false;
    request.headers.emplace_back(lower(line.substr(0, colon)), std::string(value));
    return true;
}

// Every Content-Length the same string of digits, at most max_body.
KOVA_HTTP_HEAD read_body_length(KOVA_HTTP_HEAD head, std::size_t max_body) {
    if (head.request.header_count("transfer-encoding"))
        return bad(501,
                   "a request body must come with a Content-Length, not a "
                   "Transfer-Encoding");
    std::string length;
    for (const auto& [name, value] : head.request.headers) {
        if (name != "content-length") continue;
        const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || (!length.empty() && value != length)) return bad(400, "the Content-Length is not one number");
        length = value;
    }
    const std::size_t start = std::min(length.find_first_not_of('0'), length.size());
    if (length.size() - start > 9 || (!length.empty() && std::stoul(length) > max_body))
        return bad(413, "the request body is too large");
    head.content_length = length.empty() ? 0 : std::stoul(length);
    return head;
}

// Whether the connection stays open after the answer.
bool keeps_alive(const KOVA_HTTP_REQUEST& request, int minor_version) {
    const std::vector<std::string> options = list_items(request.header("connection"));
    const auto has = [&options](const char* option) {
        return std::find(options.begin(), options.end(), option) != options.end();
    };
    return minor_version == 1 ? !has("close") : has("keep-alive");
}

// The lines of a complete head, request line first, into a request.
KOVA_HTTP_HEAD read_lines(const std::vector<std::string_view>& lines, std::size_t size, std::size_t max_body) {
    KOVA_HTTP_HEAD head;
    int minor_version = 1;
    if (const int status = read_request_line(lines.front(), head.request, minor_version))
        return bad(status,
                   status == 505 ? "only HTTP/1.0 and HTTP/1.1 are spoken here" : "the request line is malformed");
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!read_header_line(lines[i], head.request)) return bad(400, "a header line is malformed");
    head.request.keep_alive = keeps_alive(head.request, minor_version);
    head.state = KOVA_HTTP_HEAD::COMPLETE;
    head.size = size;
    return read_body_length(std::move(head), max_body);
}

}  // namespace

std::string KOVA_HTTP_REQUEST::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (key == name) return value;
    return "";
}

std::size_t KOVA_HTTP_REQUEST::header_count(const std::string& name) const {
    return std::count_if(headers.begin(), headers.end(), [&name](const auto& field) { return field.first == name; });
}

std::string KOVA_HTTP_REQUEST::param(const std::string& name) const {
    std::size_t start = 0;
    while (start <= query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        const std::string_view item(query.data() + start, end - start);
        const std::size_t equals = std::min(item.find('='), item.size());
        if (percent_decode(item.substr(0, equals), true) == name)
            return equals < item.size() ? percent_decode(item.substr(equals + 1), true) : "";
        start = end + 1;
    }
    return "";
}

KOVA_HTTP_HEAD kova_http_read_head(std::string_view bytes, std::size_t max_body) {
    // Blank lines before a request line are skipped, as a client may send
    // one after a body.
    std::size_t position = std::min(bytes.find_first_not_of("\r\n"), bytes.size());
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t newline = bytes.find('\n', position);
        if (newline == std::string_view::npos ? bytes.size() > KOVA_HTTP_MAX_HEAD : newline >= KOVA_HTTP_MAX_HEAD)
            return bad(431, "the request head is too large");
        if (newline == std::string_view::npos) return KOVA_HTTP_HEAD{};
        std::string_view line = bytes.substr(position, newline - position);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        position = newline + 1;
        if (line.empty()) break;
        if (!lines.empty() && (line.front() == ' ' || line.front() == '\t'))
            return bad(400, "folded header lines are not taken");
        lines.push_back(line);
    }
    return read_lines(lines, position, max_body);
}

const char* kova_http_reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Unknown";
    }
}

std::string kova_http_response_bytes(const KOVA_HTTP_RESPONSE& response, bool head_only, bool keep_alive) {
    std::string bytes =
        "HTTP/1.1 " + std::to_string(response.status) + " " + kova_http_reason(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers) bytes += name + ": " + value + "\r\n";
    if (!response.content_type.empty()) bytes += "Content-Type: " + response.content_type + "\r\n";
    bytes += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    if (!keep_alive) bytes += "Connection: close\r\n";
    bytes += "\r\n";
    if (!head_only) bytes += response.body;
    return bytes;
}

void kova_http_gzip(const KOVA_HTTP_REQUEST& request, KOVA_HTTP_RESPONSE& response) {
    const std::vector<std::string> accepted = list_items(request.header("accept-encoding"));
    if (response.body.size() < 1024 || std::find(accepted.begin(), accepted.end(), "gzip") == accepted.end()) return;
    z_stream stream{};
    // Level 1: most of the gain of gzip on JSON at a small part of its time.
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    std::string packed(deflateBound(&stream, response.body.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(response.body.data());
    stream.avail_in = static_cast<uInt>(response.body.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (!done) return;
    response.body = std::move(packed);
    response.set_header("Content-Encoding", "gzip");
    response.set_header("Vary", "Accept-Encoding");
}
