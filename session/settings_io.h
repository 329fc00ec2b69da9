// Settings files as the front ends read and save them: every problem of a
// file becomes a located message, and a save keeps what an existing file
// holds besides its values (comments, blank lines, order).
#ifndef KOVA_SETTINGS_IO_H
#define KOVA_SETTINGS_IO_H

#include <string>
#include <vector>

#include "session/message.h"
#include "session/settings_text.h"

// Appends the settings of a settings file's text, read from file (the
// name is used in the settings and messages only); every problem becomes
// a message located at its line. False when a problem is an error
// (nothing is appended then). The web page's uploads are read here.
bool kova_parse_settings_text(const std::string& text, const std::string& file, std::vector<KOVA_SETTING>& settings,
                              KOVA_MESSAGES& problems);

// Appends the settings of a file; every problem becomes a message. False
// when the file cannot be read or has an error-level problem (nothing of
// it is appended then).
bool kova_read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems);

// Writes settings to path, atomically. An existing settings file keeps
// its comments, blank lines and order with its values updated in place and
// new names appended, and one that cannot be read is refused; fresh
// writes a new file instead. False with the reason in error; the file is
// then unchanged.
bool kova_save_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings, bool fresh,
                             std::string& error);

// A setting from the command line: "NAME=VALUE" (false when there is no
// "=" or no name).
bool kova_parse_setting_argument(const std::string& text, KOVA_SETTING& setting);

#endif
