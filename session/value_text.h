// What a parameter's value text offers: a legal-value list ("a|b|c") or a
// range of two whole numbers ("1-64"). Lint checks defaults and ranges
// through these, and the web page picks each parameter's control by them,
// so both read a value text alike.
#ifndef KOVA_VALUE_TEXT_H
#define KOVA_VALUE_TEXT_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The number a text holds when it is digits only (a sign allowed, blanks
// at its ends dropped).
std::optional<int> kova_whole_number(const std::string& text);

// "LOW-HIGH" of two whole numbers, as a value text writes a range; the
// dash is looked for after the first byte, so LOW may be negative.
std::optional<std::pair<int, int>> kova_range_bounds(const std::string& text);

// Whether a value text is a legal-value list: it holds a "|".
bool kova_is_value_list(const std::string& text);

// The items of a legal-value list as the engine matches them
// (kova_token_is_in_list), in order.
std::vector<std::string> kova_value_list_items(const std::string& list);

#endif
