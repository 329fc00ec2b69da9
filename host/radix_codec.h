// Number texts of each radix code (QEL_MEMORY_RADIXES) read into binary
// digits and written back. Internal to the host layer; not exported.
#ifndef RADIX_CODEC_H
#define RADIX_CODEC_H

#include <cstddef>
#include <string>

// A number read from text at the width its text gives it.
// Invariant: bits is never empty and holds only '0', '1' and 'X'.
struct BIT_PATTERN {
    std::string bits;  // most significant first
    char fill = '0';   // digit that extends the number to a wider width:
                       // '1' for a negative value, 'X' for an unknown one
};

// Reads text written in radix; fixed-point texts have fraction_bits bits
// after the point. Decimal values are kept modulo 2^max_bits. False when
// text is not a number of that radix.
bool read_radix_text(const std::string& text, int radix, std::size_t fraction_bits, std::size_t max_bits,
                     BIT_PATTERN& pattern);

// The pattern's low width bits, extended by its fill where it is shorter.
std::string fit_to_width(const BIT_PATTERN& pattern, std::size_t width);

// Writes bits (a value at its full width, two's complement for the signed
// radices) in radix. A decimal of a value with any X bit is "X". With
// minimal, leading zero digits of binary, hexadecimal and octal are left
// out (one digit stays).
std::string write_radix_text(const std::string& bits, int radix, std::size_t fraction_bits, bool minimal);

#endif
