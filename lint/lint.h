// kova lint: the mistakes of a description that a user would otherwise
// meet first. Every text the engine will evaluate is read once into its
// syntax tree (expr/syntax_tree.h) and checked there, without evaluating
// it; only the default-configuration check runs the validator, on a copy
// of the session. The session itself, its model and its error list are
// left as they were.
//
// Each finding names its check, so it can be turned off (--disable, or a
// lint_ignore field on the object or the model in the description). A
// check that runs only on request runs when --enable names it.
#ifndef KOVA_LINT_H
#define KOVA_LINT_H

#include <string>
#include <vector>

#include "lint/registry.h"
#include "session/message.h"
#include "session/session.h"

struct KOVA_LINT_OPTIONS {
    std::vector<std::string> disabled;  // check names left out
    bool warnings_are_errors = false;   // --werror
    std::vector<std::string> enabled;   // checks that run only on request, asked for (--disable wins)
};

// The findings for the session's description, ordered by file, line and
// column; each message's check field names its check. The description is
// read once more as written (sub-models apart) for the checks of texts:
// when that read fails (the file changed or went away since the session
// loaded it, or was a pipe that gave its text once), the answer is false
// and findings holds why, as load messages, instead.
bool kova_lint(const KOVA_SESSION& session, const KOVA_LINT_OPTIONS& options, KOVA_MESSAGES& findings);

#endif
