// One sweep item validated: the configuration of its index, and for
// valid-only random draws the repair of an invalid draw or a new draw.
//
// Invariant: every draw starts from the session as the item received it
// (a fresh copy of the loaded session), so a draw never inherits a setting
// of an earlier draw, and the item depends on the plan and its index alone.
#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "session/fix.h"
#include "session/sweep.h"

namespace {

// The settings with a repair's changes: a changed value replaces the
// setting of that name; a usage state, or a name the draw did not set, is
// added after them. A parameter the repair made UNUSED loses its drawn
// value, which no longer counts, so that each name is set once.
std::vector<KOVA_SETTING> with_changes(const std::vector<KOVA_SETTING>& drawn, const std::vector<KOVA_FIX_CHANGE>& changes) {
    std::vector<KOVA_SETTING> settings;
    for (const KOVA_SETTING& setting : drawn) {
        bool unused = false;
        for (const KOVA_FIX_CHANGE& change : changes)
            unused = unused || (kova_equal_nocase(change.name, setting.name) &&
                                kova_usage_word_state(change.new_value) == KOVA_USAGE_UNUSED);
        if (!unused) settings.push_back(setting);
    }
    for (const KOVA_FIX_CHANGE& change : changes) {
        const bool usage = kova_usage_word_state(change.new_value) != KOVA_USAGE_NONE;
        bool replaced = false;
        for (KOVA_SETTING& setting : settings)
            if (!usage && kova_equal_nocase(setting.name, change.name)) {
                setting.value = change.new_value;
                replaced = true;
            }
        if (!replaced) settings.push_back({change.name, change.new_value, "", 0});
    }
    return settings;
}

// One draw on its own copy of start: valid as drawn, valid once repaired,
// or not valid (false). An error (settings that cannot be applied) is
// the outcome's error, and ends the item.
bool try_draw(const KOVA_SESSION& start, const KOVA_SWEEP_PLAN& plan, std::uint64_t index, unsigned attempt,
              KOVA_BATCH_OUTCOME& outcome) {
    KOVA_SESSION session(start);
    std::vector<KOVA_SETTING> settings = kova_sweep_configuration(plan, index, attempt);
    KOVA_MESSAGES problems;
    if (session.apply(settings, problems)) {
        KOVA_SESSION refused(start);
        outcome = kova_validate_settings(refused, settings);  // the refusal as every sweep reports it
        outcome.settings = std::move(settings);
        return true;
    }
    KOVA_RUN_RESULT run = session.run();
    outcome = KOVA_BATCH_OUTCOME();
    outcome.messages = std::move(problems);
    outcome.settings = settings;  // also when no draw is made valid: what was tried last
    if (run.valid) {
        outcome.valid = true;
        outcome.messages.insert(outcome.messages.end(), run.messages.begin(), run.messages.end());
        return true;
    }
    KOVA_FIX_RESULT repair;
    if (kova_fix(session, run, KOVA_FIX_OPTIONS(), repair) || !repair.valid) return false;
    // What is reported is validated as reported, on its own fresh copy:
    // a configuration that does not hold up so counts as not repaired.
    KOVA_SESSION check(start);
    std::vector<KOVA_SETTING> repaired = with_changes(settings, repair.changes);
    KOVA_BATCH_OUTCOME checked = kova_validate_settings(check, repaired);
    if (!checked.valid) return false;
    outcome = std::move(checked);
    outcome.settings = std::move(repaired);
    outcome.repaired = true;
    return true;
}

}  // namespace

KOVA_BATCH_OUTCOME kova_sweep_item(KOVA_SESSION& session, const KOVA_SWEEP_PLAN& plan, std::uint64_t index) {
    if (!plan.valid_only) {
        std::vector<KOVA_SETTING> settings = kova_sweep_configuration(plan, index);
        KOVA_BATCH_OUTCOME outcome = kova_validate_settings(session, settings);
        outcome.settings = std::move(settings);
        return outcome;
    }
    KOVA_BATCH_OUTCOME outcome;
    for (unsigned attempt = 0; attempt < KOVA_SWEEP_MOST_DRAWS; ++attempt) {
        const bool done = try_draw(session, plan, index, attempt, outcome);
        outcome.draws = attempt + 1;
        if (done) return outcome;
    }
    // The last draw's settings stay, to show what was tried last.
    outcome.valid = false;
    outcome.messages.clear();
    outcome.error = "no valid configuration in " + std::to_string(KOVA_SWEEP_MOST_DRAWS) +
                    " draws, each repaired where the repair could";
    return outcome;
}
