// The values of the grammar's phrases. Every function takes its operands
// as texts of the evaluation and returns a text that is either a fixed
// literal ("true", "false", "") or owned by the context's value pool.
#ifndef KOVA_PHRASE_VALUES_H
#define KOVA_PHRASE_VALUES_H

#include <cstdint>
#include <initializer_list>

#include "expr/eval_context.h"

// The two-operand operators of the grammar.
enum KOVA_BINARY_OPERATOR {
    KOVA_OP_ADD,
    KOVA_OP_SUBTRACT,
    KOVA_OP_MULTIPLY,
    KOVA_OP_EXP,
    KOVA_OP_DIV,
    KOVA_OP_QUOTIENT,
    KOVA_OP_CEIL_DIV,
    KOVA_OP_REMAINDER,
    KOVA_OP_DOUBLE_DIV,
    KOVA_OP_OR,
    KOVA_OP_AND,
    KOVA_OP_EQUAL,
    KOVA_OP_NOT_EQUAL,
    KOVA_OP_GREATER,
    KOVA_OP_GREATER_OR_EQUAL,
    KOVA_OP_LESS,
    KOVA_OP_LESS_OR_EQUAL,
    KOVA_OP_STR_GREATER,
    KOVA_OP_STR_GREATER_OR_EQUAL,
    KOVA_OP_STR_LESS,
    KOVA_OP_STR_LESS_OR_EQUAL
};

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
