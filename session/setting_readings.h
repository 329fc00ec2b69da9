// How the engine reads what a user sets, where that differs from what was
// written: an integer parameter's value is read as the C atoi reads it
// (host/kova_atoi.h), and a port's constant value is cut to the port's
// width. The session reports each such reading as a warning, at the
// setting or at the port, so that no front end lets it pass unseen; the
// engine's reading itself is left as it is.
#ifndef KOVA_SETTING_READINGS_H
#define KOVA_SETTING_READINGS_H

#include <string>

#include "session/message.h"
#include "session/settings_text.h"
#include "validator/kova_rules_validator.h"

// The value text of an integer parameter's setting as the engine reads
// it. False when it reads exactly: blanks, a sign and decimal digits, and
// nothing else, within 32 bits. Else true with the warning
// "NAME=TEXT reads as NUMBER", placed at the setting and about object.
bool kova_integer_reading_warning(const KOVA_SETTING& setting, const std::string& object, KOVA_MESSAGE& warning);

// Whether the value the port holds is the whole of the constant given as
// text: false when the text has more significant bits than the port's
// width, which the engine drops; held is then the value kept, written as
// text was (same radix and prefix).
bool kova_constant_fits(const KOVA_PORT_OBJ& port, const std::string& text, std::string& held);

#endif
