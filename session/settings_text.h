// The text of a settings file, without any file I/O: parsing every line
// with all its problems in one pass, and writing a document back so that a
// save keeps the file's comments, blank lines, order and line ends. The
// format is documented in docs/settings.md.
//
// A line is blank, a comment (first non-blank byte '#') or NAME=VALUE. A
// value is unquoted (blanks around it dropped, " #" or "\t#" starts a
// trailing comment) or quoted ("..." with \" \\ \n \t \r \xNN escapes).
// Usage words (USED, UNUSED, CONSTANT, CONSTANT:NUMBER) stay values here;
// the caller applies them.
#ifndef KOVA_SETTINGS_TEXT_H
#define KOVA_SETTINGS_TEXT_H

#include <string>
#include <string_view>
#include <vector>

// Who gave a setting: a settings file (at file and line), or a front end
// by hand. Each reader and front end fills it, so that the session can
// say where each value came from (session/value_origins.h).
enum class KOVA_SETTING_SOURCE { COMMAND_LINE, FILE, PAGE, PYTHON, MENU };

struct KOVA_SETTING {
    std::string name, value;
    std::string file = "";  // the settings file; "" for a setting not read from one
    int line = 0;      // 1-based; 0 for a setting not read from a file
    KOVA_SETTING_SOURCE source = KOVA_SETTING_SOURCE::COMMAND_LINE;
    // "FILE:LINE", or the front end: "command line", "page", "Python",
    // "menu".
    std::string origin() const;
};

// "file", "command line", "page", "python", "menu": the word JSON gives.
std::string kova_setting_source_name(KOVA_SETTING_SOURCE source);

struct KOVA_SETTINGS_PROBLEM {
    std::string file;
    int line;
    bool warning;  // a warning leaves the file usable; an error does not
    std::string text;
};

class KOVA_SETTINGS_DOCUMENT {
public:
    // Replaces the document with text read from file (the name is used in
    // the settings and problems only). Every problem of every line is
    // appended to problems; true when none of them is an error. A byte
    // order mark at the start is skipped, lines end in LF or CR LF, and
    // every line, good or bad, is kept for render().
    bool parse(std::string_view text, const std::string& file, std::vector<KOVA_SETTINGS_PROBLEM>& problems);

    // The settings of the lines that read as NAME=VALUE, in file order; a
    // line whose value is not acceptable (a CONSTANT: that is not a number)
    // is among them, and its error is among the problems. A name may come
    // more than once; applied in order, the last one wins.
    std::vector<KOVA_SETTING> settings() const;

    // Gives name this value: the last line of that name (letter case
    // ignored) gets the new value, keeping what stands before the value and
    // its trailing comment; a name without a line is appended at the end.
    void set(const std::string& name, const std::string& value);

    // The setting on line (counted from 1) under another name, its value
    // and trailing comment as written; nothing for a line that is no
    // setting.
    void rename_line(int line, const std::string& name);

    // The setting on line (counted from 1) as a comment: prefix, then the
    // line as written; nothing for a line that is no setting.
    void comment_line(int line, const std::string& prefix);

    // Makes the document's settings exactly these, for a save: the k-th
    // setting of a name takes the k-th line of that name (rewritten only
    // when its value differs), surplus lines of those names and lines of
    // names not among them are removed, the rest is appended in order.
    // Comments, blank lines and lines with errors stay.
    void assign(const std::vector<KOVA_SETTING>& settings);

    // The document as text: unchanged lines byte for byte, changed and new
    // ones with their values quoted when needed.
    std::string render() const;

private:
    struct LINE {
        std::string text;  // the line without its end
        std::string end;   // "\n", "\r\n", or "" for a last line without one
        bool setting = false;
        std::string name, value;
        // For a setting: text = prefix + written value + suffix, where the
        // prefix runs to the value (name, '=', blanks) and the suffix holds
        // what follows it (blanks, a trailing comment).
        std::string prefix, suffix;
    };

    void write_value(LINE& line, const std::string& value);
    void append(const std::string& name, const std::string& value);
    std::string line_end() const;

    std::string m_file;
    std::string m_byte_order_mark;  // kept to write back
    std::vector<LINE> m_lines;
};

// The value as written after '=': as it is when it reads back unchanged,
// else quoted with escapes. Quoted when it is empty, has blanks at either
// end, starts with '"' or '#', has a '#' after a blank, or holds control
// bytes (newlines included) or bytes that are not UTF-8.
std::string kova_quote_setting_value(const std::string& value);

// A fresh settings file: a header comment, then one NAME=VALUE per line.
std::string kova_render_settings(const std::vector<KOVA_SETTING>& settings);

// For a value "CONSTANT:NUMBER" (letter case of CONSTANT ignored, blanks
// after the colon dropped): true, with NUMBER in constant_value.
bool kova_split_constant(const std::string& value, std::string& constant_value);

// Whether a value sets a usage state (USED, UNUSED, CONSTANT or
// CONSTANT:VALUE) rather than a parameter value; a name may carry one of
// each without being given twice.
bool kova_setting_is_usage(const std::string& value);

// The grammar of a constant's number, the one place it is written: decimal
// digits, or "0x" and hex digits, or "0b" and binary digits (either letter
// case). True with the digits and the radix they are written in
// (QEL_RADIX_*); false for a text that is none of these.
bool kova_constant_digits(const std::string& text, std::string& digits, int& radix);

// True for the number of a constant (kova_constant_digits).
bool kova_is_constant_number(const std::string& text);

// "" for the number of a constant, else the one text that refuses it:
// "the constant value 'TEXT'[ of NAME] is not a number (...)".
std::string kova_constant_number_problem(const std::string& text, const std::string& name = "");

#endif
