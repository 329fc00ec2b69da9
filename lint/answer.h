// The answer of lint (session/answers.h): the findings as its messages,
// in place of the run's, with "errors" and "warnings" counted; failed when
// there is any finding.
#ifndef KOVA_LINT_ANSWER_H
#define KOVA_LINT_ANSWER_H

#include "lint/lint.h"
#include "session/answers.h"

// A problem when a check to leave out or to enable does not exist (not
// found, after "--disable: " or "--enable: ", with a suggestion) or the
// description cannot be read again (file).
void kova_lint_answer(const KOVA_SESSION& session, const KOVA_LINT_OPTIONS& options, KOVA_ANSWER& answer);

#endif
