// The language server's text helpers and message framing, as tables:
// UTF-16 columns, file URIs, the name under a cursor, and frames read
// from a client's stream, bad ones included.
#include <sstream>

#include <gtest/gtest.h>

#include "lsp/message_io.h"
#include "lsp/text_places.h"

TEST(LspTextPlaces, Utf16ColumnsAndBytes) {
    const struct { std::string line; std::size_t bytes, units; } cases[] = {
        {"abc", 2, 2},
        {"\xC3\xA9x", 2, 1},               // é: two bytes, one unit
        {"\xF0\x9D\x95\x8Fx", 4, 2},       // a character beyond the BMP: four bytes, two units
        {"\xFFx", 1, 1},                   // a byte that is not UTF-8 counts one
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kova_utf16_length(c.line, c.bytes), c.units) << c.line;
        EXPECT_EQ(kova_utf16_bytes(c.line, c.units), c.bytes) << c.line;
    }
}

TEST(LspTextPlaces, UrisAndPaths) {
    const struct { std::string path, uri; } both_ways[] = {
        {"/a/b.xml", "file:///a/b.xml"},
        {"/my files/x%.xml", "file:///my%20files/x%25.xml"},
    };
    for (const auto& c : both_ways) {
        EXPECT_EQ(kova_lsp_uri_of(c.path), c.uri);
        EXPECT_EQ(kova_lsp_path_of(c.uri), c.path);
    }
    for (const std::string uri : {"untitled:1", "file://host/a.xml", "https://x/a.xml"})
        EXPECT_EQ(kova_lsp_path_of(uri), "") << uri;
}

TEST(LspTextPlaces, NameUnderTheCursor) {
    const struct { std::string text; std::size_t at; std::string name; } cases[] = {
        {"WIDTH + 1", 2, "WIDTH"}, {"WIDTH + 1", 5, "WIDTH"}, {"a -b", 3, "b"},
        {"2nd_port gt 4", 0, "2nd_port"}, {"x-y == 1", 1, "x-y"}, {"12 + 3", 1, ""}, {"(  )", 2, ""},
    };
    for (const auto& c : cases) {
        std::size_t begin, end;
        const bool found = kova_lsp_name_at(c.text, c.at, begin, end);
        EXPECT_EQ(found ? c.text.substr(begin, end - begin) : "", c.name) << c.text << " at " << c.at;
    }
}

TEST(LspMessageIo, FramesReadFromAStream) {
    const struct { std::string stream; std::vector<std::string> read; } cases[] = {
        {"Content-Length: 2\r\n\r\n{}Content-Length: 3\n\n[1]", {"{}", "[1]"}},
        {"\r\ncontent-length:  2\r\nContent-Type: x\r\n\r\n{}", {"{}"}},
        {"Content-Type: x\r\n\r\nContent-Length: 2\r\n\r\n{}", {"bad", "{}"}},
        {"Content-Length: 2x\r\n\r\n", {"bad"}},
        {"Content-Length: 99999999999\r\n\r\n", {"bad"}},
        {"Content-Length: 5\r\n\r\n{}", {}},  // cut short: the end
    };
    for (const auto& c : cases) {
        std::istringstream in(c.stream);
        KOVA_LSP_READER reader(in);
        std::vector<std::string> read;
        std::string body, problem;
        for (KOVA_LSP_READ got; (got = reader.next(body, problem)) != KOVA_LSP_READ::END;)
            read.push_back(got == KOVA_LSP_READ::MESSAGE ? body : "bad");
        EXPECT_EQ(read, c.read) << c.stream;
    }
    EXPECT_EQ(kova_lsp_frame({{"a", "\xFF"}}), "Content-Length: 11\r\n\r\n{\"a\":\"\xEF\xBF\xBD\"}");
}
