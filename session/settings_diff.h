// kova diff of two settings files over one description: each file's
// settings applied to a copy of the session and run, then the two
// effective configurations compared object by object, value and usage
// state apart. A setting a file leaves out takes the default (or what the
// run derives), so a file that writes a default and one that omits it do
// not differ there. Each difference names where each side's text came
// from: the FILE:LINE that set it, "default", or "run" for what the run
// derived or corrected.
#ifndef KOVA_SETTINGS_DIFF_H
#define KOVA_SETTINGS_DIFF_H

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "session/answers.h"

// One side of a difference: the value or state, none when that side has
// no setting of the sort (a parameter without a value).
struct KOVA_DIFF_SIDE {
    std::optional<std::string> text;
    std::string origin;  // "FILE:LINE", "command line", "default" or "run"
};

struct KOVA_CONFIGURATION_DIFFERENCE {
    std::string name;
    bool usage = false;  // a usage state rather than a value
    KOVA_DIFF_SIDE a, b;
};

// One compared file: its name as given and the settings it holds.
struct KOVA_DIFF_INPUT {
    std::string file;
    std::vector<KOVA_SETTING> settings;
};

struct KOVA_SETTINGS_DIFF {
    bool a_valid = false, b_valid = false;  // each configuration's verdict
    std::vector<KOVA_CONFIGURATION_DIFFERENCE> differences;  // in the description's order
};

// Compares the two inputs on copies of session (left as it is). A side's
// refused settings are the problem, with their messages appended.
KOVA_PROBLEM kova_diff_settings(const KOVA_SESSION& session, const KOVA_DIFF_INPUT& a, const KOVA_DIFF_INPUT& b,
                                KOVA_SETTINGS_DIFF& diff, KOVA_MESSAGES& messages);

// diff of settings: "a" and "b", each {"settings_file", "valid"},
// "equal" (no differences) and "differences", each {"name", "what", "a", "b", "a_origin", "b_origin"}
// ("what" is "value" or "usage", a side's text null where it has none).
// The text: a line per difference, "NAME: A (ORIGIN) -> B (ORIGIN)", then
// a count line naming both files with their verdicts.
void kova_settings_diff_answer(const KOVA_SESSION& session, const KOVA_DIFF_INPUT& a, const KOVA_DIFF_INPUT& b,
                               KOVA_ANSWER& answer);

#endif
