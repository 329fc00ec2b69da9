// Evaluating a compiled rule text (expr/program.h) against the current
// values of a validator's model.
#ifndef KOVA_PROGRAM_RUN_H
#define KOVA_PROGRAM_RUN_H

#include <string>

#include "expr/eval_context.h"
#include "expr/program.h"

// Runs program, which is not interpreted(), in ctx, whose mode is not
// text mode: the value is appended to out and messages go to ctx's
// validator, exactly as a parse of the same text gives them.
void kova_run_program(KOVA_EVAL_CONTEXT& ctx, const KOVA_PROGRAM_VIEW& program, std::string& out);

#endif
