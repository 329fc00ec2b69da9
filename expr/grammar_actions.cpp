// The grammar's actions: each either evaluates its phrase or, when the
// context reads syntax, adds a node to the context's tree. Nodes are added
// as the parser reduces, so a node's children are always in the tree
// before it.
#include "expr/grammar_actions.h"

#include <string>
#include <utility>

#include "expr/name_resolution.h"
#include "expr/phrase_values.h"

namespace {

KOVA_PHRASE value(const char* text) { return {text, -1}; }

// Adds node with the children given; its phrase carries no value.
KOVA_PHRASE add(KOVA_EVAL_CONTEXT& ctx, KOVA_SYNTAX_NODE node, std::initializer_list<KOVA_PHRASE> children = {}) {
    int slot = 0;
    for (const KOVA_PHRASE& child : children) node.child[slot++] = child.node;
    ctx.tree->nodes.push_back(std::move(node));
    return {"", static_cast<int32_t>(ctx.tree->nodes.size() - 1)};
}

KOVA_SYNTAX_NODE node_of(KOVA_SYNTAX_KIND kind, uint32_t at, std::string text = std::string(), uint8_t op = 0) {
    KOVA_SYNTAX_NODE node;
    node.kind = kind;
    node.op = op;
    node.at = at;
    node.text = std::move(text);
    return node;
}

}  // namespace

void kova_action_top(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE whole) {
    if (ctx.tree)
        ctx.tree->root = whole.node;
    else
        ctx.result = whole.text;
}

KOVA_PHRASE kova_action_macro_call(KOVA_EVAL_CONTEXT& ctx, const char* name, const char* arguments, uint32_t at) {
    if (!ctx.tree) return value(kova_macro_call_value(ctx, name, arguments));
    KOVA_SYNTAX_NODE node = node_of(KOVA_SYN_MACRO_CALL, at, name);
    node.arguments = arguments;
    return add(ctx, std::move(node));
}

KOVA_PHRASE kova_action_name(KOVA_EVAL_CONTEXT& ctx, const char* name, uint32_t at) {
    if (!ctx.tree) return value(expression_name_value(ctx, name));
    return add(ctx, node_of(KOVA_SYN_NAME, at, name));
}

KOVA_PHRASE kova_action_string(KOVA_EVAL_CONTEXT& ctx, const char* quoted, uint32_t at) {
    if (!ctx.tree) return value(kova_string_value(ctx, quoted));
    return add(ctx, node_of(KOVA_SYN_STRING, at, quoted));
}

KOVA_PHRASE kova_action_integer(KOVA_EVAL_CONTEXT& ctx, int32_t number, uint32_t at) {
    const char* text = kova_integer_text(ctx.pool, number);
    if (!ctx.tree) return value(text);
    return add(ctx, node_of(KOVA_SYN_INTEGER, at, text));
}

KOVA_PHRASE kova_action_dotted(KOVA_EVAL_CONTEXT& ctx, const char* a, const char* b, uint32_t at) {
    const char* text = kova_join_texts(ctx.pool, {a, ".", b});
    if (!ctx.tree) return value(text);
    return add(ctx, node_of(KOVA_SYN_DOTTED, at, text));
}

KOVA_PHRASE kova_action_choice(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, KOVA_PHRASE c, uint32_t at) {
    if (!ctx.tree) return value(kova_choice_value(ctx, a.text, b.text, c.text));
    return add(ctx, node_of(KOVA_SYN_CHOICE, at), {a, b, c});
}

KOVA_PHRASE kova_action_query(KOVA_EVAL_CONTEXT& ctx, KOVA_QUERY_KIND kind, const char* name, uint32_t at) {
    if (ctx.tree) return add(ctx, node_of(KOVA_SYN_QUERY, at, name, kind));
    switch (kind) {
        case KOVA_QUERY_USED: return value(kova_truth_text(expression_is_used(ctx, name)));
        case KOVA_QUERY_CONSTANT: return value(kova_truth_text(expression_is_constant_port(ctx, name)));
        case KOVA_QUERY_PORT: return value(kova_port_value(ctx, name));
        case KOVA_QUERY_STR:
        default: return value(kova_quoted_name_value(ctx, name));
    }
}

KOVA_PHRASE kova_action_ceil_log(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, uint32_t at) {
    if (!ctx.tree) return value(kova_ceil_log_value(ctx, a.text));
    return add(ctx, node_of(KOVA_SYN_CEIL_LOG, at), {a});
}

KOVA_PHRASE kova_action_max(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, uint32_t at) {
    if (!ctx.tree) return value(kova_max_value(a.text, b.text));
    return add(ctx, node_of(KOVA_SYN_MAX, at), {a, b});
}

KOVA_PHRASE kova_action_min(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, KOVA_PHRASE b, uint32_t at) {
    if (!ctx.tree) return value(kova_min_value(a.text, b.text));
    return add(ctx, node_of(KOVA_SYN_MIN, at), {a, b});
}

KOVA_PHRASE kova_action_binary(KOVA_EVAL_CONTEXT& ctx, KOVA_BINARY_OPERATOR op, KOVA_PHRASE a, KOVA_PHRASE b,
                               uint32_t at) {
    if (!ctx.tree) return value(kova_binary_value(ctx, op, a.text, b.text));
    return add(ctx, node_of(KOVA_SYN_BINARY, at, std::string(), static_cast<uint8_t>(op)), {a, b});
}

KOVA_PHRASE kova_action_not(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a, uint32_t at) {
    if (!ctx.tree) return value(kova_not_value(ctx, a.text));
    return add(ctx, node_of(KOVA_SYN_NOT, at), {a});
}

KOVA_PHRASE kova_action_grouped(KOVA_EVAL_CONTEXT& ctx, KOVA_PHRASE a) {
    if (ctx.tree && a.node >= 0) ctx.tree->nodes[static_cast<std::size_t>(a.node)].grouped = true;
    return a;
}
