// Repairing an invalid configuration with as few changed settings as can
// be found (kova fix; docs/fix.md). Two steps, repeated while they make
// progress:
//
//  1. What the run derived: each value conflict takes the value the
//     engine's silent correction would give it, each usage conflict the
//     state the rules derived; repeated while that changes something new.
//  2. A search for what is left (check rules that fail, function rules
//     that fail the run, conflicts that step 1 may not touch): candidate
//     values of the settings the failing conditions depend on, one
//     changed setting at a time first, then two at once, and so on.
//     Failures that share no setting are searched apart, side by side.
//
// "Repaired" means the session's run answers valid. Names to keep are
// never changed. Every validation run counts against a budget; when it
// is spent, or no candidate combination helps, the repair gives up and
// says so, leaving the session in the best configuration it reached.
#ifndef KOVA_FIX_H
#define KOVA_FIX_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/problem.h"
#include "session/session.h"

struct KOVA_FIX_OPTIONS {
    std::vector<std::string> keep;  // names never changed (letter case ignored)
    int run_budget = 2000;          // validation runs the repair may make in all
    int most_at_once = 3;           // the most settings the search changes together
    int candidates_per_setting = 24;
    // Told after every validation run: the runs so far and the errors of
    // that run. For a progress line; the repair itself prints nothing.
    std::function<void(int runs, int errors)> progress;
};

struct KOVA_FIX_CHANGE {
    std::string name;
    std::string old_value;  // the value or usage state before the repair
    std::string new_value;
    std::string reason;     // "legal: 16|32|64", "so that WIDTH % 8 == 0 holds", ...
};

struct KOVA_FIX_RESULT {
    bool valid = false;                    // the last run's verdict
    std::vector<KOVA_FIX_CHANGE> changes;  // in the order first made
    int runs = 0;                          // validation runs made, trials included
    bool gave_up = false;
    std::string gave_up_reason;            // why, when it gave up
    KOVA_RUN_RESULT last_run;              // the run of the configuration reached
};

// Repairs the session's configuration in place; the session has been run
// (run_result is its last run). Names of options.keep must be ports or
// parameters of the description: a name that is not is a not-found
// problem (with a suggestion), and nothing is changed. A repair that
// reaches the session's work deadline without a valid configuration stops
// with a time problem.
KOVA_PROBLEM kova_fix(KOVA_SESSION& session, const KOVA_RUN_RESULT& run_result, const KOVA_FIX_OPTIONS& options,
                      KOVA_FIX_RESULT& result);

// The members of the fix document (docs/json.md).
nlohmann::json kova_fix_json(const KOVA_FIX_RESULT& result);

// One line per change, "NAME: OLD -> NEW (REASON)", and a line when the
// repair gave up.
void kova_print_fix(const KOVA_FIX_RESULT& result, std::ostream& out);

#endif
