// The legal values a parameter's value text gives: a list of items
// ("16|32|64") or an integer range ("1-256"). A repair takes its
// candidates, a sweep its values, kova lint its checks of defaults and
// ranges and kova serve's page its controls from here, so all read a
// value text alike.
#ifndef KOVA_VALUE_TEXT_H
#define KOVA_VALUE_TEXT_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A whole decimal integer ("-" allowed first), at most 18 digits so that
// it always fits; nothing otherwise.
std::optional<long long> kova_integer_of(const std::string& text);

// The two integers of "LOW-HIGH" (either may be negative) in the order
// written, even when LOW > HIGH (a range that holds no value); nothing
// for a text of any other form.
std::optional<std::pair<long long, long long>> kova_value_bounds(const std::string& text);

// "LOW-HIGH" with two integers (either may be negative) and LOW <= HIGH.
bool kova_value_range(const std::string& text, long long& low, long long& high);

// The non-empty items of a text with at least one "|"; empty otherwise.
std::vector<std::string> kova_value_list(const std::string& text);

#endif
