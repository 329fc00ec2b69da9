// Places in a description file's text: the line index and the scans of
// start tags and field texts that the source table needs.
#include "host/source_positions.h"

#include <algorithm>
#include <limits>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

uint32_t clamped(std::size_t number) {
    return static_cast<uint32_t>(std::min<std::size_t>(number, std::numeric_limits<uint32_t>::max()));
}

std::size_t skip_blanks(std::string_view text, std::size_t at) {
    while (at < text.size() && is_blank(text[at])) ++at;
    return at;
}

// An attribute name or a tag name ends at a blank, "=", "/" or ">".
std::size_t skip_name(std::string_view text, std::size_t at) {
    while (at < text.size() && !is_blank(text[at]) && text[at] != '=' && text[at] != '/' && text[at] != '>') ++at;
    return at;
}

// The length of a character reference at at that stands for a blank, a
// tab or a line break ("&#32;", "&#x0A;"); 0 for anything else.
std::size_t blank_reference_length(std::string_view text, std::size_t at) {
    if (text.compare(at, 2, "&#") != 0) return 0;
    std::size_t end = at + 2;
    const bool hex = end < text.size() && text[end] == 'x';
    if (hex) ++end;
    unsigned long value = 0;
    const std::size_t digits = end;
    // Eight digits hold every character XML allows, leading zeros aside;
    // the count stays bounded so a long run of zeros cannot overflow.
    for (; end < text.size() && end - digits < 16; ++end) {
        const char c = text[end];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    if (end == digits || end >= text.size() || text[end] != ';') return 0;
    const bool blank = value == ' ' || value == '\t' || value == '\n' || value == '\r';
    return blank ? end + 1 - at : 0;
}

}  // namespace

TEXT_LINES::TEXT_LINES(std::string_view text) {
    m_starts.push_back(0);
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        m_starts.push_back(at + 1);
}

std::size_t TEXT_LINES::line_index(std::size_t offset) const {
    // Lines looked at from the last answer on before searching them all.
    constexpr std::size_t k_lines_tried = 4;
    std::size_t index = m_last;
    if (m_starts[index] <= offset) {
        for (std::size_t tried = 0; tried < k_lines_tried; ++tried, ++index)
            if (index + 1 == m_starts.size() || m_starts[index + 1] > offset) return m_last = index;
    }
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    return m_last = static_cast<std::size_t>(after - m_starts.begin()) - 1;
}

TEXT_PLACE TEXT_LINES::place_of(std::size_t offset) const {
    const std::size_t index = line_index(offset);
    return {clamped(index + 1), clamped(offset - m_starts[index] + 1)};
}

void attribute_value_offsets(std::string_view text, std::size_t tag_start, std::vector<std::size_t>& offsets) {
    offsets.clear();
    std::size_t at = skip_name(text, tag_start + 1);
    for (;;) {
        at = skip_blanks(text, at);
        if (at >= text.size() || text[at] == '/' || text[at] == '>') return;
        at = skip_blanks(text, skip_name(text, at));
        if (at >= text.size() || text[at] != '=') return;  // not a well-formed tag
        at = skip_blanks(text, at + 1);
        if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) return;
        const std::size_t close = text.find(text[at], at + 1);
        if (close == std::string_view::npos) return;
        offsets.push_back(at + 1);
        at = close + 1;
    }
}

std::size_t skip_text_blanks(std::string_view text, std::size_t offset, bool references) {
    for (;;) {
        offset = skip_blanks(text, offset);
        const std::size_t reference = references && offset < text.size() ? blank_reference_length(text, offset) : 0;
        if (reference == 0) return offset;
        offset += reference;
    }
}
