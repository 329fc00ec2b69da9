// Wrapping 32-bit arithmetic: sums, differences and products are formed
// in unsigned arithmetic, quotients in 64 bits, and the result is brought
// back to 32 bits modulo 2^32.
#include "expr/arithmetic.h"

#include <cmath>

namespace {

int32_t wrap(uint32_t bits) { return static_cast<int32_t>(bits); }

int32_t wrap(int64_t value) { return wrap(static_cast<uint32_t>(value)); }

}  // namespace

int32_t kova_wrapping_add(int32_t x, int32_t y) {
    return wrap(static_cast<uint32_t>(x) + static_cast<uint32_t>(y));
}

int32_t kova_wrapping_subtract(int32_t x, int32_t y) {
    return wrap(static_cast<uint32_t>(x) - static_cast<uint32_t>(y));
}

int32_t kova_wrapping_multiply(int32_t x, int32_t y) {
    return wrap(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
}

// Repeated multiplication modulo 2^32 equals square-and-multiply modulo
// 2^32, which needs only log2(e) steps for a large exponent.
int32_t kova_power(int32_t x, int32_t e) {
    if (e == 0) return 1;
    if (e < 0) return x;
    uint32_t base = static_cast<uint32_t>(x);
    uint32_t result = 1;
    for (uint32_t rest = static_cast<uint32_t>(e); rest != 0; rest >>= 1) {
        if (rest & 1u) result *= base;
        base *= base;
    }
    return wrap(result);
}

int32_t kova_exact_quotient(int32_t x, int32_t y) {
    return kova_remainder(x, y) == 0 ? kova_truncated_quotient(x, y) : 0;
}

int32_t kova_truncated_quotient(int32_t x, int32_t y) {
    return wrap(static_cast<int64_t>(x) / static_cast<int64_t>(y));
}

int32_t kova_ceiling_quotient(int32_t x, int32_t y) {
    int32_t quotient = kova_truncated_quotient(x, y);
    return kova_remainder(x, y) == 0 ? quotient : kova_wrapping_add(quotient, 1);
}

int32_t kova_remainder(int32_t x, int32_t y) {
    return wrap(static_cast<int64_t>(x) % static_cast<int64_t>(y));
}

int32_t kova_ceil_log2(int32_t n) {
    if (n <= 0) return 0;
    // For n >= 1 the quotient lies in [0, 31], so the conversion is exact.
    return static_cast<int32_t>(std::ceil(std::log(static_cast<double>(n)) / std::log(2.0)));
}
