// The shape of a rule text as the grammar reads it, built without
// evaluating anything: the same scanner and grammar as an evaluation, with
// each phrase added to a tree instead of computed (expr/grammar_actions.h).
// Checks of a description (kova lint) work on these trees, so a text is
// judged exactly as the engine parses it, and reading it changes no model.
#ifndef KOVA_SYNTAX_TREE_H
#define KOVA_SYNTAX_TREE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "expr/operators.h"
#include "objects/kova_rules_export.h"

class KOVA_SCANNER;

enum KOVA_SYNTAX_KIND : uint8_t {
    KOVA_SYN_NAME,        // a bare name: an object's value, or the word itself
    KOVA_SYN_STRING,      // a quoted string, text as written with its quotes
    KOVA_SYN_INTEGER,     // digits, text as written
    KOVA_SYN_DOTTED,      // a.b, text as written without blanks
    KOVA_SYN_MACRO_CALL,  // name(arguments)
    KOVA_SYN_QUERY,       // used(n), is_constant(n), port(n), str(n)
    KOVA_SYN_CEIL_LOG,    // ceil_log(a)
    KOVA_SYN_MAX,         // max(a, b)
    KOVA_SYN_MIN,         // min(a, b)
    KOVA_SYN_BINARY,      // a op b
    KOVA_SYN_NOT,         // !a
    KOVA_SYN_CHOICE       // a ? b : c
};

// The name-taking calls of the language.
enum KOVA_QUERY_KIND : uint8_t { KOVA_QUERY_USED, KOVA_QUERY_CONSTANT, KOVA_QUERY_PORT, KOVA_QUERY_STR };

struct KOVA_SYNTAX_NODE {
    KOVA_SYNTAX_KIND kind = KOVA_SYN_NAME;
    uint8_t op = 0;        // a KOVA_BINARY_OPERATOR, or a KOVA_QUERY_KIND
    bool grouped = false;  // written between parentheses
    std::string text;      // the name, literal or macro name
    std::string arguments; // a call's names as the grammar joins them ("a,b")
    // The byte offset in the text of the node's own token: a name's,
    // literal's or call's first character, a query's name, an operator's
    // first character for a binary, ! or ? node, the keyword of ceil_log,
    // max and min.
    uint32_t at = 0;
    int32_t child[3] = {-1, -1, -1};
};

struct KOVA_SYNTAX_TREE {
    // Children come before their parents, so the root is the last node.
    std::vector<KOVA_SYNTAX_NODE> nodes;
    int32_t root = -1;     // -1 for an empty text or one that does not parse
    std::string error;     // the engine's parse-error message; "" when it parsed
    uint32_t error_at = 0; // the offset of the token the parse stopped at (the text's length at its end)
    std::string unplaced;  // characters the scanner skipped, in order
    // The offset of the innermost "(" left open when the parse stopped at
    // the end of a text that ends after an operand (a name, a literal or
    // ")"), so that a ")" is what it wants; -1 otherwise.
    int32_t unclosed_at = -1;

    bool parsed() const { return error.empty(); }
    const KOVA_SYNTAX_NODE& operator[](int32_t node) const { return nodes[static_cast<std::size_t>(node)]; }
};

// Reads texts into trees, reusing one scanner for all of them.
class KOVA_RULES_API KOVA_SYNTAX_READER {
public:
    KOVA_SYNTAX_READER();
    KOVA_SYNTAX_READER(const KOVA_SYNTAX_READER&) = delete;
    KOVA_SYNTAX_READER& operator=(const KOVA_SYNTAX_READER&) = delete;
    ~KOVA_SYNTAX_READER();

    // The tree of text; valid until the next read.
    const KOVA_SYNTAX_TREE& read(const std::string& text);

private:
    std::unique_ptr<KOVA_SCANNER> m_scanner;
    KOVA_SYNTAX_TREE m_tree;
};

// The operator as the language writes it in its first spelling ("+",
// "div", "==", "str_lt", "and").
KOVA_RULES_API const char* kova_operator_text(KOVA_BINARY_OPERATOR op);

// The phrase of node written out with single blanks around operators and
// every parenthesis the grammar puts in (for messages).
KOVA_RULES_API std::string kova_syntax_text(const KOVA_SYNTAX_TREE& tree, int32_t node);

#endif
