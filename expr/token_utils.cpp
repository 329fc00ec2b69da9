// Element tokens of rule texts, whole-token substitution, and membership of
// a value in a legal-value list or range. Every split goes through the host
// tokeniser; every comparison folds ASCII letters.
#include "expr/token_utils.h"

#include <cctype>
#include <cstdint>

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"

const std::string& kova_element_delimiters() {
    static const std::string delimiters = " (),|!\t\n+-&=/%*";
    return delimiters;
}

namespace {

// The word that makes the grammar read the following name as a literal.
const char* const STRING_MARKER = "str";

// The separator of the two-dot range form "lo..hi".
const char* const DOT_RANGE_SEPARATOR = "..";

// Whether text is an optional sign followed by one or more decimal digits
// and nothing else.
bool is_integer_text(const std::string& text) {
    std::size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (start == text.size()) {
        return false;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

// The text after the first "-" of range ("" without one); lower receives
// the text before it (all of range without one).
std::string split_at_first_dash(const std::string& range, std::string& lower) {
    const std::size_t dash = range.find('-');
    lower = range.substr(0, dash);
    return dash == std::string::npos ? std::string() : range.substr(dash + 1);
}

// lower <= token <= upper, each read as the host's atoi reads it.
bool lies_between(const std::string& lower, const std::string& upper, const std::string& token) {
    const int32_t value = kova_atoi(token);
    return kova_atoi(lower) <= value && value <= kova_atoi(upper);
}

// Splits range into its bound texts for the reading that applies when the
// plain "lo-hi" split fails: a two-dot form "lo..hi", or else a split at
// the first "-" after the first character, so that the lower bound may be
// negative ("-8-7", "-8--1") and both bounds may be equal ("5-5" is 5
// alone). False when no separator is found.
bool split_second_reading(const std::string& range, std::string& lower, std::string& upper) {
    std::size_t separator = range.find(DOT_RANGE_SEPARATOR);
    std::size_t separator_length = 2;
    if (separator == std::string::npos) {
        separator = range.find('-', 1);
        separator_length = 1;
    }
    if (separator == std::string::npos) {
        return false;
    }
    lower = range.substr(0, separator);
    upper = range.substr(separator + separator_length);
    return true;
}

// The second reading accepts only bounds that are whole integer texts, so
// single values, "|" lists and words are never ranges, and a one-sided
// text such as "5-" or "..7" is not one either.
bool is_in_second_reading(const std::string& range, const std::string& token) {
    std::string lower;
    std::string upper;
    if (!split_second_reading(range, lower, upper)) {
        return false;
    }
    if (!is_integer_text(lower) || !is_integer_text(upper)) {
        return false;
    }
    return lies_between(lower, upper, token);
}

}  // namespace

std::string KOVA_ELEMENT_READER::next() {
    // Each marker word in a row adds one pair of quotes around the token
    // that finally follows; counted in a loop so that no text, however many
    // markers it holds, deepens the call stack.
    std::size_t marker_count = 0;
    std::string token = m_tokens.next();
    while (kova_equal_nocase(token, STRING_MARKER)) {
        ++marker_count;
        token = m_tokens.next();
    }
    const std::string quotes(marker_count, '"');
    return quotes + token + quotes;
}

std::string kova_get_element_token(std::string& expression) {
    KOVA_ELEMENT_READER tokens(expression);
    std::string token = tokens.next();
    expression = tokens.rest();
    return token;
}

std::string kova_substitute_string(const std::string& text, const std::string& old_token,
                                   const std::string& new_token) {
    QEL_TOKEN_READER tokens(text, kova_element_delimiters());
    std::string result;
    std::string delimiter;
    while (!tokens.empty()) {
        std::string token = tokens.next(delimiter);
        result += kova_equal_nocase(token, old_token) ? new_token : token;
        result += delimiter;
    }
    return result;
}

bool kova_token_is_in_list(const std::string& list, const std::string& token) {
    QEL_TOKEN_READER items(list, "|");
    bool found = false;
    while (!found && !items.empty()) {
        found = kova_equal_nocase(items.next(), token);
    }
    return found;
}

bool kova_token_is_in_range(const std::string& range, const std::string& token) {
    std::string lower;
    const std::string upper = split_at_first_dash(range, lower);
    if (lower.empty() || upper.empty() || kova_equal_nocase(lower, upper)) {
        return is_in_second_reading(range, token);
    }
    return lies_between(lower, upper, token);
}

std::string get_last_legal_value(const std::string& legal_values) {
    QEL_TOKEN_READER items(legal_values, "|");
    std::string last = items.next();
    if (!items.empty()) {
        while (!items.empty()) {
            last = items.next();
        }
        return last;
    }
    std::string lower;
    const std::string upper = split_at_first_dash(legal_values, lower);
    return upper.empty() ? legal_values : upper;
}
