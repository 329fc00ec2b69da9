// Syntax errors: the text of each situation, that the result is empty,
// and the limits of the parse stack.
#include <gtest/gtest.h>

#include <string>

#include "evaluation_cases.h"
#include "support/test_support.h"

namespace {

struct SYNTAX_CASE {
    std::string text;
    std::string error;
};

void expect_syntax_errors(const std::vector<SYNTAX_CASE>& cases) {
    VALIDATOR_PROBE validator;
    std::vector<EVALUATION_CASE> evaluations;
    for (const SYNTAX_CASE& c : cases) evaluations.push_back({c.text, "", {parse_message(c.error, c.text)}});
    expect_evaluations(validator, evaluations);
}

std::string nested_parentheses(std::size_t depth) {
    return std::string(depth, '(') + "1" + std::string(depth, ')');
}

}  // namespace

TEST(SyntaxErrors, OpeningParenthesisExpected) {
    const std::string error = "parse error, expecting `'(''";
    expect_syntax_errors({{"used 1", error}, {"is_used x", error}, {"ceil_log 8", error}, {"max 1", error},
                          {"min", error}, {"port p", error}, {"str x", error}, {"is_constant x", error}});
}

TEST(SyntaxErrors, NameExpected) {
    const std::string error = "parse error, expecting `NAME'";
    expect_syntax_errors({{"f(", error}, {"f(1)", error}, {"f(a,)", error}, {"f(a, 'b')", error},
                          {"used(1)", error}, {"is_used(", error}, {"is_constant((p))", error},
                          {"port(1)", error}, {"str('a')", error}});
}

TEST(SyntaxErrors, ClosingParenthesisExpected) {
    const std::string error = "parse error, expecting `')''";
    expect_syntax_errors({{"used(x", error}, {"is_used(x y)", error}, {"is_constant(p, q)", error},
                          {"port(p + 1)", error}, {"str(a.b)", error}, {"f(a b)", error}, {"f(a, b", error}});
}

TEST(SyntaxErrors, IntegerOrNameExpected) {
    const std::string error = "parse error, expecting `INTEGER' or `NAME'";
    expect_syntax_errors({{"a.", error}, {"1.", error}, {"a.'b'", error}, {"1..2", error}});
}

TEST(SyntaxErrors, EndExpected) {
    const std::string error = "parse error, expecting `$'";
    expect_syntax_errors({{"a b", error}, {"1 2", error}, {"(1) (2)", error}, {"a.b.c", error}, {"1 )", error}});
}

TEST(SyntaxErrors, OperandOrOperatorExpected) {
    const std::string error = "parse error";
    expect_syntax_errors({{"-5", error}, {"1 +", error}, {"   ", error}, {"()", error}, {"(1", error},
                          {"a ? b", error}, {"max(1 2)", error}, {"1 + * 2", error}});
}

TEST(SyntaxErrors, ParseStackLimits) {
    VALIDATOR_PROBE validator;
    const std::string deep = nested_parentheses(25000);
    expect_evaluations(validator, {{nested_parentheses(300), "1", {}},
                                   {nested_parentheses(5000), "1", {}},
                                   {deep, "", {parse_message("parser stack overflow", deep)}}});
}
