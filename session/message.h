// One diagnostic as every front end shows it: a grade, a kind, the text,
// the object and rule it concerns, where in the description it was
// written and, for a conflict with a user setting, where that setting was
// made. Engine records become messages here; the shared layer adds its
// own (settings problems, function-rule failures, silent corrections).
#ifndef KOVA_MESSAGE_H
#define KOVA_MESSAGE_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "host/diagnostic.h"
#include "host/kova_info.h"

// Another place a message concerns (kova lint: the other objects of a
// dependency loop), with the note text output gives it.
struct KOVA_RELATED_PLACE {
    KOVA_SOURCE_LOCATION location;
    std::string object;
    std::string note;
};

struct KOVA_MESSAGE {
    KOVA_SEVERITY severity = KOVA_SEVERITY_ERROR;
    KOVA_DIAGNOSTIC_KIND kind = KOVA_DIAG_OTHER;
    std::string text;
    std::string object;            // "" for none
    int rule_index = -1;           // -1 for none
    KOVA_SOURCE_LOCATION location; // file "" when none; line 0 when unknown
    // What text output names in place of a file for a text that is in no
    // file (kova eval's "expression"); "" for the fallback file.
    std::string origin;
    KOVA_SOURCE_LOCATION setting;  // where the user set the object, when known
    std::string check;             // the kova lint check that found it; "" for none
    std::string hint;              // how the mistake may be mended; "" for none
    // The line of the file at location as written, which text output
    // shows with a caret under the column; "" for none.
    std::string source_line;
    std::vector<KOVA_RELATED_PLACE> related;
};

using KOVA_MESSAGES = std::vector<KOVA_MESSAGE>;

// The message of an engine record, located through the model's sources.
KOVA_MESSAGE kova_message_of(const KOVA_INFO& model, const KOVA_DIAGNOSTIC& record);

// Every record the model holds, in filing order.
KOVA_MESSAGES kova_messages_of(const KOVA_INFO& model);

// A message of the shared layer itself.
KOVA_MESSAGE kova_make_message(KOVA_SEVERITY severity, KOVA_DIAGNOSTIC_KIND kind, const std::string& text,
                               const KOVA_SOURCE_LOCATION& location = KOVA_SOURCE_LOCATION());

bool kova_has_errors(const KOVA_MESSAGES& messages);

// How many messages have severity error.
std::size_t kova_error_count(const KOVA_MESSAGES& messages);

// A value or usage conflict: a message about the value or usage state of
// an object, which a user's setting may have caused and a repair may mend.
bool kova_is_conflict(KOVA_DIAGNOSTIC_KIND kind);

// Compiler form, one line per message (and a note line for the setting):
//   FILE:LINE:COL: error: TEXT     (FILE:LINE: where the column is unknown;
//                                  " [CHECK]" after a lint finding's text)
//   FILE: error: TEXT              where no line is known; FILE is then
//                                  the message's origin, or fallback_file,
//                                  when the message has none
//   SOURCE LINE                    when the message quotes it, and under
//       ^                          it a caret at the column
//     hint: HINT                   when the message has one
//   FILE:LINE:COL: note: NOTE      for each related place
//   SETTINGS:LINE: note: set here
// Every text part goes through kova_visible_text.
void kova_print_message(const KOVA_MESSAGE& message, const std::string& fallback_file, std::ostream& out);
void kova_print_messages(const KOVA_MESSAGES& messages, const std::string& fallback_file, std::ostream& out);

// A text as text output shows it on a terminal: each control character
// but tab (C0, DEL, and C1 written in UTF-8) as \xNN or \u00NN, so that
// a description cannot move the cursor, recolour or retitle the user's
// terminal; every other byte as it is, and with lines set the line ends
// of a text of several lines too. JSON output keeps texts whole.
std::string kova_visible_text(const std::string& text, bool lines = false);
// The same appended to shown, for a writer that reuses one buffer.
void kova_append_visible_text(std::string& shown, const std::string& text, bool lines = false);

#endif
