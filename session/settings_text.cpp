// Parsing and writing the settings file format, line by line.
#include "session/settings_text.h"

#include <map>
#include <utility>

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "session/utf8.h"

namespace {

constexpr std::string_view k_byte_order_mark = "\xEF\xBB\xBF";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The blanks of a settings line, which trimming removes.
constexpr std::string_view k_blanks = " \t";

std::string_view trimmed(std::string_view text) { return trim(text, k_blanks); }

// A piece of a line for a message, cut short when long.
std::string excerpt(std::string_view text) {
    const std::size_t most = 60;
    return text.size() <= most ? std::string(text) : std::string(text.substr(0, most)) + "...";
}

// The position of the '#' that starts a trailing comment in an unquoted
// value starting at from: the first one right after a blank.
std::size_t comment_start(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at)
        if (text[at] == '#' && at > 0 && is_blank(text[at - 1])) return at;
    return text.size();
}

// The value of a quoted value whose opening quote is at text[open]; end is
// set past the closing quote. "" or the problem.
std::string unquote(std::string_view text, std::size_t open, std::string& value, std::size_t& end) {
    const std::string unclosed = "the quoted value has no closing quote";
    for (std::size_t at = open + 1; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            end = at + 1;
            return "";
        }
        if (c != '\\') {
            value.push_back(c);
            continue;
        }
        if (++at == text.size()) return unclosed;
        switch (text[at]) {
            case '"': value.push_back('"'); break;
            case '\\': value.push_back('\\'); break;
            case 'n': value.push_back('\n'); break;
            case 't': value.push_back('\t'); break;
            case 'r': value.push_back('\r'); break;
            case 'x':
                if (at + 2 >= text.size() || kova_hex_digit_value(text[at + 1]) < 0 || kova_hex_digit_value(text[at + 2]) < 0)
                    return "\\x in a quoted value needs two hex digits";
                value.push_back(static_cast<char>(kova_hex_digit_value(text[at + 1]) * 16 + kova_hex_digit_value(text[at + 2])));
                at += 2;
                break;
            default:
                return "unknown escape \\" + std::string(1, text[at]) +
                       " in a quoted value (use \\\", \\\\, \\n, \\t, \\r or \\xNN)";
        }
    }
    return unclosed;
}

// "" or why a name cannot be a setting's name.
std::string name_problem(std::string_view name) {
    if (name.empty()) return "a setting needs a name before '='";
    for (char c : name)
        if (is_blank(c) || is_control(c) || c == '"')
            return "the name '" + excerpt(name) + "' holds a blank, a quote or a control character";
    return "";
}

// The quoted form of any byte string.
std::string quoted(const std::string& value) {
    std::string text = "\"";
    for (std::size_t at = 0; at < value.size();) {
        const char c = value[at];
        const std::size_t length = kova_utf8_length(value, at);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c == '\r') {
            text += "\\r";
        } else if (length == 0 || is_control(c)) {
            const unsigned char byte = static_cast<unsigned char>(c);
            text += "\\x";
            text += KOVA_HEX_DIGITS[byte >> 4];
            text += KOVA_HEX_DIGITS[byte & 0xF];
        } else {
            text.append(value, at, length);
            at += length;
            continue;
        }
        ++at;
    }
    return text + "\"";
}

bool needs_quotes(const std::string& value) {
    if (value.empty() || is_blank(value.front()) || is_blank(value.back())) return true;
    if (value.front() == '"' || value.front() == '#') return true;
    if (comment_start(value, 0) != value.size() || !kova_is_utf8(value)) return true;
    for (char c : value)
        if (is_control(c)) return true;
    return false;
}

}  // namespace

std::string KOVA_SETTING::origin() const {
    switch (source) {
    case KOVA_SETTING_SOURCE::FILE: return file + ":" + std::to_string(line);
    case KOVA_SETTING_SOURCE::PAGE: return "page";
    case KOVA_SETTING_SOURCE::PYTHON: return "Python";
    case KOVA_SETTING_SOURCE::MENU: return "menu";
    default: return "command line";
    }
}

std::string kova_setting_source_name(KOVA_SETTING_SOURCE source) {
    switch (source) {
    case KOVA_SETTING_SOURCE::FILE: return "file";
    case KOVA_SETTING_SOURCE::PAGE: return "page";
    case KOVA_SETTING_SOURCE::PYTHON: return "python";
    case KOVA_SETTING_SOURCE::MENU: return "menu";
    default: return "command line";
    }
}

std::string kova_quote_setting_value(const std::string& value) {
    return needs_quotes(value) ? quoted(value) : value;
}

bool kova_split_constant(const std::string& value, std::string& constant_value) {
    const std::string prefix = "constant:";
    if (value.size() < prefix.size() || to_lower_case(value.substr(0, prefix.size())) != prefix) return false;
    constant_value = std::string(trimmed(std::string_view(value).substr(prefix.size())));
    return true;
}

bool kova_constant_digits(const std::string& text, std::string& digits, int& radix) {
    radix = QEL_RADIX_UNSIGNED_DECIMAL;
    digits = text;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        radix = QEL_RADIX_HEXADECIMAL;
        digits = text.substr(2);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        radix = QEL_RADIX_BINARY;
        digits = text.substr(2);
    }
    const char* allowed = radix == QEL_RADIX_BINARY ? "01" : radix == QEL_RADIX_HEXADECIMAL ? "0123456789abcdefABCDEF"
                                                                                            : "0123456789";
    return !digits.empty() && digits.find_first_not_of(allowed) == std::string::npos;
}

bool kova_is_constant_number(const std::string& text) {
    std::string digits;
    int radix;
    return kova_constant_digits(text, digits, radix);
}

std::string kova_constant_number_problem(const std::string& text, const std::string& name) {
    if (kova_is_constant_number(text)) return "";
    return "the constant value '" + excerpt(text) + "'" + (name.empty() ? "" : " of " + name) +
           " is not a number (decimal digits, or 0x or 0b and digits)";
}

namespace {

// Splits the setting line text into line's name, value, prefix and suffix;
// "" or the problem of the line.
std::string parse_setting_line(std::string_view text, std::string& name, std::string& value, std::string& prefix,
                               std::string& suffix) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return "expected NAME=VALUE, found '" + excerpt(trimmed(text)) + "'";
    name = std::string(trimmed(text.substr(0, equals)));
    if (std::string problem = name_problem(name); !problem.empty()) return problem;
    std::size_t start = equals + 1;
    while (start < text.size() && is_blank(text[start])) ++start;
    std::size_t end = start;
    if (start < text.size() && text[start] == '"') {
        if (std::string problem = unquote(text, start, value, end); !problem.empty()) return problem;
        const std::string_view rest = trimmed(text.substr(end));
        if (!rest.empty() && rest[0] != '#')
            return "text after the closing quote: '" + excerpt(rest) +
                   "' (a quote inside a quoted value is written \\\")";
    } else {
        value = std::string(trimmed(text.substr(start, comment_start(text, start) - start)));
        end = start + value.size();
        if (value.empty()) start = end = equals + 1;  // blanks before a comment belong to the suffix
    }
    prefix = std::string(text.substr(0, start));
    suffix = std::string(text.substr(end));
    return "";
}

// "" or why the value, read correctly, cannot be a setting's value.
std::string value_problem(const std::string& value) {
    std::string number;
    return kova_split_constant(value, number) ? kova_constant_number_problem(number) : "";
}

}  // namespace

bool KOVA_SETTINGS_DOCUMENT::parse(std::string_view text, const std::string& file,
                                   std::vector<KOVA_SETTINGS_PROBLEM>& problems) {
    m_file = file;
    m_lines.clear();
    m_byte_order_mark.clear();
    if (text.substr(0, k_byte_order_mark.size()) == k_byte_order_mark) {
        m_byte_order_mark = std::string(k_byte_order_mark);
        text.remove_prefix(k_byte_order_mark.size());
    }
    bool good = true;
    std::map<std::string, int> first_line;  // folded name and kind -> line that gave it first
    for (std::size_t start = 0; start < text.size();) {
        LINE line;
        const std::size_t newline = text.find('\n', start);
        const std::size_t stop = newline == std::string_view::npos ? text.size() : newline;
        const bool crlf = stop > start && newline != std::string_view::npos && text[stop - 1] == '\r';
        line.text = std::string(text.substr(start, stop - start - (crlf ? 1 : 0)));
        line.end = newline == std::string_view::npos ? "" : crlf ? "\r\n" : "\n";
        start = newline == std::string_view::npos ? text.size() : newline + 1;
        m_lines.push_back(std::move(line));
        const int number = static_cast<int>(m_lines.size());
        const std::string_view content = trimmed(m_lines.back().text);
        if (content.empty() || content[0] == '#') continue;
        LINE& setting = m_lines.back();
        const std::string problem =
            parse_setting_line(setting.text, setting.name, setting.value, setting.prefix, setting.suffix);
        if (!problem.empty()) {
            problems.push_back({file, number, false, problem});
            good = false;
            continue;
        }
        // The line reads, so it is a setting (set() finds it) even when its
        // value is not acceptable; that is an error of the file all the same.
        setting.setting = true;
        if (const std::string bad_value = value_problem(setting.value); !bad_value.empty()) {
            problems.push_back({file, number, false, bad_value});
            good = false;
        }
        const std::string key = to_lower_case(setting.name) + (kova_setting_is_usage(setting.value) ? "\n usage" : "\n value");
        const auto [earlier, first] = first_line.emplace(key, number);
        if (!first) {
            problems.push_back({file, number, true,
                                setting.name + " is given on line " + std::to_string(earlier->second) +
                                    " and again on line " + std::to_string(number) + "; line " +
                                    std::to_string(number) + " is the one used"});
            earlier->second = number;
        }
    }
    return good;
}

std::vector<KOVA_SETTING> KOVA_SETTINGS_DOCUMENT::settings() const {
    std::vector<KOVA_SETTING> settings;
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].setting)
            settings.push_back({m_lines[i].name, m_lines[i].value, m_file, static_cast<int>(i + 1),
                                KOVA_SETTING_SOURCE::FILE});
    return settings;
}

void KOVA_SETTINGS_DOCUMENT::write_value(LINE& line, const std::string& value) {
    // After a quoted value a comment may follow without a blank; an
    // unquoted value there would swallow it.
    const bool comment_follows = !line.suffix.empty() && !is_blank(line.suffix[0]);
    line.value = value;
    line.text = line.prefix + (comment_follows ? quoted(value) : kova_quote_setting_value(value)) + line.suffix;
}

std::string KOVA_SETTINGS_DOCUMENT::line_end() const {
    for (const LINE& line : m_lines)
        if (!line.end.empty()) return line.end;
    return "\n";
}

void KOVA_SETTINGS_DOCUMENT::append(const std::string& name, const std::string& value) {
    const std::string end = line_end();
    if (!m_lines.empty() && m_lines.back().end.empty()) m_lines.back().end = end;
    LINE line;
    line.end = end;
    line.setting = true;
    line.name = name;
    line.prefix = name + "=";
    write_value(line, value);
    m_lines.push_back(line);
}

void KOVA_SETTINGS_DOCUMENT::rename_line(int line, const std::string& name) {
    if (line < 1 || static_cast<std::size_t>(line) > m_lines.size() || !m_lines[line - 1].setting) return;
    LINE& renamed = m_lines[line - 1];
    // The prefix holds the name as written, after any leading blanks.
    const std::size_t at = renamed.prefix.find(renamed.name);
    if (at == std::string::npos) return;
    const std::string rest = renamed.text.substr(renamed.prefix.size());
    renamed.prefix.replace(at, renamed.name.size(), name);
    renamed.name = name;
    renamed.text = renamed.prefix + rest;
}

void KOVA_SETTINGS_DOCUMENT::comment_line(int line, const std::string& prefix) {
    if (line < 1 || static_cast<std::size_t>(line) > m_lines.size() || !m_lines[line - 1].setting) return;
    LINE& commented = m_lines[line - 1];
    const std::size_t first = commented.text.find_first_not_of(" \t");
    commented.text = prefix + commented.text.substr(first == std::string::npos ? 0 : first);
    commented.setting = false;
}

void KOVA_SETTINGS_DOCUMENT::set(const std::string& name, const std::string& value) {
    for (std::size_t i = m_lines.size(); i-- > 0;) {
        if (m_lines[i].setting && kova_equal_nocase(m_lines[i].name, name)) {
            write_value(m_lines[i], value);
            return;
        }
    }
    append(name, value);
}

void KOVA_SETTINGS_DOCUMENT::assign(const std::vector<KOVA_SETTING>& settings) {
    // The setting lines of each name, in order, and how many are taken.
    std::map<std::string, std::vector<std::size_t>> lines_of;
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].setting) lines_of[to_lower_case(m_lines[i].name)].push_back(i);
    std::map<std::string, std::size_t> taken;
    std::vector<bool> keep(m_lines.size(), true);
    for (std::size_t i = 0; i < m_lines.size(); ++i) keep[i] = !m_lines[i].setting;
    std::vector<const KOVA_SETTING*> new_lines;
    for (const KOVA_SETTING& setting : settings) {
        const std::string key = to_lower_case(setting.name);
        const std::vector<std::size_t>& existing = lines_of[key];
        std::size_t& used = taken[key];
        if (used == existing.size()) {
            new_lines.push_back(&setting);
            continue;
        }
        LINE& line = m_lines[existing[used++]];
        keep[&line - m_lines.data()] = true;
        if (line.value != setting.value) write_value(line, setting.value);
    }
    std::vector<LINE> kept;
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (keep[i]) kept.push_back(std::move(m_lines[i]));
    m_lines = std::move(kept);
    for (const KOVA_SETTING* setting : new_lines) append(setting->name, setting->value);
}

std::string KOVA_SETTINGS_DOCUMENT::render() const {
    std::string text = m_byte_order_mark;
    for (const LINE& line : m_lines) text += line.text + line.end;
    return text;
}

std::string kova_render_settings(const std::vector<KOVA_SETTING>& settings) {
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> none;
    document.parse("# kova settings\n", "", none);
    document.assign(settings);
    return document.render();
}

bool kova_setting_is_usage(const std::string& value) {
    std::string number;
    return kova_usage_word_state(value) != KOVA_USAGE_NONE || kova_split_constant(value, number);
}
