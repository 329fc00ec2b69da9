// Where a text that does not parse went wrong, and a hint for the common
// slips: "=" for "==", keywords written in capitals, a "(" never closed,
// something after a text that was complete (where the engine's message
// says "$", the end of the text). The engine's message itself is kept as
// it is; the place and the hint are lint's additions.
#ifndef KOVA_LINT_PARSE_HINTS_H
#define KOVA_LINT_PARSE_HINTS_H

#include <cstdint>
#include <string>

#include "expr/syntax_tree.h"

struct KOVA_PARSE_STOP {
    uint32_t at;       // the offset of the token to point at
    std::string hint;  // "" when none fits
};

class KOVA_PARSE_HINTS {
public:
    // Where tree, the tree of text that did not parse, stopped: its
    // unclosed "(" when it has one, else the token the parse stopped at.
    // tree must come from another reader than this one's.
    KOVA_PARSE_STOP stop(const std::string& text, const KOVA_SYNTAX_TREE& tree);

private:
    std::string keyword_hint(const std::string& word);

    KOVA_SYNTAX_READER m_words;  // reads a single word to tell a keyword from a name
};

#endif
