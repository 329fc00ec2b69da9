// The values of the grammar's phrases. Every function takes its operands
// as texts of the evaluation and returns a text that is either a fixed
// literal ("true", "false", "") or owned by the context's value pool.
#ifndef KOVA_PHRASE_VALUES_H
#define KOVA_PHRASE_VALUES_H

#include <cstdint>
#include <initializer_list>
#include <string>

#include "expr/eval_context.h"
#include "expr/operators.h"
#include "objects/kova_rules_export.h"

// Posts the error of a division (or remainder) by zero in the condition
// being evaluated.
void kova_post_division_by_zero(const KOVA_EVAL_CONTEXT& ctx);
// "a op b": evaluated, or in text mode rendered when the operator has a
// rendering (arithmetic bare, logic and comparisons in parentheses).
const char* kova_binary_value(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, const char* a, const char* b);
// "!a".
const char* kova_not_value(KOVA_EVAL_CONTEXT& ctx, const char* a);
// "a ? b : c".
const char* kova_choice_value(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b, const char* c);
// max(a, b) and min(a, b): one of the operand texts itself.
KOVA_RULES_API const char* kova_max_value(const char* a, const char* b);
KOVA_RULES_API const char* kova_min_value(const char* a, const char* b);
const char* kova_ceil_log_value(KOVA_EVAL_CONTEXT& ctx, const char* a);
// A quoted STRING token: without its quotes, or as written in text mode.
const char* kova_string_value(KOVA_EVAL_CONTEXT& ctx, const char* quoted);
// str(n): n, or n between double quotes in text mode.
const char* kova_quoted_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
// port(n): the port's value in decimal, or n itself in text mode.
const char* kova_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
// n(arguments): the value of a macro call.
const char* kova_macro_call_value(KOVA_EVAL_CONTEXT& ctx, const char* name, const char* arguments);

// What the operators compute, on operands already read, without a
// context (so without messages); kova lint mirrors an evaluation with them.
// x op y for + - * exp, wrapping.
KOVA_RULES_API int32_t kova_integer_operation(KOVA_BINARY_OPERATOR op, int32_t x, int32_t y);
// x op y for div, quot, ceil_div and %, with y not 0.
KOVA_RULES_API int32_t kova_integer_division(KOVA_BINARY_OPERATOR op, int32_t x, int32_t y);
// Whether a op b holds for || && and the comparisons.
KOVA_RULES_API bool kova_comparison(KOVA_BINARY_OPERATOR op, const char* a, const char* b);
// A real as "%f" writes it, whole however long it is (double_div).
KOVA_RULES_API std::string kova_real_text(double value);

KOVA_RULES_API const char* kova_truth_text(bool value);
const char* kova_integer_text(KOVA_VALUE_POOL& pool, int32_t value);
// The parts joined without separators.
const char* kova_join_texts(KOVA_VALUE_POOL& pool, std::initializer_list<const char*> parts);

#endif
