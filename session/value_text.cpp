// Reading the legal values of a value text.
#include "session/value_text.h"

#include <cctype>
#include <cstdlib>

#include "host/qel_util.h"

std::optional<long long> kova_integer_of(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    const std::size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size()) return std::nullopt;
    for (std::size_t i = start; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    return std::strtoll(text.c_str(), nullptr, 10);
}

std::optional<std::pair<long long, long long>> kova_value_bounds(const std::string& text) {
    // The dash is looked for after the first character, so a negative
    // low bound keeps its sign.
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string::npos) return std::nullopt;
    const std::optional<long long> low = kova_integer_of(text.substr(0, dash)),
                                   high = kova_integer_of(text.substr(dash + 1));
    if (!low || !high) return std::nullopt;
    return std::make_pair(*low, *high);
}

bool kova_value_range(const std::string& text, long long& low, long long& high) {
    const std::optional<std::pair<long long, long long>> bounds = kova_value_bounds(text);
    if (!bounds || bounds->first > bounds->second) return false;
    low = bounds->first;
    high = bounds->second;
    return true;
}

std::vector<std::string> kova_value_list(const std::string& text) {
    std::vector<std::string> items;
    if (text.find('|') == std::string::npos) return items;
    QEL_TOKEN_READER tokens(text, "|");
    while (!tokens.empty()) {
        const std::string item = tokens.next();
        if (!item.empty()) items.push_back(item);
    }
    return items;
}
