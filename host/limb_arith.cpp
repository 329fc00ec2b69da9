// Schoolbook arithmetic on LIMBS: one multiply-add and one short division
// carry all the decimal work, each linear in the number of limbs.
#include "host/limb_arith.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int LIMB_BITS = 32;
constexpr uint32_t DECIMAL_CHUNK = 1000000000;  // 10^9, the largest power of 10 in a limb
constexpr std::size_t DECIMAL_CHUNK_DIGITS = 9;

void drop_top_zero_limbs(LIMBS& value) {
    while (!value.empty() && value.back() == 0) {
        value.pop_back();
    }
}

// The largest power base^count that fits a limb, as {power, count}.
std::pair<uint32_t, std::size_t> limb_sized_power(uint32_t base) {
    uint64_t power = base;
    std::size_t count = 1;
    while (power * base <= UINT32_MAX) {
        power *= base;
        ++count;
    }
    return {static_cast<uint32_t>(power), count};
}

uint32_t small_power(uint32_t base, std::size_t exponent) {
    uint32_t power = 1;
    for (std::size_t step = 0; step < exponent; ++step) {
        power *= base;
    }
    return power;
}

// Value of a run of decimal digits that fits a limb.
uint32_t decimal_chunk_value(const std::string& digits, std::size_t start, std::size_t count) {
    uint32_t chunk = 0;
    for (std::size_t index = start; index < start + count; ++index) {
        chunk = chunk * 10 + static_cast<uint32_t>(digits[index] - '0');
    }
    return chunk;
}

}  // namespace

void limbs_multiply_add(LIMBS& value, uint32_t factor, uint32_t addend) {
    // limb * factor + carry stays below 2^64 because carry < 2^32.
    uint64_t carry = addend;
    for (uint32_t& limb : value) {
        const uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
        limb = static_cast<uint32_t>(product);
        carry = product >> LIMB_BITS;
    }
    if (carry != 0) {
        value.push_back(static_cast<uint32_t>(carry));
    }
    drop_top_zero_limbs(value);
}

uint32_t limbs_divide(LIMBS& value, uint32_t divisor) {
    uint64_t remainder = 0;
    for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
        const uint64_t dividend = (remainder << LIMB_BITS) | *limb;
        *limb = static_cast<uint32_t>(dividend / divisor);
        remainder = dividend % divisor;
    }
    drop_top_zero_limbs(value);
    return static_cast<uint32_t>(remainder);
}

void limbs_multiply_by_power(LIMBS& value, uint32_t base, std::size_t exponent) {
    const auto [power, count] = limb_sized_power(base);
    for (; exponent >= count; exponent -= count) {
        limbs_multiply_add(value, power, 0);
    }
    limbs_multiply_add(value, small_power(base, exponent), 0);
}

void limbs_divide_by_power(LIMBS& value, uint32_t base, std::size_t exponent) {
    // Successive floor divisions give the floor of the whole quotient.
    const auto [power, count] = limb_sized_power(base);
    for (; exponent >= count && !value.empty(); exponent -= count) {
        limbs_divide(value, power);
    }
    limbs_divide(value, small_power(base, exponent));
}

void limbs_shift_left(LIMBS& value, std::size_t bits) {
    if (value.empty()) {
        return;
    }
    value.insert(value.begin(), bits / LIMB_BITS, 0);
    limbs_multiply_add(value, uint32_t{1} << (bits % LIMB_BITS), 0);
}

void limbs_truncate(LIMBS& value, std::size_t bits) {
    const std::size_t whole_limbs = bits / LIMB_BITS;
    const std::size_t extra_bits = bits % LIMB_BITS;
    if (value.size() <= whole_limbs) {
        return;
    }
    if (extra_bits == 0) {
        value.resize(whole_limbs);
    } else {
        value.resize(whole_limbs + 1);
        value.back() &= (uint32_t{1} << extra_bits) - 1;
    }
    drop_top_zero_limbs(value);
}

LIMBS limbs_from_decimal(const std::string& digits, std::size_t max_bits) {
    LIMBS value;
    // A short first chunk, so that every later chunk has exactly 9 digits.
    std::size_t chunk_digits = digits.size() % DECIMAL_CHUNK_DIGITS;
    if (chunk_digits == 0) {
        chunk_digits = DECIMAL_CHUNK_DIGITS;
    }
    std::size_t start = 0;
    while (start < digits.size()) {
        limbs_multiply_add(value, small_power(10, chunk_digits), decimal_chunk_value(digits, start, chunk_digits));
        limbs_truncate(value, max_bits);
        start += chunk_digits;
        chunk_digits = DECIMAL_CHUNK_DIGITS;
    }
    return value;
}

std::string limbs_to_decimal(LIMBS value) {
    std::vector<uint32_t> chunks;  // base 10^9, least significant first
    while (!value.empty()) {
        chunks.push_back(limbs_divide(value, DECIMAL_CHUNK));
    }
    if (chunks.empty()) {
        return "0";
    }
    std::string text = std::to_string(chunks.back());
    for (auto chunk = chunks.rbegin() + 1; chunk != chunks.rend(); ++chunk) {
        const std::string digits = std::to_string(*chunk);
        text.append(DECIMAL_CHUNK_DIGITS - digits.size(), '0');
        text += digits;
    }
    return text;
}

LIMBS limbs_from_binary(const std::string& digits) {
    LIMBS value((digits.size() + LIMB_BITS - 1) / LIMB_BITS, 0);
    const std::size_t count = digits.size();
    for (std::size_t bit = 0; bit < count; ++bit) {
        if (digits[count - 1 - bit] == '1') {
            value[bit / LIMB_BITS] |= uint32_t{1} << (bit % LIMB_BITS);
        }
    }
    drop_top_zero_limbs(value);
    return value;
}

std::string limbs_to_binary(const LIMBS& value) {
    if (value.empty()) {
        return "0";
    }
    std::string digits;
    digits.reserve(value.size() * LIMB_BITS);
    for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
        for (int bit = LIMB_BITS - 1; bit >= 0; --bit) {
            digits += ((*limb >> bit) & 1U) != 0 ? '1' : '0';
        }
    }
    digits.erase(0, std::min(digits.find('1'), digits.size() - 1));
    return digits;
}
