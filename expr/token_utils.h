// Splitting rule texts into element tokens, whole-token substitution, and
// membership in legal-value lists and ranges: the exported functions
// (expr/kova_tokens.h, installed) and the library's internal helpers.
#ifndef KOVA_TOKEN_UTILS_H
#define KOVA_TOKEN_UTILS_H

#include <string>
#include <string_view>

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

// Calls take(item) for each item of a "|"-separated list, in order, as
// views into list: the items QEL_TOKEN_READER(list, "|") gives, empty ones
// included, without a string per item. The compiled texts of a model and
// the evaluation of its lists split them with this one walk, so an item
// is found under the text it was compiled from.
template <typename TAKE>
void kova_for_each_list_item(std::string_view list, TAKE&& take) {
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t bar = list.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? list.size() : bar;
        take(list.substr(start, end - start));
        start = end + 1;
    }
}

// The value a parameter with an illegal value is corrected to: the last
// item of a list, the upper bound of a range, or the text itself.
std::string get_last_legal_value(const std::string& legal_values);

#endif
