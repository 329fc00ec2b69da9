// Readings of settings that differ from what was written, found by
// reading them as the engine does and comparing with the text.
#include "session/setting_readings.h"

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"

namespace {

// The blanks kova_atoi skips before a number.
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Digits without their leading zeros; "0" for none left.
std::string significant(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

// Whether kova_atoi reads text as exactly the number written: value is
// what it read, so the digits written must be the digits of value.
bool reads_exactly(const std::string& text, int32_t value) {
    std::size_t at = 0;
    while (at < text.size() && is_space(text[at])) ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t start = at;
    while (at < text.size() && is_digit(text[at])) ++at;
    if (at == start || at != text.size()) return false;
    std::string magnitude = std::to_string(value);
    if (magnitude[0] == '-') magnitude.erase(0, 1);
    return significant(text.substr(start)) == magnitude;  // else clamped to 32 bits
}

}  // namespace

bool kova_integer_reading_warning(const KOVA_SETTING& setting, const std::string& object, KOVA_MESSAGE& warning) {
    const int32_t value = kova_atoi(setting.value);
    if (reads_exactly(setting.value, value)) return false;
    KOVA_SOURCE_LOCATION place;
    place.file = setting.file;
    place.line = static_cast<uint32_t>(setting.line);
    warning = kova_make_message(KOVA_SEVERITY_WARNING, KOVA_DIAG_SETTING,
                                setting.name + "=" + setting.value + " reads as " + std::to_string(value), place);
    warning.object = object;
    return true;
}

bool kova_constant_fits(const KOVA_PORT_OBJ& port, const std::string& text, std::string& held) {
    std::string digits;
    int radix;
    const NUVO_UINTEGER* value = port.get_current_port_value();
    const int width = port.get_current_port_width();
    // A port without a width holds nothing at all; that is reported where
    // the port is declared, not here.
    if (!kova_constant_digits(text, digits, radix) || !value || value->is_x() || width <= 0) return true;
    // The value held, in the radix written: the constant fits when the
    // round trip through the port's width gives back its digits.
    std::string kept;
    if (!qel_radix_conversion(value->as_bin_string(), kept, QEL_RADIX_BINARY, radix, width)) return true;
    kept = significant(kept);
    if (kova_equal_nocase(kept, significant(digits))) return true;
    held = text.substr(0, text.size() - digits.size()) + kept;
    return false;
}
