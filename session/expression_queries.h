// Questions about rule texts under the current state: the value of an
// expression in one of the evaluation modes, and what an object or an
// expression depends on. `kova eval`, `kova deps` and the Python module
// answer through these.
#ifndef KOVA_EXPRESSION_QUERIES_H
#define KOVA_EXPRESSION_QUERIES_H

#include <map>
#include <string>
#include <vector>

#include "session/problem.h"
#include "session/session.h"

// The evaluation modes by name: evaluate, refresh (a bare macro name is
// re-evaluated first) and text (operators rendered as canonical text).
const std::map<std::string, KOVA_RULES_VALIDATOR_PARSER_MODE>& kova_parser_modes();

// The mode of a name, letter case ignored; else an invalid-value problem
// ("mode must be evaluate, refresh or text, not X" with the nearest name
// when one is near).
KOVA_PROBLEM kova_parser_mode_named(const std::string& name, KOVA_RULES_VALIDATOR_PARSER_MODE& mode);

struct KOVA_EVALUATION {
    std::string result;
    bool parsed = true;      // false when the text does not parse
    KOVA_MESSAGES messages;  // what the evaluation posted, in no file: their origin is "expression"
};

KOVA_EVALUATION kova_evaluate(KOVA_SESSION& session, const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode);

struct KOVA_DEPENDENCIES {
    std::vector<std::string> names;  // in order of first mention
    std::string text;                // the names with their values or states, as messages show them
};

// What the rules of a port, parameter or other object depend on (itself
// left out); false when no object has that name.
bool kova_object_dependencies(const KOVA_SESSION& session, const std::string& name, KOVA_DEPENDENCIES& dependencies);

// The ports and parameters an expression names, directly or through the
// macros it calls.
KOVA_DEPENDENCIES kova_expression_dependencies(const KOVA_SESSION& session, const std::string& text);

#endif
