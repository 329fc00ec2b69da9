// The bridge from grammar actions to the model: what a bare name and the
// used(...), is_constant(...) and port(...) phrases stand for.
#ifndef KOVA_NAME_RESOLUTION_H
#define KOVA_NAME_RESOLUTION_H

#include <cstdint>

#include "expr/eval_context.h"

// The value of a bare name, in the context's pool.
const char* expression_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name);
bool expression_is_used(KOVA_EVAL_CONTEXT& ctx, const char* name);
bool expression_is_constant_port(KOVA_EVAL_CONTEXT& ctx, const char* name);
int32_t expression_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name);

#endif
