// The entry points of the expression language. Every evaluation owns its
// context, value pool and scanner, so a nested evaluation (a macro
// refreshed in the middle of a parse) leaves the outer one intact, and
// validators in different threads never share state.
#include <string>

#include "expr/eval_context.h"
#include "expr/parser.hpp"
#include "expr/scanner.h"
#include "validator/kova_rules_validator.h"

std::string KOVA_RULES_VALIDATOR::evaluate_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode) {
    KOVA_EVAL_CONTEXT context(this, text, mode);
    if (!text.empty()) {
        // A syntax error or stack overflow has already posted its message
        // and left the result empty, so the parse's answer is not needed.
        KOVA_SCANNER scanner(text);
        kova_rules_validator_yyparse(context, scanner);
    }
    return context.result;
}

std::string KOVA_RULES_VALIDATOR::evaluate_value_expression(const std::string& text, bool refresh) {
    for (const char* word : {"", "UNUSED", "USED", "+c.mif"}) {
        if (kova_equal_nocase(text, word)) return text;
    }
    return evaluate_expression(text, refresh ? PARSER_MODE_REFRESH_MACROS : PARSER_MODE_EVALUATE);
}

std::string KOVA_RULES_VALIDATOR::evaluate_cmd_expression(const std::string& text) const {
    return m_cmd_list.contains(text) ? "true" : "false";
}
