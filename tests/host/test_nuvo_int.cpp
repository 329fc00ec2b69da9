// NUVO_UINTEGER: widths, truncation, unknown values and comparisons.
#include <gtest/gtest.h>

#include "host/nuvo_int.h"

namespace {

std::string one_then_zeros(std::size_t zeros) { return "1" + std::string(zeros, '0'); }

// "width digits low-32-bits", with " x" after the width while unknown.
std::string state(const NUVO_UINTEGER& value) {
    return std::to_string(value.width()) + (value.is_x() ? " x " : " ") + value.as_bin_string() + " " +
           std::to_string(value.uint());
}

NUVO_UINTEGER from_bits(const std::string& digits, int width) {
    NUVO_UINTEGER value(0, width);
    EXPECT_TRUE(value.set_value_from_bin_string(digits));
    return value;
}

// A number is truncated to the width, which is clamped to 0..the most.
TEST(NuvoInteger, ConstructsTruncatedToClampedWidth) {
    const int max = NUVO_UINTEGER::NUVO_MAX_WIDTH;
    const struct { uint32_t value; int width; std::string expected; } cases[] = {
        {5, 4, "4 0101 5"}, {0x1FF, 8, "8 11111111 255"}, {3, 1, "1 1 1"}, {7, 0, "0  0"}, {7, -3, "0  0"},
        {1, 65, "65 " + std::string(64, '0') + "1 1"},
        {0, max + 5, std::to_string(max) + " " + std::string(max, '0') + " 0"},
    };
    for (const auto& item : cases) EXPECT_EQ(state(NUVO_UINTEGER(item.value, item.width)), item.expected) << item.width;
    NUVO_UINTEGER narrow(0, 8);
    narrow = 0x1FFU;  // an assigned number too
    EXPECT_EQ(state(narrow), "8 11111111 255");
}

// Digits beyond the width are dropped from the top, missing ones are
// zeros; digits that are not binary are refused and change nothing.
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
    EXPECT_EQ(from_bits("1" + std::string(32, '0') + "101", 65).uint(), 5U);  // uint gives the low bits
    EXPECT_EQ(from_bits(std::string(40, '1'), 40).uint(), 0xFFFFFFFFU);
}

// Unknown keeps the width and survives a copy and bad digits; a number
// or good digits make the value known again.
TEST(NuvoInteger, UnknownStateAndRecovery) {
    NUVO_UINTEGER value(9, 70);
    value.force_x();
    const std::string unknown = "70 x " + std::string(70, 'X') + " 4294967295";
    EXPECT_EQ(state(value), unknown);
    EXPECT_FALSE(value.set_value_from_bin_string("1X"));
    EXPECT_EQ(state(value), unknown);
    EXPECT_EQ(state(NUVO_UINTEGER(value)), unknown);
    value = 3U;
    EXPECT_EQ(state(value), "70 " + std::string(68, '0') + "11 3");
    value.force_x();
    EXPECT_TRUE(value.set_value_from_bin_string("11"));
    EXPECT_EQ(state(value), "70 " + std::string(68, '0') + "11 3");
}

TEST(NuvoInteger, ComparesNumericallyAcrossWidths) {
    // expected: the sign of left - right.
    const struct {
        std::string left_bits; int left_width; std::string right_bits; int right_width, expected;
    } cases[] = {
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
