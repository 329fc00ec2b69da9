// qel_util: tokenising, 32-bit digits and every radix conversion, narrow
// and wide, with unknown digits, signed values and fixed point; and
// kova_atoi, the classic reading of a decimal prefix, clamped to int32.
#include <gtest/gtest.h>

#include <random>

#include "host/kova_atoi.h"
#include "host/qel_util.h"

namespace {

TEST(QelTokens, TakesTextUpToFirstDelimiter) {
    const struct { std::string source, delimiters, token, delimiter, rest; } cases[] = {
        {"A+B", "+-", "A", "+", "B"},     {"+B", "+-", "", "+", "B"}, {"A++B", "+", "A", "+", "+B"},
        {"A-B+C", "+-", "A", "-", "B+C"}, {"AB", "+", "AB", "", ""},  {"", "+", "", "", ""},
        {"A|B", "", "A|B", "", ""},       {"A+", "+", "A", "+", ""},
    };
    for (const auto& c : cases) {  // token, delimiter and the rest left in source, blank-separated
        std::string source = c.source, delimiter = "unset";
        const std::string token = qel_get_token_with_delimiter(source, c.delimiters, delimiter);
        EXPECT_EQ(token + " " + delimiter + " " + source, c.token + " " + c.delimiter + " " + c.rest) << c.source;
        source = c.source;
        EXPECT_EQ(qel_get_token(source, c.delimiters) + " " + source, c.token + " " + c.rest) << c.source;
    }
}

TEST(QelTokens, EntryAtIndex) {
    const struct { std::string list; int index; std::string entry; } cases[] = {
        {"a|b|c", 0, "a"}, {"a|b|c", 2, "c"}, {"a|b|c", 3, ""}, {"a|b|c", -1, ""},
        {"a||c", 1, ""},   {"a||c", 2, "c"},  {"", 0, ""},      {"single", 0, "single"}};
    for (const auto& item : cases)
        EXPECT_EQ(qel_get_token_at_index(item.list, item.index), item.entry) << item.list << " @" << item.index;
}

TEST(QelDigits, IntToString) {
    const struct { uint32_t value; int radix; std::string text; } cases[] = {
        {0, 10, "0"}, {4294967295U, 10, "4294967295"}, {255, 16, "FF"},  {5, 2, "101"},
        {8, 8, "10"}, {255, 1, "255"},                 {255, 17, "255"}, {35, 12, "2B"}};
    for (const auto& item : cases)
        EXPECT_EQ(qel_int_to_string(item.value, item.radix), item.text) << item.value << " radix " << item.radix;
}

struct CONVERSION_CASE { std::string text; int from, to, width; bool accepted; std::string result; };

const std::string TWO_TO_128 = "340282366920938463463374607431768211456";

const CONVERSION_CASE CONVERSION_CASES[] = {
    // Signed, unsigned and truncated to the width.
    {"1010", 0, 2, 4, true, "10"},  {"1010", 0, 1, 4, true, "-6"},  {"-6", 1, 0, 8, true, "11111010"},
    {"-1", 1, 3, 12, true, "FFF"},  {"-1", 1, 3, 5, true, "1F"},    {"128", 1, 1, 8, true, "-128"},
    {"-0", 1, 0, 4, true, "0000"},  {"+7", 1, 2, 4, true, "7"},     {"256", 2, 0, 8, true, "00000000"},
    {"1FF", 3, 3, 8, true, "FF"},   {"1f", 3, 0, 8, true, "00011111"}, {"17", 4, 0, 6, true, "001111"},
    {"11111111", 0, 4, 8, true, "377"}, {"5", 1, 3, 10, true, "005"}, {"2.5", 5, 1, 8, true, "3"},
    {"-2.5", 5, 0, 4, true, "1101"},
    // Width 0: as many digits as the value needs.
    {"1F", 3, 0, 0, true, "11111"}, {"0000", 0, 0, 0, true, "0"},  {"5", 1, 0, 0, true, "101"},
    {"-5", 1, 0, 0, true, "1011"},  {"-4", 1, 0, 0, true, "100"},  {"FB", 3, 1, 0, true, "-5"},
    // Unknown digits; an x is an unknown digit, not a prefix.
    {"1X", 3, 0, 8, true, "0001XXXX"}, {"0001XXXX", 0, 3, 8, true, "1X"}, {"x7", 4, 0, 6, true, "XXX111"},
    {"00X1", 0, 0, 0, true, "X1"},     {"01X0", 0, 2, 4, true, "X"},      {"X", 2, 0, 4, true, "XXXX"},
    {"X", 1, 3, 0, true, "X"},         {"X0", 0, 0, 1, true, "0"}, {"0x1F", 3, 0, 16, true, "0000XXXX00011111"},
    // Not numbers of their radix, and unknown radix codes.
    {"12", 0, 2, 4, false, ""}, {"G", 3, 0, 4, false, ""},   {"8", 4, 0, 4, false, ""},  {"-1", 2, 0, 4, false, ""},
    {"1.5", 1, 0, 4, false, ""}, {"", 0, 2, 4, false, ""},   {"-", 1, 0, 4, false, ""},  {"1 ", 2, 0, 4, false, ""},
    {"XX", 2, 0, 4, false, ""},  {"1", 6, 0, 4, false, ""},  {"1", 0, -1, 4, false, ""},
    // Wider than 64 bits.
    {"36893488147419103231", 2, 0, 65, true, std::string(65, '1')},
    {TWO_TO_128, 2, 3, 0, true, "1" + std::string(32, '0')}, {TWO_TO_128, 2, 3, 128, true, std::string(32, '0')},
    {"-1", 1, 2, 128, true, "340282366920938463463374607431768211455"},
    {"1" + std::string(30, '0'), 2, 3, 0, true, "C9F2C9CD04674EDEA40000000"},
    {"1" + std::string(127, '0'), 0, 1, 128, true, "-170141183460469231731687303715884105728"},
};

TEST(QelRadix, ConvertsBetweenRadices) {
    for (const CONVERSION_CASE& c : CONVERSION_CASES) {
        std::string result = "stale", same = c.text;  // the result may also be written over the text
        EXPECT_EQ(qel_radix_conversion(c.text, result, c.from, c.to, c.width), c.accepted) << c.text << " " << c.to;
        EXPECT_EQ(qel_radix_conversion(same, same, c.from, c.to, c.width), c.accepted) << c.text << " " << c.to;
        EXPECT_EQ(result + " " + same, c.result + " " + c.result) << c.text << " " << c.from << "->" << c.to << " width "
                                                                 << c.width;
    }
}

// -12345 + 2^-100, exactly, and its 200-bit two's complement with 100 bits after the point.
const std::string WIDE_FIXED_TEXT =
    "-12344.9999999999999999999999999999992111390947789881945882714347172137703267935648909769952297210693359375";
const std::string WIDE_FIXED_HEX = "FFFFFFFFFFFFFFFFFFFFFCFC70000000000000000000000001";

TEST(QelRadix, ConvertsFixedPoint) {
    const struct { std::string text; int from, to; std::string format; bool accepted; std::string result; } cases[] = {
        {"-1.25", 5, 0, "8,4", true, "11101100"}, {"11101100", 0, 5, "8,4", true, "-1.25"},
        {"1.5", 5, 3, "8,4", true, "18"},         {"01111111", 0, 5, "8,4", true, "7.9375"},
        {"10000000", 0, 5, "8,4", true, "-8"},    {"0001", 0, 5, "4,8", true, "0.00390625"},
        // Rounded to the nearest step, halves away from zero.
        {"0.03125", 5, 0, "8,4", true, "00000001"}, {"-0.03125", 5, 0, "8,4", true, "11111111"},
        {"0.01", 5, 0, "8,4", true, "00000000"},
        {".5", 5, 0, "4,1", true, "0001"}, {"5.", 5, 2, "4,0", true, "5"},    {"3", 5, 0, "4", true, "0011"},
        {"3", 5, 0, "", true, "11"},       {"1.5", 5, 1, "8,1", true, "3"},   {"FF", 3, 0, "4,0", true, "1111"},
        {"XXXX", 0, 5, "4,2", true, "X"},
        {WIDE_FIXED_TEXT, 5, 3, "200,100", true, WIDE_FIXED_HEX},
        {WIDE_FIXED_HEX, 3, 5, "200,100", true, WIDE_FIXED_TEXT},
        {"1.2.3", 5, 0, "8,4", false, ""}, {"1", 5, 0, "8,x", false, ""}, {"1", 5, 0, "8,", false, ""},
        {"1", 5, 0, ",4", false, ""},      {"1", 5, 0, "-8,4", false, ""},
    };
    for (const auto& item : cases) {
        std::string result = "stale", same = item.text;  // in place too
        EXPECT_EQ(qel_radix_conversion_fixed_point(item.text, result, item.from, item.to, item.format), item.accepted)
            << item.text << " format " << item.format;
        qel_radix_conversion_fixed_point(same, same, item.from, item.to, item.format);
        EXPECT_EQ(result + " " + same, item.result + " " + item.result) << item.text << " format " << item.format;
    }
}

// Binary -> radix -> binary at 100000 bits gives the bits back; with 30103
// decimal digits this also bounds the cost of the decimal work.
TEST(QelRadix, WideValuesRoundTrip) {
    constexpr int WIDTH = 100000;
    std::mt19937 generator(7);
    std::string bits = "1";
    while (bits.size() < WIDTH) bits += (generator() & 1U) != 0 ? '1' : '0';
    for (int radix : {1, 2, 3, 4}) {
        std::string text, back;
        ASSERT_TRUE(qel_radix_conversion(bits, text, QEL_RADIX_BINARY, radix, WIDTH)) << radix;
        ASSERT_TRUE(qel_radix_conversion(text, back, radix, QEL_RADIX_BINARY, WIDTH)) << radix;
        EXPECT_EQ(back, bits) << radix;
    }
    std::string decimal;
    ASSERT_TRUE(qel_radix_conversion("1" + std::string(WIDTH - 1, '0'), decimal, 0, 2, WIDTH));
    EXPECT_EQ(decimal.size(), 30103U);  // 2^99999 has floor(99999 log10 2) + 1 digits
    EXPECT_EQ(decimal.back(), '8');     // last digits of 2^n cycle 2, 4, 8, 6
}

TEST(QelRadix, ReadsPrefixedNumbers) {
    const struct { std::string text; bool accepted; std::string result; } cases[] = {
        {"12", true, "1100"},     {" 0x1F\t", true, "11111"}, {"0o17", true, "1111"}, {"0B0101", true, "101"},
        {"0", true, "0"},         {"007", true, "111"},       {"0x", false, "kept"},  {"0x1X", false, "kept"},
        {"-3", false, "kept"},    {"", false, "kept"},        {"  ", false, "kept"},  {"1 2", false, "kept"},
        {"0b102", false, "kept"}, {"X", false, "kept"},
        {"18446744073709551616", true, "1" + std::string(64, '0')},
    };
    for (const auto& item : cases) {
        std::string result = "kept";
        EXPECT_EQ(qel_convert_numeric_string_to_binary_format(item.text, result), item.accepted) << item.text;
        EXPECT_EQ(result, item.result) << item.text;
    }
}

TEST(KovaAtoi, ReadsDecimalPrefixAndClamps) {
    const struct { const char* text; int32_t expected; } cases[] = {
        {"", 0},          {"abc", 0},      {"42", 42},           {"  \t\n-17", -17},        {"+8", 8},
        {"12abc", 12},    {"3 4", 3},      {"- 5", 0},           {"--5", 0},                {"007", 7},
        {"2147483647", INT32_MAX},         {"2147483648", INT32_MAX},         {"4294967295", INT32_MAX},
        {"-2147483648", INT32_MIN},        {"-2147483649", INT32_MIN},        {"-99999999999", INT32_MIN},
        {"99999999999999999999999999999", INT32_MAX},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(kova_atoi(item.text), item.expected) << "text: \"" << item.text << "\"";
        EXPECT_EQ(kova_atoi(std::string(item.text)), item.expected) << "text: \"" << item.text << "\"";
    }
    EXPECT_EQ(kova_atoi(static_cast<const char*>(nullptr)), 0);
}

}  // namespace
