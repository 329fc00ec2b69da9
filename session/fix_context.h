// The parts of a repair that its steps share (internal to session/fix*):
// the session being repaired, the names to keep, the run counter and its
// budget, and the record of every change made.
#ifndef KOVA_FIX_CONTEXT_H
#define KOVA_FIX_CONTEXT_H

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "session/fix.h"

class KOVA_REPAIR_CONTEXT {
public:
    // Keeps both: options must outlive the context, so never a temporary.
    KOVA_REPAIR_CONTEXT(KOVA_SESSION& session, const KOVA_FIX_OPTIONS& options);
    KOVA_REPAIR_CONTEXT(KOVA_SESSION& session, const KOVA_FIX_OPTIONS&& options) = delete;

    KOVA_SESSION& session() { return m_session; }
    const KOVA_FIX_OPTIONS& options() const { return m_options; }

    // A port or parameter with a setting of its own, not to be kept.
    bool may_change(const std::string& name) const;

    // One counted validation run of session (the repaired one or a trial copy).
    KOVA_RUN_RESULT run(KOVA_SESSION& session);
    int runs() const { return m_runs; }
    // Whether the budget has room for count more runs. A step starts a
    // trial only with room for it and the run that follows a change, so
    // the repair ends with the session's run within the budget.
    // A repair past the session's work deadline has no room left.
    bool room_for(int count) const { return m_runs + count <= m_options.run_budget && !out_of_time(); }
    bool out_of_time() const { return std::chrono::steady_clock::now() >= m_session.work_deadline(); }

    // Sets name to value in the repaired session (a value, or a usage
    // word) and records the change with its reason; a change back to what
    // the name had before the repair drops its record.
    void change(const std::string& name, const std::string& value, const std::string& reason);

    std::vector<KOVA_FIX_CHANGE> changes() const;

private:
    // The value or usage state a setting holds now; which one by the
    // value's kind (a usage word names a state).
    std::string held(const std::string& name, const std::string& value) const;

    KOVA_SESSION& m_session;
    const KOVA_FIX_OPTIONS& m_options;
    std::set<std::string> m_keep;  // lower case
    int m_runs = 0;
    // Keyed by lower-case name and "/value" or "/usage", in the order made.
    std::vector<std::pair<std::string, KOVA_FIX_CHANGE>> m_changes;
};

// The settings a repair may change, each with its candidate values in the
// order to try them (fix_candidates.cpp). literals are the integer
// constants of the failing conditions, for settings without a list or
// range.
std::vector<std::string> kova_fix_candidates(const KOVA_SESSION& session, const std::string& name,
                                             const std::vector<long long>& literals, int most);

// The integer constants written in a text, each once, in order.
std::vector<long long> kova_integer_literals(const std::string& text);

// The order in which the search tries the candidates of one part's
// settings (fix_proposals.cpp): one setting changed at a time (the
// settings in order, each through its candidates in order), then two at
// once (the pairs of settings in lexicographic order, for each pair every
// combination of their candidates with the later setting's changing
// fastest), and so on up to most_at_once. A choice of settings that
// includes one without candidates is passed over.
class KOVA_FIX_PROPOSALS {
public:
    KOVA_FIX_PROPOSALS() = default;
    // counts[s]: how many candidates setting s has.
    explicit KOVA_FIX_PROPOSALS(std::vector<std::size_t> counts) : m_counts(std::move(counts)) {}

    // The next proposal as (setting, candidate) index pairs, settings
    // increasing; empty when none is left.
    std::vector<std::pair<std::size_t, std::size_t>> next(int most_at_once);

private:
    bool advance(int most_at_once);
    bool next_pick();
    bool first_choice(std::size_t k);
    bool next_choice();

    std::vector<std::size_t> m_counts;
    std::vector<std::size_t> m_chosen;  // indexes of settings, increasing
    std::vector<std::size_t> m_picks;   // for each chosen setting, its candidate
};

// The search step (fix_search.cpp): searches settings for the failures of
// run, the repaired session's last run, that the repair may mend, and
// commits what helps through context.change. True when it changed
// something; run is then the session's run after the last change.
bool kova_search_repairs(KOVA_REPAIR_CONTEXT& context, KOVA_RUN_RESULT& run, std::string& gave_up_reason);

#endif
