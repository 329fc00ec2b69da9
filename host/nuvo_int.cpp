// NUVO_UINTEGER on little-endian 64-bit words.
// Invariants: m_words holds exactly ceil(m_width / 64) words; bits at and
// above m_width are always 0; while the value is unknown every word is 0.
#include "host/nuvo_int.h"

#include <algorithm>

namespace {

constexpr int WORD_BITS = 64;

int clamp_width(int width) { return std::clamp(width, 0, NUVO_UINTEGER::NUVO_MAX_WIDTH); }

std::size_t word_count(int width) { return (static_cast<std::size_t>(width) + WORD_BITS - 1) / WORD_BITS; }

// Clears the bits of the top word that lie at or above width.
void drop_bits_above(std::vector<uint64_t>& words, int width) {
    const int used_bits = width % WORD_BITS;
    if (!words.empty() && used_bits != 0) {
        words.back() &= (uint64_t{1} << used_bits) - 1;
    }
}

bool is_bit_set(const std::vector<uint64_t>& words, std::size_t bit) {
    return ((words[bit / WORD_BITS] >> (bit % WORD_BITS)) & 1U) != 0;
}

}  // namespace

NUVO_UINTEGER::NUVO_UINTEGER(uint32_t value, int width) : m_width(clamp_width(width)), m_words(word_count(m_width)) {
    *this = value;
}

NUVO_UINTEGER::~NUVO_UINTEGER() = default;

NUVO_UINTEGER& NUVO_UINTEGER::operator=(uint32_t value) {
    clear_words();
    if (!m_words.empty()) {
        m_words[0] = value;
        drop_bits_above(m_words, m_width);
    }
    m_is_x = false;
    return *this;
}

void NUVO_UINTEGER::assign_keeping_width(const NUVO_UINTEGER& source) noexcept {
    if (&source == this) return;
    if (source.m_is_x) {
        force_x();
        return;
    }
    const std::size_t shared = std::min(m_words.size(), source.m_words.size());
    std::copy(source.m_words.begin(), source.m_words.begin() + static_cast<std::ptrdiff_t>(shared), m_words.begin());
    std::fill(m_words.begin() + static_cast<std::ptrdiff_t>(shared), m_words.end(), 0);
    drop_bits_above(m_words, m_width);
    m_is_x = false;
}

void NUVO_UINTEGER::force_x() {
    clear_words();
    m_is_x = true;
}

bool NUVO_UINTEGER::set_value_from_bin_string(const std::string& digits) {
    if (!std::all_of(digits.begin(), digits.end(), [](char digit) { return digit == '0' || digit == '1'; })) {
        return false;
    }
    clear_words();
    const std::size_t loaded_bits = std::min(digits.size(), static_cast<std::size_t>(m_width));
    for (std::size_t bit = 0; bit < loaded_bits; ++bit) {
        if (digits[digits.size() - 1 - bit] == '1') {
            m_words[bit / WORD_BITS] |= uint64_t{1} << (bit % WORD_BITS);
        }
    }
    m_is_x = false;
    return true;
}

const char* NUVO_UINTEGER::as_bin_string() const {
    m_text.assign(static_cast<std::size_t>(m_width), 'X');
    if (!m_is_x) {
        for (std::size_t bit = 0; bit < m_text.size(); ++bit) {
            m_text[m_text.size() - 1 - bit] = is_bit_set(m_words, bit) ? '1' : '0';
        }
    }
    return m_text.c_str();
}

uint32_t NUVO_UINTEGER::uint() const {
    if (m_is_x) {
        return UINT32_MAX;
    }
    return m_words.empty() ? 0 : static_cast<uint32_t>(m_words[0]);
}

bool NUVO_UINTEGER::operator>(const NUVO_UINTEGER& other) const {
    return !m_is_x && !other.m_is_x && compare(other) > 0;
}

bool NUVO_UINTEGER::operator<(const NUVO_UINTEGER& other) const {
    return !m_is_x && !other.m_is_x && compare(other) < 0;
}

bool NUVO_UINTEGER::operator==(const NUVO_UINTEGER& other) const {
    return !m_is_x && !other.m_is_x && compare(other) == 0;
}

// Numeric order of the words; a narrower value counts as 0 in the words it lacks.
int NUVO_UINTEGER::compare(const NUVO_UINTEGER& other) const {
    for (std::size_t index = std::max(m_words.size(), other.m_words.size()); index-- > 0;) {
        const uint64_t mine = index < m_words.size() ? m_words[index] : 0;
        const uint64_t theirs = index < other.m_words.size() ? other.m_words[index] : 0;
        if (mine != theirs) {
            return mine > theirs ? 1 : -1;
        }
    }
    return 0;
}

void NUVO_UINTEGER::clear_words() { std::fill(m_words.begin(), m_words.end(), 0); }
