// The checks of the words a text compares and combines: a literal compared
// with a list parameter that is none of its values (unknown-literal), a
// list parameter put in text order (text-order), an operand of a logic
// operator that is no truth word (truth-word), and names written against
// characters that do not separate names (glued-name). Like the other text
// checks they walk each text's syntax tree in node order, children first,
// without recursion; glued-name reads the text as the engine's dependency
// scan splits it.
#include <string>
#include <vector>

#include "expr/kova_tokens.h"
#include "expr/syntax_tree.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "lint/checks.h"
#include "session/suggest.h"
#include "session/value_text.h"

namespace {

bool is_logic(const KOVA_SYNTAX_NODE& node) {
    return node.kind == KOVA_SYN_NOT || node.kind == KOVA_SYN_CHOICE ||
           (node.kind == KOVA_SYN_BINARY && (node.op == KOVA_OP_AND || node.op == KOVA_OP_OR));
}

const char* logic_text(const KOVA_SYNTAX_NODE& node) {
    if (node.kind == KOVA_SYN_NOT) return "!";
    if (node.kind == KOVA_SYN_CHOICE) return "? :";
    return node.op == KOVA_OP_AND ? "&&" : "||";
}

class VALUE_CHECKER : KOVA_LINT_CHECKER {
public:
    using KOVA_LINT_CHECKER::KOVA_LINT_CHECKER;
    void check(const KOVA_LINT_TEXT& text);

private:
    // The list parameter a bare name reads (its value text holds "|");
    // null for anything else.
    const KOVA_OBJ_INFO* list_parameter(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text) const;
    // A literal operand: a word that names nothing, digits or a quoted
    // string; its value is the text the engine gives it.
    bool literal(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text, std::string& value) const;
    void unknown_literal(const KOVA_SYNTAX_TREE& tree, const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text);
    void text_order(const KOVA_SYNTAX_TREE& tree, const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text);
    void truth_word(const KOVA_SYNTAX_NODE& logic, const KOVA_SYNTAX_NODE& operand, const KOVA_LINT_TEXT& text);
    void glued_names(const KOVA_LINT_TEXT& text);

    KOVA_SYNTAX_READER m_reader;
};

const KOVA_OBJ_INFO* VALUE_CHECKER::list_parameter(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text) const {
    if (node.kind != KOVA_SYN_NAME || kova_lint_is_formal(text, node.text)) return nullptr;
    const KOVA_OBJ_INFO* object = m_validator.get_kova_obj(node.text);
    return object && object->is_parameter() && !kova_value_list(object->get_value()).empty() ? object : nullptr;
}

bool VALUE_CHECKER::literal(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text, std::string& value) const {
    if (node.kind == KOVA_SYN_STRING) {
        value = node.text.substr(1, node.text.size() - 2);
        return true;
    }
    value = node.text;
    if (node.kind == KOVA_SYN_INTEGER) return true;
    return node.kind == KOVA_SYN_NAME && !m_validator.get_kova_obj(node.text) &&
           !kova_equal_nocase(node.text, "m_function_name") && !kova_lint_is_formal(text, node.text);
}

// A value is among a parameter's values when its value text or one of its
// legal_values lists holds it, compared without letter case as == does.
bool among_values(const KOVA_OBJ_INFO& parameter, const std::string& value) {
    if (kova_token_is_in_list(parameter.get_value(), value)) return true;
    for (const KOVA_RULE_ELEMENT* rule : parameter.rule_view())
        if (rule->rule_type == KOVA_RULE_LEGAL_VALUES && kova_token_is_in_list(rule->get_value(), value)) return true;
    return false;
}

void VALUE_CHECKER::unknown_literal(const KOVA_SYNTAX_TREE& tree, const KOVA_SYNTAX_NODE& node,
                                    const KOVA_LINT_TEXT& text) {
    if (node.op != KOVA_OP_EQUAL && node.op != KOVA_OP_NOT_EQUAL) return;
    for (int slot = 0; slot < 2; ++slot) {
        const KOVA_OBJ_INFO* parameter = list_parameter(tree[node.child[slot]], text);
        const KOVA_SYNTAX_NODE& other = tree[node.child[1 - slot]];
        std::string value;
        if (!parameter || !literal(other, text, value) || among_values(*parameter, value)) continue;
        m_report.add("unknown-literal",
                     value + " in " + text.text + " is none of the values " + parameter->get_value() + " of " +
                         parameter->get_name() + ", so the comparison is always " +
                         (node.op == KOVA_OP_EQUAL ? "false" : "true") + "; write one of them" +
                         kova_did_you_mean(value, kova_value_list(parameter->get_value())),
                     kova_place_at(text.place, other.at));
        return;
    }
}

void VALUE_CHECKER::text_order(const KOVA_SYNTAX_TREE& tree, const KOVA_SYNTAX_NODE& node,
                               const KOVA_LINT_TEXT& text) {
    if (node.op < KOVA_OP_STR_GREATER) return;
    for (int slot = 0; slot < 2; ++slot) {
        const KOVA_OBJ_INFO* parameter = list_parameter(tree[node.child[slot]], text);
        if (!parameter) continue;
        m_report.add("text-order",
                     std::string(kova_operator_text(static_cast<KOVA_BINARY_OPERATOR>(node.op))) + " in " + text.text +
                         " orders the values of " + parameter->get_name() + " (" + parameter->get_value() +
                         ") byte by byte as texts, not in the order of its list; compare with == or != for each "
                         "value meant",
                     kova_place_at(text.place, node.at));
        return;
    }
}

// The operators take exactly "true" and "false": a literal of any other
// spelling, or a list parameter none of whose values is one of them, is
// read as neither.
void VALUE_CHECKER::truth_word(const KOVA_SYNTAX_NODE& logic, const KOVA_SYNTAX_NODE& operand,
                               const KOVA_LINT_TEXT& text) {
    std::string value, fix;
    if (literal(operand, text, value)) {
        if (value == "true" || value == "false") return;
        const bool truth = kova_equal_nocase(value, "true") || kova_equal_nocase(value, "false");
        fix = truth ? "write " + to_lower_case(value) : "write true or false";
    } else if (const KOVA_OBJ_INFO* parameter = list_parameter(operand, text)) {
        for (const std::string& item : kova_value_list(parameter->get_value()))
            if (item == "true" || item == "false") return;
        value = operand.text;
        fix = "compare it with one of its values " + parameter->get_value() + " (" + operand.text +
              " == VALUE)";
    } else {
        return;
    }
    m_report.add("truth-word",
                 value + " in " + text.text + " is no truth word to " + logic_text(logic) +
                     ", which takes only true and false, in lower case; " + fix,
                 kova_place_at(text.place, operand.at));
}

// The engine's dependency scan and macro substitution split a text at the
// element delimiters only; a word they give that holds <, >, ? or : hides
// the names in it.
void VALUE_CHECKER::glued_names(const KOVA_LINT_TEXT& text) {
    const std::string& delimiters = kova_element_delimiters();
    const std::string& whole = text.text;
    for (std::size_t start = 0; start < whole.size();) {
        const std::size_t end = std::min(whole.find_first_of(delimiters, start), whole.size());
        const std::string word = whole.substr(start, end - start);
        for (std::size_t piece = 0; word.find_first_of("<>?:") != std::string::npos && piece < word.size();) {
            const std::size_t stop = std::min(word.find_first_of("<>?:", piece), word.size());
            const std::string name = word.substr(piece, stop - piece);
            if (!name.empty() && (m_validator.get_kova_obj(name) || kova_lint_is_formal(text, name)))
                m_report.add("glued-name",
                             name + " is written against " + word + " in " + text.text +
                                 ", which the engine reads as one word, so it does not see " + name +
                                 " as a name (dependencies, messages, macro arguments); put blanks around <, >, ? "
                                 "and :",
                             kova_place_at(text.place, static_cast<uint32_t>(start + piece)));
            piece = stop + 1;
        }
        start = end + 1;
    }
}

void VALUE_CHECKER::check(const KOVA_LINT_TEXT& text) {
    if (text.role == KOVA_TEXT_FORCE) return;
    glued_names(text);
    const KOVA_SYNTAX_TREE& tree = m_reader.read(text.text);
    if (!tree.parsed()) return;
    for (const KOVA_SYNTAX_NODE& node : tree.nodes) {
        if (node.kind == KOVA_SYN_BINARY) {
            unknown_literal(tree, node, text);
            text_order(tree, node, text);
        }
        if (!is_logic(node)) continue;
        const int operands = node.kind == KOVA_SYN_BINARY ? 2 : 1;
        for (int slot = 0; slot < operands; ++slot) truth_word(node, tree[node.child[slot]], text);
    }
}

}  // namespace

void kova_check_values(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                       KOVA_LINT_REPORT& report) {
    VALUE_CHECKER checker(validator, report);
    for (const KOVA_LINT_TEXT& text : texts) checker.check(text);
}
