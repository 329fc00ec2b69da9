// Fuzz target: kova serve's reading of request heads (serve/http_message.h).
// The input is the bytes a client sent so far. A complete head lies within the
// input and the head limit, its body within the body limit; a head read from a
// shorter part of the same bytes is never complete before its blank line, and a
// refusal of a part is the refusal of the whole, so reading again as bytes
// arrive never changes an answer already given.
#include <algorithm>
#include <cctype>

#include "fuzz/fuzz_model.h"
#include "serve/http_message.h"

namespace {

constexpr std::size_t MAX_BODY = 4096;

void check_complete(const KOVA_HTTP_HEAD& head, std::size_t size) {
    const KOVA_HTTP_REQUEST& request = head.request;
    fuzz_check(head.size <= size && head.size <= KOVA_HTTP_MAX_HEAD + 2, "the head lies within the input");
    fuzz_check(head.content_length <= MAX_BODY, "the body is within its limit");
    fuzz_check(!request.method.empty() && !request.path.empty(), "a method and a path");
    for (const auto& [name, value] : request.headers) {
        fuzz_check(std::none_of(name.begin(), name.end(), [](char c) { return std::isupper((unsigned char)c); }),
                   "header names are in lower case");
        fuzz_check(value.find_first_of("\r\n") == std::string::npos, "no line break in a value");
    }
    request.param("file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const KOVA_HTTP_HEAD whole = kova_http_read_head(input, MAX_BODY);
    if (whole.state == KOVA_HTTP_HEAD::COMPLETE) check_complete(whole, size);
    if (whole.state == KOVA_HTTP_HEAD::BAD) fuzz_check(whole.status >= 400 && !whole.problem.empty(), "a refusal");
    const KOVA_HTTP_HEAD part = kova_http_read_head(input.substr(0, size / 2), MAX_BODY);
    if (whole.state == KOVA_HTTP_HEAD::COMPLETE)
        fuzz_check(part.state != KOVA_HTTP_HEAD::COMPLETE || whole.size <= size / 2, "not complete before its end");
    if (part.state == KOVA_HTTP_HEAD::BAD)
        fuzz_check(whole.state == KOVA_HTTP_HEAD::BAD && whole.status == part.status, "a refusal stands");
    return 0;
}
