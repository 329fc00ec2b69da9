// What each rule of the grammar does with its phrase. An evaluation
// computes the phrase's value (expr/phrase_values.h); a context that reads
// syntax (KOVA_EVAL_CONTEXT::tree set) adds the phrase to the tree instead
// and evaluates nothing, so reading a text's shape has no effect on any
// model. Either way a phrase travels on the parser's stack as a
// KOVA_PHRASE. Each action that makes a node takes at, the offset in the
// text of the phrase's own token (KOVA_SYNTAX_NODE::at); an evaluation
// ignores it.
#ifndef KOVA_GRAMMAR_ACTIONS_H
#define KOVA_GRAMMAR_ACTIONS_H

#include <cstdint>

#include "expr/eval_context.h"
#include "expr/operators.h"
#include "expr/syntax_tree.h"

// A phrase: its value when evaluating, its node when reading syntax.
struct KOVA_PHRASE {
    const char* text;
    int32_t node;
};

void kova_action_top(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE whole);
KOVA_PHRASE kova_action_macro_call(KOVA_EVAL_CONTEXT& ctx, const char* name, const char* arguments, uint32_t at);
KOVA_PHRASE kova_action_name(KOVA_EVAL_CONTEXT& ctx, const char* name, uint32_t at);
KOVA_PHRASE kova_action_string(KOVA_EVAL_CONTEXT& ctx, const char* quoted, uint32_t at);
KOVA_PHRASE kova_action_integer(KOVA_EVAL_CONTEXT& ctx, int32_t value, uint32_t at);
// a.b, where either part may be a name or digits.
KOVA_PHRASE kova_action_dotted(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b, uint32_t at);
KOVA_PHRASE kova_action_choice(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, KOVA_PHRASE c, uint32_t at);
KOVA_PHRASE kova_action_query(KOVA_EVAL_CONTEXT& ctx, KOVA_QUERY_KIND kind, const char* name, uint32_t at);
KOVA_PHRASE kova_action_ceil_log(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, uint32_t at);
KOVA_PHRASE kova_action_max(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, uint32_t at);
KOVA_PHRASE kova_action_min(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, uint32_t at);
KOVA_PHRASE kova_action_binary(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, KOVA_PHRASE a, KOVA_PHRASE b,
                               uint32_t at);
KOVA_PHRASE kova_action_not(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, uint32_t at);
// (a): the value of a; in a tree, a marked as written in parentheses.
KOVA_PHRASE kova_action_grouped(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a);

#endif
