// The entry points of the expression language. Every evaluation owns its
// context and value pool and leases a scanner of its own from the
// validator's pool, so a nested evaluation (a macro refreshed in the
// middle of a parse) leaves the outer one intact, and validators in
// different threads never share state.
#include <memory>
#include <string>
#include <utility>

#include "expr/eval_context.h"
#include "expr/parser.hpp"
#include "expr/scanner_pool.h"
#include "expr/usage_words.h"
#include "validator/kova_rules_validator.h"

std::string KOVA_RULES_VALIDATOR::evaluate_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode) {
    KOVA_EVAL_CONTEXT context(this, text, mode);
    if (!text.empty()) {
        // A syntax error or stack overflow has already posted its message
        // and left the result empty, so the parse's answer is not needed.
        if (!m_scanners) m_scanners = std::make_unique<KOVA_SCANNER_POOL>();
        KOVA_SCANNER_POOL::LEASE lease = m_scanners->lease(text);
        // Every evaluation sets the capture of its scanner afresh, so a
        // scanner handed back by an evaluation that threw never writes to
        // that evaluation's string.
        std::string unplaced;
        lease.scanner().capture_into(m_scanner_output ? &unplaced : nullptr);
        kova_rules_validator_yyparse(context, lease.scanner());
        if (!unplaced.empty()) report_unplaced_characters(text, unplaced);
    }
    return std::move(context.result);
}

void KOVA_RULES_VALIDATOR::report_unplaced_characters(const std::string& text, const std::string& unplaced) {
    m_scanner_output->write(unplaced.data(), static_cast<std::streamsize>(unplaced.size()));
    KOVA_DIAGNOSTIC record;
    record.severity = KOVA_SEVERITY_WARNING;
    record.kind = KOVA_DIAG_UNPLACED_CHARACTER;
    record.text = "The characters \"" + unplaced + "\" of " + text +
                  " are not part of the rule language and were skipped";
    file_diagnostic(std::move(record));
}

std::string KOVA_RULES_VALIDATOR::evaluate_value_expression(const std::string& text, bool refresh) {
    if (kova_value_taken_as_written(text)) return text;
    return evaluate_expression(text, refresh ? PARSER_MODE_REFRESH_MACROS : PARSER_MODE_EVALUATE);
}

std::string KOVA_RULES_VALIDATOR::evaluate_cmd_expression(const std::string& text) const {
    return m_cmd_list.contains(text) ? "true" : "false";
}
