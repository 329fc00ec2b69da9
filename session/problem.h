// The one way the shared layer reports a request it cannot answer: a kind,
// a text and the messages that explain it. Every front end maps the kind
// to its own form: the kova tool to exit status 2 and the text, kova serve
// to an HTTP status, the Python module to an exception class. A text
// never names a command-line option: the tool adds those words.
#ifndef KOVA_PROBLEM_H
#define KOVA_PROBLEM_H

#include <string>

#include "session/message.h"

enum class KOVA_PROBLEM_KIND {
    NONE,           // no problem: the answer is there
    USAGE,          // the request itself is malformed (options that do not go together, a missing name)
    NOT_FOUND,      // it names a port, parameter, map, vector or check the description does not have
    FILE,           // a file cannot be read or written
    LOAD,           // the description cannot be loaded
    INVALID_VALUE,  // a setting or value the description does not accept
    LIMIT,          // more than the layer takes (a body, a sweep, a budget)
    TIME,           // work stopped at the session's deadline (a repair's search)
};

struct KOVA_PROBLEM {
    KOVA_PROBLEM_KIND kind = KOVA_PROBLEM_KIND::NONE;
    std::string text;
    KOVA_MESSAGES messages;

    explicit operator bool() const { return kind != KOVA_PROBLEM_KIND::NONE; }
};

KOVA_PROBLEM kova_problem(KOVA_PROBLEM_KIND kind, std::string text, KOVA_MESSAGES messages = {});
class KOVA_SESSION;

// "no WHAT is named NAME": the one text for a name the description lacks.
KOVA_PROBLEM kova_not_named(const std::string& what, const std::string& name);
// "no port or parameter is named NAME", with the session's nearest name
// (session.cpp).
KOVA_PROBLEM kova_not_named_object(const KOVA_SESSION& session, const std::string& name);
// An invalid-value problem told by its messages alone (no text of its
// own), as every front end reports refused settings or a failed load.
KOVA_PROBLEM kova_refused(KOVA_MESSAGES messages, KOVA_PROBLEM_KIND kind = KOVA_PROBLEM_KIND::INVALID_VALUE);
// The problem's one-line text: its own, else its first message's, else
// "failed".
std::string kova_problem_text(const KOVA_PROBLEM& problem);

#endif
