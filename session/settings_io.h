// Settings files as the front ends read and save them: every problem of a
// file becomes a located message, and a save keeps what an existing file
// holds besides its values (comments, blank lines, order).
#ifndef KOVA_SETTINGS_IO_H
#define KOVA_SETTINGS_IO_H

#include <string>
#include <vector>

#include "session/message.h"
#include "session/problem.h"
#include "session/settings_text.h"

// Appends the settings of a settings file's text, read from file (the
// name is used in the settings and messages only), and its problems to
// messages, each located at its line: the first 100, then one message
// that counts the rest. When a problem is an error nothing is appended to
// settings and the answer is an INVALID_VALUE problem holding the text's
// messages. The web page's uploads are read here. With lenient the
// settings of the lines that read are appended even then, for a front end
// that opens a broken file so that the engineer can repair it.
KOVA_PROBLEM kova_parse_settings_text(const std::string& text, const std::string& file,
                                      std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& messages,
                                      bool lenient = false);

// The same for the file at path; a file that cannot be read is a FILE
// problem (its message is appended to messages too).
KOVA_PROBLEM kova_read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings,
                                     KOVA_MESSAGES& messages, bool lenient = false);

// Writes settings to path, atomically. An existing settings file keeps
// its comments, blank lines and order with its values updated in place and
// new names appended, and one that cannot be read is refused; fresh
// writes a new file instead. A FILE problem, "cannot save the settings to
// PATH: REASON", when it cannot; the file is then unchanged.
KOVA_PROBLEM kova_save_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings, bool fresh);

// A setting from the command line: "NAME=VALUE" (false when there is no
// "=" or no name).
bool kova_parse_setting_argument(const std::string& text, KOVA_SETTING& setting);

#endif
