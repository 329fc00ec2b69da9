// A finding about a token is placed by walking its field as written: entity
// references and CDATA markers take more bytes in the file than in the text,
// and a field element's text may run over lines.
#include <gtest/gtest.h>

#include "lint/source_columns.h"
#include "tests/support/test_support.h"

TEST(SourceColumns, TokenPlacesAlongTheFieldAsWritten) {
    // The field starts at line 2, column 10 of each file (after "<a x=\"" and 3 blanks).
    const struct { const char* field; std::size_t offset; uint32_t line, column; } cases[] = {
        {"A gt 1\"/>", 5, 2, 15},
        {"A &lt; 1\"/>", 4, 2, 17},          // "<" is written as 4 more bytes
        {"A &#x3b1; B\"/>", 5, 2, 20},       // a 2-byte character written as "&#x3b1;"
        {"A &amp;&amp; B\"/>", 5, 2, 23},
        {"A gt\n  B\"/>", 7, 3, 3},           // the text runs onto the next line
        {"A gt\r\n  B\"/>", 7, 3, 3},
        {"<![CDATA[A < B]]>", 4, 2, 23},
        {"A\"/>", 40, 2, 10},                  // past the file's end: the field itself
        {"A &#x3b1; B\"/>", 3, 2, 10},         // inside a character: the field itself
    };
    for (const auto& c : cases) {
        const std::string path = write_temp_file("columns.xml", std::string("<m>\n<a x=\"   ") + c.field + "\n</m>\n");
        KOVA_LINT_SOURCES sources;
        const KOVA_SOURCE_LOCATION place = sources.advance({path, 2, 10}, c.offset);
        EXPECT_EQ(place.line, c.line) << c.field;
        EXPECT_EQ(place.column, c.column) << c.field;
    }
}
