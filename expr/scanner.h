// The scanner of one rule text as the grammar and the entry points see it:
// an input string stream over a copy of the text and the flex scanner that
// reads it. The flex class itself stays behind this header, because its
// declaration may be seen only once per translation unit.
#ifndef KOVA_SCANNER_H
#define KOVA_SCANNER_H

#include <cstddef>
#include <memory>
#include <sstream>
#include <string>

class kova_rules_validator_yyFlexLexer;

// One token: its code (0 at the end of the text) and its text, which
// stays valid until the next token is taken.
struct KOVA_TOKEN {
    int code;
    const char* text;
    std::size_t length;
};

class KOVA_SCANNER {
public:
    // Characters that no rule places go to output; to standard output
    // when output is null.
    explicit KOVA_SCANNER(const std::string& text, std::ostream* output = nullptr);
    KOVA_SCANNER(const KOVA_SCANNER&) = delete;
    KOVA_SCANNER& operator=(const KOVA_SCANNER&) = delete;
    ~KOVA_SCANNER();

    KOVA_TOKEN next();

private:
    // Declared first: the scanner reads it, so it must outlive the scanner.
    std::istringstream m_input;
    std::unique_ptr<kova_rules_validator_yyFlexLexer> m_lexer;
};

#endif
