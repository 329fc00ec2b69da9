// The operator words that the dependency scans must not take for names.
#include "validator/kova_rules_validator.h"

namespace {

// Tested in this order; "OR", "!=", ">=" and "<=" are deliberately absent.
const char* const RESERVED_KEYWORDS[] = {"AND", "||", "&&", "gt", "lt", "==", ">", "<"};

}  // namespace

bool KOVA_RULES_VALIDATOR::is_reserved_keyword(const std::string& token) const {
    for (const char* keyword : RESERVED_KEYWORDS) {
        if (kova_equal_nocase(token, keyword)) {
            return true;
        }
    }
    return false;
}
