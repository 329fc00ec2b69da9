// Unsigned integers of any size for the decimal side of the radix
// conversions. Internal to the host layer; not exported.
//
// A LIMBS value is a little-endian vector of 32-bit limbs (base 2^32).
// Invariant: the top limb is never 0, so zero is the empty vector and two
// equal values have equal vectors. Every function here keeps it.
#ifndef LIMB_ARITH_H
#define LIMB_ARITH_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using LIMBS = std::vector<uint32_t>;

// value = value * factor + addend.
void limbs_multiply_add(LIMBS& value, uint32_t factor, uint32_t addend);
// value = value / divisor, rounded down; answers the remainder. divisor > 0.
uint32_t limbs_divide(LIMBS& value, uint32_t divisor);
// value = value * base^exponent and value = value / base^exponent (rounded
// down), in steps of the largest power of base that fits a limb. base >= 2.
void limbs_multiply_by_power(LIMBS& value, uint32_t base, std::size_t exponent);
void limbs_divide_by_power(LIMBS& value, uint32_t base, std::size_t exponent);
// value = value * 2^bits.
void limbs_shift_left(LIMBS& value, std::size_t bits);
// value = value mod 2^bits.
void limbs_truncate(LIMBS& value, std::size_t bits);

// Decimal digits ('0' to '9' only, most significant first) to a value,
// kept modulo 2^max_bits while it is read so that the work stays bounded
// by the width the caller needs.
LIMBS limbs_from_decimal(const std::string& digits, std::size_t max_bits);
// Decimal digits of value without leading zeros ("0" for zero).
std::string limbs_to_decimal(LIMBS value);
// Binary digits ('0' and '1' only, most significant first) to a value.
LIMBS limbs_from_binary(const std::string& digits);
// Binary digits of value without leading zeros ("0" for zero).
std::string limbs_to_binary(const LIMBS& value);

#endif
