// Where each port's and parameter's value came from after a run: given by
// a setting (a settings file's line, or the front end that set it), the
// description's default, corrected silently by one of its rules, derived
// from a hidden parameter's value text, held by a constant port, or
// absent (the description gives it no usage state and no rule has made it
// used). Computed here once,
// so that kova show --origin, kova explain, the JSON documents, the page
// and the Python module all say the same thing (docs/lifecycle.md).
#ifndef KOVA_VALUE_ORIGINS_H
#define KOVA_VALUE_ORIGINS_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/settings_text.h"

class KOVA_SESSION;
struct KOVA_OBJECT_STATE;

enum class KOVA_ORIGIN_KIND { SET, DEFAULT, CORRECTED, DERIVED, HELD, ABSENT };

// Invariant: by_setting only for SET and HELD (always for SET); rule only
// for CORRECTED (when a rule was followed) and DERIVED; was only for
// CORRECTED.
struct KOVA_VALUE_ORIGIN {
    KOVA_ORIGIN_KIND kind = KOVA_ORIGIN_KIND::DEFAULT;
    bool by_setting = false;  // a setting gave it: source says who
    KOVA_SETTING_SOURCE source = KOVA_SETTING_SOURCE::COMMAND_LINE;
    // A setting from a file: that file and line. Otherwise the place in
    // the description: the correcting rule, the hidden parameter's value
    // text, or the object. "" and 0 for a setting given by a front end.
    std::string file;
    uint32_t line = 0;
    // CORRECTED: the rule's condition as written, or for a rule without
    // one the value it gave; DERIVED: the value text.
    std::string rule;
    std::string was;  // CORRECTED: the value (or usage state) before; "" for none
};

// "set", "default", "corrected", "derived", "held", "absent".
std::string kova_origin_kind_name(KOVA_ORIGIN_KIND kind);

// The origin of the port, parameter or hidden parameter of that name
// (letter case ignored) as the session holds it now; DEFAULT at no place
// for a name the description does not have.
KOVA_VALUE_ORIGIN kova_value_origin(const KOVA_SESSION& session, const std::string& name);

// Fills the origin of each state, by its name.
void kova_add_value_origins(const KOVA_SESSION& session, std::vector<KOVA_OBJECT_STATE>& states);

// One line, as kova show --origin's column and kova explain give it:
// "set in FILE:LINE", "set on the command line" (the page, from Python,
// in the menu), "default at FILE:LINE", "corrected from WAS by RULE at
// FILE:LINE", "derived from TEXT at FILE:LINE", "held constant" (and how,
// as for set), "absent at FILE:LINE".
std::string kova_value_origin_text(const KOVA_VALUE_ORIGIN& origin);

// {"kind", "source", "file", "line", "rule", "was"}, only the members that
// apply (docs/json.md).
nlohmann::json kova_value_origin_json(const KOVA_VALUE_ORIGIN& origin);

#endif
