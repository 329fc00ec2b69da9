// Reading a text's shape with the engine's own scanner and grammar, and
// writing a phrase back out for messages.
#include "expr/syntax_tree.h"

#include "expr/eval_context.h"
#include "expr/parser.hpp"
#include "expr/scanner.h"

namespace {

// The tokens of text once more, after a parse that stopped at its end:
// the innermost "(" they leave open when the last one ends an operand.
int32_t unclosed_parenthesis(KOVA_SCANNER& scanner, const std::string& text) {
    std::string skipped;
    scanner.restart(text);
    scanner.capture_into(&skipped);
    std::vector<std::size_t> open;
    int last = 0;
    for (KOVA_TOKEN token = scanner.next(); token.code != 0; token = scanner.next()) {
        if (token.code == '(')
            open.push_back(token.offset);
        else if (token.code == ')' && !open.empty())
            open.pop_back();
        last = token.code;
    }
    scanner.capture_into(nullptr);
    const bool operand_ends = last == NAME || last == INTEGER || last == STRING || last == ')';
    return operand_ends && !open.empty() ? static_cast<int32_t>(open.back()) : -1;
}

}  // namespace

KOVA_SYNTAX_READER::KOVA_SYNTAX_READER() : m_scanner(std::make_unique<KOVA_SCANNER>(std::string())) {}

KOVA_SYNTAX_READER::~KOVA_SYNTAX_READER() = default;

const KOVA_SYNTAX_TREE& KOVA_SYNTAX_READER::read(const std::string& text) {
    m_tree.nodes.clear();
    m_tree.root = -1;
    m_tree.error.clear();
    m_tree.error_at = 0;
    m_tree.unplaced.clear();
    m_tree.unclosed_at = -1;
    // An empty text is never evaluated (it reads as ""), so it has no tree.
    if (text.empty()) return m_tree;
    m_scanner->restart(text);
    m_scanner->capture_into(&m_tree.unplaced);
    KOVA_EVAL_CONTEXT context(nullptr, text, PARSER_MODE_EVALUATE);
    context.tree = &m_tree;
    kova_rules_validator_yyparse(context, *m_scanner);
    m_scanner->capture_into(nullptr);
    if (m_tree.parsed()) return m_tree;
    m_tree.root = -1;
    if (m_tree.error_at == text.size()) m_tree.unclosed_at = unclosed_parenthesis(*m_scanner, text);
    return m_tree;
}

const char* kova_operator_text(KOVA_BINARY_OPERATOR op) {
    static const char* const TEXTS[] = {"+",  "-",  "*", "exp", "div", "quot", "ceil_div", "%",      "double_div",
                                        "||", "and", "==", "!=", ">",  ">=",  "<",        "<=",     "str_gt",
                                        "str_gte", "str_lt", "str_lte"};
    return TEXTS[op];
}

namespace {

const char* query_text(uint8_t kind) {
    static const char* const TEXTS[] = {"used", "is_constant", "port", "str"};
    return TEXTS[kind];
}

// The text of one node from the texts of its children, which it takes.
// An operand that is itself made of operators is put in parentheses, so
// the message shows how the text groups.
std::string node_text(const KOVA_SYNTAX_TREE& tree, int32_t node, std::vector<std::string>& texts) {
    const KOVA_SYNTAX_NODE& phrase = tree[node];
    auto part = [&](int slot) { return std::move(texts[static_cast<std::size_t>(phrase.child[slot])]); };
    auto operand = [&](int slot) {
        const KOVA_SYNTAX_NODE& child = tree[phrase.child[slot]];
        const bool compound = child.kind == KOVA_SYN_BINARY || child.kind == KOVA_SYN_CHOICE;
        return compound && !child.grouped ? "(" + part(slot) + ")" : part(slot);
    };
    std::string text;
    switch (phrase.kind) {
        case KOVA_SYN_NAME:
        case KOVA_SYN_STRING:
        case KOVA_SYN_INTEGER:
        case KOVA_SYN_DOTTED: text = phrase.text; break;
        case KOVA_SYN_MACRO_CALL: text = phrase.text + "(" + phrase.arguments + ")"; break;
        case KOVA_SYN_QUERY: text = std::string(query_text(phrase.op)) + "(" + phrase.text + ")"; break;
        case KOVA_SYN_CEIL_LOG: text = "ceil_log(" + part(0) + ")"; break;
        case KOVA_SYN_MAX:
        case KOVA_SYN_MIN:
            text = std::string(phrase.kind == KOVA_SYN_MAX ? "max(" : "min(") + part(0) + ", " + part(1) + ")";
            break;
        case KOVA_SYN_BINARY:
            text = operand(0) + " " + kova_operator_text(static_cast<KOVA_BINARY_OPERATOR>(phrase.op)) + " " + operand(1);
            break;
        case KOVA_SYN_NOT: text = "!" + operand(0); break;
        case KOVA_SYN_CHOICE: text = operand(0) + " ? " + operand(1) + " : " + operand(2); break;
    }
    return phrase.grouped ? "(" + text + ")" : text;
}

}  // namespace

// Built bottom up: every node's children come before it and belong to it
// alone, so each text is made once from its children's and moved up,
// without recursion however deeply the text nests. The grammar reduces a
// phrase's parts one after the other, so the phrase's nodes are the run
// from its leftmost leaf (first children all the way down) to itself.
std::string kova_syntax_text(const KOVA_SYNTAX_TREE& tree, int32_t node) {
    if (node < 0) return std::string();
    int32_t first = node;
    while (tree[first].child[0] >= 0) first = tree[first].child[0];
    std::vector<std::string> texts(static_cast<std::size_t>(node) + 1);
    for (int32_t at = first; at <= node; ++at) texts[static_cast<std::size_t>(at)] = node_text(tree, at, texts);
    return std::move(texts[static_cast<std::size_t>(node)]);
}
