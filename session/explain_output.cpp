// An explanation as text and as the members of the explain document.
#include <utility>

#include "session/explain.h"
#include "session/json_document.h"

namespace {

nlohmann::json text_or_null(bool applies, const std::string& text) {
    return applies ? kova_json_text(text) : nlohmann::json();
}

nlohmann::json usage_or_null(bool applies, int state) {
    return applies ? nlohmann::json(kova_get_usage_state_as_string(state)) : nlohmann::json();
}

nlohmann::json node_names(const KOVA_EXPLANATION& explanation, const std::vector<std::size_t>& nodes) {
    nlohmann::json names = nlohmann::json::array();
    for (const std::size_t node : nodes) names.push_back(kova_json_text(explanation.nodes[node].name));
    return names;
}

nlohmann::json place_number(uint32_t number) { return number ? nlohmann::json(number) : nlohmann::json(); }

nlohmann::json rule_json(const KOVA_EXPLANATION& explanation, const KOVA_EXPLAINED_RULE& rule) {
    return {{"index", rule.index},
            {"type", rule.type},
            {"condition", kova_json_text(rule.condition)},
            {"result", kova_json_text(rule.result)},
            {"effect", rule.effect},
            {"applied_from", rule.applied_from.empty() ? nlohmann::json() : nlohmann::json(rule.applied_from)},
            {"applied", kova_json_text(rule.applied)},
            {"conflict", rule.conflict.empty() ? nlohmann::json() : nlohmann::json(rule.conflict)},
            {"file", rule.location.file.empty() ? nlohmann::json() : kova_json_text(rule.location.file)},
            {"line", place_number(rule.location.line)},
            {"column", place_number(rule.location.column)},
            {"depends_on", node_names(explanation, rule.depends_on)}};
}

// "NAME = VALUE", and for a derived node its expression.
std::string node_line(const KOVA_DEPENDENCY_NODE& node) {
    std::string line = node.name + " = " + node.value;
    if (!node.setting && !node.expression.empty()) line += "  (" + node.expression + ")";
    return line;
}

// The tree below roots, one node a line indented by depth; a node met
// again in the same tree is marked and not expanded again.
void print_tree(const KOVA_EXPLANATION& explanation, const std::vector<std::size_t>& roots, const std::string& indent,
                std::ostream& out) {
    std::vector<bool> shown(explanation.nodes.size(), false);
    std::vector<std::pair<std::size_t, std::size_t>> stack;  // node, depth
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) stack.emplace_back(*root, 0);
    while (!stack.empty()) {
        const auto [index, depth] = stack.back();
        stack.pop_back();
        const KOVA_DEPENDENCY_NODE& node = explanation.nodes[index];
        out << indent << std::string(2 * depth, ' ') << node_line(node);
        if (shown[index] && !node.children.empty()) {
            out << " (see above)\n";
            continue;
        }
        out << "\n";
        shown[index] = true;
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
            stack.emplace_back(*child, depth + 1);
    }
}

void print_state(const KOVA_EXPLANATION& explanation, std::ostream& out) {
    const std::string what = explanation.port ? " port" : explanation.kind == "macro" ? "" : " parameter";
    out << explanation.name << ": " << explanation.kind << what << "\n";
    out << "  origin: " << kova_value_origin_text(explanation.origin) << "\n";
    if (!explanation.help.label.empty()) out << "  label: " << kova_help_paragraph(explanation.help.label) << "\n";
    if (!explanation.help.text.empty()) out << "  help: " << kova_help_paragraph(explanation.help.text) << "\n";
    if (explanation.port) {
        out << "  current: " << kova_get_usage_state_as_string(explanation.usage) << "\n";
        out << "  derived: " << kova_get_usage_state_as_string(explanation.alt_usage) << "\n";
        out << "  width: " << (explanation.width >= 0 ? std::to_string(explanation.width) : "not evaluated") << "\n";
    } else if (explanation.parameter) {
        out << "  current: " << explanation.value << " (" << kova_get_usage_state_as_string(explanation.usage) << ")\n";
        out << "  derived: " << explanation.alt_value << " (" << kova_get_usage_state_as_string(explanation.alt_usage)
            << ")\n";
    } else {
        out << "  value: " << explanation.value;
        if (!explanation.expression.empty()) out << "  (" << explanation.expression << ")";
        out << "\n";
        if (!explanation.expression_depends_on.empty()) {
            out << "  depends on:\n";
            print_tree(explanation, explanation.expression_depends_on, "    ", out);
        }
    }
}

void print_rule(const KOVA_EXPLANATION& explanation, const KOVA_EXPLAINED_RULE& rule, const std::string& fallback_file,
                std::ostream& out) {
    out << "  rule " << rule.index << ", " << rule.type << ", "
        << (rule.location.file.empty() ? fallback_file : rule.location.file);
    if (rule.location.line) out << ":" << rule.location.line;
    if (rule.location.column) out << ":" << rule.location.column;
    out << "\n    condition: ";
    if (rule.condition.empty())
        out << "none (always true)\n";
    else
        out << rule.condition << " -> " << rule.result << "\n";
    if (rule.effect == "value" || rule.effect == "usage")
        out << "    applied: " << rule.effect << " " << rule.applied
            << (rule.applied_from == "alt_value" ? " (the alt value)" : "") << "\n";
    else if (rule.effect == "check-failed")
        out << "    check failed\n";
    else if (rule.effect == "check-holds")
        out << "    check holds\n";
    else if (rule.effect == "port-values")
        out << "    applies to the port's legal values (kova ranges)\n";
    else if (rule.effect == "not-boolean")
        out << "    applied nothing: the condition is neither true nor false\n";
    else
        out << "    applied nothing\n";
    if (!rule.conflict.empty()) out << "    the run's " << rule.conflict << " names this rule\n";
    if (rule.depends_on.empty()) return;
    out << "    depends on:\n";
    print_tree(explanation, rule.depends_on, "      ", out);
}

}  // namespace

nlohmann::json kova_explanation_json(const KOVA_EXPLANATION& explanation) {
    const bool valued = !explanation.port;
    const bool states = explanation.port || explanation.parameter;
    nlohmann::json object = {
        {"name", kova_json_text(explanation.name)},
        {"kind", explanation.kind},
        {"origin", kova_value_origin_json(explanation.origin)},
        {"label", text_or_null(!explanation.help.label.empty(), explanation.help.label)},
        {"help", text_or_null(!explanation.help.text.empty(), explanation.help.text)},
        {"value", text_or_null(valued, explanation.value)},
        {"alt_value", text_or_null(explanation.parameter, explanation.alt_value)},
        {"expression", text_or_null(valued && !explanation.parameter, explanation.expression)},
        {"usage", usage_or_null(states, explanation.usage)},
        {"alt_usage", usage_or_null(states, explanation.alt_usage)},
        {"width", explanation.port && explanation.width >= 0 ? nlohmann::json(explanation.width) : nlohmann::json()},
        {"depends_on", node_names(explanation, explanation.expression_depends_on)}};
    nlohmann::json rules = nlohmann::json::array();
    for (const KOVA_EXPLAINED_RULE& rule : explanation.rules) rules.push_back(rule_json(explanation, rule));
    nlohmann::json nodes = nlohmann::json::array();
    for (const KOVA_DEPENDENCY_NODE& node : explanation.nodes)
        nodes.push_back({{"name", kova_json_text(node.name)},
                         {"kind", node.kind},
                         {"value", kova_json_text(node.value)},
                         {"expression", node.setting ? nlohmann::json() : kova_json_text(node.expression)},
                         {"setting", node.setting},
                         {"depends_on", node_names(explanation, node.children)}});
    return {{"object", object}, {"rules", rules}, {"nodes", nodes}, {"dependents", kova_texts_json(explanation.dependents)}};
}

void kova_print_explanation(const KOVA_EXPLANATION& explanation, const std::string& fallback_file,
                            std::ostream& out) {
    print_state(explanation, out);
    for (const KOVA_EXPLAINED_RULE& rule : explanation.rules) print_rule(explanation, rule, fallback_file, out);
    out << "  used by: ";
    if (explanation.dependents.empty()) out << "nothing";
    for (std::size_t i = 0; i < explanation.dependents.size(); ++i) out << (i ? ", " : "") << explanation.dependents[i];
    out << "\n";
}
