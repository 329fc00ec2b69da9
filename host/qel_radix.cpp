// The public radix conversions: read the text into bits, fit them to the
// width, write them in the target radix. A width of 0 keeps the width the
// text itself gives, capped like every width at NUVO_MAX_WIDTH bits.
#include <algorithm>

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/nuvo_int.h"
#include "host/qel_util.h"
#include "host/radix_codec.h"

namespace {

constexpr std::size_t MAX_WIDTH = NUVO_UINTEGER::NUVO_MAX_WIDTH;

bool is_radix_code(int radix) { return radix >= QEL_RADIX_BINARY && radix <= QEL_RADIX_FIXED_POINT; }

std::size_t radix_width(int width) { return static_cast<std::size_t>(std::clamp<int>(width, 0, MAX_WIDTH)); }

bool convert(const std::string& text, std::string& result, int from, int to, std::size_t width,
             std::size_t fraction_bits) {
    // Built aside: callers may pass the same string as text and result.
    std::string converted;
    BIT_PATTERN pattern;
    const bool valid = is_radix_code(from) && is_radix_code(to) &&
                       read_radix_text(text, from, fraction_bits, width == 0 ? MAX_WIDTH : width, pattern);
    if (valid) {
        const std::size_t fitted_width = width == 0 ? std::min(pattern.bits.size(), MAX_WIDTH) : width;
        converted = write_radix_text(fit_to_width(pattern, fitted_width), to, fraction_bits, width == 0);
    }
    result = converted;
    return valid;
}

// A format field: decimal digits only, clamped to the largest width.
bool parse_format_field(const std::string& field, std::size_t& value) {
    if (field.empty() || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = radix_width(kova_atoi(field));
    return true;
}

// "W,F", "W" (F is 0) or "" (W and F are 0).
bool parse_fixed_format(const std::string& format, std::size_t& width, std::size_t& fraction_bits) {
    width = 0;
    fraction_bits = 0;
    if (format.empty()) {
        return true;
    }
    std::string rest = format;
    const std::string width_field = qel_get_token(rest, ",");
    const bool has_fraction_field = format.find(',') != std::string::npos;
    return parse_format_field(width_field, width) && (!has_fraction_field || parse_format_field(rest, fraction_bits));
}

// The radix code of a prefix 0x, 0o or 0b; decimal without one.
int prefixed_radix(std::string& digits) {
    if (digits.size() < 2 || digits[0] != '0') {
        return QEL_RADIX_UNSIGNED_DECIMAL;
    }
    const char letter = static_cast<char>(digits[1] | 0x20);  // ASCII X, O, B to x, o, b
    const int radix = letter == 'x' ? QEL_RADIX_HEXADECIMAL
                      : letter == 'o' ? QEL_RADIX_OCTAL
                      : letter == 'b' ? QEL_RADIX_BINARY
                                      : QEL_RADIX_UNSIGNED_DECIMAL;
    if (radix != QEL_RADIX_UNSIGNED_DECIMAL) {
        digits.erase(0, 2);
    }
    return radix;
}

}  // namespace

bool qel_radix_conversion(const std::string& text, std::string& result, int from, int to, int width) {
    return convert(text, result, from, to, radix_width(width), 0);
}

bool qel_radix_conversion_fixed_point(const std::string& text, std::string& result, int from, int to,
                                      const std::string& format) {
    std::size_t width = 0;
    std::size_t fraction_bits = 0;
    if (!parse_fixed_format(format, width, fraction_bits)) {
        result.clear();
        return false;
    }
    return convert(text, result, from, to, width, fraction_bits);
}

bool qel_convert_numeric_string_to_binary_format(const std::string& text, std::string& result) {
    std::string digits(trim(text, " \t"));
    if (digits.empty()) {
        return false;
    }
    const int radix = prefixed_radix(digits);
    // Only known values count as numbers here.
    if (digits.find_first_of("xX") != std::string::npos) {
        return false;
    }
    std::string converted;
    if (!convert(digits, converted, radix, QEL_RADIX_BINARY, 0, 0)) {
        return false;
    }
    result = converted;
    return true;
}
