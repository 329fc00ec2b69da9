// The entry points: evaluate_expression on empty and blank texts, usage
// words passed through by evaluate_value_expression, the command list and
// nested evaluation. (Evaluations in parallel threads, each on a validator
// of its own: tests/validator/test_threads.cpp.)
#include <gtest/gtest.h>

#include "evaluation_cases.h"

TEST(EntryPoints, EvaluateExpression) {
    VALIDATOR_PROBE validator;
    for (KOVA_RULES_VALIDATOR_PARSER_MODE mode : {PARSER_MODE_EVALUATE, PARSER_MODE_REFRESH_MACROS, PARSER_MODE_TEXT})
        expect_evaluations(validator, {{"", ""}}, mode);
    expect_evaluations(validator, {{"   ", "", {parse_message("parse error", "   ")}},
                                   {"1 +", "", {parse_message("parse error", "1 +")}},
                                   {"8 div 0", "1", {division_message("8 div 0")}}, {"\t3 + 4\n", "7"}});
}

TEST(EntryPoints, ValueExpressionPassesUsageWordsThrough) {
    const struct { std::string text; bool refresh; std::string result; } cases[] = {
        {"", false, ""},          {"used", false, "used"}, {"UNUSED", true, "UNUSED"}, {"+C.MIF", true, "+C.MIF"},
        {"USED && x", false, "false"}, {"3 + 4", true, "7"},   {"3 + 4", false, "7"}};
    VALIDATOR_PROBE validator;
    for (const auto& c : cases)
        EXPECT_EQ(validator.evaluate_value_expression(c.text, c.refresh), c.result) << "text: " << c.text;
    EXPECT_TRUE(validator.get_error_messages().empty());
}

TEST(EntryPoints, CommandList) {
    VALIDATOR_PROBE validator;
    EXPECT_EQ(validator.evaluate_cmd_expression("x"), "false");
    validator.add_cmd_to_list("X");
    EXPECT_EQ(validator.evaluate_cmd_expression("x"), "true");
    EXPECT_EQ(validator.evaluate_cmd_expression("x "), "false");
    validator.remove_cmd_from_list("x");
    EXPECT_EQ(validator.evaluate_cmd_expression("X"), "false");

    // One entry per key: the first spelling is the key, the latest the value.
    validator.add_cmd_to_list("Run");
    validator.add_cmd_to_list("RUN");
    ASSERT_EQ(validator.m_cmd_list.size(), 1u);
    EXPECT_EQ(validator.m_cmd_list.begin()->first, "Run");
    EXPECT_EQ(validator.m_cmd_list.begin()->second, "RUN");
    validator.remove_cmd_from_list("run");
    EXPECT_EQ(validator.evaluate_cmd_expression("Run"), "false");
    validator.remove_cmd_from_list("absent");
    EXPECT_TRUE(validator.m_cmd_list.empty());
}

// A macro refreshed in the middle of a parse is evaluated in a nested
// evaluation; the outer one keeps its values (the text 'kept' is held on
// the parse stack meanwhile), its condition text and its mode (N, after
// M, is still refreshed).
TEST(EntryPoints, NestedEvaluationLeavesTheOuterOneIntact) {
    VALIDATOR_PROBE validator;
    validator.add_object("M", KOVA_OBJ_FN_MACRO, "5 div 0");
    const KOVA_OBJ_INFO* later = validator.add_object("N", KOVA_OBJ_FN_MACRO, "2 + 2");
    const std::string outer = "min('kept', M) == 'kept' && N == 4 && (3 % 0) == 0";
    expect_evaluations(validator, {{outer, "true", {division_message("5 div 0"), division_message(outer)}}},
                       PARSER_MODE_REFRESH_MACROS);
    EXPECT_EQ(later->get_current_value(), "4");
}
