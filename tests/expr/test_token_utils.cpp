// Element tokens, substitution, list and range membership, the corrected
// value of an illegal parameter, and the reserved operator words.
#include <gtest/gtest.h>

#include "expr/token_utils.h"
#include "support/test_support.h"

namespace {

// Marker words in a row quote once each, however many.
TEST(TokenUtils, ElementTokenSplitsAtDelimitersAndQuotesAfterMarker) {
    std::string markers;
    for (int i = 0; i < 100000; ++i) markers += "str ";
    const std::string cases[][3] = {
        // expression, token, what is left
        {"A+B", "A", "B"},           {"(A)", "", "A)"},          {"", "", ""},
        {"a\tb", "a", "b"},          {"a<b c", "a<b", "c"},      {"x.y?z:w", "x.y?z:w", ""},
        {"str(name)", "\"name\"", ""}, {"STR(n) + 1", "\"n\"", " + 1"}, {"str(str(x))", "\"\"x\"\"", ")"},
        {"strength+1", "strength", "1"}, {"str", "\"\"", ""},
        {markers + "x", std::string(100000, '"') + "x" + std::string(100000, '"'), ""},
    };
    for (const auto& c : cases) {
        std::string expression = c[0];
        EXPECT_EQ(kova_get_element_token(expression), c[1]) << c[0].substr(0, 20);
        EXPECT_EQ(expression, c[2]) << c[0].substr(0, 20);
    }
}

TEST(TokenUtils, SubstituteReplacesWholeTokensOnly) {
    const char* const cases[][4] = {
        // text, old token, new token, result
        {"A+a*(b)", "a", "W", "W+W*(b)"}, {"ab+a", "a", "W", "ab+W"}, {"a+", "a", "x", "x+"},
        {"a.b+a", "a", "x", "a.b+x"},     {"a  a", "A", "b", "b  b"}, {"", "a", "x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(kova_substitute_string(c[0], c[1], c[2]), c[3]) << c[0];
}

struct MEMBERSHIP_CASE {
    const char* legal;
    const char* token;
    bool expected;
};

TEST(TokenUtils, ListMembershipIsTextualIgnoringCase) {
    const MEMBERSHIP_CASE cases[] = {
        {"", "x", false},      {"", "", false},      {"Abc", "aBC", true}, {"1|2|4", "2", true},
        {"1|2|4", "3", false}, {"01|2", "1", false}, {"a||b", "", true},
    };
    for (const auto& c : cases) EXPECT_EQ(kova_token_is_in_list(c.legal, c.token), c.expected) << c.legal << " " << c.token;
}

TEST(TokenUtils, RangeMembership) {
    const MEMBERSHIP_CASE cases[] = {
        // Two different bounds around "-", inclusive, read as atoi reads.
        {"1-10", "1", true}, {"1-10", "10", true}, {"1-10", "0", false}, {"1-10", "11", false},
        {" 3-7", "5", true}, {"0-5", "abc", true}, {"1-5", "abc", false}, {"1-5x", "5", true},
        // Texts beyond the 32-bit range clamp to its limit, never wrap.
        {"1-99999999999", "2147483647", true}, {"0-4294967295", "100", true},
        // The second reading: whole integer bounds around "..", or around
        // a "-" after the first character (equal or negative bounds).
        {"5-5", "5", true}, {"5-5", "6", false}, {"1..5", "3", true}, {"1..5", "6", false},
        {"-8-7", "-8", true}, {"-8-7", "8", false}, {"-8--1", "-1", true}, {"-8--1", "0", false},
        // Anything else is no range.
        {"5", "5", false}, {"5-", "5", false}, {"-5", "-5", false}, {"1..", "1", false},
        {"1|2", "1", false}, {"", "0", false}, {"-", "0", false}, {"a-a", "0", false},
    };
    for (const auto& c : cases) EXPECT_EQ(kova_token_is_in_range(c.legal, c.token), c.expected) << c.legal << " " << c.token;
}

TEST(TokenUtils, LastLegalValueIsLastItemOrUpperBound) {
    const char* const cases[][2] = {
        {"word", "word"}, {"X|Y|Z", "Z"}, {"3-7", "7"}, {"1|2-5", "2-5"}, {"a|", "a|"}, {"5-", "5-"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(get_last_legal_value(c[0]), c[1]) << c[0];
}

TEST(TokenUtils, ReservedKeywordsAreTheEightOperatorWords) {
    const std::pair<const char*, bool> cases[] = {
        {"", false},  {"and", true},  {"AND", true},  {"||", true},   {"&&", true},
        {"GT", true}, {"lt", true},   {"==", true},   {">", true},    {"<", true},
        {"OR", false}, {"!=", false}, {">=", false}, {"<=", false}, {"andx", false},
    };
    VALIDATOR_PROBE validator;
    for (const auto& c : cases) EXPECT_EQ(validator.is_reserved_keyword(c.first), c.second) << c.first;
}

}  // namespace
