// Which of the user's settings a conflict comes from. A page marks a
// setting that differs from the description's defaults, and beside a
// conflict the settings that brought it about: those among the conflict's
// object and the ports and parameters its rules read (directly or through
// hidden parameters) that differ from their defaults. The session says
// this, so no front end has to guess it from the messages' texts.
#ifndef KOVA_SETTING_CAUSES_H
#define KOVA_SETTING_CAUSES_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/message.h"
#include "session/session.h"

// The names (as the description writes them) of the ports and parameters
// whose settings differ from the defaults, in the description's order:
// the names a minimal settings file sets (session/minimal_settings.h).
std::vector<std::string> kova_changed_setting_names(const KOVA_SESSION& session);

// One object an error is about, and the changed settings it follows from:
// first those its rules read, in the order they name them, then the
// object itself when it is set. Empty when the defaults alone give it.
// last is the one of them the user changed last, when that is known and
// among them: the change that brought the conflict about; else "".
struct KOVA_CONFLICT_CAUSE {
    std::string object;
    std::vector<std::string> settings;
    std::string last;
};

// Every object that an error among messages is about, once, in the order
// of the messages, with the changed settings (changed, as
// kova_changed_setting_names gives them) it follows from; last_change
// names the setting the user changed last ("" when not known).
std::vector<KOVA_CONFLICT_CAUSE> kova_conflict_causes(const KOVA_SESSION& session, const KOVA_MESSAGES& messages,
                                                      const std::vector<std::string>& changed,
                                                      const std::string& last_change);

// The causes as JSON: [{"object", "settings", "last"}], texts in the safe
// form, last null when it is "".
nlohmann::json kova_conflict_causes_json(const std::vector<KOVA_CONFLICT_CAUSE>& causes);

#endif
