// kova_atoi: the classic reading of a decimal prefix, clamped to int32.
#include <gtest/gtest.h>

#include "host/kova_atoi.h"

namespace {

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
