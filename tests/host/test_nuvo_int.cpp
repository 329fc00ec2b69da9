// NUVO_UINTEGER: widths, truncation, unknown values and comparisons.
#include <gtest/gtest.h>

#include "host/nuvo_int.h"

namespace {

std::string one_then_zeros(std::size_t zeros) { return "1" + std::string(zeros, '0'); }

NUVO_UINTEGER from_bits(const std::string& digits, int width) {
    NUVO_UINTEGER value(0, width);
    EXPECT_TRUE(value.set_value_from_bin_string(digits));
    return value;
}

TEST(NuvoInteger, ConstructsTruncatedToClampedWidth) {
    const int max = NUVO_UINTEGER::NUVO_MAX_WIDTH;
    const struct { uint32_t value; int width, expected_width; std::string expected_bits; } cases[] = {
        {5, 4, 4, "0101"}, {0x1FF, 8, 8, "11111111"}, {3, 1, 1, "1"}, {1, 65, 65, std::string(64, '0') + "1"},
        {7, 0, 0, ""},     {7, -3, 0, ""},            {0, max + 5, max, std::string(max, '0')},
    };
    for (const auto& item : cases) {
        const NUVO_UINTEGER value(item.value, item.width);
        EXPECT_EQ(value.width(), item.expected_width) << item.width;
        EXPECT_EQ(value.as_bin_string(), item.expected_bits) << item.width;
        EXPECT_FALSE(value.is_x());
    }
}

TEST(NuvoInteger, LoadsBinaryDigits) {
    const struct { int width; std::string digits; bool accepted; std::string expected_bits; } cases[] = {
        {4, "1", true, "0001"},     {4, "110101", true, "0101"}, {4, "", true, "0000"},
        {4, "10x1", false, "0110"}, {4, "12", false, "0110"},    {70, one_then_zeros(69), true, one_then_zeros(69)},
        {64, one_then_zeros(64), true, std::string(64, '0')},
    };
    for (const auto& item : cases) {
        NUVO_UINTEGER value(6, item.width);
        EXPECT_EQ(value.set_value_from_bin_string(item.digits), item.accepted) << item.digits;
        EXPECT_EQ(value.as_bin_string(), item.expected_bits) << item.digits;
    }
}

TEST(NuvoInteger, UintGivesLowBits) {
    EXPECT_EQ(from_bits("1" + std::string(32, '0') + "101", 65).uint(), 5U);
    EXPECT_EQ(from_bits(std::string(40, '1'), 40).uint(), 0xFFFFFFFFU);
    EXPECT_EQ(NUVO_UINTEGER(7, 0).uint(), 0U);
    NUVO_UINTEGER narrow(0, 8);
    narrow = 0x1FFU;
    EXPECT_EQ(narrow.uint(), 0xFFU);
}

TEST(NuvoInteger, UnknownStateAndRecovery) {
    NUVO_UINTEGER value(9, 70);
    value.force_x();
    EXPECT_TRUE(value.is_x());
    EXPECT_EQ(value.width(), 70);
    EXPECT_EQ(value.as_bin_string(), std::string(70, 'X'));
    EXPECT_EQ(value.uint(), 0xFFFFFFFFU);
    EXPECT_FALSE(value.set_value_from_bin_string("1X"));
    EXPECT_TRUE(value.is_x());
    const NUVO_UINTEGER copy = value;
    EXPECT_TRUE(copy.is_x());
    EXPECT_EQ(copy.width(), 70);

    value = 3U;
    EXPECT_FALSE(value.is_x());
    EXPECT_EQ(value.uint(), 3U);
    value.force_x();
    EXPECT_TRUE(value.set_value_from_bin_string("11"));
    EXPECT_EQ(value.uint(), 3U);
}

TEST(NuvoInteger, ComparesNumericallyAcrossWidths) {
    // expected: the sign of left - right.
    const struct { std::string left_bits; int left_width; std::string right_bits; int right_width, expected; } cases[] = {
        {"0101", 4, "00000101", 8, 0}, {"0110", 4, "00000101", 8, 1}, {one_then_zeros(64), 65, "1", 1, 1},
        {one_then_zeros(64), 128, one_then_zeros(64) + "1", 128, -1},
        {one_then_zeros(127), 128, std::string(64, '1'), 64, 1},     {"", 0, "0", 1, 0},
    };
    for (const auto& item : cases) {
        const NUVO_UINTEGER left = from_bits(item.left_bits, item.left_width);
        const NUVO_UINTEGER right = from_bits(item.right_bits, item.right_width);
        const std::string label = item.left_bits + " vs " + item.right_bits;
        EXPECT_EQ(left > right, item.expected > 0) << label;
        EXPECT_EQ(left < right, item.expected < 0) << label;
        EXPECT_EQ(left == right, item.expected == 0) << label;
        EXPECT_EQ(right > left, item.expected < 0) << label;
    }
    NUVO_UINTEGER unknown(0, 8);
    unknown.force_x();
    const NUVO_UINTEGER zero(0, 8);
    EXPECT_FALSE(unknown > zero || unknown < zero || zero > unknown || zero < unknown || unknown == unknown);
}

}  // namespace
