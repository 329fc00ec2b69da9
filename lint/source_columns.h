// Where a token of a field's text was written: the reader gives the place
// of each field's first character, and a finding about one token of the
// text is moved from there along the file as written, where an entity
// reference ("&lt;") or a CDATA marker stands for fewer bytes of the text
// than it takes in the file and a field element's text may run over
// several lines. The files are read once per lint and kept.
#ifndef KOVA_LINT_SOURCE_COLUMNS_H
#define KOVA_LINT_SOURCE_COLUMNS_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "host/source_table.h"

class KOVA_LINT_SOURCES {
public:
    // The place of the byte at offset in the text of the field that
    // starts at field. The field's own place when the file cannot be read
    // or the place is not in it (a file changed since it was read).
    KOVA_SOURCE_LOCATION advance(const KOVA_SOURCE_LOCATION& field, std::size_t offset);
    // The line of place's file as written, without its line end; "" when
    // the file cannot be read or has no such line.
    std::string line_text(const KOVA_SOURCE_LOCATION& place);

private:
    struct FILE_TEXT {
        bool read = false;
        std::string text;
        std::vector<std::size_t> lines;  // where each line starts, line 1 first
    };
    const FILE_TEXT& file(const std::string& path);

    std::map<std::string, FILE_TEXT> m_files;
};

#endif
