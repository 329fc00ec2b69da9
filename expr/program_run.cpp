// The evaluation of a compiled rule text: each step takes its operands
// from the top of a stack and leaves its value there. An operand is a text
// (a fixed literal, a program's string or a text of the context's pool)
// or an integer not yet written out: a value the parse would write as
// decimal digits and read back with kova_atoi is kept as the integer, and
// written out only where its text is read (==, string comparisons, a
// result), which gives the same text as the parse.
#include "expr/program_run.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "expr/arithmetic.h"
#include "expr/name_resolution.h"
#include "expr/phrase_values.h"
#include "host/kova_atoi.h"

namespace {

KOVA_OPERAND text_operand(const char* text) { return {text, 0}; }
KOVA_OPERAND number_operand(int32_t number) { return {nullptr, number}; }

int32_t integer_of(KOVA_OPERAND operand) { return operand.text ? kova_atoi(operand.text) : operand.number; }

// The operand's text; an integer is written into the pool.
const char* text_of(KOVA_EVAL_CONTEXT& ctx, KOVA_OPERAND operand) {
    return operand.text ? operand.text : kova_integer_text(ctx.pool, operand.number);
}

// The two truth texts, read once: every truth value a step makes is one
// of these two addresses, so most truth tests compare addresses only.
const char* const RUN_TRUE_TEXT = kova_truth_text(true);
const char* const RUN_FALSE_TEXT = kova_truth_text(false);

const char* truth_operand_text(bool value) { return value ? RUN_TRUE_TEXT : RUN_FALSE_TEXT; }

// Whether the operand is exactly the text "true" (truth true) or "false".
// Truth values mostly come from truth_operand_text, told apart by
// address; an integer's digits are neither.
bool is_exactly(KOVA_OPERAND operand, bool truth) {
    if (!operand.text) return false;
    if (operand.text == RUN_TRUE_TEXT) return truth;
    if (operand.text == RUN_FALSE_TEXT) return !truth;
    return std::strcmp(operand.text, truth ? RUN_TRUE_TEXT : RUN_FALSE_TEXT) == 0;
}

// kova_equal_nocase on two NUL-terminated texts.
bool equal_nocase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

bool operands_equal(KOVA_EVAL_CONTEXT& ctx, KOVA_OPERAND a, KOVA_OPERAND b) {
    if (!a.text && !b.text) return a.number == b.number;
    return equal_nocase(text_of(ctx, a), text_of(ctx, b));
}

double real_of(KOVA_OPERAND operand) { return operand.text ? std::atof(operand.text) : operand.number; }

KOVA_OPERAND real_division(KOVA_EVAL_CONTEXT& ctx, KOVA_OPERAND a, KOVA_OPERAND b) {
    const double divisor = real_of(b);
    if (divisor == 0.0) {
        kova_post_division_by_zero(ctx);
        return text_operand(ctx.pool.keep(kova_real_text(1.0)));
    }
    return text_operand(ctx.pool.keep(kova_real_text(real_of(a) / divisor)));
}

KOVA_OPERAND binary(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, KOVA_OPERAND a, KOVA_OPERAND b) {
    switch (op) {
        case KOVA_OP_ADD:
        case KOVA_OP_SUBTRACT:
        case KOVA_OP_MULTIPLY:
        case KOVA_OP_EXP: return number_operand(kova_integer_operation(op, integer_of(a), integer_of(b)));
        case KOVA_OP_DIV:
        case KOVA_OP_QUOTIENT:
        case KOVA_OP_CEIL_DIV:
        case KOVA_OP_REMAINDER: {
            const int32_t x = integer_of(a), y = integer_of(b);
            if (y != 0) return number_operand(kova_integer_division(op, x, y));
            kova_post_division_by_zero(ctx);
            return number_operand(op == KOVA_OP_REMAINDER ? 0 : 1);
        }
        case KOVA_OP_DOUBLE_DIV: return real_division(ctx, a, b);
        case KOVA_OP_OR: return text_operand(truth_operand_text(!(is_exactly(a, false) && is_exactly(b, false))));
        case KOVA_OP_AND: return text_operand(truth_operand_text(is_exactly(a, true) && is_exactly(b, true)));
        case KOVA_OP_EQUAL: return text_operand(truth_operand_text(operands_equal(ctx, a, b)));
        case KOVA_OP_NOT_EQUAL: return text_operand(truth_operand_text(!operands_equal(ctx, a, b)));
        case KOVA_OP_GREATER:
        case KOVA_OP_GREATER_OR_EQUAL:
        case KOVA_OP_LESS:
        case KOVA_OP_LESS_OR_EQUAL: {
            const int32_t x = integer_of(a), y = integer_of(b);
            const bool holds = op == KOVA_OP_GREATER ? x > y
                             : op == KOVA_OP_GREATER_OR_EQUAL ? x >= y
                             : op == KOVA_OP_LESS ? x < y
                                                  : x <= y;
            return text_operand(truth_operand_text(holds));
        }
        default: return text_operand(truth_operand_text(kova_comparison(op, text_of(ctx, a), text_of(ctx, b))));
    }
}

// binary for the comparisons, truth operators and the three wrapping
// arithmetic operators most rule texts use, on the operands they nearly
// always have (truth texts, integers), answered where the step runs; any
// other operator or operand goes through binary.
inline KOVA_OPERAND quick_binary(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, KOVA_OPERAND a, KOVA_OPERAND b) {
    const bool numbers = !a.text && !b.text;
    switch (op) {
        case KOVA_OP_AND: return text_operand(truth_operand_text(is_exactly(a, true) && is_exactly(b, true)));
        case KOVA_OP_OR: return text_operand(truth_operand_text(!(is_exactly(a, false) && is_exactly(b, false))));
        case KOVA_OP_GREATER:
            if (numbers) return text_operand(truth_operand_text(a.number > b.number));
            break;
        case KOVA_OP_LESS:
            if (numbers) return text_operand(truth_operand_text(a.number < b.number));
            break;
        case KOVA_OP_GREATER_OR_EQUAL:
            if (numbers) return text_operand(truth_operand_text(a.number >= b.number));
            break;
        case KOVA_OP_LESS_OR_EQUAL:
            if (numbers) return text_operand(truth_operand_text(a.number <= b.number));
            break;
        case KOVA_OP_EQUAL:
            if (numbers) return text_operand(truth_operand_text(a.number == b.number));
            break;
        case KOVA_OP_NOT_EQUAL:
            if (numbers) return text_operand(truth_operand_text(a.number != b.number));
            break;
        case KOVA_OP_ADD:
            if (numbers) return number_operand(kova_wrapping_add(a.number, b.number));
            break;
        case KOVA_OP_SUBTRACT:
            if (numbers) return number_operand(kova_wrapping_subtract(a.number, b.number));
            break;
        case KOVA_OP_MULTIPLY:
            if (numbers) return number_operand(kova_wrapping_multiply(a.number, b.number));
            break;
        default: break;
    }
    return binary(ctx, op, a, b);
}

KOVA_OPERAND query(KOVA_EVAL_CONTEXT& ctx, KOVA_QUERY_KIND kind, const char* name) {
    switch (kind) {
        case KOVA_QUERY_USED: return text_operand(truth_operand_text(expression_is_used(ctx, name)));
        case KOVA_QUERY_CONSTANT: return text_operand(truth_operand_text(expression_is_constant_port(ctx, name)));
        case KOVA_QUERY_PORT: return number_operand(expression_port_value(ctx, name));
        case KOVA_QUERY_STR:
        default: return text_operand(name);
    }
}

// The integer that text writes, when text is exactly the decimal digits
// an integer operand of that value is written as (an optional minus sign,
// no leading zero, within 32 bits): such a text and the integer are the
// same operand.
bool written_integer(const std::string& text, int32_t& number) {
    const std::size_t size = text.size();
    const bool negative = size > 1 && text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (size == first || size - first > 10 || (text[first] == '0' && size - first > 1) || (negative && text[1] == '0'))
        return false;
    int64_t value = 0;
    for (std::size_t at = first; at < size; ++at) {
        const char digit = text[at];
        if (digit < '0' || digit > '9') return false;
        value = value * 10 + (digit - '0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    number = static_cast<int32_t>(value);
    return true;
}

// A call with an instance reads the instance's value (copied, in case a
// later step changes it, or kept as the integer it writes); the rest go
// the way a parse's call goes.
KOVA_OPERAND macro_call(KOVA_EVAL_CONTEXT& ctx, const KOVA_PROGRAM_VIEW& program, const KOVA_STEP& step) {
    if (!ctx.validator) return text_operand("");
    if (const std::string* value = ctx.validator->macro_instance_value(program.instance_text(step))) {
        int32_t number = 0;
        if (written_integer(*value, number)) return number_operand(number);
        return text_operand(ctx.pool.copy(*value));
    }
    return text_operand(ctx.pool.keep(ctx.validator->evaluate_function_macro_call(
        program.text_at(step.text), program.call_text(step), program.instance_text(step))));
}

// Runs one step on the operands below top (one past the topmost) and
// gives the new top. The stack pointer is passed in and out rather than
// kept in an object, so it stays in a register across the steps.
inline KOVA_OPERAND* run_step(KOVA_EVAL_CONTEXT& ctx, const KOVA_PROGRAM_VIEW& program, const KOVA_STEP& step,
                              KOVA_OPERAND* top) {
    switch (step.kind) {
        case KOVA_SYN_NAME: {
            const KOVA_OPERAND value = expression_name_operand(ctx, program.name_text(step), program.name_number(step));
            *top = step.spare != KOVA_FUSED_NAME_BINARY
                       ? value
                       : quick_binary(ctx, static_cast<KOVA_BINARY_OPERATOR>(step.op), value, number_operand(step.number));
            return top + 1;
        }
        case KOVA_SYN_INTEGER: *top = number_operand(step.number); return top + 1;
        case KOVA_SYN_STRING:
        case KOVA_SYN_DOTTED: *top = text_operand(program.text_at(step.text)); return top + 1;
        case KOVA_SYN_MACRO_CALL: *top = macro_call(ctx, program, step); return top + 1;
        case KOVA_SYN_QUERY:
            *top = query(ctx, static_cast<KOVA_QUERY_KIND>(step.op), program.text_at(step.text));
            return top + 1;
        case KOVA_SYN_CEIL_LOG: top[-1] = number_operand(kova_ceil_log2(integer_of(top[-1]))); return top;
        case KOVA_SYN_NOT: top[-1] = text_operand(truth_operand_text(is_exactly(top[-1], false))); return top;
        case KOVA_SYN_MAX:
        case KOVA_SYN_MIN: {
            --top;
            const KOVA_OPERAND a = top[-1], b = top[0];
            const bool a_greater = integer_of(a) > integer_of(b);
            top[-1] = (step.kind == KOVA_SYN_MAX) == a_greater ? a : b;
            return top;
        }
        case KOVA_SYN_BINARY: {
            if (step.spare != KOVA_FUSED_INTEGER) --top;
            const KOVA_OPERAND b = step.spare == KOVA_FUSED_INTEGER ? number_operand(step.number) : top[0];
            top[-1] = quick_binary(ctx, static_cast<KOVA_BINARY_OPERATOR>(step.op), top[-1], b);
            return top;
        }
        case KOVA_SYN_CHOICE:
            top -= 2;
            top[-1] = is_exactly(top[-1], true) ? top[0] : top[1];
            return top;
    }
    return top;
}

// Appends the value's text to out; the truth texts' lengths are known.
void append_value(KOVA_OPERAND value, std::string& out) {
    static const std::size_t true_length = std::strlen(RUN_TRUE_TEXT);
    static const std::size_t false_length = std::strlen(RUN_FALSE_TEXT);
    if (value.text == RUN_TRUE_TEXT) {
        out.append(value.text, true_length);
    } else if (value.text == RUN_FALSE_TEXT) {
        out.append(value.text, false_length);
    } else if (value.text) {
        out.append(value.text);
    } else {
        char digits[16];
        const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value.number);
        out.append(digits, static_cast<std::size_t>(written.ptr - digits));
    }
}

}  // namespace

void kova_run_program(KOVA_EVAL_CONTEXT& ctx, const KOVA_PROGRAM_VIEW& program, std::string& out) {
    // The operand stack: on the machine stack for the usual short programs.
    constexpr std::size_t INLINE_DEPTH = 32;
    KOVA_OPERAND inline_stack[INLINE_DEPTH];
    std::unique_ptr<KOVA_OPERAND[]> heap_stack;
    KOVA_OPERAND* top = inline_stack;
    if (program.depth > INLINE_DEPTH) {
        heap_stack = std::make_unique<KOVA_OPERAND[]>(program.depth);
        top = heap_stack.get();
    }
    // Held in registers: a step's call could write to memory the compiler
    // cannot tell apart from the program's fields.
    const KOVA_STEP* step = program.steps;
    for (const KOVA_STEP* const end = step + program.count; step != end; ++step)
        top = run_step(ctx, program, *step, top);
    append_value(top[-1], out);
}
