// Strict UTF-8 decoding of byte strings: the one place that decides which
// bytes form a valid sequence, for the settings quoting and for JSON texts.
#ifndef KOVA_UTF8_H
#define KOVA_UTF8_H

#include <cstddef>
#include <string_view>

// The length (1 to 4) of the valid UTF-8 sequence that starts at text[at],
// or 0 when the byte there does not start one. Valid means shortest form
// (no overlongs), no encoded surrogates U+D800 to U+DFFF, nothing above
// U+10FFFF and no sequence cut short by the end of the text.
std::size_t kova_utf8_length(std::string_view text, std::size_t at);

// True when the whole text is valid UTF-8 in the sense above.
bool kova_is_utf8(std::string_view text);

#endif
