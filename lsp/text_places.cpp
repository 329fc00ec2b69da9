// Protocol positions, URIs and names under the cursor (lsp/text_places.h).
#include "lsp/text_places.h"

#include <cctype>
#include <cstdio>

namespace {

// The bytes of the UTF-8 sequence starting with lead and the UTF-16 units
// of its character; a byte that starts no sequence counts one and one.
void sequence_of(unsigned char lead, std::size_t& bytes, std::size_t& units) {
    units = 1;
    if (lead < 0xC0 || lead >= 0xF8) bytes = 1;
    else if (lead < 0xE0) bytes = 2;
    else if (lead < 0xF0) bytes = 3;
    else bytes = 4, units = 2;
}

// Walks line until either the byte count or the unit count reaches its
// limit; answers the bytes and units walked.
void walk(std::string_view line, std::size_t most_bytes, std::size_t most_units, std::size_t& bytes,
          std::size_t& units) {
    bytes = units = 0;
    while (bytes < line.size() && bytes < most_bytes && units < most_units) {
        std::size_t step, width;
        sequence_of(static_cast<unsigned char>(line[bytes]), step, width);
        bytes += step;
        units += width;
    }
    if (bytes > line.size()) bytes = line.size();
}

bool operator_char(char c) { return std::string_view("!%*+,:?()=<>|&/^~").find(c) != std::string_view::npos; }

}  // namespace

KOVA_LSP_LINES::KOVA_LSP_LINES(std::string text) : m_text(std::move(text)) {
    m_starts.push_back(0);
    for (std::size_t at = 0; at < m_text.size(); ++at)
        if (m_text[at] == '\n') m_starts.push_back(at + 1);
}

std::string_view KOVA_LSP_LINES::line(std::size_t index) const {
    if (index >= m_starts.size()) return {};
    const std::size_t start = m_starts[index];
    std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] - 1 : m_text.size();
    if (end > start && m_text[end - 1] == '\r') --end;
    return std::string_view(m_text).substr(start, end - start);
}

std::size_t kova_utf16_length(std::string_view line, std::size_t bytes) {
    std::size_t walked, units;
    walk(line, bytes, static_cast<std::size_t>(-1), walked, units);
    return units;
}

std::size_t kova_utf16_bytes(std::string_view line, std::size_t units) {
    std::size_t bytes, walked;
    walk(line, static_cast<std::size_t>(-1), units, bytes, walked);
    return bytes;
}

std::string kova_lsp_uri_of(const std::string& path) {
    std::string uri = "file://";
    for (const char c : path) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-_.~").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri;
}

std::string kova_lsp_path_of(const std::string& uri) {
    static const std::string scheme = "file://";
    if (uri.compare(0, scheme.size(), scheme) != 0) return "";
    std::string path;
    for (std::size_t at = scheme.size(); at < uri.size(); ++at) {
        if (uri[at] == '%' && at + 2 < uri.size() && std::isxdigit(static_cast<unsigned char>(uri[at + 1])) &&
            std::isxdigit(static_cast<unsigned char>(uri[at + 2]))) {
            path += static_cast<char>(std::stoi(uri.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            path += uri[at];
        }
    }
    // "file://host/path" names a host first; only local paths are served.
    return path.empty() || path[0] != '/' ? "" : path;
}

bool kova_lsp_name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
}

bool kova_lsp_name_at(std::string_view text, std::size_t at, std::size_t& begin, std::size_t& end) {
    if (at > text.size()) return false;
    begin = end = at;
    while (begin > 0 && kova_lsp_name_char(text[begin - 1])) --begin;
    while (end < text.size() && kova_lsp_name_char(text[end])) ++end;
    // A name starts with digits or a letter and holds a letter; "-" ends
    // a name written before a minus sign at the cursor's left.
    while (begin < end && text[begin] == '-') ++begin;
    for (std::size_t i = begin; i < end; ++i)
        if (std::isalpha(static_cast<unsigned char>(text[i]))) return true;
    return false;
}

nlohmann::json kova_lsp_range(const KOVA_LSP_LINES& lines, const KOVA_SOURCE_LOCATION& place, std::size_t length) {
    const std::size_t line = place.line > 0 ? place.line - 1 : 0;
    const std::string_view text = lines.line(line);
    const std::size_t start = place.column > 0 ? std::min<std::size_t>(place.column - 1, text.size()) : 0;
    const std::size_t end = std::min(text.size(), start + length);
    return {{"start", {{"line", line}, {"character", kova_utf16_length(text, start)}}},
            {"end", {{"line", line}, {"character", kova_utf16_length(text, end)}}}};
}

nlohmann::json kova_lsp_token_range(const KOVA_LSP_LINES& lines, const KOVA_SOURCE_LOCATION& place) {
    const std::string_view text = lines.line(place.line > 0 ? place.line - 1 : 0);
    if (place.column == 0) {
        KOVA_SOURCE_LOCATION start = place;
        start.column = 1;
        return kova_lsp_range(lines, start, text.size());
    }
    const std::size_t start = std::min<std::size_t>(place.column - 1, text.size());
    std::size_t end = start;
    if (start < text.size() && kova_lsp_name_char(text[start])) {
        while (end < text.size() && kova_lsp_name_char(text[end])) ++end;
    } else {
        while (end < text.size() && operator_char(text[end])) ++end;
    }
    if (end == start && start < text.size()) ++end;
    return kova_lsp_range(lines, place, end - start);
}
