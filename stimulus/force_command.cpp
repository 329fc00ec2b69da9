// Parsing one simulator force command and finding the value it drives at a
// given time:
//
//   force [-option] SIGNAL ITEM, ITEM, ...
//
// Words are split at single blanks, items at ",". An item is a value with
// an optional time ("1 50"), "-repeat PERIOD" ("-r"), or "-cancel TIME"
// ("-c"). A time may start with "@" and may name a function macro or a
// constant port; it is then read as a decimal integer (a unit after the
// number is ignored).
//
// Times and periods are 32-bit; a number beyond that range is clamped to
// its limit. The repeat rule's arithmetic is done in 64 bits, so every
// remainder and quotient it takes is defined: a period or item time of 0
// is never a divisor, and the smallest 32-bit time by -1 has the
// remainder 0 and the quotient 2^31, which is not 0.
//
// A command is read with a cursor that only moves forward, and the first
// two items are split once for the repeat rule, so reading a command takes
// time in proportion to its length however many items it has.
#include "stimulus/force_command.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"

namespace {

// A position in a text that moves forward only. Invariant: the rest, what
// qel_get_token calls on a copy of the text would have left by now,
// starts at m_position.
class TEXT_CURSOR {
public:
    TEXT_CURSOR(const std::string& text, std::size_t position) : m_text(text), m_position(position) {}
    // The cursor reads the caller's text in place: never a temporary.
    TEXT_CURSOR(const std::string&& text, std::size_t position) = delete;

    bool at_end() const { return m_position >= m_text.size(); }
    // qel_get_token of the rest with the one delimiter.
    std::string next(char delimiter) {
        const std::size_t start = std::min(m_position, m_text.size());
        const std::size_t end = m_text.find(delimiter, start);
        m_position = end == std::string::npos ? m_text.size() : end + 1;
        return m_text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    // All of the rest, which becomes empty.
    std::string take_rest() {
        const std::size_t start = std::min(m_position, m_text.size());
        m_position = m_text.size();
        return m_text.substr(start);
    }
    // trim_left of the rest.
    void skip_white_space() {
        const std::size_t found = m_text.find_first_not_of(KOVA_WHITE_SPACE, m_position);
        m_position = found == std::string::npos ? m_text.size() : found;
    }
    std::size_t position() const { return m_position; }

private:
    const std::string& m_text;
    std::size_t m_position;
};

// The number format a command names; a command without an option drives
// its values as written.
struct FORCE_RADIX {
    int radix = QEL_RADIX_SIGNED_DECIMAL;
    std::string fixed_point_format;
};

std::string take_word(std::string& text) { return qel_get_token(text, " "); }

bool is_option_word(const std::string& word) { return !word.empty() && word[0] == '-'; }

std::string without_at_sign(const std::string& text) { return text.rfind('@', 0) == 0 ? text.substr(1) : text; }

// -bin, -hex, -fixed_point(FORMAT); -signed, -unsigned and unknown options
// leave the radix as it is, and so does -fixed_point without a format.
void apply_option(const std::string& word, FORCE_RADIX& radix) {
    if (kova_equal_nocase(word, "-bin")) {
        radix.radix = QEL_RADIX_BINARY;
    } else if (kova_equal_nocase(word, "-hex")) {
        radix.radix = QEL_RADIX_HEXADECIMAL;
    } else {
        std::string rest = word;
        if (!kova_equal_nocase(qel_get_token(rest, "("), "-fixed_point")) return;
        const std::string format = qel_get_token(rest, ")");
        if (format.empty()) return;
        radix.radix = QEL_RADIX_FIXED_POINT;
        radix.fixed_point_format = format;
    }
}

bool is_repeat_word(const std::string& word) {
    return kova_equal_nocase(word, "-r") || kova_equal_nocase(word, "-repeat");
}

bool is_cancel_word(const std::string& word) {
    return kova_equal_nocase(word, "-c") || kova_equal_nocase(word, "-cancel");
}

// The value a time text stands for (get_stimulus_value).
using STIMULUS_VALUE = std::function<std::string(const std::string&)>;

// Reads the times of items: a text that names a function macro or a
// constant port stands for its value, any other text is read as it is.
class TIME_READER {
public:
    TIME_READER(const KOVA_RULES_VALIDATOR& validator, STIMULUS_VALUE value)
        : m_validator(validator), m_value(std::move(value)) {}
    TIME_READER(const KOVA_RULES_VALIDATOR&& validator, STIMULUS_VALUE value) = delete;

    int32_t operator()(const std::string& text) const { return kova_atoi(m_value(text)); }
    // Whether text names no object: its time is then the text's own, and
    // reading it again gives the same and posts nothing.
    bool is_literal(const std::string& text) const { return !m_validator.get_kova_obj(text); }

private:
    const KOVA_RULES_VALIDATOR& m_validator;
    STIMULUS_VALUE m_value;
};

// One of the first two items of the list, "VALUE TIME", split once for the
// repeat rule, which may read it again for every repeat item.
class REPEATED_ITEM {
public:
    bool empty() const { return !m_remembered; }
    // Keeps item, which is not empty.
    void remember(const std::string& item) {
        m_remembered = true;
        m_time_text = item;
        m_value = take_word(m_time_text);
        m_time_text = without_at_sign(m_time_text);
    }
    const std::string& value() const { return m_value; }
    // The item's time, read afresh each time while it names an object (a
    // macro's evaluation may post messages each time), else read once.
    int32_t time(const TIME_READER& read_time) {
        if (m_literal_time) return *m_literal_time;
        const int32_t time = read_time(m_time_text);
        if (read_time.is_literal(m_time_text)) m_literal_time = time;
        return time;
    }

private:
    bool m_remembered = false;
    std::string m_value, m_time_text;
    std::optional<int32_t> m_literal_time;
};

// Whether a remembered item "VALUE TIME" repeats at time: with a period,
// when time falls on the item's time within the period; with a period of
// 0, when the item's time is not 0 and time is below it in magnitude.
bool repeat_matches(int32_t time, int32_t period, int32_t item_time) {
    const int64_t wide_time = time;
    if (period != 0) return wide_time % period == item_time;
    return item_time != 0 && wide_time / item_time == 0;
}

// The repeat rule: the first two items of the list recur with the period;
// the first one wins, and the second counts only while value is empty.
void apply_repeat(REPEATED_ITEM& first, REPEATED_ITEM& second, int32_t time, int32_t period,
                  const TIME_READER& read_time, std::string& value) {
    if (period > time || first.empty() || second.empty()) return;
    const bool first_recurs = repeat_matches(time, period, first.time(read_time));
    if (first.value().empty()) return;
    if (first_recurs) value = first.value();
    if (value.empty() && repeat_matches(time, period, second.time(read_time))) value = second.value();
}

// The scan of the item list, which starts at start in command: leaves in
// value what the command drives at time ("" when nothing), and clears
// name after a cancel that applied.
void scan_items(const std::string& command, std::size_t start, int32_t time, const TIME_READER& read_time,
                std::string& name, std::string& value) {
    REPEATED_ITEM first, second;  // the first two items as written, for the repeat rule
    TEXT_CURSOR rest(command, start);
    rest.skip_white_space();
    while (!rest.at_end()) {
        std::string item = rest.next(',');
        if (item.empty()) {
            // A "," at the start of the rest: everything after it is one item.
            item = rest.take_rest();
        } else if (first.empty()) {
            first.remember(item);
        } else if (second.empty()) {
            second.remember(item);
        }
        item = trim_left(item);
        rest.skip_white_space();
        const std::string head = take_word(item);
        if (head.empty()) continue;
        if (item.empty()) {
            value = head;  // a value without a time holds at any time
            continue;
        }
        const int32_t item_time = read_time(without_at_sign(item));
        if (is_repeat_word(head)) {
            apply_repeat(first, second, time, item_time, read_time, value);
        } else if (is_cancel_word(head)) {
            if (item_time <= time) {
                value.clear();
                name.clear();
            }
        } else if (item_time == time) {
            value = head;
            return;
        }
    }
}

// The driven value in binary after "0b" when the command names a radix
// other than decimal. A value that is not a number of that radix cannot
// be converted and is given as written, without the prefix.
std::string in_binary(const std::string& value, const FORCE_RADIX& radix) {
    if (radix.radix == QEL_RADIX_SIGNED_DECIMAL || radix.radix == QEL_RADIX_UNSIGNED_DECIMAL) return value;
    std::string binary;
    const bool converted =
        radix.radix == QEL_RADIX_FIXED_POINT
            ? qel_radix_conversion_fixed_point(value, binary, QEL_RADIX_FIXED_POINT, QEL_RADIX_BINARY,
                                               radix.fixed_point_format)
            : qel_radix_conversion(value, binary, radix.radix, QEL_RADIX_BINARY, 0);
    return converted ? "0b" + binary : value;
}

}  // namespace

KOVA_FORCE_HEAD kova_read_force_head(const std::string& command) {
    KOVA_FORCE_HEAD head;
    TEXT_CURSOR words(command, 0);
    head.is_force = kova_equal_nocase(words.next(' '), "force");
    if (!head.is_force) return head;
    head.signal = words.next(' ');
    if (is_option_word(head.signal)) {
        head.option = std::move(head.signal);
        head.signal = words.next(' ');
    }
    head.items = words.position();
    return head;
}

bool KOVA_RULES_VALIDATOR::kova_get_transition_at_time(std::string command, int time, std::string& name,
                                                       std::string& value) {
    name.clear();
    value.clear();
    const KOVA_FORCE_HEAD head = kova_read_force_head(command);
    if (!head.is_force) return false;
    FORCE_RADIX radix;
    if (!head.option.empty()) apply_option(head.option, radix);
    name = head.signal;
    const TIME_READER read_time(*this, [this](const std::string& text) { return get_stimulus_value(text); });
    scan_items(command, head.items, time, read_time, name, value);
    if (value.empty()) return false;
    value = in_binary(get_stimulus_value(value), radix);
    return true;
}
