// Byte strings in JSON: the safe form of each kind of invalid or special byte sequence, and its way back through
// a JSON document.
#include <gtest/gtest.h>

#include <string>

#include "session/json_text.h"

namespace {

const std::string k_escape = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

TEST(JsonText, SafeFormsAreUtf8AndRestoreTheBytes) {
    const struct { const char* title; std::string bytes; bool utf8; std::string safe; } cases[] = {
        {"ASCII", "DEPTH=32", true, "DEPTH=32"},
        {"valid multi-byte", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", true, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"smallest three-byte and largest four-byte", "\xE0\xA0\x80\xF4\x8F\xBF\xBF", true, "\xE0\xA0\x80\xF4\x8F\xBF\xBF"},
        {"NUL byte", std::string("a\0b", 3), true, std::string("a\0b", 3)},
        {"lone continuation byte", "a\x80" "b", false, "a" + k_escape + "80b"},
        {"byte FF", "\xFF", false, k_escape + "FF"}, {"overlong C0 AF", "\xC0\xAF", false, k_escape + "C0" + k_escape + "AF"},
        {"overlong E0 80 AF", "\xE0\x80\xAF", false, k_escape + "E0" + k_escape + "80" + k_escape + "AF"},
        {"encoded surrogate ED A0 80", "\xED\xA0\x80", false, k_escape + "ED" + k_escape + "A0" + k_escape + "80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false, k_escape + "F4" + k_escape + "90" + k_escape + "80" + k_escape + "80"},
        {"truncated at the end", "x\xE2\x82", false, "x" + k_escape + "E2" + k_escape + "82"},
        {"literal U+FFFD", "a" + k_escape + "b", true, "a" + k_escape + k_escape + "b"},
        {"invalid byte next to U+FFFD", "\xFF" + k_escape, false, k_escape + "FF" + k_escape + k_escape},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(kova_is_utf8(c.bytes), c.utf8);
        const std::string safe = kova_json_safe(c.bytes);
        EXPECT_EQ(safe, c.safe);
        EXPECT_EQ(kova_json_restore(safe), c.bytes);
        // A JSON document holds the safe form, written and read back unchanged.
        EXPECT_EQ(nlohmann::json::parse(kova_json_text(c.bytes).dump()).get<std::string>(), safe);
    }
    // Escapes read back: kept where they stand for no byte.
    const struct { std::string text, bytes; } kept[] = {
        {"a" + k_escape, "a" + k_escape},            // at the end
        {k_escape + "G1", k_escape + "G1"},          // not hex digits
        {k_escape + "F", k_escape + "F"},            // one digit only
        {k_escape + "Fz", k_escape + "Fz"},          // a digit and a letter that is none
        {k_escape + "ff", "\xFF"},                   // lowercase is read too
        {k_escape + "414", "A4"},                    // exactly two digits
    };
    for (const auto& c : kept) EXPECT_EQ(kova_json_restore(c.text), c.bytes) << c.text;
}
