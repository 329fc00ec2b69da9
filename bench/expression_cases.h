// The rule texts of the expression benchmarks, each with the Tcl text that
// computes the same value, and the validator they are evaluated in.
#ifndef KOVA_BENCH_EXPRESSION_CASES_H
#define KOVA_BENCH_EXPRESSION_CASES_H

#include <memory>
#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

struct KOVA_BENCH_CASE {
    const char* name;
    // The items evaluated per iteration: one text, or the items of a
    // legal-value list, which the kova side splits itself at "|" first.
    std::string kova_text;
    std::vector<std::string> tcl_texts;
    // Whether kova_text is a "|"-separated list of value texts.
    bool is_list;
};

const std::vector<KOVA_BENCH_CASE>& kova_bench_cases();

// A validator with WIDTH = 16, DEPTH = 256 and the macro
// LATENCY(a,b) = a div 8 + b div 16, whose instance LATENCY(WIDTH,DEPTH)
// has been created and evaluated by a validation run; compiled evaluation
// is on when compiled.
std::unique_ptr<KOVA_RULES_VALIDATOR> kova_bench_expression_model(bool compiled);

// The values the Tcl interpreter is given for the same texts.
const int KOVA_BENCH_WIDTH = 16;
const int KOVA_BENCH_DEPTH = 256;

#endif
