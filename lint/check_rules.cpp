// The checks of an object's rules as the run applies them, one after the
// other in the order written: a check rule whose failure message can name
// no setting (fixed-check), and a usage rule that a later rule of the same
// object always overrides (overridden-rule). Objects are taken as written
// in their own file; wizard maps, whose rules the run does not apply, are
// left out.
#include <string>
#include <vector>

#include "expr/syntax_tree.h"
#include "expr/usage_words.h"
#include "lint/checks.h"

namespace {

// Whether a rule applying text sets object's usage state: USED and UNUSED
// (taken as written), and CONSTANT on a port (elsewhere it is a value).
bool usage_word(const KOVA_OBJ_INFO& object, const std::string& text) {
    const int state = kova_usage_word_state(text);
    return state == KOVA_USAGE_USED || state == KOVA_USAGE_UNUSED || (state == KOVA_USAGE_CONSTANT && object.is_port());
}

// A plain rule that applies usage words and nothing else.
bool usage_rule(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule) {
    const std::string &value = rule.get_value(), &alt = rule.get_alt_value();
    const bool plain = rule.rule_type == KOVA_RULE_CONDITION || rule.rule_type == KOVA_RULE_CMD_CONDITION;
    return plain && (usage_word(object, value) || usage_word(object, alt)) &&
           (value.empty() || usage_word(object, value)) && (alt.empty() || usage_word(object, alt));
}

// A rule that sets the usage state whatever its condition gives: none, or
// a usage word on either side.
bool always_sets_usage(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule) {
    if (rule.rule_type != KOVA_RULE_CONDITION || !usage_word(object, rule.get_value())) return false;
    return rule.get_condition().empty() || usage_word(object, rule.get_alt_value());
}

// A rule without value and alt_value: its condition must hold, and the
// run's failure message names the settings the condition names.
bool check_rule(const KOVA_RULE_ELEMENT& rule) { return rule.get_value().empty() && rule.get_alt_value().empty(); }

class RULE_CHECKER : KOVA_LINT_CHECKER {
public:
    using KOVA_LINT_CHECKER::KOVA_LINT_CHECKER;
    void check(const KOVA_INFO& model);

private:
    void fixed_checks(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void overridden(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    // The offset of the first name in condition that the engine looks up;
    // -1 when there is none.
    int32_t first_name(const std::string& condition);

    KOVA_SYNTAX_READER m_reader;
};

int32_t RULE_CHECKER::first_name(const std::string& condition) {
    int32_t first = -1;
    for (const KOVA_SYNTAX_NODE& node : m_reader.read(condition).nodes) {
        const bool named = node.kind == KOVA_SYN_NAME || node.kind == KOVA_SYN_MACRO_CALL;
        if (named && m_validator.get_kova_obj(node.text) && (first < 0 || node.at < static_cast<uint32_t>(first)))
            first = static_cast<int32_t>(node.at);
    }
    return first;
}

// The failure message of a check rule names the ports and parameters its
// condition names, directly or in the bodies of macros it names bare.
void RULE_CHECKER::fixed_checks(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) {
        ++index;
        const std::string& condition = rule->get_condition();
        if (rule->rule_type != KOVA_RULE_CONDITION || !check_rule(*rule) || condition.empty() ||
            !m_validator.get_ports_and_parameters_used_in_expression(condition).empty())
            continue;
        KOVA_LINT_PLACE place{&model, &object, index, rule->source_id, KOVA_FIELD_CONDITION};
        place.offset = first_name(condition);
        m_report.add("fixed-check",
                     "the check rule " + condition + " of " + object.get_name() +
                         " names no port or parameter, so when it fails its message names no setting (\"Ports and "
                         "parameters  should satisfy ...\"); name the settings it depends on in the condition",
                     place);
    }
}

// Walks the rules from the last, keeping the nearest later rule that
// always sets the usage state.
void RULE_CHECKER::overridden(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    std::vector<const KOVA_RULE_ELEMENT*> rules;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) rules.push_back(rule);
    const KOVA_RULE_ELEMENT* later = nullptr;
    for (std::size_t index = rules.size(); index-- > 0;) {
        const KOVA_RULE_ELEMENT& rule = *rules[index];
        if (later && usage_rule(object, rule)) {
            const KOVA_SOURCE_FIELD field = rule.get_value().empty() ? KOVA_FIELD_ALT_VALUE : KOVA_FIELD_VALUE;
            m_report.add("overridden-rule",
                         "this usage rule of " + object.get_name() + " never counts: the later rule on line " +
                             std::to_string(model.locate(later->source_id, KOVA_FIELD_ELEMENT).line) +
                             " always sets the usage state after it; give that rule a condition, or drop this one",
                         {&model, &object, static_cast<int>(index), rule.source_id, field});
        }
        if (always_sets_usage(object, rule)) later = &rule;
    }
}

void RULE_CHECKER::check(const KOVA_INFO& model) {
    for (const KOVA_OBJ_INFO* object : model.get_kova_obj_snapshot()) {
        fixed_checks(model, *object);
        overridden(model, *object);
    }
}

}  // namespace

void kova_check_rules(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report) {
    RULE_CHECKER checker(validator, report);
    for (const KOVA_INFO* model : models) checker.check(*model);
}
