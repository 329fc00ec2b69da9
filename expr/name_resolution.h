// The bridge from grammar actions to the model: what a bare name and the
// used(...), is_constant(...) and port(...) phrases stand for.
#ifndef KOVA_NAME_RESOLUTION_H
#define KOVA_NAME_RESOLUTION_H

#include <cstdint>

#include <string>

#include "expr/eval_context.h"
#include "expr/program_table.h"

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
// Inline for the name most rules read, an integer parameter (its copy's
// integer, read in place); every other object, and a name no object
// bears, goes to expression_object_operand.
inline KOVA_OPERAND expression_name_operand(KOVA_EVAL_CONTEXT& ctx, const char* name, int32_t number);
// The same for object, the object named name (null when there is none).
KOVA_OPERAND expression_object_operand(KOVA_EVAL_CONTEXT& ctx, const char* name, const KOVA_OBJ_INFO* object);
bool expression_is_used(KOVA_EVAL_CONTEXT& ctx, const char* name);
bool expression_is_constant_port(KOVA_EVAL_CONTEXT& ctx, const char* name);
int32_t expression_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name);

inline KOVA_OPERAND expression_name_operand(KOVA_EVAL_CONTEXT& ctx, const char* name, int32_t number) {
    if (!ctx.validator) return {"", 0};
    const KOVA_OBJ_INFO* object = ctx.programs->object_named(*ctx.validator, name, number);
    if (!object || object->obj_type != KOVA_OBJ_INTEGER_PARAMETER) return expression_object_operand(ctx, name, object);
    const KOVA_PARAMETER_OBJ* copy = ctx.validator->parameter_copy_of(*object);
    return {nullptr, copy && copy->obj_type == KOVA_OBJ_INTEGER_PARAMETER ? copy->integer_reading() : -1};
}

#endif
