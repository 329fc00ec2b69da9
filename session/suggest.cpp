// Nearest names by optimal string alignment distance over folded letters.
#include "session/suggest.h"

#include <algorithm>

namespace {

char folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t kova_name_distance(const std::string& a, const std::string& b) {
    // Three rows of the distance table: two back for a swap, one back, this one.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = folded(a[i - 1]) == folded(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && folded(a[i - 1]) == folded(b[j - 2]) && folded(a[i - 2]) == folded(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::string kova_nearest_name(const std::string& wanted, const std::vector<std::string>& candidates) {
    const std::size_t allowed = std::max<std::size_t>(1, wanted.size() / 3);
    std::string best;
    std::size_t best_distance = allowed + 1;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = kova_name_distance(wanted, candidate);
        if (distance < best_distance) {
            best_distance = distance;
            best = candidate;
        }
    }
    return best;
}

std::string kova_did_you_mean(const std::string& wanted, const std::vector<std::string>& candidates) {
    const std::string nearest = kova_nearest_name(wanted, candidates);
    return nearest.empty() ? "" : " (did you mean " + nearest + "?)";
}

std::string kova_suggested_name(const std::string& text) {
    static const std::string opening = " (did you mean ";
    const std::size_t at = text.rfind(opening);
    if (at == std::string::npos) return "";
    const std::size_t start = at + opening.size();
    const std::size_t end = text.find("?)", start);
    return end == std::string::npos ? "" : text.substr(start, end - start);
}
