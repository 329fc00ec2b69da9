// Syntax errors: the text of each situation, and that the result is empty
// (the limits of the parse stack: test_hostile_rule_texts.cpp).
#include <gtest/gtest.h>

#include "evaluation_cases.h"

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
