// Strict UTF-8: the ranges of each byte of a well-formed sequence.
#include "session/utf8.h"

namespace {

bool in(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// The allowed range of the second byte, which alone rules out overlongs,
// surrogates and code points above U+10FFFF; later bytes are 80..BF.
bool second_byte_fits(unsigned char lead, unsigned char second) {
    switch (lead) {
        case 0xE0: return in(second, 0xA0, 0xBF);
        case 0xED: return in(second, 0x80, 0x9F);
        case 0xF0: return in(second, 0x90, 0xBF);
        case 0xF4: return in(second, 0x80, 0x8F);
        default: return in(second, 0x80, 0xBF);
    }
}

// The sequence length a lead byte announces, or 0 for a byte that never
// leads (continuation bytes, C0, C1 and F5..FF).
std::size_t announced_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (in(lead, 0xC2, 0xDF)) return 2;
    if (in(lead, 0xE0, 0xEF)) return 3;
    if (in(lead, 0xF0, 0xF4)) return 4;
    return 0;
}

}  // namespace

std::size_t kova_utf8_length(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = announced_length(lead);
    if (length <= 1) return length;
    if (text.size() - at < length) return 0;
    if (!second_byte_fits(lead, static_cast<unsigned char>(text[at + 1]))) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!in(static_cast<unsigned char>(text[at + i]), 0x80, 0xBF)) return 0;
    return length;
}

bool kova_is_utf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = kova_utf8_length(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}
