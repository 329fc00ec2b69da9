// Places in a document as the protocol counts them and as this system
// does: the protocol gives a line from 0 and a character in UTF-16 code
// units, the description's source table a line and a byte column from 1.
// Also the file: URIs of documents and the names a cursor stands on.
#ifndef KOVA_LSP_TEXT_PLACES_H
#define KOVA_LSP_TEXT_PLACES_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/source_table.h"

// A document's text split at "\n" (a "\r" before it belongs to no line).
class KOVA_LSP_LINES {
public:
    explicit KOVA_LSP_LINES(std::string text = std::string());
    const std::string& text() const { return m_text; }
    std::size_t count() const { return m_starts.size(); }
    // Line index from 0, without its end; "" past the last line.
    std::string_view line(std::size_t index) const;

private:
    std::string m_text;
    std::vector<std::size_t> m_starts;  // where each line starts
};

// UTF-16 code units of the first bytes of line (a byte that is not UTF-8 counts one).
std::size_t kova_utf16_length(std::string_view line, std::size_t bytes);
// The bytes of line that the first units UTF-16 code units take.
std::size_t kova_utf16_bytes(std::string_view line, std::size_t units);

// "file://" and the path, percent-encoded where needed; the path of such
// a URI ("" for any other scheme).
std::string kova_lsp_uri_of(const std::string& path);
std::string kova_lsp_path_of(const std::string& uri);

// Whether c may be part of a name of the expression language (letters,
// digits, "_" and "-").
bool kova_lsp_name_char(char c);

// The name of the expression language around byte at of text: [begin,
// end) in begin and end; false when at stands on no name (a word with no
// letter, such as a number, is none).
bool kova_lsp_name_at(std::string_view text, std::size_t at, std::size_t& begin, std::size_t& end);

// The protocol range of the token at a place of the source table on
// lines: a name, a run of operator characters or one character; the whole
// line when the column is unknown.
nlohmann::json kova_lsp_token_range(const KOVA_LSP_LINES& lines, const KOVA_SOURCE_LOCATION& place);

// The protocol range of length bytes at place.
nlohmann::json kova_lsp_range(const KOVA_LSP_LINES& lines, const KOVA_SOURCE_LOCATION& place, std::size_t length);

#endif
