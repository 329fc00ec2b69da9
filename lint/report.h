// The findings of one lint: each check's message placed in the file where
// its text was written, graded (--werror makes warnings errors), and left
// out when the check is disabled on the command line (or runs only on
// request and was not enabled) or silenced by a lint_ignore field on the
// object or the model it concerns.
#ifndef KOVA_LINT_REPORT_H
#define KOVA_LINT_REPORT_H

#include <set>
#include <string>

#include "lint/lint.h"
#include "lint/source_columns.h"
#include "lint/texts.h"

class KOVA_LINT_REPORT {
public:
    explicit KOVA_LINT_REPORT(const KOVA_LINT_OPTIONS& options);

    bool enabled(const char* check) const { return m_disabled.count(check) == 0; }
    // A finding of check at place (at its token when place.offset is set),
    // of the check's grade, with a hint ("" for none). A parse error
    // quotes its source line, which text output shows with a caret.
    void add(const char* check, const std::string& text, const KOVA_LINT_PLACE& place,
             KOVA_DIAGNOSTIC_KIND kind = KOVA_DIAG_LINT, const std::string& hint = std::string());
    // A finding taken from an engine message (already located); silenced
    // through the written object of the same name, looked up in models.
    void add_message(const char* check, KOVA_MESSAGE message, const std::vector<KOVA_INFO*>& models);
    // Whether check already found something in the field that starts at
    // location (where the engine places its own messages about the field).
    bool found_at(const char* check, const KOVA_SOURCE_LOCATION& location) const;
    // Where place is: its field, or its token when place.offset is set.
    KOVA_SOURCE_LOCATION locate(const KOVA_LINT_PLACE& place);
    // The findings ordered by file, line and column (stable).
    KOVA_MESSAGES take();

private:
    bool silenced(const char* check, const KOVA_INFO* model, const KOVA_OBJ_INFO* object) const;
    // Keeps message; field is where the field it is about starts.
    void keep(const char* check, KOVA_MESSAGE message, const KOVA_SOURCE_LOCATION& field);

    std::set<std::string> m_disabled;
    std::set<std::string> m_places;  // "check file line:column" of the field of every finding kept
    bool m_werror;
    KOVA_MESSAGES m_messages;
    KOVA_LINT_SOURCES m_sources;  // the files read to place findings at their tokens
};

// The check names a lint_ignore field gives: words split at blanks and commas.
std::vector<std::string> kova_lint_ignore_names(const std::string& field);

#endif
