// Computing an explanation: the object's states, its rules evaluated on a
// copy of the session, their dependency trees, the run's messages about
// the object and the rules they name, and the objects that read it.
#include "session/explain.h"

#include <algorithm>

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "session/suggest.h"

namespace {

// A message that a rule failed: a conflict it reports, or its check.
bool rule_failed(KOVA_DIAGNOSTIC_KIND kind) { return kova_is_conflict(kind) || kind == KOVA_DIAG_CHECK_FAILED; }

// What a rule did, from its result: the effect word and the field applied.
void describe_effect(const KOVA_RULE_ELEMENT& rule, const KOVA_RULE_RESULT& result, KOVA_EXPLAINED_RULE& explained) {
    explained.result = result.condition;
    explained.applied = result.applied;
    if (rule.is_port_value_rule()) {
        explained.effect = "port-values";
    } else if (result.truth < 0) {
        explained.effect = "not-boolean";
    } else if (result.applied_field != KOVA_FIELD_ELEMENT) {
        explained.applied_from = result.applied_field == KOVA_FIELD_VALUE ? "value" : "alt_value";
        explained.effect = kova_usage_word_state(result.applied) != KOVA_USAGE_NONE ? "usage" : "value";
    } else if (rule.get_value().empty() && rule.get_alt_value().empty()) {
        explained.effect = result.truth ? "check-holds" : "check-failed";
    } else {
        explained.effect = "none";
    }
}

void describe_state(const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object,
                    KOVA_EXPLANATION& explanation) {
    explanation.name = object.get_name();
    explanation.kind = kova_object_kind_name(object.obj_type);
    explanation.help = kova_help_of(validator, object.source_id);
    if (const KOVA_PORT_OBJ* port = validator.get_port_object(object.get_name())) {
        explanation.port = true;
        explanation.usage = port->m_current_usage_state;
        explanation.alt_usage = port->m_alt_usage_state;
        explanation.width = port->get_current_port_width();
    } else if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object.get_name())) {
        explanation.parameter = true;
        explanation.value = parameter->get_current_value();
        explanation.alt_value = parameter->m_alt_value;
        explanation.usage = parameter->m_current_usage_state;
        explanation.alt_usage = parameter->m_alt_usage_state;
    } else {
        explanation.value = object.get_current_value();
        explanation.expression = object.has_expression_value() ? object.get_value() : "";
    }
}

}  // namespace

KOVA_PROBLEM kova_explain(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                          KOVA_EXPLANATION& explanation) {
    KOVA_SESSION copy(session);
    return kova_explain_on(copy, run, name, explanation);
}

KOVA_PROBLEM kova_explain_on(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                             KOVA_EXPLANATION& explanation) {
    KOVA_RULES_VALIDATOR& evaluator = session.validator();
    evaluator.evaluate_port_widths();
    const KOVA_OBJ_INFO* object = evaluator.get_kova_obj(name);
    if (!object) return kova_not_named_object(session, name);
    explanation = KOVA_EXPLANATION();
    describe_state(evaluator, *object, explanation);
    explanation.origin = kova_value_origin(session, explanation.name);
    KOVA_DEPENDENCY_GRAPH graph(evaluator);
    if (!explanation.expression.empty()) explanation.expression_depends_on = graph.add_text(explanation.expression);
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
        KOVA_EXPLAINED_RULE explained;
        explained.index = ++index;
        explained.type = kova_get_rule_type_word(rule->rule_type);
        explained.condition = rule->get_condition();
        explained.location = evaluator.locate(rule->source_id,
                                              explained.condition.empty() ? KOVA_FIELD_VALUE : KOVA_FIELD_CONDITION);
        describe_effect(*rule, evaluator.evaluate_rule(*object, *rule), explained);
        for (const std::string* text : {&rule->get_condition(), &rule->get_value(), &rule->get_alt_value()})
            for (const std::size_t node : graph.add_text(*text))
                if (std::find(explained.depends_on.begin(), explained.depends_on.end(), node) ==
                    explained.depends_on.end())
                    explained.depends_on.push_back(node);
        explanation.rules.push_back(std::move(explained));
    }
    for (const KOVA_MESSAGE& message : run.messages) {
        if (!kova_equal_nocase(message.object, explanation.name)) continue;
        explanation.messages.push_back(message);
        const bool names_rule = message.rule_index >= 0 &&
                                static_cast<std::size_t>(message.rule_index) < explanation.rules.size();
        if (names_rule && rule_failed(message.kind))
            explanation.rules[message.rule_index].conflict = kova_diagnostic_kind_name(message.kind);
    }
    explanation.nodes = graph.nodes();
    explanation.dependents = kova_dependents(evaluator, explanation.name);
    return {};
}
