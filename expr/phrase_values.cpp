// What each phrase of a rule text evaluates to, and how text mode renders
// the phrases that it does not evaluate. Operands are views of texts:
// int() is kova_atoi, real() is atof, truth tests compare exactly with
// "true" and "false".
#include "expr/phrase_values.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "expr/arithmetic.h"
#include "expr/name_resolution.h"
#include "host/kova_atoi.h"
#include "host/kova_stl.h"

namespace {

const char* const TRUE_TEXT = "true";
const char* const FALSE_TEXT = "false";

bool is_exactly(const char* text, const char* literal) { return std::strcmp(text, literal) == 0; }

const char* real_division(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b) {
    double divisor = std::atof(b);
    if (divisor == 0.0) {
        kova_post_division_by_zero(ctx);
        return ctx.pool.keep(kova_real_text(1.0));
    }
    return ctx.pool.keep(kova_real_text(std::atof(a) / divisor));
}

const char* integer_division(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, const char* a, const char* b) {
    int32_t x = kova_atoi(a);
    int32_t y = kova_atoi(b);
    if (y == 0) {
        kova_post_division_by_zero(ctx);
        return kova_integer_text(ctx.pool, op == KOVA_OP_REMAINDER ? 0 : 1);
    }
    return kova_integer_text(ctx.pool, kova_integer_division(op, x, y));
}

}  // namespace

void kova_post_division_by_zero(const KOVA_EVAL_CONTEXT& ctx) {
    ctx.post(std::string("Error : Division by zero in condition ").append(ctx.condition), KOVA_DIAG_ARITHMETIC);
}

int32_t kova_integer_division(KOVA_BINARY_OPERATOR op, int32_t x, int32_t y) {
    switch (op) {
        case KOVA_OP_DIV: return kova_exact_quotient(x, y);
        case KOVA_OP_QUOTIENT: return kova_truncated_quotient(x, y);
        case KOVA_OP_CEIL_DIV: return kova_ceiling_quotient(x, y);
        case KOVA_OP_REMAINDER:
        default: return kova_remainder(x, y);
    }
}

int32_t kova_integer_operation(KOVA_BINARY_OPERATOR op, int32_t x, int32_t y) {
    switch (op) {
        case KOVA_OP_ADD: return kova_wrapping_add(x, y);
        case KOVA_OP_SUBTRACT: return kova_wrapping_subtract(x, y);
        case KOVA_OP_MULTIPLY: return kova_wrapping_multiply(x, y);
        case KOVA_OP_EXP:
        default: return kova_power(x, y);
    }
}

bool kova_comparison(KOVA_BINARY_OPERATOR op, const char* a, const char* b) {
    switch (op) {
        case KOVA_OP_OR: return !(is_exactly(a, FALSE_TEXT) && is_exactly(b, FALSE_TEXT));
        case KOVA_OP_AND: return is_exactly(a, TRUE_TEXT) && is_exactly(b, TRUE_TEXT);
        case KOVA_OP_EQUAL: return kova_equal_nocase(a, b);
        case KOVA_OP_NOT_EQUAL: return !kova_equal_nocase(a, b);
        case KOVA_OP_GREATER: return kova_atoi(a) > kova_atoi(b);
        case KOVA_OP_GREATER_OR_EQUAL: return kova_atoi(a) >= kova_atoi(b);
        case KOVA_OP_LESS: return kova_atoi(a) < kova_atoi(b);
        case KOVA_OP_LESS_OR_EQUAL: return kova_atoi(a) <= kova_atoi(b);
        // strcmp compares bytes as unsigned characters.
        case KOVA_OP_STR_GREATER: return std::strcmp(a, b) > 0;
        case KOVA_OP_STR_GREATER_OR_EQUAL: return std::strcmp(a, b) >= 0;
        case KOVA_OP_STR_LESS: return std::strcmp(a, b) < 0;
        case KOVA_OP_STR_LESS_OR_EQUAL:
        default: return std::strcmp(a, b) <= 0;
    }
}

namespace {

const char* evaluate_binary(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, const char* a, const char* b) {
    switch (op) {
        case KOVA_OP_ADD:
        case KOVA_OP_SUBTRACT:
        case KOVA_OP_MULTIPLY:
        case KOVA_OP_EXP: return kova_integer_text(ctx.pool, kova_integer_operation(op, kova_atoi(a), kova_atoi(b)));
        case KOVA_OP_DIV:
        case KOVA_OP_QUOTIENT:
        case KOVA_OP_CEIL_DIV:
        case KOVA_OP_REMAINDER: return integer_division(ctx, op, a, b);
        case KOVA_OP_DOUBLE_DIV: return real_division(ctx, a, b);
        default: return kova_truth_text(kova_comparison(op, a, b));
    }
}

// How text mode writes an operator: the infix text, and whether the whole
// phrase is put in parentheses. A null infix means the operator is
// evaluated in text mode too.
struct OPERATOR_RENDERING {
    const char* infix;
    bool parenthesised;
};

OPERATOR_RENDERING rendering_of(KOVA_BINARY_OPERATOR op) {
    switch (op) {
        case KOVA_OP_ADD: return {" + ", false};
        case KOVA_OP_SUBTRACT: return {" - ", false};
        case KOVA_OP_MULTIPLY: return {" * ", false};
        case KOVA_OP_DIV:
        case KOVA_OP_QUOTIENT:
        case KOVA_OP_DOUBLE_DIV: return {" / ", false};
        case KOVA_OP_REMAINDER: return {" % ", false};
        case KOVA_OP_OR: return {" || ", true};
        case KOVA_OP_AND: return {" && ", true};
        case KOVA_OP_EQUAL: return {" == ", true};
        case KOVA_OP_NOT_EQUAL: return {" != ", true};
        case KOVA_OP_GREATER: return {" > ", true};
        case KOVA_OP_GREATER_OR_EQUAL: return {" >= ", true};
        case KOVA_OP_LESS: return {" < ", true};
        case KOVA_OP_LESS_OR_EQUAL: return {" <= ", true};
        default: return {nullptr, false};
    }
}

}  // namespace

std::string kova_real_text(double value) {
    int length = std::snprintf(nullptr, 0, "%f", value);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%f", value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

const char* kova_binary_value(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, const char* a, const char* b) {
    OPERATOR_RENDERING rendering = rendering_of(op);
    if (!ctx.text_mode() || !rendering.infix) return evaluate_binary(ctx, op, a, b);
    if (rendering.parenthesised) return kova_join_texts(ctx.pool, {"(", a, rendering.infix, b, ")"});
    return kova_join_texts(ctx.pool, {a, rendering.infix, b});
}

const char* kova_not_value(KOVA_EVAL_CONTEXT& ctx, const char* a) {
    if (ctx.text_mode()) return kova_join_texts(ctx.pool, {"(!", a, ")"});
    return kova_truth_text(is_exactly(a, FALSE_TEXT));
}

const char* kova_choice_value(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b, const char* c) {
    if (ctx.text_mode()) return kova_join_texts(ctx.pool, {"(", a, " ? ", b, " : ", c, ")"});
    return is_exactly(a, TRUE_TEXT) ? b : c;
}

const char* kova_max_value(const char* a, const char* b) { return kova_atoi(a) > kova_atoi(b) ? a : b; }

const char* kova_min_value(const char* a, const char* b) { return kova_atoi(a) > kova_atoi(b) ? b : a; }

const char* kova_ceil_log_value(KOVA_EVAL_CONTEXT& ctx, const char* a) {
    return kova_integer_text(ctx.pool, kova_ceil_log2(kova_atoi(a)));
}

const char* kova_string_value(KOVA_EVAL_CONTEXT& ctx, const char* quoted) {
    if (ctx.text_mode()) return quoted;
    // The scanner gives STRING only with both quote characters.
    return ctx.pool.copy(quoted + 1, std::strlen(quoted) - 2);
}

const char* kova_quoted_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    if (ctx.text_mode()) return kova_join_texts(ctx.pool, {"\"", name, "\""});
    return name;
}

const char* kova_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    if (ctx.text_mode()) return name;
    return kova_integer_text(ctx.pool, expression_port_value(ctx, name));
}

const char* kova_macro_call_value(KOVA_EVAL_CONTEXT& ctx, const char* name, const char* arguments) {
    if (!ctx.validator) return "";
    return ctx.pool.keep(ctx.validator->evaluate_function_macro(name, arguments));
}

const char* kova_truth_text(bool value) { return value ? TRUE_TEXT : FALSE_TEXT; }

const char* kova_integer_text(KOVA_VALUE_POOL& pool, int32_t value) {
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    return pool.copy(digits, static_cast<std::size_t>(written.ptr - digits));
}

const char* kova_join_texts(KOVA_VALUE_POOL& pool, std::initializer_list<const char*> parts) {
    return pool.join(parts);
}
