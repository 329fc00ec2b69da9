// Walking a field's text as written, one byte of the read text at a time.
#include "lint/source_columns.h"

#include <cstdlib>

#include "session/file_io.h"

namespace {

// How many bytes of the read text the written text at raw[at] stands for,
// and how many written bytes that takes (0 read bytes for a CDATA marker).
struct STEP { std::size_t read, written; };

std::size_t utf8_length(unsigned long code) { return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4; }

STEP step_at(const std::string& raw, std::size_t at) {
    static const std::string CDATA_OPEN = "<![CDATA[", CDATA_CLOSE = "]]>";
    if (raw.compare(at, CDATA_OPEN.size(), CDATA_OPEN) == 0) return {0, CDATA_OPEN.size()};
    if (raw.compare(at, CDATA_CLOSE.size(), CDATA_CLOSE) == 0) return {0, CDATA_CLOSE.size()};
    if (raw[at] == '\r' && at + 1 < raw.size() && raw[at + 1] == '\n') return {1, 2};
    if (raw[at] != '&') return {1, 1};
    const std::size_t end = raw.find(';', at);
    if (end == std::string::npos || end - at > 12) return {1, 1};
    // &#NN; and &#xNN; stand for their character's UTF-8 bytes; the named
    // references for one byte each.
    if (raw[at + 1] != '#') return {1, end + 1 - at};
    const bool hex = raw[at + 2] == 'x';
    const unsigned long code = std::strtoul(raw.c_str() + at + (hex ? 3 : 2), nullptr, hex ? 16 : 10);
    return {utf8_length(code), end + 1 - at};
}

}  // namespace

const KOVA_LINT_SOURCES::FILE_TEXT& KOVA_LINT_SOURCES::file(const std::string& path) {
    FILE_TEXT& entry = m_files[path];
    if (entry.read) return entry;
    entry.read = true;
    std::string error;
    if (!kova_read_text_file(path, entry.text, error)) entry.text.clear();
    entry.lines.push_back(0);
    for (std::size_t at = 0; at < entry.text.size(); ++at)
        if (entry.text[at] == '\n') entry.lines.push_back(at + 1);
    return entry;
}

KOVA_SOURCE_LOCATION KOVA_LINT_SOURCES::advance(const KOVA_SOURCE_LOCATION& field, std::size_t offset) {
    if (!field.known() || field.column == 0 || offset == 0) return field;
    const FILE_TEXT& source = file(field.file);
    if (field.line > source.lines.size()) return field;
    KOVA_SOURCE_LOCATION place = field;
    std::size_t at = source.lines[field.line - 1] + field.column - 1;
    const std::string& raw = source.text;
    // Steps on until offset bytes of the text are behind, then over any
    // CDATA marker before the token (it is part of the way, not the token).
    for (std::size_t left = offset;;) {
        if (at >= raw.size()) return left == 0 ? place : field;
        const STEP step = step_at(raw, at);
        if (left == 0 && step.read != 0) break;
        if (step.read > left) return field;  // inside one character: keep the field's place
        if (raw[at + step.written - 1] == '\n') {  // "\n" or "\r\n"
            ++place.line;
            place.column = 1;
        } else {
            place.column += static_cast<uint32_t>(step.written);
        }
        at += step.written;
        left -= step.read;
    }
    return place;
}

std::string KOVA_LINT_SOURCES::line_text(const KOVA_SOURCE_LOCATION& place) {
    if (!place.known()) return std::string();
    const FILE_TEXT& source = file(place.file);
    if (place.line > source.lines.size()) return std::string();
    const std::size_t start = source.lines[place.line - 1];
    std::size_t end = source.text.find('\n', start);
    if (end == std::string::npos) end = source.text.size();
    if (end > start && source.text[end - 1] == '\r') --end;
    return source.text.substr(start, end - start);
}
