// The words each target language reserves, one table per language in its
// own file (keywords_verilog.cpp, keywords_vhdl.cpp). A name that is one
// of them is written escaped. C needs no table: every macro name is
// upper-cased, and no C or C++ keyword is.
#ifndef KOVA_GENERATE_KEYWORDS_H
#define KOVA_GENERATE_KEYWORDS_H

#include <algorithm>
#include <iterator>
#include <string>

// A keyword of Verilog (IEEE 1364-2005) or SystemVerilog (IEEE 1800-2017);
// case matters, as in those languages.
bool kova_is_verilog_keyword(const std::string& word);

// A reserved word of VHDL (up to IEEE 1076-2019), or a name the generated
// VHDL itself refers to (ieee, std_logic, work, ...), which a port or
// generic of that name would hide; case does not matter.
bool kova_is_vhdl_reserved(const std::string& word);

// Whether word is one of a table's words, sorted in byte order; case matters.
template <std::size_t N>
bool kova_in_sorted_words(const char* const (&words)[N], const std::string& word) {
    const auto* found = std::lower_bound(std::begin(words), std::end(words), word,
                                         [](const char* a, const std::string& b) { return b.compare(a) > 0; });
    return found != std::end(words) && word == *found;
}

#endif
