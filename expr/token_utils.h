// Splitting rule texts into element tokens, whole-token substitution, and
// membership in legal-value lists and ranges: the exported functions
// (expr/kova_tokens.h, installed) and the library's internal helpers.
#ifndef KOVA_TOKEN_UTILS_H
#define KOVA_TOKEN_UTILS_H

#include <string>

#include "expr/kova_tokens.h"
#include "host/qel_util.h"


// The element tokens of a whole text, one after the other, as repeated
// kova_get_element_token calls on a copy of it give them, in time linear
// in the text's length.
class KOVA_ELEMENT_READER {
public:
    explicit KOVA_ELEMENT_READER(const std::string& text) : m_tokens(text, kova_element_delimiters()) {}
    bool empty() const { return m_tokens.empty(); }
    std::string next();
    std::string rest() const { return m_tokens.rest(); }

private:
    QEL_TOKEN_READER m_tokens;
};

// The value a parameter with an illegal value is corrected to: the last
// item of a list, the upper bound of a range, or the text itself.
std::string get_last_legal_value(const std::string& legal_values);

#endif
