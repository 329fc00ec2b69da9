// The token functions of rule texts that the shared library exports to
// hosts: element tokens, whole-token substitution, and membership in
// legal-value lists and ranges. Installed; the library's internal token
// helpers are in expr/token_utils.h, which is not.
#ifndef KOVA_TOKENS_H
#define KOVA_TOKENS_H

#include <string>

#include "objects/kova_rules_export.h"

// The 15 characters that separate element tokens (blank, tab, line break
// and "(),|!+-&=/%*"), as one string made once (splitting functions take
// their delimiters as a string).
KOVA_RULES_API const std::string& kova_element_delimiters();
// The next element token of expression, which loses it; after the marker
// word "str" the following token is returned between double quotes. Each
// call rewrites the rest of expression, so walks over a whole text use
// KOVA_ELEMENT_READER (expr/token_utils.h) instead.
KOVA_RULES_API std::string kova_get_element_token(std::string& expression);
// text with every whole element token equal to old_token (ignoring case)
// replaced by new_token.
KOVA_RULES_API std::string kova_substitute_string(const std::string& text, const std::string& old_token,
                                                  const std::string& new_token);
// Whether token equals one of the "|"-separated items of list.
KOVA_RULES_API bool kova_token_is_in_list(const std::string& list, const std::string& token);
// Whether token, read as a decimal integer, lies in range.
KOVA_RULES_API bool kova_token_is_in_range(const std::string& range, const std::string& token);

#endif
