// The checks of a model's values and declarations: defaults against their
// lists and ranges, reversed ranges, value texts that no rule enforces,
// names that no rule text can write, rule types on objects whose kind the
// run never evaluates them for, the library's unevaluated last entry,
// lint_ignore fields that name no check and, on request, parameters
// without a help text.
#include <optional>
#include <string>
#include <vector>

#include "expr/kova_tokens.h"
#include "expr/syntax_tree.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "lint/checks.h"
#include "lint/registry.h"
#include "session/suggest.h"
#include "session/value_text.h"

namespace {

KOVA_LINT_PLACE place(const KOVA_INFO& model, const KOVA_OBJ_INFO& object, KOVA_SOURCE_FIELD field,
                      int rule_index = -1, uint32_t source_id = 0) {
    return {&model, &object, rule_index, source_id ? source_id : object.source_id, field};
}

// A value text read as the session reads it (session/value_text.h): a
// list has items, a range two integer bounds in either order.
bool is_list(const std::string& text) { return !kova_value_list(text).empty(); }

bool is_range(const std::string& text) { return kova_value_bounds(text).has_value(); }

std::size_t list_item_count(const std::string& list) { return kova_lint_token_count(list, "|"); }

class MODEL_CHECKER {
public:
    MODEL_CHECKER(const KOVA_RULES_VALIDATOR& validator, KOVA_LINT_REPORT& report)
        : m_validator(validator), m_report(report) {}
    MODEL_CHECKER(const KOVA_RULES_VALIDATOR&& validator, KOVA_LINT_REPORT& report) = delete;
    void check(const KOVA_INFO& model);

private:
    void defaults(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void ranges(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void enforcement(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void writable(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void rule_kinds(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void help(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);
    void library(const KOVA_INFO& model);
    void ignore_names(const KOVA_INFO& model, uint32_t source_id, const KOVA_OBJ_INFO* object);

    const KOVA_RULES_VALIDATOR& m_validator;  // outlives the checker: never a temporary
    KOVA_LINT_REPORT& m_report;
    KOVA_SYNTAX_READER m_reader;
};

void MODEL_CHECKER::defaults(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    const std::string& values = object.get_value();
    const std::string& fallback = object.get_default_value();
    if (object.is_parameter() && !fallback.empty()) {
        const bool outside = is_list(values) ? !kova_token_is_in_list(values, fallback)
                                             : is_range(values) && !kova_token_is_in_range(values, fallback);
        if (outside)
            m_report.add("default-value",
                         "the default " + fallback + " of " + object.get_name() + " is not among its values " + values,
                         place(model, object, KOVA_FIELD_DEFAULT));
    }
    if (object.default_index >= 0 && qel_get_token_at_index(values, object.default_index).empty())
        m_report.add("default-value",
                     "default_index " + std::to_string(object.default_index) + " of " + object.get_name() +
                         " is past the end of its list \"" + values + "\" (" + std::to_string(list_item_count(values)) +
                         (values.empty() ? " entries), so it gives no default" : " entries), so it gives no default"),
                     place(model, object, KOVA_FIELD_DEFAULT_INDEX));
}

void MODEL_CHECKER::ranges(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    if (const auto bounds = kova_value_bounds(object.get_value()); bounds && bounds->first > bounds->second)
        m_report.add("reversed-range",
                     "the range " + object.get_value() + " of " + object.get_name() +
                         " has its bounds reversed, so it holds no value",
                     place(model, object, KOVA_FIELD_VALUE));
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) {
        ++index;
        const bool range_rule = rule->rule_type == KOVA_RULE_LEGAL_VALUES ||
                                rule->rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES ||
                                rule->rule_type == KOVA_RULE_PORT_VALUE_LIST;
        const std::optional<long long> low = kova_integer_of(rule->get_alt_value()),
                                       high = kova_integer_of(rule->get_value());
        if (!range_rule || !low || !high || *low <= *high) continue;
        m_report.add("reversed-range",
                     "the range rule of " + object.get_name() + " runs from its alt_value " + rule->get_alt_value() +
                         " (the lower bound) to its value " + rule->get_value() +
                         " (the upper bound), so it holds no value; swap them",
                     place(model, object, KOVA_FIELD_ALT_VALUE, index, rule->source_id));
    }
}

// A parameter's list or range is enforced only by a legal_values rule;
// one without a condition always applies.
void MODEL_CHECKER::enforcement(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    const std::string& values = object.get_value();
    if (!object.is_parameter() || (!is_list(values) && !is_range(values))) return;
    const KOVA_OBJ_INFO* merged = m_validator.get_kova_obj(object.get_name());
    for (const KOVA_RULE_ELEMENT* rule : (merged ? merged : &object)->rule_view())
        if (rule->rule_type == KOVA_RULE_LEGAL_VALUES && rule->get_condition().empty()) return;
    m_report.add("unenforced-values",
                 "no legal_values rule without a condition enforces the values " + values + " of " +
                     object.get_name() + ", so other values are accepted whenever no rule applies",
                 place(model, object, KOVA_FIELD_VALUE));
}

void MODEL_CHECKER::writable(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    const KOVA_SYNTAX_TREE& tree = m_reader.read(object.get_name());
    if (tree.parsed() && tree.unplaced.empty() && tree.root >= 0 && tree[tree.root].kind == KOVA_SYN_NAME &&
        !tree[tree.root].grouped && tree[tree.root].text == object.get_name())
        return;
    const std::string reading = tree.parsed() ? "it reads as " + kova_syntax_text(tree, tree.root) : "it does not parse";
    m_report.add("unwritable-name",
                 "the name " + object.get_name() + " cannot be written in a rule text (" + reading +
                     "): no rule can name this object",
                 place(model, object, KOVA_FIELD_NAME));
}

void MODEL_CHECKER::rule_kinds(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) {
        ++index;
        std::string problem;
        if (rule->is_port_value_rule() && !object.is_port())
            problem = "a port value rule counts only on a port";
        else if (rule->rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES && object.obj_type != KOVA_OBJ_INPUT_PORT)
            problem = "a constant_legal_values rule counts only on an input port held constant";
        else if (rule->rule_type == KOVA_RULE_FN_CLEAR || rule->rule_type == KOVA_RULE_FN_SET)
            problem = "a function rule type counts only in <function_rule>; here it is a plain condition";
        if (problem.empty()) continue;
        m_report.add("rule-kind",
                     problem + ", and " + object.get_name() + " is " + kova_object_kind_name(object.obj_type) +
                         ": the run never evaluates this rule as its type says",
                     place(model, object, KOVA_FIELD_TYPE, index, rule->source_id));
    }
}

// A parameter the user sets and the block uses by default is one the user
// meets first, so it should say what it is for.
void MODEL_CHECKER::help(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    if (!object.is_parameter() || object.get_effective_usage_state() != KOVA_USAGE_USED) return;
    if (!trim(model.written_text(object.source_id, KOVA_FIELD_HELP), " \t\n\r").empty()) return;
    m_report.add("missing-help",
                 "the parameter " + object.get_name() + " is USED by default but has no help text to tell the user "
                 "what it sets",
                 place(model, object, KOVA_FIELD_NAME));
}

void MODEL_CHECKER::library(const KOVA_INFO& model) {
    const std::string& text = model.get_vhdl_library();
    const std::size_t last = text.rfind(';');
    const std::string tail(trim(std::string_view(text).substr(last == std::string::npos ? 0 : last + 1)));
    if (tail.empty()) return;
    m_report.add("library-tail",
                 "the library entry " + tail + " after the last \";\" is taken as written, never evaluated; end the "
                 "text with \";\" if it is an expression",
                 {&model, nullptr, -1, model.source_id, KOVA_FIELD_LIBRARY});
}

void MODEL_CHECKER::ignore_names(const KOVA_INFO& model, uint32_t source_id, const KOVA_OBJ_INFO* object) {
    const KOVA_SOURCE_TABLE* table = model.get_source_table();
    if (!table || source_id == 0) return;
    for (const std::string& name : kova_lint_ignore_names(table->lint_ignore(source_id))) {
        if (kova_find_lint_check(name)) continue;
        std::vector<std::string> checks;
        for (const KOVA_LINT_CHECK& check : kova_lint_checks()) checks.push_back(check.name);
        m_report.add("lint-ignore", "lint_ignore names no check " + name + kova_did_you_mean(name, checks),
                     {&model, object, -1, source_id, KOVA_FIELD_LINT_IGNORE});
    }
}

void MODEL_CHECKER::check(const KOVA_INFO& model) {
    ignore_names(model, model.source_id, nullptr);
    for (const KOVA_OBJ_INFO* object : model.get_kova_obj_snapshot()) {
        ignore_names(model, object->source_id, object);
        defaults(model, *object);
        ranges(model, *object);
        enforcement(model, *object);
        writable(model, *object);
        rule_kinds(model, *object);
        help(model, *object);
    }
    library(model);
}

}  // namespace

void kova_check_model(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report) {
    MODEL_CHECKER checker(validator, report);
    for (const KOVA_INFO* model : models) checker.check(*model);
}
