// The integer arithmetic of rule texts: signed 32-bit two's complement
// that wraps on overflow, computed without undefined behaviour.
#ifndef KOVA_ARITHMETIC_H
#define KOVA_ARITHMETIC_H

#include <cstdint>

#include "objects/kova_rules_export.h"

int32_t kova_wrapping_add(int32_t x, int32_t y);
int32_t kova_wrapping_subtract(int32_t x, int32_t y);
int32_t kova_wrapping_multiply(int32_t x, int32_t y);
// x for an exponent of 1 or less than 0, 1 for 0, else x to the power e.
int32_t kova_power(int32_t x, int32_t e);

// The division family for a divisor y that is not 0. The smallest integer
// divided by -1 wraps to itself, with remainder 0.
// x / y when y divides x exactly, else 0.
int32_t kova_exact_quotient(int32_t x, int32_t y);
// x / y truncated toward zero.
int32_t kova_truncated_quotient(int32_t x, int32_t y);
// The truncated quotient, plus 1 when there is a remainder.
int32_t kova_ceiling_quotient(int32_t x, int32_t y);
// The remainder of the truncating division; its sign follows x.
KOVA_RULES_API int32_t kova_remainder(int32_t x, int32_t y);

// ceil(log(n) / log(2.0)) in double precision; 0 for n of 0 or less,
// where the logarithm is not finite.
KOVA_RULES_API int32_t kova_ceil_log2(int32_t n);

#endif
