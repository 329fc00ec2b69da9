// User settings given on the command line (and, later, in files): a value
// or a usage state per port or parameter, applied through the validator's
// value-access operations in the order given.
#ifndef KOVA_SETTINGS_H
#define KOVA_SETTINGS_H

#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

struct KOVA_SETTING {
    std::string name;
    std::string value;   // a value, or USED, UNUSED or CONSTANT
    std::string origin;  // where it came from, for messages ("FILE:LINE", "--set")
};

// Splits "NAME=VALUE"; false when there is no "=" or no name.
bool parse_setting(const std::string& text, KOVA_SETTING& setting);

// Applies one setting: a usage word sets the usage state of the port or
// parameter; any other value sets a parameter's value and marks it used.
// Answers "" or the reason the setting cannot be applied.
std::string apply_setting(KOVA_RULES_VALIDATOR& validator, const KOVA_SETTING& setting);

#endif
