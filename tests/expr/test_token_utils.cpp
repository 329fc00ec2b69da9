// Element tokens, substitution, list and range membership, the corrected
// value of an illegal parameter, and the reserved operator words.
#include <gtest/gtest.h>

#include <string>

#include "expr/token_utils.h"
#include "support/test_support.h"

namespace {

struct ELEMENT_CASE {
    const char* expression;
    const char* token;
    const char* rest;
};

TEST(TokenUtils, ElementTokenSplitsAtDelimitersAndQuotesAfterMarker) {
    const ELEMENT_CASE cases[] = {
        {"A+B", "A", "B"},
        {"(A)", "", "A)"},
        {"", "", ""},
        {"a\tb", "a", "b"},
        {"a<b c", "a<b", "c"},
        {"x.y?z:w", "x.y?z:w", ""},
        {"str(name)", "\"name\"", ""},
        {"STR(name) + 1", "\"name\"", " + 1"},
        {"str(str(x))", "\"\"x\"\"", ")"},
        {"str str abc+d", "\"\"abc\"\"", "d"},
        {"strength+1", "strength", "1"},
        {"str", "\"\"", ""},
    };
    for (const ELEMENT_CASE& c : cases) {
        std::string expression = c.expression;
        EXPECT_EQ(kova_get_element_token(expression), c.token) << c.expression;
        EXPECT_EQ(expression, c.rest) << c.expression;
    }
}

TEST(TokenUtils, ManyMarkerWordsInARowQuoteOnceEach) {
    std::string expression;
    for (int i = 0; i < 100000; ++i) {
        expression += "str ";
    }
    expression += "x";
    const std::string quotes(100000, '"');
    EXPECT_EQ(kova_get_element_token(expression), quotes + "x" + quotes);
}

TEST(TokenUtils, SubstituteReplacesWholeTokensOnly) {
    struct CASE {
        const char* text;
        const char* old_token;
        const char* new_token;
        const char* expected;
    };
    const CASE cases[] = {
        {"A+a*(b)", "a", "W", "W+W*(b)"},
        {"ab+a", "a", "W", "ab+W"},
        {"a+", "a", "x", "x+"},
        {"a.b+a", "a", "x", "a.b+x"},
        {"a  a", "A", "b", "b  b"},
        {"a==b|c", "b", "d", "a==d|c"},
        {"", "a", "x", ""},
    };
    for (const CASE& c : cases) {
        EXPECT_EQ(kova_substitute_string(c.text, c.old_token, c.new_token), c.expected) << c.text;
    }
}

struct MEMBERSHIP_CASE {
    const char* legal;
    const char* token;
    bool expected;
};

TEST(TokenUtils, ListMembershipIsTextualIgnoringCase) {
    const MEMBERSHIP_CASE cases[] = {
        {"", "x", false},   {"", "", false},       {"Abc", "aBC", true}, {"1|2|4", "2", true},
        {"1|2|4", "3", false}, {"01|2", "1", false}, {"a||b", "", true},  {"a|b", "a|b", false},
    };
    for (const MEMBERSHIP_CASE& c : cases) {
        EXPECT_EQ(kova_token_is_in_list(c.legal, c.token), c.expected) << c.legal << " / " << c.token;
    }
}

TEST(TokenUtils, RangeOfTwoDifferentBoundsIsInclusive) {
    const MEMBERSHIP_CASE cases[] = {
        {"1-10", "1", true},
        {"1-10", "10", true},
        {"1-10", "0", false},
        {"1-10", "11", false},
        {" 3-7", "5", true},
        {"0-5", "abc", true},   // a word reads as 0
        {"1-5", "abc", false},
        {"1-5x", "5", true},    // digits are read up to the first other character
        // Texts beyond the 32-bit range clamp to its limit, never wrap.
        {"1-99999999999", "2147483647", true},
        {"0-4294967295", "100", true},
        {"0-4294967295", "4294967295", true},
        {"-", "0", false},
    };
    for (const MEMBERSHIP_CASE& c : cases) {
        EXPECT_EQ(kova_token_is_in_range(c.legal, c.token), c.expected) << c.legal << " / " << c.token;
    }
}

TEST(TokenUtils, SecondRangeReadingAcceptsOnlyWholeIntegerBounds) {
    const MEMBERSHIP_CASE cases[] = {
        {"5-5", "5", true},     {"5-5", "6", false},    {"5-5", "4", false},
        {"1..5", "3", true},    {"1..5", "6", false},   {"-8-7", "-8", true},
        {"-8-7", "8", false},   {"-8--1", "-1", true},  {"-8--1", "0", false},
        {"5", "5", false},      {"5-", "5", false},     {"-5", "-5", false},
        {"1..", "1", false},    {"1|2", "1", false},    {"", "0", false},
        {"a-a", "0", false},    {"USED", "0", false},
    };
    for (const MEMBERSHIP_CASE& c : cases) {
        EXPECT_EQ(kova_token_is_in_range(c.legal, c.token), c.expected) << c.legal << " / " << c.token;
    }
}

TEST(TokenUtils, LastLegalValueIsLastItemOrUpperBound) {
    const std::pair<const char*, const char*> cases[] = {
        {"word", "word"}, {"X|Y|Z", "Z"}, {"3-7", "7"}, {"1|2-5", "2-5"},
        {"a|", "a|"},     {"5-", "5-"},   {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(get_last_legal_value(c.first), c.second) << c.first;
    }
}

TEST(TokenUtils, ReservedKeywordsAreTheEightOperatorWords) {
    const std::pair<const char*, bool> cases[] = {
        {"", false},  {"and", true}, {"AND", true}, {"||", true},  {"&&", true},
        {"GT", true}, {"lt", true},  {"==", true},  {">", true},   {"<", true},
        {"OR", false}, {"!=", false}, {">=", false}, {"<=", false}, {"andx", false},
    };
    VALIDATOR_PROBE validator;
    for (const auto& c : cases) {
        EXPECT_EQ(validator.is_reserved_keyword(c.first), c.second) << c.first;
    }
}

}  // namespace
