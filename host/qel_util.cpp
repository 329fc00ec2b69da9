// Tokenising of texts and the digits of 32-bit values. The radix
// conversions live in qel_radix.cpp.
#include "host/qel_util.h"

#include <algorithm>

namespace {

constexpr char DIGIT_CHARACTERS[] = "0123456789ABCDEF";

}  // namespace

std::string qel_get_token_with_delimiter(std::string& source, const std::string& delimiters, std::string& delimiter) {
    const std::size_t end = source.find_first_of(delimiters);
    std::string token;
    if (end == std::string::npos) {
        token.swap(source);
        delimiter.clear();
    } else {
        token = source.substr(0, end);
        delimiter = source.substr(end, 1);
        source.erase(0, end + 1);
    }
    return token;
}

std::string qel_get_token(std::string& source, const std::string& delimiters) {
    std::string delimiter;
    return qel_get_token_with_delimiter(source, delimiters, delimiter);
}

std::string qel_get_token_at_index(const std::string& list, int index) {
    if (index < 0) {
        return "";
    }
    std::string rest = list;
    for (int skipped = 0; skipped < index; ++skipped) {
        if (rest.empty()) {
            return "";  // past the end; also keeps a huge index from looping
        }
        qel_get_token(rest, "|");
    }
    return qel_get_token(rest, "|");
}

std::string qel_int_to_string(uint32_t value, int radix) {
    const uint32_t base = radix >= 2 && radix <= 16 ? static_cast<uint32_t>(radix) : 10;
    std::string digits;
    do {
        digits += DIGIT_CHARACTERS[value % base];
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}
