// Evaluation of rule texts against tables of expected results and
// messages: the entry points (empty and blank texts, usage words passed
// through, the command list, nested evaluation), grammar phrases and
// grouping, integer arithmetic with its 32-bit wrapping and division by
// zero, the syntax error of each situation, and text mode. None of the
// names is a model object, so each stands for itself. The examples of
// docs/expression-language.md, each evaluated by the test
// expression_language_examples, show the common phrases and results; the
// tables here hold the cases the page leaves out. (Parse stack limits:
// test_hostile_rule_texts.cpp; parallel evaluation: the validator's thread
// test.)
#include <gtest/gtest.h>

#include <cstdlib>

#include "evaluation_cases.h"

TEST(EntryPoints, EvaluateExpression) {
    VALIDATOR_PROBE validator;
    for (KOVA_RULES_VALIDATOR_PARSER_MODE mode : {PARSER_MODE_EVALUATE, PARSER_MODE_REFRESH_MACROS, PARSER_MODE_TEXT})
        expect_evaluations(validator, {{"", ""}}, mode);
    expect_evaluations(validator, {{"   ", "", {parse_message("parse error", "   ")}},
                                   {"1 +", "", {parse_message("parse error", "1 +")}}, {"\t3 + 4\n", "7"}});
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

// Commands are found ignoring case; one entry per key: the first spelling
// is the key, the latest the value.
TEST(EntryPoints, CommandList) {
    VALIDATOR_PROBE validator;
    std::string answers = validator.evaluate_cmd_expression("x");
    validator.add_cmd_to_list("X");
    answers += " " + validator.evaluate_cmd_expression("x") + " " + validator.evaluate_cmd_expression("x ");
    validator.remove_cmd_from_list("x");
    validator.add_cmd_to_list("Run");
    validator.add_cmd_to_list("RUN");
    answers += " " + validator.evaluate_cmd_expression("X") + " " + validator.m_cmd_list.begin()->first + "=" +
               validator.m_cmd_list.begin()->second + " " + std::to_string(validator.m_cmd_list.size());
    validator.remove_cmd_from_list("run");
    validator.remove_cmd_from_list("absent");
    EXPECT_EQ(answers + " " + validator.evaluate_cmd_expression("Run") + " " +
                  std::to_string(validator.m_cmd_list.size()),
              "false true false false Run=RUN 1 false 0");
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

TEST(Grammar, Phrases) {
    expect_evaluations({
        // Literals.
        {"1.50", "1.50"}, {"a.007", "a.7"}, {"007.a", "7.a"}, {"(((x)))", "x"},
        // Truth operators test exact texts.
        {"false || false", "false"},
        // != ignores case; the others compare integer views.
        {"ABC != abc", "false"}, {"'01' gte 1", "true"}, {"2 lt 3", "true"}, {"3 < 3", "false"}, {"3 gte 3", "true"},
        {"2 >= 3", "false"}, {"3 lte 3", "true"}, {"4 <= 3", "false"}, {"12abc gt 11", "true"}, {"true lte 0", "true"},
        // Text orderings are case-sensitive; a prefix sorts first.
        {"ab str_lt abc", "true"}, {"abc str_lt ab", "false"}, {"b str_gt B", "true"}, {"abc str_gt abc", "false"},
        {"abc str_lte abc", "true"},
        // Max and min give an operand's text.
        {"max('007', 5)", "007"}, {"min('05', 5)", "05"},
        // Multiplication before addition, EXP grouped to the left, OR and
        // AND on one level grouped to the left, "!" binding tightest.
        {"1 + 2 * 3", "7"}, {"2 * 3 + 1", "7"}, {"2 exp 3 exp 2", "64"}, {"false && true || true", "true"},
        {"!x + 1", "1"}, {"true || false ? 1 : 2", "1"},
    });
}

TEST(Arithmetic, Results) {
    const std::string smallest = "(2147483647 + 1)";
    expect_evaluations({
        // The division family.
        {"4 ceil_div 2", "2"}, {"'1.5' double_div '0.5'", "3.000000"}, {"(0 - 1) double_div 3", "-0.333333"},
        // The smallest integer divided by -1 wraps.
        {smallest + " div (0 - 1)", "-2147483648"}, {smallest + " ceil_div (0 - 1)", "-2147483648"},
        // Wrapping at 32 bits.
        {"2147483647 * 2", "-2"}, {"0 - 2147483647 - 2", "2147483647"}, {"4294967296 + 1", "-2147483648"},
        // EXP.
        {"7 exp 1", "7"}, {"(0 - 3) exp 3", "-27"}, {"(0 - 1) exp 2147483647", "-1"}, {"3 exp 4 + 1", "82"},
        // CEIL_LOG; the logarithm of 0 or less is not finite.
        {"ceil_log(2)", "1"}, {"ceil_log(3)", "2"}, {"ceil_log(1000)", "10"}, {"ceil_log(1024) + 1", "11"},
        {"ceil_log(2147483647)", "31"}, {"ceil_log(0 - 5)", "0"}, {"ceil_log(x)", "0"},
    });
}

// Both branches of a choice are evaluated.
TEST(Arithmetic, DivisionByZeroPostsAndYieldsItsValue) {
    std::vector<EVALUATION_CASE> cases = {{"8 / x", "1"}, {"1 double_div '0.0'", "1.000000"},
                                          {"false ? 5 % 0 : 2", "2"}};
    for (EVALUATION_CASE& c : cases) c.messages = {division_message(c.text)};
    const std::string twice = "(1 / 0) + (2 % 0)";
    cases.push_back({twice, "1", {division_message(twice), division_message(twice)}});
    expect_evaluations(cases);
}

TEST(Arithmetic, HugeRealQuotientIsWrittenWhole) {
    VALIDATOR_PROBE validator;
    const std::string result = validator.evaluate_expression("1e308 double_div 1", PARSER_MODE_EVALUATE);
    EXPECT_EQ(std::to_string(result.size()) + result.substr(result.size() - 7), "316.000000");
    EXPECT_EQ(std::atof(result.c_str()), 1e308);
    EXPECT_TRUE(validator.get_error_messages().empty());
}

TEST(SyntaxErrors, EachSituationHasItsMessageAndAnEmptyResult) {
    const struct { std::string error; std::vector<std::string> texts; } cases[] = {
        {"parse error, expecting `'(''",
         {"used 1", "is_used x", "ceil_log 8", "max 1", "min", "port p", "str x", "is_constant x"}},
        {"parse error, expecting `NAME'",
         {"f(", "f(1)", "f(a,)", "f(a, 'b')", "used(1)", "is_used(", "is_constant((p))", "port(1)", "str('a')"}},
        {"parse error, expecting `')''",
         {"used(x", "is_used(x y)", "is_constant(p, q)", "port(p + 1)", "str(a.b)", "f(a b)", "f(a, b"}},
        {"parse error, expecting `INTEGER' or `NAME'", {"a.", "1.", "a.'b'", "1..2"}},
        {"parse error, expecting `$'", {"a b", "1 2", "(1) (2)", "a.b.c", "1 )"}},
        {"parse error", {"-5", "1 +", "   ", "()", "(1", "a ? b", "max(1 2)", "1 + * 2"}},
    };
    std::vector<EVALUATION_CASE> evaluations;
    for (const auto& c : cases)
        for (const std::string& text : c.texts) evaluations.push_back({text, "", {parse_message(c.error, text)}});
    expect_evaluations(evaluations);
}

TEST(TextMode, RendersOperatorsAndEvaluatesTheOtherPhrases) {
    expect_evaluations(
        {{"1 and 2", "(1 && 2)"}, {"1 gte 2", "(1 >= 2)"}, {"1 lt 2", "(1 < 2)"}, {"1 lte 2", "(1 <= 2)"},
         {"7 - 2", "7 - 2"}, {"1 div 2", "1 / 2"}, {"1 double_div 2", "1 / 2"}, {"7 % 2", "7 % 2"}, {"a.b", "a.b"},
         // Evaluated.
         {"min(1, 2)", "1"}, {"2 exp 3", "8"}, {"7 ceil_div 2", "4"}, {"ceil_log(8)", "3"},
         {"is_constant(x)", "false"}, {"abc str_lt abd", "true"}},
        PARSER_MODE_TEXT);
}
