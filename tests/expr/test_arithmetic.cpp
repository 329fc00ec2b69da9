// Integer arithmetic, the division family, EXP and CEIL_LOG: results,
// wrapping at 32 bits, and the division-by-zero message.
#include <gtest/gtest.h>

#include <cstdlib>

#include "evaluation_cases.h"

TEST(Arithmetic, Results) {
    const std::string smallest = "(2147483647 + 1)";
    expect_evaluations({
        // The division family.
        {"3 / 2", "0"}, {"4 / 2", "2"}, {"4 div 2", "2"}, {"(0 - 6) / 3", "-2"}, {"3 quot 2", "1"},
        {"(0 - 7) quot 2", "-3"}, {"3 ceil_div 2", "2"}, {"4 ceil_div 2", "2"}, {"(0 - 7) ceil_div 2", "-2"},
        {"7 % 3", "1"}, {"(0 - 7) % 2", "-1"}, {"7 % (0 - 2)", "1"}, {"1 double_div 4", "0.250000"},
        {"5 double_div 2", "2.500000"}, {"'1.5' double_div '0.5'", "3.000000"}, {"(0 - 1) double_div 3", "-0.333333"},
        // The smallest integer divided by -1 wraps.
        {smallest, "-2147483648"}, {smallest + " div (0 - 1)", "-2147483648"},
        {smallest + " quot (0 - 1)", "-2147483648"}, {smallest + " ceil_div (0 - 1)", "-2147483648"},
        {smallest + " % (0 - 1)", "0"},
        // Wrapping at 32 bits; digit runs beyond 32 bits clamp to the largest integer.
        {"2147483647 * 2", "-2"}, {"0 - 2147483647 - 2", "2147483647"}, {"65536 * 65536", "0"},
        {"99999999999", "2147483647"}, {"4294967296 + 1", "-2147483648"},
        // EXP.
        {"2 exp 10", "1024"}, {"5 exp 0", "1"}, {"0 exp 0", "1"}, {"7 exp 1", "7"}, {"5 exp (0 - 1)", "5"},
        {"(0 - 3) exp 3", "-27"}, {"2 exp 31", "-2147483648"}, {"2 exp 32", "0"},
        {"(0 - 1) exp 2147483647", "-1"}, {"3 exp 4 + 1", "82"},
        // CEIL_LOG; the logarithm of 0 or less is not finite.
        {"ceil_log(1)", "0"}, {"ceil_log(2)", "1"}, {"ceil_log(3)", "2"}, {"ceil_log(8)", "3"},
        {"ceil_log(1000)", "10"}, {"ceil_log(1024) + 1", "11"}, {"ceil_log(2147483647)", "31"},
        {"ceil_log(0)", "0"}, {"ceil_log(0 - 5)", "0"}, {"ceil_log(x)", "0"},
    });
}

TEST(Arithmetic, DivisionByZeroPostsAndYieldsItsValue) {
    std::vector<EVALUATION_CASE> cases = {{"8 div 0", "1"},      {"8 / x", "1"},        {"8 quot 0", "1"},
                                          {"8 ceil_div 0", "1"}, {"7 % 0", "0"},        {"1 double_div 0", "1.000000"},
                                          {"1 double_div '0.0'", "1.000000"}};
    for (EVALUATION_CASE& c : cases) c.messages = {division_message(c.text)};
    const std::string twice = "(1 / 0) + (2 % 0)";
    cases.push_back({twice, "1", {division_message(twice), division_message(twice)}});
    expect_evaluations(cases);
}

TEST(Arithmetic, HugeRealQuotientIsWrittenWhole) {
    VALIDATOR_PROBE validator;
    std::string result = validator.evaluate_expression("1e308 double_div 1", PARSER_MODE_EVALUATE);
    EXPECT_EQ(result.size(), 309u + 7u);
    EXPECT_EQ(result.substr(result.size() - 7), ".000000");
    EXPECT_EQ(std::atof(result.c_str()), 1e308);
    EXPECT_TRUE(validator.get_error_messages().empty());
}
