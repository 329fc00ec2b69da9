// Tokenising and radix conversion of number texts.
//
// Radix codes (QEL_MEMORY_RADIXES) and the digit texts they read and write:
//   0 binary          digits 0 and 1
//   1 signed decimal  optional sign, decimal digits; two's complement of
//                     the width
//   2 unsigned decimal decimal digits
//   3 hexadecimal     digits 0-9 and A-F (read in either case, written in
//                     upper case)
//   4 octal           digits 0-7
//   5 fixed point     a decimal real such as -1.25, 1. or .5, read with a
//                     format "W,F" (W bits in all, F of them after the
//                     point, two's complement); without a format F is 0.
//                     Read values round to the nearest multiple of 2^-F,
//                     halves away from zero; written values are exact,
//                     without trailing zeros and without a point when
//                     they are whole
// Binary, hexadecimal and octal texts may hold X digits (either case) for
// unknown bits; a digit written for bits of which any is unknown is X. A
// decimal or fixed-point text of a value with an unknown bit is "X", and
// the text "X" reads as a value whose bits are all unknown.
//
// A conversion for width W writes W bits' worth of digits (binary:
// exactly W digits, hex and octal: enough digits for W bits); a value that
// does not fit the width keeps its low bits, and a shorter one is extended
// with zeros (with ones when it is a negative decimal). With width 0 the
// value keeps the width its text gives it (binary, hex, octal: the digits
// written; decimals: as few bits as the value and its sign need), so a
// signed reading of a binary text takes its first digit as the sign, and
// binary, hex and octal are written with as few digits as the value needs.
// Widths are capped at NUVO_UINTEGER::NUVO_MAX_WIDTH bits.
#ifndef QEL_UTIL_H
#define QEL_UTIL_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "kova_host_export.h"

enum QEL_MEMORY_RADIXES {
    QEL_RADIX_BINARY = 0,
    QEL_RADIX_SIGNED_DECIMAL = 1,
    QEL_RADIX_UNSIGNED_DECIMAL = 2,
    QEL_RADIX_HEXADECIMAL = 3,
    QEL_RADIX_OCTAL = 4,
    QEL_RADIX_FIXED_POINT = 5
};

// The text of source before its first character that is in delimiters;
// that text and the one delimiter after it are removed from source.
// Without a delimiter, all of source is returned and source becomes empty.
KOVA_HOST_API std::string qel_get_token(std::string& source, const std::string& delimiters);
// As qel_get_token; delimiter receives the character that ended the token
// ("" when the token ran to the end).
KOVA_HOST_API std::string qel_get_token_with_delimiter(std::string& source, const std::string& delimiters,
                                                       std::string& delimiter);
// Reads a whole text token by token exactly as repeated qel_get_token
// calls on a copy of it would, but keeps a position instead of removing
// each token from the front of the rest, so that a walk of a text costs
// time in proportion to its length rather than to its length squared.
class KOVA_HOST_API QEL_TOKEN_READER {
public:
    QEL_TOKEN_READER(std::string text, std::string delimiters)
        : m_text(std::move(text)), m_delimiters(std::move(delimiters)) {}

    // Whether the rest is empty: the loop condition of a walk.
    bool empty() const { return m_position >= m_text.size(); }
    // qel_get_token of the rest.
    std::string next();
    // qel_get_token_with_delimiter of the rest.
    std::string next(std::string& delimiter);
    // What qel_get_token calls would have left of the text by now.
    std::string rest() const { return m_text.substr(std::min(m_position, m_text.size())); }

private:
    std::string m_text;
    std::string m_delimiters;
    std::size_t m_position = 0;  // invariant: the rest starts here
};

// Entry number index (0 for the first) of a "|"-separated list; "" when
// the index is negative or past the end.
KOVA_HOST_API std::string qel_get_token_at_index(const std::string& list, int index);

// Digits of value in radix 2 to 16 (upper-case letters); radix 10 when
// radix is outside that range.
KOVA_HOST_API std::string qel_int_to_string(uint32_t value, int radix);

// Rewrites text from radix `from` to radix `to` for a value of `width`
// bits. Answers false, leaving result "", when text is not a number of
// radix `from` or a radix code is unknown.
KOVA_HOST_API bool qel_radix_conversion(const std::string& text, std::string& result, int from, int to,
                                        int width);
// The same where either side may be fixed point (radix 5) with format
// "W,F"; the width comes from the format. The format is "" (W and F 0),
// "W" (F 0) or "W,F", each field decimal digits; any other answers false.
KOVA_HOST_API bool qel_radix_conversion_fixed_point(const std::string& text, std::string& result, int from,
                                                    int to, const std::string& format);
// Reads a number written in decimal digits, or with a prefix 0x (hex),
// 0o (octal) or 0b (binary), blanks around it allowed; result receives its
// binary digits without leading zeros ("0" for zero). False, and result
// untouched, for anything else, a sign or an X digit included.
KOVA_HOST_API bool qel_convert_numeric_string_to_binary_format(const std::string& text, std::string& result);

#endif
