// The repair's driver and its first step: what the run derived for each
// conflict, applied as the engine's silent correction would apply it
// (values) or as the rules derived it (usage states).
#include "session/fix.h"

#include <set>

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "session/fix_context.h"
#include "session/suggest.h"

namespace {

// ", when CONDITION" or ", unless CONDITION" for the rule that decided,
// by what its condition gives now; "" for a rule without one.
std::string rule_clause(KOVA_RULES_VALIDATOR& evaluator, const KOVA_OBJ_INFO& object, int rule_index) {
    if (rule_index < 0 || static_cast<std::size_t>(rule_index) >= object.get_rule_count()) return "";
    const KOVA_RULE_ELEMENT& rule = *object.rule_view()[rule_index];
    if (rule.get_condition().empty()) return "";
    const KOVA_RULE_RESULT result = evaluator.evaluate_rule(object, rule);
    return (result.truth == 0 ? ", unless " : ", when ") + rule.get_condition();
}

// The conflicts of a run the first step may act on.
std::vector<const KOVA_MESSAGE*> derivable_conflicts(const KOVA_REPAIR_CONTEXT& context, const KOVA_RUN_RESULT& run) {
    std::vector<const KOVA_MESSAGE*> conflicts;
    for (const KOVA_MESSAGE& message : run.messages)
        if (kova_is_conflict(message.kind) && context.may_change(message.object))
            conflicts.push_back(&message);
    return conflicts;
}
// The messages are pointed at, so a run made for the call is refused.
std::vector<const KOVA_MESSAGE*> derivable_conflicts(const KOVA_REPAIR_CONTEXT& context,
                                                     const KOVA_RUN_RESULT&& run) = delete;

// The values the engine's silent correction gives the objects of the
// value conflicts: a copy of the session is run with silent correction
// asked for on each of them.
std::map<std::string, std::string> silent_corrections(KOVA_REPAIR_CONTEXT& context,
                                                      const std::vector<const KOVA_MESSAGE*>& conflicts) {
    std::map<std::string, std::string> corrected;
    KOVA_SESSION copy(context.session());
    bool any = false;
    for (const KOVA_MESSAGE* message : conflicts) {
        if (message->kind != KOVA_DIAG_VALUE_CONFLICT) continue;
        if (KOVA_OBJ_INFO* object = copy.validator().get_kova_obj(message->object)) object->silent_correction = true;
        any = true;
    }
    if (!any) return corrected;
    context.run(copy);
    for (const KOVA_MESSAGE* message : conflicts)
        if (const KOVA_PARAMETER_OBJ* parameter = copy.validator().get_parameter_object(message->object))
            corrected[to_lower_case(message->object)] = parameter->get_current_value();
    return corrected;
}

// One round of the first step; false when it changed nothing new.
// seen holds every "name/value" the step has set, so that it never goes
// round in a circle.
bool apply_derived(KOVA_REPAIR_CONTEXT& context, const KOVA_RUN_RESULT& run, std::set<std::string>& seen) {
    const std::vector<const KOVA_MESSAGE*> conflicts = derivable_conflicts(context, run);
    if (conflicts.empty()) return false;
    const std::map<std::string, std::string> corrected = silent_corrections(context, conflicts);
    KOVA_SESSION probe(context.session());  // the rules' conditions read here, after the run
    KOVA_RULES_VALIDATOR& evaluator = probe.validator();
    bool changed = false;
    for (const KOVA_MESSAGE* message : conflicts) {
        const KOVA_OBJ_INFO* object = evaluator.get_kova_obj(message->object);
        if (!object) continue;
        std::string value, reason;
        if (message->kind == KOVA_DIAG_VALUE_CONFLICT) {
            const auto found = corrected.find(to_lower_case(message->object));
            const KOVA_PARAMETER_OBJ* parameter = evaluator.get_parameter_object(message->object);
            if (found == corrected.end() || !parameter) continue;
            value = found->second;
            reason = "legal: " + parameter->m_alt_value;
        } else {
            const KOVA_PORT_OBJ* port = evaluator.get_port_object(message->object);
            const KOVA_PARAMETER_OBJ* parameter = evaluator.get_parameter_object(message->object);
            const int state = port ? port->m_alt_usage_state : parameter ? parameter->m_alt_usage_state : KOVA_USAGE_NONE;
            if (state == KOVA_USAGE_NONE) continue;
            value = kova_get_usage_state_as_string(state);
            reason = "legal state: " + value;
        }
        if (!seen.insert(to_lower_case(message->object) + "=" + value).second) continue;
        context.change(object->get_name(), value, reason + rule_clause(evaluator, *object, message->rule_index));
        changed = true;
    }
    return changed;
}

// The first name of keep that the description does not have, with a
// suggestion; no problem when every one is known.
KOVA_PROBLEM unknown_kept_name(const KOVA_SESSION& session, const std::vector<std::string>& keep) {
    for (const std::string& name : keep)
        if (!session.validator().get_port_object(name) && !session.validator().get_parameter_object(name))
            return kova_not_named_object(session, name);
    return {};
}

// How many rounds of the two steps a repair makes at most: each round
// that changes something may uncover failures the last one hid.
const int MOST_ROUNDS = 4;
// How many rounds of the first step follow one another at most.
const int MOST_DERIVED_ROUNDS = 16;

}  // namespace

KOVA_PROBLEM kova_fix(KOVA_SESSION& session, const KOVA_RUN_RESULT& run_result, const KOVA_FIX_OPTIONS& options,
                      KOVA_FIX_RESULT& result) {
    KOVA_PROBLEM problem = unknown_kept_name(session, options.keep);
    if (problem) return problem;
    KOVA_REPAIR_CONTEXT context(session, options);
    KOVA_RUN_RESULT run = run_result;
    std::set<std::string> seen;
    std::string gave_up_reason;
    for (int round = 0; round < MOST_ROUNDS && !run.valid; ++round) {
        for (int derived = 0; derived < MOST_DERIVED_ROUNDS && !run.valid && context.room_for(2); ++derived) {
            if (!apply_derived(context, run, seen)) break;
            run = context.run(session);
        }
        if (run.valid || !context.room_for(2)) break;
        if (!kova_search_repairs(context, run, gave_up_reason)) break;
    }
    if (!run.valid && context.out_of_time())
        return kova_problem(KOVA_PROBLEM_KIND::TIME,
                            "the repair ran out of the time it may take before it found a valid configuration (" +
                                std::to_string(context.runs()) + " validation runs)");
    result = KOVA_FIX_RESULT();
    result.valid = run.valid;
    result.changes = context.changes();
    result.runs = context.runs();
    result.gave_up = !run.valid;
    if (result.gave_up)
        result.gave_up_reason = !context.room_for(2)
                                    ? "the budget of " + std::to_string(options.run_budget) + " validation runs is spent"
                                : gave_up_reason.empty() ? "no change of the settings it may make repairs the rest"
                                                         : gave_up_reason;
    result.last_run = std::move(run);
    return {};
}
