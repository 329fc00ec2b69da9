// The state of one evaluation of a rule text: the validator whose names
// are resolved and to which messages go, the condition text, the parser
// mode, the result, and the value pool that owns every text the scanner
// and the grammar actions produce.
//
// Each call of evaluate_expression owns one context, so evaluations in
// different validators or threads never share state, and a nested
// evaluation (a macro refreshed in the middle of a parse) leaves the outer
// one's values, condition text and mode untouched.
#ifndef KOVA_EVAL_CONTEXT_H
#define KOVA_EVAL_CONTEXT_H

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "validator/kova_rules_validator.h"

struct KOVA_SYNTAX_TREE;
class KOVA_PROGRAM_CACHE;

// Owns the texts of one evaluation, as NUL-terminated copies laid end to
// end: first in a small block inside the pool, which holds the texts of a
// typical rule, then in heap blocks. Texts are never moved or released
// before the pool is destroyed, so grammar actions pass them by pointer.
class KOVA_VALUE_POOL {
public:
    KOVA_VALUE_POOL() = default;
    KOVA_VALUE_POOL(const KOVA_VALUE_POOL&) = delete;
    KOVA_VALUE_POOL& operator=(const KOVA_VALUE_POOL&) = delete;

    const char* copy(const char* text, std::size_t length);
    const char* copy(const std::string& text) { return copy(text.data(), text.size()); }
    const char* keep(std::string&& text) { return copy(text); }
    // The parts joined without separators.
    const char* join(std::initializer_list<const char*> parts);

private:
    // Room for length bytes and a NUL at m_free, from a new block when the
    // current one is too full.
    char* reserve(std::size_t length);

    static constexpr std::size_t INLINE_BYTES = 256;
    static constexpr std::size_t BLOCK_BYTES = 4096;

    char m_inline[INLINE_BYTES];
    // Invariant: [m_free, m_free + m_room) is the unused end of the newest
    // block (m_inline or m_blocks.back()).
    char* m_free = m_inline;
    std::size_t m_room = INLINE_BYTES;
    std::vector<std::unique_ptr<char[]>> m_blocks;
};

struct KOVA_EVAL_CONTEXT {
    // condition must outlive the context (it is the text being evaluated),
    // so a text made for the call, which would be gone before the parse
    // reads it, is refused.
    KOVA_EVAL_CONTEXT(KOVA_RULES_VALIDATOR* validator, const std::string& condition,
                      KOVA_RULES_VALIDATOR_PARSER_MODE mode)
        : validator(validator), condition(condition), mode(mode) {}
    KOVA_EVAL_CONTEXT(KOVA_RULES_VALIDATOR* validator, const std::string&& condition,
                      KOVA_RULES_VALIDATOR_PARSER_MODE mode) = delete;
    // The same for a part of a longer text (a list item), which must
    // outlive the context as well.
    KOVA_EVAL_CONTEXT(KOVA_RULES_VALIDATOR* validator, std::string_view condition,
                      KOVA_RULES_VALIDATOR_PARSER_MODE mode)
        : validator(validator), condition(condition), mode(mode) {}

    // Posts a message to the validator, when there is one, as a warning
    // of the kind given: nothing an evaluation reports makes a
    // configuration invalid by itself.
    void post(const std::string& message, KOVA_DIAGNOSTIC_KIND kind) const;
    // Posts message + " while parsing " + the condition text, a parse
    // error found at the token that starts at offset at.
    void post_parse_failure(const std::string& message, uint32_t at) const;
    bool text_mode() const { return mode == PARSER_MODE_TEXT; }

    // Memory for the parser's grown stacks; null when none can be had.
    // The blocks live as long as the context, so an exception that leaves
    // the parser in the middle of a parse leaks nothing.
    void* allocate_stack_block(std::size_t bytes);

    KOVA_RULES_VALIDATOR* validator;
    std::string_view condition;  // views the caller's text
    KOVA_RULES_VALIDATOR_PARSER_MODE mode;
    std::string result;
    KOVA_VALUE_POOL pool;
    // Set while the text's shape is read (expr/syntax_tree.h): the
    // grammar's actions then add phrases here and evaluate nothing, and a
    // parse failure is kept here instead of being posted.
    KOVA_SYNTAX_TREE* tree = nullptr;
    // Set while a compiled text runs: the validator's memo of the objects
    // that names stand for (expr/program_table.h).
    KOVA_PROGRAM_CACHE* programs = nullptr;

private:
    std::vector<std::unique_ptr<char[]>> m_stack_blocks;
};

#endif
