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
#include <cstdint>
#include <functional>

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"

namespace {

using TIME_READER = std::function<int32_t(const std::string&)>;

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

// Whether a remembered item "VALUE TIME" repeats at time: with a period,
// when time falls on the item's time within the period; with a period of
// 0, when the item's time is not 0 and time is below it in magnitude.
bool repeat_matches(int32_t time, int32_t period, int32_t item_time) {
    const int64_t wide_time = time;
    if (period != 0) return wide_time % period == item_time;
    return item_time != 0 && wide_time / item_time == 0;
}

// Splits a remembered item "VALUE TIME" into its value and time; true
// when it recurs at time.
bool recurs_at(const std::string& item, int32_t time, int32_t period, const TIME_READER& read_time,
               std::string& item_value) {
    std::string time_text = item;
    item_value = take_word(time_text);
    return repeat_matches(time, period, read_time(without_at_sign(time_text)));
}

// The repeat rule: the first two items of the list recur with the period;
// the first one wins, and the second counts only while value is empty.
void apply_repeat(const std::string& first, const std::string& second, int32_t time, int32_t period,
                  const TIME_READER& read_time, std::string& value) {
    if (period > time || first.empty() || second.empty()) return;
    std::string first_value, second_value;
    const bool first_recurs = recurs_at(first, time, period, read_time, first_value);
    if (first_value.empty()) return;
    if (first_recurs) value = first_value;
    if (value.empty() && recurs_at(second, time, period, read_time, second_value)) value = second_value;
}

// The scan of the item list: leaves in value what the command drives at
// time ("" when nothing), and clears name after a cancel that applied.
void scan_items(std::string rest, int32_t time, const TIME_READER& read_time, std::string& name,
                std::string& value) {
    std::string first, second;  // the first two items as written, for the repeat rule
    rest = trim_left(rest);
    while (!rest.empty()) {
        std::string item = qel_get_token(rest, ",");
        if (item.empty()) {
            // A "," at the start of the rest: everything after it is one item.
            item.swap(rest);
        } else if (first.empty()) {
            first = item;
        } else if (second.empty()) {
            second = item;
        }
        item = trim_left(item);
        rest = trim_left(rest);
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

bool KOVA_RULES_VALIDATOR::kova_get_transition_at_time(std::string command, int time, std::string& name,
                                                       std::string& value) {
    name.clear();
    value.clear();
    if (!kova_equal_nocase(take_word(command), "force")) return false;
    FORCE_RADIX radix;
    name = take_word(command);
    if (is_option_word(name)) {
        apply_option(name, radix);
        name = take_word(command);
    }
    const TIME_READER read_time = [this](const std::string& text) { return kova_atoi(get_stimulus_value(text)); };
    scan_items(command, time, read_time, name, value);
    if (value.empty()) return false;
    value = in_binary(get_stimulus_value(value), radix);
    return true;
}
