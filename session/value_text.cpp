// Reading lists and ranges out of value texts.
#include "session/value_text.h"

#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"

std::optional<int> kova_whole_number(const std::string& text) {
    const std::string word(trim(text));
    std::size_t start = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (start == word.size()) return std::nullopt;
    for (std::size_t at = start; at < word.size(); ++at)
        if (word[at] < '0' || word[at] > '9') return std::nullopt;
    return kova_atoi(word);
}

std::optional<std::pair<int, int>> kova_range_bounds(const std::string& text) {
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string::npos) return std::nullopt;
    const std::optional<int> low = kova_whole_number(text.substr(0, dash));
    const std::optional<int> high = kova_whole_number(text.substr(dash + 1));
    if (!low || !high) return std::nullopt;
    return std::make_pair(*low, *high);
}

bool kova_is_value_list(const std::string& text) { return text.find('|') != std::string::npos; }

std::vector<std::string> kova_value_list_items(const std::string& list) {
    std::vector<std::string> items;
    QEL_TOKEN_READER reader(list, "|");
    while (!reader.empty()) items.push_back(reader.next());
    return items;
}
