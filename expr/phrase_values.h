// The values of the grammar's phrases. Every function takes its operands
// as texts of the evaluation and returns a text that is either a fixed
// literal ("true", "false", "") or owned by the context's value pool.
#ifndef KOVA_PHRASE_VALUES_H
#define KOVA_PHRASE_VALUES_H

#include <cstdint>
#include <initializer_list>

#include "expr/eval_context.h"
#include "expr/operators.h"


// "a op b": evaluated, or in text mode rendered when the operator has a
// rendering (arithmetic bare, logic and comparisons in parentheses).
const char* kova_binary_value(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, const char* a, const char* b);
// "!a".
const char* kova_not_value(KOVA_EVAL_CONTEXT& ctx, const char* a);
// "a ? b : c".
const char* kova_choice_value(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b, const char* c);
// max(a, b) and min(a, b): one of the operand texts itself.
const char* kova_max_value(const char* a, const char* b);
const char* kova_min_value(const char* a, const char* b);
const char* kova_ceil_log_value(KOVA_EVAL_CONTEXT& ctx, const char* a);
// A quoted STRING token: without its quotes, or as written in text mode.
const char* kova_string_value(KOVA_EVAL_CONTEXT& ctx, const char* quoted);
// str(n): n, or n between double quotes in text mode.
const char* kova_quoted_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
// port(n): the port's value in decimal, or n itself in text mode.
const char* kova_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
// n(arguments): the value of a macro call.
const char* kova_macro_call_value(KOVA_EVAL_CONTEXT& ctx, const char* name, const char* arguments);

const char* kova_truth_text(bool value);
const char* kova_integer_text(KOVA_VALUE_POOL& pool, int32_t value);
// The parts joined without separators.
const char* kova_join_texts(KOVA_VALUE_POOL& pool, std::initializer_list<const char*> parts);

#endif
