// The escape scheme that carries arbitrary bytes in JSON strings.
#include "session/json_text.h"

#include "host/kova_stl.h"

namespace {

// U+FFFD REPLACEMENT CHARACTER in UTF-8: the escape character.
constexpr std::string_view k_escape = "\xEF\xBF\xBD";

bool escape_at(std::string_view text, std::size_t at) { return text.substr(at, k_escape.size()) == k_escape; }

}  // namespace

std::string kova_json_safe(std::string_view bytes) {
    std::string safe;
    safe.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = kova_utf8_length(bytes, at);
        if (length == 0) {
            const unsigned char byte = static_cast<unsigned char>(bytes[at]);
            safe.append(k_escape);
            safe.push_back(KOVA_HEX_DIGITS[byte >> 4]);
            safe.push_back(KOVA_HEX_DIGITS[byte & 0xF]);
            at += 1;
            continue;
        }
        if (escape_at(bytes, at)) safe.append(k_escape);  // the escape character stands for itself when doubled
        safe.append(bytes.substr(at, length));
        at += length;
    }
    return safe;
}

std::string kova_json_restore(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (!escape_at(text, at)) {
            bytes.push_back(text[at++]);
            continue;
        }
        const std::size_t after = at + k_escape.size();
        if (escape_at(text, after)) {
            bytes.append(k_escape);
            at = after + k_escape.size();
        } else if (after + 2 <= text.size() && kova_hex_digit_value(text[after]) >= 0 &&
                   kova_hex_digit_value(text[after + 1]) >= 0) {
            bytes.push_back(
                static_cast<char>(kova_hex_digit_value(text[after]) * 16 + kova_hex_digit_value(text[after + 1])));
            at = after + 2;
        } else {
            bytes.append(k_escape);  // a lone escape character is kept as it is
            at = after;
        }
    }
    return bytes;
}

nlohmann::json kova_json_text(std::string_view bytes) { return nlohmann::json(kova_json_safe(bytes)); }

nlohmann::json kova_json_text_or_null(std::string_view bytes) {
    return bytes.empty() ? nlohmann::json(nullptr) : kova_json_text(bytes);
}
