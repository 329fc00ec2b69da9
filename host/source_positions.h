// Places in a description file's text, for the source table: byte offsets
// turned into lines and columns, and the offsets of the texts the reader
// takes from a start tag or a field element, which the XML parser does not
// report (it gives the offsets of element names and of text nodes only).
//
// Lines and columns count from 1; a column counts bytes from the start of
// its line, so a multi-byte character before a field moves it by as many
// columns as it has bytes. Lines end at "\n" only.
#ifndef KOVA_SOURCE_POSITIONS_H
#define KOVA_SOURCE_POSITIONS_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct TEXT_PLACE {
    uint32_t line = 0, column = 0;
};

// The start of every line of a text, found once, so that each offset is
// placed by a binary search rather than by counting from the top. The
// reader asks for places mostly in the order of the text, so the line of
// the last answer is tried first, and the few lines after it.
// Not for use by two threads at once (the last answer is remembered).
class TEXT_LINES {
public:
    explicit TEXT_LINES(std::string_view text);
    // The place of a byte offset; offsets beyond the text fall on its end.
    TEXT_PLACE place_of(std::size_t offset) const;

private:
    // The index of the last line start at or before offset.
    std::size_t line_index(std::size_t offset) const;

    std::vector<std::size_t> m_starts;  // ascending; m_starts[0] == 0
    mutable std::size_t m_last = 0;     // the index line_index answered last
};

// The offsets of the first character inside the quotes of each attribute
// value of the start tag that begins with the "<" at tag_start, in the
// order they are written. The tag must be well-formed (the parser has
// accepted it): values may hold ">" and the other kind of quote, "=" may
// have blanks or line breaks around it.
// They go to offsets, which is cleared first, so that a caller that reads
// many tags keeps one vector and its storage.
void attribute_value_offsets(std::string_view text, std::size_t tag_start, std::vector<std::size_t>& offsets);

// The offset of the first character at or after offset that is not a
// blank, a tab or a line break; with references set (character data, not
// CDATA), a character reference to one of those counts as one too, since
// the reader trims the text the references stand for.
std::size_t skip_text_blanks(std::string_view text, std::size_t offset, bool references);

#endif
