// Every port and parameter of a validator as the front ends list them:
// kind, name, value text, default, current and alternate value, usage
// states, label and help text. `kova show` and the Python module read them here, so both list
// the same objects in the same order with the same texts.
#ifndef KOVA_OBJECT_STATES_H
#define KOVA_OBJECT_STATES_H

#include <string>
#include <vector>

#include "session/help_texts.h"
#include "session/value_origins.h"
#include "validator/kova_rules_validator.h"

struct KOVA_OBJECT_STATE {
    bool port = false;
    std::string kind;           // kova_object_kind_name
    std::string name;
    std::string value_text;     // a parameter's value text (list, range); a port's width expression
    std::string default_value;  // as the description writes it
    // A parameter's current value; a port's current value in decimal, ""
    // while it is unknown (a port has one only when held at a value).
    std::string value;
    std::string alt_value;      // a parameter's alternate value; "" for a port
    int usage = KOVA_USAGE_NONE;
    int alt_usage = KOVA_USAGE_NONE;
    int model_usage = KOVA_USAGE_NONE;  // the description's own state (or default)
    KOVA_HELP help;                     // the description's label and help text
    // Where its value came from: filled by kova_object_states on a session
    // (kova_add_value_origins), DEFAULT at no place when read from a
    // validator alone.
    KOVA_VALUE_ORIGIN origin;
};

// The ports and parameters, in the description's order; macros are left
// out, and so are hidden parameters unless asked for (then each has its
// expression as value text and its derived value as value, as the last
// run or derive left it).
std::vector<KOVA_OBJECT_STATE> kova_object_states(const KOVA_RULES_VALIDATOR& validator, bool with_hidden = false);
// The same for the session's validator, each with its origin.
std::vector<KOVA_OBJECT_STATE> kova_object_states(const KOVA_SESSION& session, bool with_hidden = false);

#endif
