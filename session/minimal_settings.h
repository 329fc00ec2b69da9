// Minimal saves: only the settings that differ from what the description's
// defaults give, so that a saved file reads like a list of the user's
// choices, and loading it on top of the defaults restores the same
// configuration.
#ifndef KOVA_MINIMAL_SETTINGS_H
#define KOVA_MINIMAL_SETTINGS_H

#include <string>
#include <vector>

#include "session/session.h"

// The session's settings (current_settings) for every name whose settings
// differ from the defaults', in the model's order: all of that name's
// settings, so that applying them on the defaults gives the name exactly
// its state (a value the defaults have and the session does not is
// cleared with an empty value first).
std::vector<KOVA_SETTING> kova_minimal_settings(const KOVA_SESSION& session);

// One name whose settings differ from the defaults': each side's values
// joined with ", " ("" where that side has no setting of the name).
struct KOVA_SETTING_DIFFERENCE {
    std::string name, default_value, value;
};

// The names kova_minimal_settings keeps, in the model's order, with what
// the defaults and the session give them.
std::vector<KOVA_SETTING_DIFFERENCE> kova_setting_differences(const KOVA_SESSION& session);

// The text of a fresh settings file holding the session's settings: all
// of them (current_settings), or with minimal only those of
// kova_minimal_settings. The web page offers it as a download.
std::string kova_session_settings_text(const KOVA_SESSION& session, bool minimal);

// Saves the session's settings to path atomically: all of them, keeping
// an existing settings file's comments and order (kova_save_settings_file),
// or with minimal only those of kova_minimal_settings, in a fresh file.
// A FILE problem when it cannot; the file is then unchanged.
KOVA_PROBLEM kova_save_session_settings(const KOVA_SESSION& session, const std::string& path, bool minimal);

#endif
