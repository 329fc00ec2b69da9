// The configuration every writer of kova generate works from: the
// function name, the integer and string parameters with their values,
// and every port with its usage state and evaluated width, in the
// description's order. Computed once per generation from a session.
#ifndef KOVA_GENERATE_CONFIGURATION_H
#define KOVA_GENERATE_CONFIGURATION_H

#include <string>
#include <vector>

#include "session/session.h"

// Integer values are written as 32-bit integers that every target reads:
// from -(2^31 - 1) to 2^31 - 1, the range VHDL guarantees.
constexpr long long KOVA_GENERATE_INTEGER_LIMIT = 2147483647LL;

struct KOVA_GEN_PARAMETER {
    std::string name;
    bool is_string = false;     // a string parameter; otherwise an integer one
    std::string value;          // the current value; the default when it has none
    std::string default_value;  // the description's default; the value when it has none
    int usage = KOVA_USAGE_NONE;
    KOVA_SOURCE_LOCATION place;
};

struct KOVA_GEN_PORT {
    std::string name;
    int kind = KOVA_OBJ_INPUT_PORT;  // KOVA_OBJ_INPUT_PORT, _OUTPUT_PORT or _INOUT_PORT
    int usage = KOVA_USAGE_NONE;
    int width = 0;                   // as the engine evaluates it: 0 or more
    std::string width_expression;
    // A constant port's value: exactly width binary digits, most
    // significant first; "" when no value was given (it is tied to 0).
    std::string constant_bits;
    KOVA_SOURCE_LOCATION place, width_place;

    bool is_constant() const { return usage == KOVA_USAGE_CONSTANT; }
    // USED or CONSTANT, as the engine counts a port used.
    bool is_used() const { return usage == KOVA_USAGE_USED || is_constant(); }
    // A port of the wrapper: used and not held at a constant.
    bool is_wrapper_port() const { return usage == KOVA_USAGE_USED; }
    // Unused and of no width: left out of the wrapper and the stub.
    bool is_absent() const { return !is_used() && width <= 0; }
};

struct KOVA_GEN_CONFIG {
    std::string function;
    std::vector<KOVA_GEN_PARAMETER> parameters;
    std::vector<KOVA_GEN_PORT> ports;
    // Values asked for by name (KOVA_GENERATE_OPTIONS::exports): a
    // hidden parameter's derived value or a wizard-map value, written
    // beside the parameters but never set on the block. A value that is
    // not such an integer is a string.
    std::vector<KOVA_GEN_PARAMETER> exported;
    KOVA_MESSAGES messages;  // what evaluating the widths reported
};

// The configuration of a session after a run or derive; the port widths
// are evaluated afresh (KOVA_SESSION::refresh_port_widths).
KOVA_GEN_CONFIG kova_generate_configuration(KOVA_SESSION& session);

// The integer a text of decimal digits with an optional leading "-"
// stands for, within KOVA_GENERATE_INTEGER_LIMIT; false for any other text.
bool kova_generate_integer(const std::string& text, long long& value);

// An error about one port or parameter of the configuration.
KOVA_MESSAGE kova_generate_problem(const std::string& object, const KOVA_SOURCE_LOCATION& place,
                                   const std::string& text);

// Appends an error for each integer parameter whose value (and, with
// defaults, whose default) is not such an integer, so that language
// cannot write it.
void kova_integer_problems(const KOVA_GEN_CONFIG& config, bool defaults, const std::string& language,
                           KOVA_MESSAGES& problems);

// Appends an error for each port a hardware description must declare but
// cannot: a used or constant port whose width is 0, and a constant wider
// than a value the engine holds.
void kova_port_width_problems(const KOVA_GEN_CONFIG& config, const std::string& language, KOVA_MESSAGES& problems);

#endif
