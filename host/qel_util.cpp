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

std::string QEL_TOKEN_READER::next() {
    std::string delimiter;
    return next(delimiter);
}

std::string QEL_TOKEN_READER::next(std::string& delimiter) {
    const std::size_t start = std::min(m_position, m_text.size());
    const std::size_t end = m_text.find_first_of(m_delimiters, start);
    if (end == std::string::npos) {
        m_position = m_text.size();
        delimiter.clear();
        return m_text.substr(start);
    }
    m_position = end + 1;
    delimiter.assign(1, m_text[end]);
    return m_text.substr(start, end - start);
}

std::string qel_get_token_at_index(const std::string& list, int index) {
    if (index < 0) {
        return "";
    }
    QEL_TOKEN_READER entries(list, "|");
    for (int skipped = 0; skipped < index; ++skipped) {
        if (entries.empty()) {
            return "";  // past the end; also keeps a huge index from looping
        }
        entries.next();
    }
    return entries.next();
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
