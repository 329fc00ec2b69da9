// Grammar phrases in the evaluating modes: literals, truth operators,
// comparisons, choice, max and min, and how operators group. None of the
// names used here is a model object, so each stands for itself.
#include <gtest/gtest.h>

#include "evaluation_cases.h"

TEST(Grammar, Phrases) {
    expect_evaluations({
        // Literals.
        {"str(abc)", "abc"}, {"str(ABC)", "ABC"}, {"'abc'", "abc"}, {"\"a b'", "a b"}, {"''", ""}, {"007", "7"},
        {"1.05", "1.5"}, {"1.50", "1.50"}, {"a.b", "a.b"}, {"a.007", "a.7"}, {"007.a", "7.a"}, {"(((x)))", "x"},
        // Truth operators test exact texts.
        {"!x", "false"}, {"!false", "true"}, {"!TRUE", "false"}, {"!FALSE", "false"}, {"FALSE || false", "true"},
        {"false || false", "false"}, {"x || false", "true"}, {"TRUE && true", "false"}, {"true && true", "true"},
        {"true and true", "true"}, {"true ? 1 : 2", "1"}, {"yes ? 1 : 2", "2"}, {"TRUE ? 1 : 2", "2"},
        // == and != ignore case; the others compare integer views.
        {"ABC == abc", "true"}, {"ABC != abc", "false"}, {"abc != abd", "true"}, {"'01' == 1", "false"},
        {"'01' gte 1", "true"}, {"1 == 01", "true"}, {"3 gt 2", "true"}, {"2 > 3", "false"}, {"2 lt 3", "true"},
        {"3 < 3", "false"}, {"3 gte 3", "true"}, {"2 >= 3", "false"}, {"3 lte 3", "true"}, {"4 <= 3", "false"},
        {"12abc gt 11", "true"}, {"true lte 0", "true"},
        // Text orderings are case-sensitive; a prefix sorts first.
        {"abc str_lt abd", "true"}, {"ab str_lt abc", "true"}, {"abc str_lt ab", "false"}, {"B str_lt a", "true"},
        {"b str_gt B", "true"}, {"abc str_gt abc", "false"}, {"abc str_gte abc", "true"},
        {"abc str_lte abc", "true"}, {"10 str_lt 9", "true"},
        // Max and min give an operand's text.
        {"max('007', 5)", "007"}, {"max(007, 5)", "7"}, {"max('05', 5)", "5"}, {"min('05', 5)", "05"},
        {"min(3, x)", "x"}, {"max(1 + 1, 3 - 2)", "2"},
        // Comparisons bind tighter than arithmetic.
        {"1 + 1 == 2", "1"}, {"(1 + 1) == 2", "true"}, {"a + 1 == 2", "0"}, {"2 * 3 == 6", "0"},
        {"1 + 2 * 3", "7"}, {"2 * 3 + 1", "7"}, {"10 - 2 - 3", "5"}, {"2 exp 3 exp 2", "64"},
        // OR and AND share one level and group to the left; "!" binds tightest.
        {"true || false && false", "false"}, {"false && true || true", "true"}, {"!x + 1", "1"},
        // "?" ":" groups to the left; a "?" in the middle nests.
        {"true ? false : true ? 1 : 2", "2"}, {"true ? false ? 1 : 2 : 3", "2"}, {"false ? 1 : 2 + 3", "5"},
        {"true || false ? 1 : 2", "1"},
    });
}

TEST(Grammar, BothBranchesOfAChoiceAreEvaluated) {
    expect_evaluations({{"0 == 0 ? 1 : 10 / 0", "1", {division_message("0 == 0 ? 1 : 10 / 0")}},
                        {"false ? 5 % 0 : 2", "2", {division_message("false ? 5 % 0 : 2")}}});
}
