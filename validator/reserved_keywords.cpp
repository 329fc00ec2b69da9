// The operator words that the dependency scans must not take for names.
#include "validator/kova_rules_validator.h"

namespace {

// Tested in this order; "OR", "!=", ">=" and "<=" are deliberately absent.
// Kept as strings made once, since every token of every scanned text is
// compared with them.
const std::string RESERVED_KEYWORDS[] = {"AND", "||", "&&", "gt", "lt", "==", ">", "<"};
// No keyword is longer, so a longer token is told apart by its length.
constexpr std::size_t LONGEST_RESERVED_KEYWORD = 3;

}  // namespace

bool KOVA_RULES_VALIDATOR::is_reserved_keyword(const std::string& token) const {
    if (token.size() > LONGEST_RESERVED_KEYWORD) return false;
    for (const std::string& keyword : RESERVED_KEYWORDS)
        if (kova_equal_nocase(token, keyword)) return true;
    return false;
}
