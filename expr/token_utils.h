// Splitting rule texts into element tokens, whole-token substitution, and
// membership in legal-value lists and ranges.
#ifndef KOVA_TOKEN_UTILS_H
#define KOVA_TOKEN_UTILS_H

#include <string>

#include "host/qel_util.h"
#include "objects/kova_rules_export.h"

// The 16 characters that separate element tokens, as one string made once
// (splitting functions take their delimiters as a string).
const std::string& kova_element_delimiters();

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

// The next element token of expression, which loses it; after the marker
// word "str" the following token is returned between double quotes. Each
// call rewrites the rest of expression, so walks over a whole text use
// KOVA_ELEMENT_READER instead.
KOVA_RULES_API std::string kova_get_element_token(std::string& expression);
// text with every whole element token equal to old_token (ignoring case)
// replaced by new_token.
KOVA_RULES_API std::string kova_substitute_string(const std::string& text, const std::string& old_token,
                                                  const std::string& new_token);
// Whether token equals one of the "|"-separated items of list.
KOVA_RULES_API bool kova_token_is_in_list(const std::string& list, const std::string& token);
// Whether token, read as a decimal integer, lies in range.
KOVA_RULES_API bool kova_token_is_in_range(const std::string& range, const std::string& token);

// The value a parameter with an illegal value is corrected to: the last
// item of a list, the upper bound of a range, or the text itself.
std::string get_last_legal_value(const std::string& legal_values);

#endif
