// The two-operand operators of the grammar and what kind of operator
// each is; shared by the evaluation of phrases and the syntax tree.
#ifndef KOVA_OPERATORS_H
#define KOVA_OPERATORS_H

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

// + - * exp div quot ceil_div % double_div: operators that compute a
// number.
inline bool kova_is_arithmetic(KOVA_BINARY_OPERATOR op) { return op <= KOVA_OP_DOUBLE_DIV; }
// == != > >= < <= and the str_ forms: operators that compare.
inline bool kova_is_comparison(KOVA_BINARY_OPERATOR op) { return op >= KOVA_OP_EQUAL; }

#endif
