// The repair's search step. The failures of a run that a change of
// settings may mend (check rules that fail, function rules that fail the
// run, conflicts) are grouped into parts that share no setting; each
// part tries candidate values of its settings, one setting at a time
// first, then two at once, and so on up to most_at_once, never a name to
// keep. Parts are tried side by side: one trial run applies the next
// proposal of every unsolved part at once, and when that run brings no
// failure that was not there before, each part whose failures are all
// gone keeps its proposal. When it does bring new failures, the parts are
// tried one by one, so that the one at fault does not hold back the rest.
// New conflicts that the first step may mend (the rules derive a value or
// state for a setting the repair may change) do not count: the next
// round of the first step mends them.
#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "host/kova_stl.h"
#include "session/dependency_tree.h"
#include "session/fix_context.h"

namespace {

// A failure of a run: its identity across runs, the texts whose settings
// may mend it, and what a change that mends it is for.
struct FAILURE {
    std::string key;
    std::vector<std::string> texts;
    std::string object;  // an object a conflict is about, itself a setting to try; "" for none
    std::string purpose;
};

std::string failure_key(const KOVA_MESSAGE& message) {
    return std::string(kova_diagnostic_kind_name(message.kind)) + ":" + to_lower_case(message.object) + "#" +
           std::to_string(message.rule_index);
}

std::set<std::string> failure_keys(const KOVA_RUN_RESULT& run) {
    std::set<std::string> keys;
    for (const KOVA_MESSAGE& message : run.messages)
        if (message.severity == KOVA_SEVERITY_ERROR) keys.insert(failure_key(message));
    return keys;
}

const KOVA_RULE_ELEMENT* rule_of(const KOVA_OBJ_INFO& object, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < object.get_rule_count() ? object.rule_view()[index] : nullptr;
}

// The failure a message reports, when a change of settings may mend it.
bool failure_of(const KOVA_RULES_VALIDATOR& validator, const KOVA_MESSAGE& message, FAILURE& failure) {
    failure.key = failure_key(message);
    if (message.kind == KOVA_DIAG_FUNCTION_RULE) {
        const std::vector<KOVA_RULE_ELEMENT*> rules = validator.get_fn_rule_snapshot();
        if (message.rule_index < 0 || static_cast<std::size_t>(message.rule_index) >= rules.size()) return false;
        failure.texts = {rules[message.rule_index]->get_condition()};
        failure.purpose = "so that the function rule " + failure.texts[0] + " no longer fails the run";
        return true;
    }
    const KOVA_OBJ_INFO* object = validator.get_kova_obj(message.object);
    if (!object) return false;
    const KOVA_RULE_ELEMENT* rule = rule_of(*object, message.rule_index);
    if (message.kind == KOVA_DIAG_CHECK_FAILED && rule) {
        failure.texts = {rule->get_condition()};
        failure.purpose = "so that " + rule->get_condition() + " holds";
        return true;
    }
    if (!kova_is_conflict(message.kind)) return false;
    failure.object = object->get_name();
    if (rule) failure.texts = {rule->get_condition(), rule->get_value(), rule->get_alt_value()};
    failure.purpose = "so that " + object->get_name() + " no longer conflicts" +
                      (rule && !rule->get_condition().empty() ? " (" + rule->get_condition() + ")" : "");
    return true;
}

// One group of failures that share settings, and its search state: the
// settings with their candidates, and the order of the proposals to try.
struct PART {
    std::vector<FAILURE> failures;
    std::vector<std::string> settings;
    std::vector<std::vector<std::string>> candidates;
    std::map<std::string, std::string> purpose;  // by setting: the first failure it may mend
    KOVA_FIX_PROPOSALS order;                     // over candidates, once they are known

    // The next proposal as (setting, value) pairs; empty when none is left.
    std::vector<std::pair<std::string, std::string>> next(int most_at_once) {
        std::vector<std::pair<std::string, std::string>> proposal;
        for (const auto& [setting, candidate] : order.next(most_at_once))
            proposal.emplace_back(settings[setting], candidates[setting][candidate]);
        return proposal;
    }
};

// The settings each failure depends on (those the repair may change),
// read through hidden parameters and macros on a copy of the session.
std::vector<std::vector<std::string>> settings_of(KOVA_REPAIR_CONTEXT& context, const std::vector<FAILURE>& failures) {
    KOVA_SESSION copy(context.session());
    KOVA_DEPENDENCY_GRAPH graph(copy.validator());
    std::vector<std::vector<std::string>> all;
    for (const FAILURE& failure : failures) {
        std::vector<std::string> names;
        if (!failure.object.empty()) names.push_back(failure.object);
        for (const std::string& text : failure.texts)
            for (const std::string& name : graph.settings_below(graph.add_text(text))) names.push_back(name);
        std::vector<std::string> settings;
        for (const std::string& name : names)
            if (context.may_change(name) && std::none_of(settings.begin(), settings.end(), [&](const std::string& s) {
                    return kova_equal_nocase(s, name);
                }))
                settings.push_back(name);
        all.push_back(std::move(settings));
    }
    return all;
}

// Groups the failures into parts that share no setting (a union-find over
// the failures, joined through the settings they name).
std::vector<PART> parts_of(KOVA_REPAIR_CONTEXT& context, const std::vector<FAILURE>& failures) {
    const std::vector<std::vector<std::string>> settings = settings_of(context, failures);
    std::vector<std::size_t> leader(failures.size());
    std::iota(leader.begin(), leader.end(), 0);
    auto find = [&](std::size_t i) {
        while (leader[i] != i) i = leader[i] = leader[leader[i]];
        return i;
    };
    std::map<std::string, std::size_t> first_with;  // lower-case setting -> a failure naming it
    for (std::size_t i = 0; i < failures.size(); ++i)
        for (const std::string& name : settings[i]) {
            const auto [at, added] = first_with.emplace(to_lower_case(name), i);
            if (!added) leader[find(i)] = find(at->second);
        }
    std::map<std::size_t, std::size_t> part_of_leader;
    std::vector<PART> parts;
    for (std::size_t i = 0; i < failures.size(); ++i) {
        const auto [at, added] = part_of_leader.emplace(find(i), parts.size());
        if (added) parts.emplace_back();
        PART& part = parts[at->second];
        part.failures.push_back(failures[i]);
        for (const std::string& name : settings[i]) {
            if (part.purpose.count(name)) continue;
            part.purpose[name] = failures[i].purpose;
            part.settings.push_back(name);
        }
    }
    for (PART& part : parts) {
        std::vector<long long> literals;
        for (const FAILURE& failure : part.failures)
            for (const std::string& text : failure.texts)
                for (const long long literal : kova_integer_literals(text))
                    if (std::find(literals.begin(), literals.end(), literal) == literals.end())
                        literals.push_back(literal);
        std::vector<std::size_t> counts;
        for (const std::string& name : part.settings) {
            part.candidates.push_back(kova_fix_candidates(context.session(), name, literals,
                                                          context.options().candidates_per_setting));
            counts.push_back(part.candidates.back().size());
        }
        part.order = KOVA_FIX_PROPOSALS(std::move(counts));
    }
    return parts;
}

using PROPOSAL = std::vector<std::pair<std::string, std::string>>;

// What a trial run with some parts' proposals gave: whether it brought a
// failure that was not there before, and the parts whose failures are all
// gone.
struct TRIAL_OUTCOME {
    bool new_failures = false;
    std::vector<std::size_t> mended;
};

TRIAL_OUTCOME try_proposals(KOVA_REPAIR_CONTEXT& context, const std::vector<PART>& parts,
                            const std::vector<std::pair<std::size_t, PROPOSAL>>& proposals,
                            const std::set<std::string>& before) {
    KOVA_SESSION trial(context.session());
    std::vector<KOVA_SETTING> settings;
    for (const auto& entry : proposals)
        for (const auto& [name, value] : entry.second) settings.push_back({name, value, "", 0});
    KOVA_MESSAGES ignored;
    trial.apply(settings, ignored);
    const KOVA_RUN_RESULT run = context.run(trial);
    const std::set<std::string> after = failure_keys(run);
    TRIAL_OUTCOME outcome;
    // A conflict the first step may mend (a value or state the rules
    // derive for a setting it may change) is left to that step.
    for (const KOVA_MESSAGE& message : run.messages)
        if (message.severity == KOVA_SEVERITY_ERROR && !before.count(failure_key(message)) &&
            !(kova_is_conflict(message.kind) && context.may_change(message.object)))
            outcome.new_failures = true;
    for (const auto& entry : proposals) {
        const PART& part = parts[entry.first];
        if (std::none_of(part.failures.begin(), part.failures.end(),
                         [&](const FAILURE& failure) { return after.count(failure.key); }))
            outcome.mended.push_back(entry.first);
    }
    return outcome;
}

}  // namespace

bool kova_search_repairs(KOVA_REPAIR_CONTEXT& context, KOVA_RUN_RESULT& run, std::string& gave_up_reason) {
    std::vector<FAILURE> failures;
    for (const KOVA_MESSAGE& message : run.messages) {
        FAILURE failure;
        if (message.severity == KOVA_SEVERITY_ERROR && failure_of(context.session().validator(), message, failure))
            failures.push_back(std::move(failure));
    }
    std::vector<PART> parts = parts_of(context, failures);
    std::vector<bool> open(parts.size(), true);
    std::set<std::string> before = failure_keys(run);
    const int most = context.options().most_at_once;
    bool changed = false, exhausted = false;
    while (context.room_for(2)) {
        std::vector<std::pair<std::size_t, PROPOSAL>> proposals;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (!open[i]) continue;
            PROPOSAL proposal = parts[i].next(most);
            if (proposal.empty()) {
                open[i] = false;
                exhausted = true;
            } else {
                proposals.emplace_back(i, std::move(proposal));
            }
        }
        if (proposals.empty()) break;
        TRIAL_OUTCOME outcome = try_proposals(context, parts, proposals, before);
        if (outcome.new_failures) {
            outcome.mended.clear();
            if (proposals.size() > 1)
                for (const auto& entry : proposals) {
                    if (!context.room_for(2)) break;
                    const TRIAL_OUTCOME alone = try_proposals(context, parts, {entry}, before);
                    if (!alone.new_failures && !alone.mended.empty()) outcome.mended.push_back(entry.first);
                }
        }
        if (outcome.mended.empty()) continue;
        for (const auto& [index, proposal] : proposals) {
            if (std::find(outcome.mended.begin(), outcome.mended.end(), index) == outcome.mended.end()) continue;
            for (const auto& [name, value] : proposal) context.change(name, value, parts[index].purpose[name]);
            open[index] = false;
            changed = true;
        }
        run = context.run(context.session());
        before = failure_keys(run);
    }
    if (exhausted)
        gave_up_reason = "no combination of up to " + std::to_string(most) +
                         " changed settings among their candidates repairs every failure";
    return changed;
}
