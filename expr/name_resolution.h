// The bridge from grammar actions to the model: what a bare name and the
// used(...), is_constant(...) and port(...) phrases stand for.
#ifndef KOVA_NAME_RESOLUTION_H
#define KOVA_NAME_RESOLUTION_H

#include <cstdint>

#include <string>

#include "expr/eval_context.h"

// A value of a compiled evaluation (expr/program_run.cpp): a text when
// text is not null, else the integer number, whose text is its decimal
// digits.
struct KOVA_OPERAND {
    const char* text;
    int32_t number;
};

// The value of a bare name, in the context's pool.
const char* expression_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
// The same value as an operand, outside text mode: an integer parameter
// or a port gives its integer, the rest a text of the context's pool.
// name is a name text of the running program (ctx.programs is set), and
// number its number in the validator's table (KOVA_STEP::number).
KOVA_OPERAND expression_name_operand(KOVA_EVAL_CONTEXT& ctx, const char* name, int32_t number);
bool expression_is_used(KOVA_EVAL_CONTEXT& ctx, const char* name);
bool expression_is_constant_port(KOVA_EVAL_CONTEXT& ctx, const char* name);
int32_t expression_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name);

#endif
