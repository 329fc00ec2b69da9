// The usage words that rule results and settings may be: USED, UNUSED and
// CONSTANT, in any letter case. Read here for the validation run, the
// consistency check, the wizard maps and the settings of a session alike.
#ifndef KOVA_USAGE_WORDS_H
#define KOVA_USAGE_WORDS_H

#include <string>
#include <string_view>

#include "host/kova_info.h"

// An ASCII letter in lower case, as kova_equal_nocase compares letters.
inline char kova_fold_letter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// kova_equal_nocase of text and a word, compared in place without making
// strings: a run and every settings comparison ask this of most values.
inline bool kova_equal_folded(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t at = 0; at < word.size(); ++at)
        if (kova_fold_letter(text[at]) != kova_fold_letter(word[at])) return false;
    return true;
}

// The usage state a word names; KOVA_USAGE_NONE for any other text (the
// word NONE included, which no result or setting uses).
inline int kova_usage_word_state(std::string_view text) {
    if (kova_equal_folded(text, "USED")) return KOVA_USAGE_USED;
    if (kova_equal_folded(text, "UNUSED")) return KOVA_USAGE_UNUSED;
    if (kova_equal_folded(text, "CONSTANT")) return KOVA_USAGE_CONSTANT;
    return KOVA_USAGE_NONE;
}

// Whether a rule value is taken as written instead of being evaluated:
// "", USED, UNUSED and +c.mif, in any letter case (CONSTANT is evaluated).
inline bool kova_value_taken_as_written(std::string_view text) {
    // Only a text of one of the words' lengths (0, 4, 6) can be one.
    if (text.empty()) return true;
    if (text.size() != 4 && text.size() != 6) return false;
    for (std::string_view word : {"UNUSED", "USED", "+c.mif"})
        if (kova_equal_folded(text, word)) return true;
    return false;
}

#endif
