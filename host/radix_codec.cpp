// Reading and writing of radix texts. Binary, hexadecimal and octal map
// digit by digit to bits (an X digit to X bits); the decimal radices go
// through the limb arithmetic; fixed point scales by 2^fraction_bits.
#include "host/radix_codec.h"

#include <algorithm>

#include "host/kova_stl.h"
#include "host/limb_arith.h"
#include "host/qel_util.h"

namespace {

bool is_unknown_digit(char digit) { return digit == 'X' || digit == 'x'; }
bool is_decimal_digit(char digit) { return digit >= '0' && digit <= '9'; }
bool has_unknown_bit(const std::string& bits) { return bits.find('X') != std::string::npos; }

// Two's complement of bits ('0' and '1' only) at their own width: the bits
// up to and including the lowest 1 stay, every bit above it is inverted.
void negate_bits(std::string& bits) {
    const std::size_t lowest_one = bits.rfind('1');
    if (lowest_one == std::string::npos) {
        return;
    }
    std::for_each(bits.begin(), bits.begin() + static_cast<std::ptrdiff_t>(lowest_one),
                  [](char& bit) { bit = bit == '1' ? '0' : '1'; });
}

// Reads digits of bits_per_digit bits each (1, 3 or 4). Only the digits
// that reach into the low max_bits bits are expanded.
bool read_positional(const std::string& text, int bits_per_digit, std::size_t max_bits, BIT_PATTERN& pattern) {
    const int digit_limit = 1 << bits_per_digit;
    const bool valid = !text.empty() && std::all_of(text.begin(), text.end(), [&](char digit) {
        return is_unknown_digit(digit) || (kova_hex_digit_value(digit) >= 0 && kova_hex_digit_value(digit) < digit_limit);
    });
    if (!valid) {
        return false;
    }
    const std::size_t digits_needed = max_bits / static_cast<std::size_t>(bits_per_digit) + 1;
    pattern.bits.clear();
    pattern.fill = '0';
    for (std::size_t index = text.size() - std::min(text.size(), digits_needed); index < text.size(); ++index) {
        const int value = kova_hex_digit_value(text[index]);
        for (int bit = bits_per_digit - 1; bit >= 0; --bit) {
            pattern.bits += is_unknown_digit(text[index]) ? 'X' : ((value >> bit) & 1) != 0 ? '1' : '0';
        }
    }
    return true;
}

// A decimal text split into its parts: [sign] digits [. digits].
struct DECIMAL_TEXT {
    bool negative = false;
    std::string digits;               // integer digits followed by fraction digits
    std::size_t fraction_digits = 0;  // how many of digits follow the point
};

bool parse_decimal(const std::string& text, bool allow_sign, bool allow_point, DECIMAL_TEXT& number) {
    std::size_t index = 0;
    if (allow_sign && !text.empty() && (text[0] == '-' || text[0] == '+')) {
        number.negative = text[0] == '-';
        index = 1;
    }
    const std::size_t point = allow_point ? text.find('.', index) : std::string::npos;
    const std::string integer_part = text.substr(index, point == std::string::npos ? point : point - index);
    const std::string fraction_part = point == std::string::npos ? "" : text.substr(point + 1);
    number.digits = integer_part + fraction_part;
    number.fraction_digits = fraction_part.size();
    return !number.digits.empty() && std::all_of(number.digits.begin(), number.digits.end(), is_decimal_digit);
}

// A value with its sign, as two's complement bits one wider than its
// magnitude needs (a negative value as short as its sign allows).
BIT_PATTERN signed_pattern(LIMBS magnitude, bool negative, std::size_t max_bits) {
    limbs_truncate(magnitude, max_bits);
    BIT_PATTERN pattern{"0" + limbs_to_binary(magnitude), '0'};
    if (negative && !magnitude.empty()) {
        negate_bits(pattern.bits);
        while (pattern.bits.size() > 1 && pattern.bits[1] == '1') {
            pattern.bits.erase(0, 1);
        }
        pattern.fill = '1';
    }
    return pattern;
}

// magnitude * 2^fraction_bits / 10^fraction_digits, rounded to the nearest
// integer with halves away from zero: floor((floor(2x) + 1) / 2).
LIMBS scale_fixed_point(const DECIMAL_TEXT& number, std::size_t fraction_bits) {
    LIMBS scaled = limbs_from_decimal(number.digits, SIZE_MAX);
    limbs_shift_left(scaled, fraction_bits + 1);
    limbs_divide_by_power(scaled, 10, number.fraction_digits);
    limbs_multiply_add(scaled, 1, 1);
    limbs_divide(scaled, 2);
    return scaled;
}

bool read_decimal(const std::string& text, int radix, std::size_t fraction_bits, std::size_t max_bits,
                  BIT_PATTERN& pattern) {
    if (text.size() == 1 && is_unknown_digit(text[0])) {
        pattern = {"X", 'X'};
        return true;
    }
    DECIMAL_TEXT number;
    const bool is_signed = radix != QEL_RADIX_UNSIGNED_DECIMAL;
    if (!parse_decimal(text, is_signed, radix == QEL_RADIX_FIXED_POINT, number)) {
        return false;
    }
    if (!is_signed) {
        pattern = {limbs_to_binary(limbs_from_decimal(number.digits, max_bits)), '0'};
    } else if (radix == QEL_RADIX_FIXED_POINT) {
        pattern = signed_pattern(scale_fixed_point(number, fraction_bits), number.negative, max_bits);
    } else {
        pattern = signed_pattern(limbs_from_decimal(number.digits, max_bits), number.negative, max_bits);
    }
    return true;
}

// Digits of bits_per_digit bits each; a digit with an X bit is 'X'.
std::string write_positional(const std::string& bits, std::size_t bits_per_digit, bool minimal) {
    std::string padded = bits;
    if (minimal) {
        padded.erase(0, std::min(padded.find_first_not_of('0'), padded.size() - 1));
    }
    padded.insert(0, (bits_per_digit - padded.size() % bits_per_digit) % bits_per_digit, '0');
    std::string text;
    for (std::size_t start = 0; start < padded.size(); start += bits_per_digit) {
        const std::string group = padded.substr(start, bits_per_digit);
        if (has_unknown_bit(group)) {
            text += 'X';
        } else {
            text += qel_int_to_string(static_cast<uint32_t>(std::stoul(group, nullptr, 2)), 16);
        }
    }
    return text;
}

// Decimal digits of fraction / 2^fraction_bits after the point, without
// trailing zeros: fraction * 5^fraction_bits written in fraction_bits digits.
std::string fraction_digits(const std::string& fraction, std::size_t fraction_bits) {
    LIMBS scaled = limbs_from_binary(fraction);
    if (scaled.empty()) {
        return "";
    }
    limbs_multiply_by_power(scaled, 5, fraction_bits);
    std::string digits = limbs_to_decimal(scaled);
    digits.insert(0, fraction_bits - digits.size(), '0');
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits;
}

// bits as a two's complement number with fraction_bits bits after the point.
std::string write_fixed_point(std::string bits, std::size_t fraction_bits) {
    if (bits.empty()) {
        return "0";  // a value of no bits is 0
    }
    if (has_unknown_bit(bits)) {
        return "X";
    }
    const bool negative = bits[0] == '1';
    if (negative) {
        negate_bits(bits);
    }
    const std::size_t integer_bits = bits.size() - std::min(bits.size(), fraction_bits);
    const std::string fraction = fraction_digits(bits.substr(integer_bits), fraction_bits);
    std::string text = negative ? "-" : "";
    text += limbs_to_decimal(limbs_from_binary(bits.substr(0, integer_bits)));
    return fraction.empty() ? text : text + "." + fraction;
}

}  // namespace

bool read_radix_text(const std::string& text, int radix, std::size_t fraction_bits, std::size_t max_bits,
                     BIT_PATTERN& pattern) {
    switch (radix) {
    case QEL_RADIX_BINARY:
        return read_positional(text, 1, max_bits, pattern);
    case QEL_RADIX_OCTAL:
        return read_positional(text, 3, max_bits, pattern);
    case QEL_RADIX_HEXADECIMAL:
        return read_positional(text, 4, max_bits, pattern);
    case QEL_RADIX_SIGNED_DECIMAL:
    case QEL_RADIX_UNSIGNED_DECIMAL:
    case QEL_RADIX_FIXED_POINT:
        return read_decimal(text, radix, fraction_bits, max_bits, pattern);
    default:
        return false;
    }
}

std::string fit_to_width(const BIT_PATTERN& pattern, std::size_t width) {
    const std::size_t length = pattern.bits.size();
    if (length >= width) {
        return pattern.bits.substr(length - width);
    }
    return std::string(width - length, pattern.fill) + pattern.bits;
}

std::string write_radix_text(const std::string& bits, int radix, std::size_t fraction_bits, bool minimal) {
    switch (radix) {
    case QEL_RADIX_BINARY:
        return write_positional(bits, 1, minimal);
    case QEL_RADIX_OCTAL:
        return write_positional(bits, 3, minimal);
    case QEL_RADIX_HEXADECIMAL:
        return write_positional(bits, 4, minimal);
    case QEL_RADIX_UNSIGNED_DECIMAL:
        return has_unknown_bit(bits) ? "X" : limbs_to_decimal(limbs_from_binary(bits));
    case QEL_RADIX_SIGNED_DECIMAL:
        return write_fixed_point(bits, 0);
    case QEL_RADIX_FIXED_POINT:
        return write_fixed_point(bits, fraction_bits);
    default:
        return "";
    }
}
