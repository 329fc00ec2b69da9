// Settings files: one NAME=VALUE per line, "#" starting a comment line,
// blank lines ignored. A value is a parameter value, or USED, UNUSED or
// CONSTANT for a usage state (the format is documented in docs/settings.md).
#ifndef KOVA_SETTINGS_FILE_H
#define KOVA_SETTINGS_FILE_H

#include <string>
#include <vector>

#include "tools/settings.h"

// Reads every setting of a file. Problems are appended to errors as
// "FILE:LINE: problem"; the answer is true only when there are none.
bool read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings,
                        std::vector<std::string>& errors);

// The current settings of every port and parameter, in the model's order,
// written so that reading them back restores the same values and states.
std::vector<KOVA_SETTING> current_settings(const KOVA_RULES_VALIDATOR& validator);

// Writes settings to path; false when the file cannot be written.
bool write_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings);

#endif
