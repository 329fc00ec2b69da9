// Text mode: which phrases render as canonical text and which are still
// evaluated. Names that are not model objects render in double quotes.
#include <gtest/gtest.h>

#include "evaluation_cases.h"

TEST(TextMode, RendersOperatorsAndEvaluatesTheOtherPhrases) {
    expect_evaluations(
        {{"(1 + 2) * 3", "1 + 2 * 3"}, {"1 == 1 && !0", "((1 == 1) && (!0))"}, {"a || b", "(\"a\" || \"b\")"},
         {"1 and 2", "(1 && 2)"}, {"1 ? 2 : 3", "(1 ? 2 : 3)"}, {"1 != 2", "(1 != 2)"}, {"1 gt 2", "(1 > 2)"},
         {"1 gte 2", "(1 >= 2)"}, {"1 lt 2", "(1 < 2)"}, {"1 lte 2", "(1 <= 2)"}, {"7 - 2", "7 - 2"},
         {"1 div 2", "1 / 2"}, {"1 quot 2", "1 / 2"}, {"1 double_div 2", "1 / 2"}, {"7 % 2", "7 % 2"},
         {"1 / 0", "1 / 0"},  // rendered, not evaluated, so no division message
         {"'x'", "'x'"}, {"str(a)", "\"a\""}, {"port(p)", "p"}, {"a", "\"a\""}, {"a.b", "a.b"}, {"007", "7"},
         // Evaluated.
         {"max(1, 2)", "2"}, {"min(1, 2)", "1"}, {"2 exp 3", "8"}, {"7 ceil_div 2", "4"},
         {"7 ceil_div 0", "1", {division_message("7 ceil_div 0")}}, {"ceil_log(8)", "3"}, {"used(x)", "false"},
         {"is_constant(x)", "false"}, {"abc str_lt abd", "true"}, {"(1 + 2) exp 2", "1"}},
        PARSER_MODE_TEXT);
}
