// The groups of lint checks, each in a file of its own: the texts (read
// into syntax trees), the words they compare and combine, their arithmetic
// at the corners of the legal values, the model's values and declarations,
// its rules, and the default configuration run on a copy of the session.
#ifndef KOVA_LINT_CHECKS_H
#define KOVA_LINT_CHECKS_H

#include <vector>

#include "lint/report.h"
#include "lint/texts.h"
#include "session/session.h"

// What a checker holds: the validator whose objects names are looked up
// in, which outlives it (never a temporary), and the report it adds to.
class KOVA_LINT_CHECKER {
public:
    KOVA_LINT_CHECKER(const KOVA_RULES_VALIDATOR& validator, KOVA_LINT_REPORT& report)
        : m_validator(validator), m_report(report) {}
    KOVA_LINT_CHECKER(const KOVA_RULES_VALIDATOR&& validator, KOVA_LINT_REPORT& report) = delete;

protected:
    const KOVA_RULES_VALIDATOR& m_validator;
    KOVA_LINT_REPORT& m_report;
};

// parse-error, unplaced-character, unknown-name, macro-call, precedence,
// uninstantiated-call, force-command.
void kova_check_texts(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report);

// unknown-literal, text-order, truth-word, glued-name.
void kova_check_values(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                       KOVA_LINT_REPORT& report);

// overflow, inexact-division.
void kova_check_corners(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                        KOVA_LINT_REPORT& report);

// fixed-check, overridden-rule.
void kova_check_rules(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report);

// default-value, reversed-range, unenforced-values, unwritable-name,
// rule-kind, library-tail, lint-ignore, missing-help.
void kova_check_model(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report);

// previous-name.
void kova_check_previous_names(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                               KOVA_LINT_REPORT& report);

// cycle, default-config, not-boolean, unreached.
void kova_check_run(const KOVA_SESSION& session, const std::vector<KOVA_INFO*>& models, KOVA_LINT_REPORT& report);

#endif
