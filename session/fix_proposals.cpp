// The enumeration of a repair's proposals: an odometer over the
// candidates of the chosen settings, inside an enumeration of the choices
// of k settings in lexicographic order, k growing from 1.
#include <algorithm>
#include <numeric>

#include "session/fix_context.h"

std::vector<std::pair<std::size_t, std::size_t>> KOVA_FIX_PROPOSALS::next(int most_at_once) {
    std::vector<std::pair<std::size_t, std::size_t>> proposal;
    if (!advance(most_at_once)) return proposal;
    for (std::size_t i = 0; i < m_chosen.size(); ++i) proposal.emplace_back(m_chosen[i], m_picks[i]);
    return proposal;
}

// Moves to the next proposal: the next candidate of the last setting
// chosen (an odometer), else the next choice of k settings, else one
// setting more. False when there is no next one.
bool KOVA_FIX_PROPOSALS::advance(int most_at_once) {
    if (!m_chosen.empty() && next_pick()) return true;
    for (;;) {
        const bool moved = m_chosen.empty() ? first_choice(1) : next_choice() || first_choice(m_chosen.size() + 1);
        if (!moved || m_chosen.size() > static_cast<std::size_t>(most_at_once)) return false;
        if (std::all_of(m_chosen.begin(), m_chosen.end(), [&](std::size_t s) { return m_counts[s] > 0; })) {
            m_picks.assign(m_chosen.size(), 0);
            return true;
        }
    }
}

bool KOVA_FIX_PROPOSALS::next_pick() {
    for (std::size_t i = m_picks.size(); i-- > 0;) {
        if (++m_picks[i] < m_counts[m_chosen[i]]) return true;
        m_picks[i] = 0;
    }
    return false;
}

bool KOVA_FIX_PROPOSALS::first_choice(std::size_t k) {
    if (k > m_counts.size()) return false;
    m_chosen.resize(k);
    std::iota(m_chosen.begin(), m_chosen.end(), 0);
    return true;
}

// The next k-subset of the settings in lexicographic order.
bool KOVA_FIX_PROPOSALS::next_choice() {
    const std::size_t k = m_chosen.size(), n = m_counts.size();
    for (std::size_t i = k; i-- > 0;) {
        if (m_chosen[i] < n - k + i) {
            ++m_chosen[i];
            for (std::size_t j = i + 1; j < k; ++j) m_chosen[j] = m_chosen[j - 1] + 1;
            return true;
        }
    }
    return false;
}
