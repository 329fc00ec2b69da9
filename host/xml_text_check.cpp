#include "host/xml_text_check.h"

#include <array>
#include <cstdint>

#include "host/kova_stl.h"

namespace {

// The sections in which "&" starts no reference, by how they open and close.
struct LITERAL_SECTION {
    std::string_view open, close;
};
constexpr std::array<LITERAL_SECTION, 3> k_literal_sections{{{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}}};

constexpr std::array<std::string_view, 5> k_predefined_entities{"lt", "gt", "amp", "quot", "apos"};

constexpr uint32_t k_largest_code_point = 0x10FFFF;

bool is_name_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':';
}

// The characters XML allows: tab, line feed, carriage return and the code
// points from U+0020 up, without the surrogates, U+FFFE and U+FFFF.
bool is_xml_character(uint32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= k_largest_code_point);
}

// The code point of the digits of "&#...;" or "&#x...;"; a value beyond
// Unicode stays just above it, so long digit runs cannot overflow. Null
// when the digits are not a number.
std::optional<uint32_t> code_point(std::string_view digits) {
    int radix = 10;
    if (!digits.empty() && digits[0] == 'x') {
        radix = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    uint32_t code = 0;
    for (char c : digits) {
        const int value = kova_hex_digit_value(c);
        if (value < 0 || value >= radix) return std::nullopt;
        code = code > k_largest_code_point ? code : code * static_cast<uint32_t>(radix) + static_cast<uint32_t>(value);
    }
    return code;
}

// The problem of the reference "&body;" ("" when there is none).
std::string reference_problem(std::string_view body) {
    if (body[0] == '#') {
        const std::optional<uint32_t> code = code_point(body.substr(1));
        if (code && is_xml_character(*code)) return "";
        return "character reference \"&" + std::string(body) + ";\" is not a character XML allows";
    }
    for (std::string_view known : k_predefined_entities)
        if (body == known) return "";
    return "unknown entity reference \"&" + std::string(body) +
           ";\" (XML knows &lt; &gt; &amp; &quot; &apos; and character references)";
}

// The first "<" or "&" at or after at; the text's size when there is none.
// A plain loop: the library's search for any of a set of characters
// searches the set once per character of the text.
std::size_t next_markup(std::string_view text, std::size_t at) {
    while (at < text.size() && text[at] != '<' && text[at] != '&') ++at;
    return at;
}

// The length of the reference body that starts right after the "&" at
// text[start - 1]: name characters or "#", up to a ";"; 0 when there is
// no ";" after them, that is when the "&" starts no reference.
std::size_t reference_body_length(std::string_view text, std::size_t start) {
    std::size_t end = start;
    if (end < text.size() && text[end] == '#') ++end;
    while (end < text.size() && is_name_character(text[end])) ++end;
    return end < text.size() && text[end] == ';' && end > start ? end - start : 0;
}

}  // namespace

std::optional<XML_TEXT_PROBLEM> find_xml_text_problem(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) return XML_TEXT_PROBLEM{nul, "the file holds a NUL character"};
    for (std::size_t at = next_markup(text, 0); at < text.size(); at = next_markup(text, at + 1)) {
        if (text[at] == '<') {
            for (const LITERAL_SECTION& section : k_literal_sections) {
                if (text.substr(at, section.open.size()) != section.open) continue;
                const std::size_t close = text.find(section.close, at + section.open.size());
                // An unclosed section is the parser's to report.
                if (close == std::string_view::npos) return std::nullopt;
                at = close + section.close.size() - 1;
                break;
            }
            continue;
        }
        const std::size_t length = reference_body_length(text, at + 1);
        if (length == 0) continue;
        std::string problem = reference_problem(text.substr(at + 1, length));
        if (!problem.empty()) return XML_TEXT_PROBLEM{at, std::move(problem)};
    }
    return std::nullopt;
}
