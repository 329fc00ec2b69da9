// The checks of evaluated texts. Each text is read once into its syntax
// tree with the engine's own grammar; the checks walk the tree's nodes in
// order (children before parents), so no walk recurses however deeply a
// text nests. Argument counts are taken from the text's element tokens, as
// the engine's dependency walk counts them.
#include <map>
#include <string>
#include <vector>

#include "expr/kova_tokens.h"
#include "expr/syntax_tree.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "lint/checks.h"
#include "lint/parse_hints.h"
#include "session/suggest.h"
#include "stimulus/force_command.h"
#include "validator/macro_call.h"

namespace {

// The number of names an argument or formal list holds when split at ","
// and " " as the engine splits them (an empty part between two of them
// counts).
std::size_t argument_count(const std::string& list) { return kova_lint_token_count(list, ", "); }

class TEXT_CHECKER {
public:
    TEXT_CHECKER(const KOVA_RULES_VALIDATOR& validator, KOVA_LINT_REPORT& report);
    TEXT_CHECKER(const KOVA_RULES_VALIDATOR&& validator, KOVA_LINT_REPORT& report) = delete;
    void check(const KOVA_LINT_TEXT& text);

private:
    bool known(const std::string& name, const KOVA_LINT_TEXT& text) const;
    // " (did you mean NAME?)" or "", remembered per word: literal words
    // recur, and each answer compares the word with every object's name.
    const std::string& suggestion(const std::string& name);
    void check_name(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text);
    void check_query(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text);
    void check_call(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text);
    void check_precedence(const KOVA_SYNTAX_TREE& tree, int32_t at, const KOVA_LINT_TEXT& text);
    void check_argument_counts(const KOVA_LINT_TEXT& text);
    void check_force(const KOVA_LINT_TEXT& text);
    const KOVA_OBJ_INFO* macro_named(const std::string& name) const {
        const KOVA_OBJ_INFO* object = m_validator.get_kova_obj(name);
        return object && object->obj_type == KOVA_OBJ_FN_MACRO ? object : nullptr;
    }

    const KOVA_RULES_VALIDATOR& m_validator;  // outlives the checker: never a temporary
    KOVA_LINT_REPORT& m_report;
    KOVA_SYNTAX_READER m_reader;
    KOVA_PARSE_HINTS m_hints;
    std::vector<std::string> m_names, m_macros;  // every object name; the macros' names
    std::map<std::string, std::string> m_suggestions;
};

const std::string& TEXT_CHECKER::suggestion(const std::string& name) {
    const auto found = m_suggestions.find(name);
    if (found != m_suggestions.end()) return found->second;
    return m_suggestions.emplace(name, kova_did_you_mean(name, m_names)).first->second;
}

TEXT_CHECKER::TEXT_CHECKER(const KOVA_RULES_VALIDATOR& validator, KOVA_LINT_REPORT& report)
    : m_validator(validator), m_report(report) {
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        m_names.push_back(object->get_name());
        if (object->obj_type == KOVA_OBJ_FN_MACRO) m_macros.push_back(object->get_name());
    }
}

// A name is known when an object bears it, when it is a formal argument of
// the macro whose body the text is, or when it is the function name.
bool TEXT_CHECKER::known(const std::string& name, const KOVA_LINT_TEXT& text) const {
    return m_validator.get_kova_obj(name) || kova_equal_nocase(name, "m_function_name") ||
           kova_lint_is_formal(text, name);
}

// A bare word is a literal of the language, so only a near miss of an
// object's name is reported; in a width, where a word makes the width 0,
// every unknown name is.
void TEXT_CHECKER::check_name(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text) {
    if (known(node.text, text)) return;
    const std::string nearest = suggestion(node.text);
    if (text.role == KOVA_TEXT_WIDTH)
        m_report.add("unknown-name",
                     "the width " + text.text + " reads the unknown name " + node.text +
                         " as a word, so the width is 0" + nearest,
                     kova_place_at(text.place, node.at));
    else if (!nearest.empty())
        m_report.add("unknown-name",
                     node.text + " in " + text.text + " is no port, parameter or macro, so it reads as the word \"" +
                         node.text + "\"" + nearest,
                     kova_place_at(text.place, node.at));
}

void TEXT_CHECKER::check_query(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text) {
    if (node.op == KOVA_QUERY_STR || known(node.text, text)) return;
    static const char* const NAMES[] = {"used", "is_constant", "port", "str"};
    static const char* const ANSWERS[] = {"false", "false", "0", ""};
    m_report.add("unknown-name",
                 std::string(NAMES[node.op]) + "(" + node.text + ") in " + text.text +
                     " names no port or parameter, so it is always " + ANSWERS[node.op] + suggestion(node.text),
                 kova_place_at(text.place, node.at));
}

// A call of something that is no macro reads as ""; a call of a macro
// that has no instance reads as its own text.
void TEXT_CHECKER::check_call(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT& text) {
    const std::string call = node.text + "(" + node.arguments + ")";
    const KOVA_OBJ_INFO* macro = macro_named(node.text);
    if (!macro) {
        m_report.add("macro-call",
                     call + " in " + text.text + " calls " + node.text + ", which is no function macro, so it reads as \"\"" +
                         kova_did_you_mean(node.text, m_macros),
                     kova_place_at(text.place, node.at));
        return;
    }
    if (m_validator.has_macro_instance(node.text, node.arguments) ||
        kova_equal_nocase(m_validator.substitute_macro_arguments(node.text, node.arguments), macro->get_value()))
        return;
    m_report.add("uninstantiated-call",
                 call + " in " + text.text + " has no macro instance" +
                     (text.instantiates ? std::string() : " (calls are instantiated only in object rules, object bodies, "
                                                          "function rules and message conditions)") +
                     ", so it reads as the text \"" + kova_macro_instance_name(node.text, node.arguments) + "\"",
                 kova_place_at(text.place, node.at));
}

// An arithmetic operator whose operand is a comparison written without
// parentheses: comparisons bind tighter than arithmetic in this language.
void TEXT_CHECKER::check_precedence(const KOVA_SYNTAX_TREE& tree, int32_t at, const KOVA_LINT_TEXT& text) {
    const KOVA_SYNTAX_NODE& node = tree[at];
    if (!kova_is_arithmetic(static_cast<KOVA_BINARY_OPERATOR>(node.op))) return;
    for (int slot = 0; slot < 2; ++slot) {
        const KOVA_SYNTAX_NODE& operand = tree[node.child[slot]];
        if (operand.kind != KOVA_SYN_BINARY || operand.grouped ||
            !kova_is_comparison(static_cast<KOVA_BINARY_OPERATOR>(operand.op)))
            continue;
        m_report.add("precedence",
                     text.text + " reads as " + kova_syntax_text(tree, at) +
                         ": comparisons bind tighter than arithmetic; write the parentheses you mean",
                     kova_place_at(text.place, node.at));
        return;
    }
}

// Every delimiter between a call's parentheses separates two arguments
// for the engine, which pairs them with the formals by position.
void TEXT_CHECKER::check_argument_counts(const KOVA_LINT_TEXT& text) {
    QEL_TOKEN_READER tokens(text.text, kova_element_delimiters());
    while (!tokens.empty()) {
        std::string delimiter;
        const std::string token = tokens.next(delimiter);
        const KOVA_OBJ_INFO* macro = delimiter == "(" && !token.empty() ? macro_named(token) : nullptr;
        std::string arguments;
        if (!macro || !kova_collect_call_arguments(tokens, arguments)) continue;
        const std::size_t given = argument_count(arguments), wanted = argument_count(macro->get_arguments());
        if (given == wanted) continue;
        m_report.add("macro-call",
                     "a call of " + token + " in " + text.text + " passes " + std::to_string(given) +
                         " arguments as the engine counts them (\"" + arguments +
                         "\": every blank, comma or operator separates one), but " + macro->get_name() + " takes " +
                         std::to_string(wanted) + " (\"" + macro->get_arguments() + "\")",
                     text.place);
    }
}

void TEXT_CHECKER::check_force(const KOVA_LINT_TEXT& text) {
    const KOVA_FORCE_HEAD head = kova_read_force_head(text.text);
    std::string problem;
    if (!head.is_force)
        problem = "is not a force command (force [-option] SIGNAL VALUE [TIME], ...)";
    else if (head.signal.empty())
        problem = "names no signal";
    else if (head.items >= text.text.size())
        problem = "forces no value";
    else if (!known(head.signal, text))
        problem = "forces " + head.signal + ", which is no port or parameter" + suggestion(head.signal);
    if (!problem.empty()) m_report.add("force-command", "the stimulus " + text.text + " " + problem, text.place);
}

void TEXT_CHECKER::check(const KOVA_LINT_TEXT& text) {
    if (text.role == KOVA_TEXT_FORCE) {
        check_force(text);
        return;
    }
    const KOVA_SYNTAX_TREE& tree = m_reader.read(text.text);
    if (!tree.unplaced.empty())
        m_report.add("unplaced-character",
                     "the characters \"" + tree.unplaced + "\" of " + text.text +
                         " are not part of the rule language and are skipped",
                     text.place, KOVA_DIAG_UNPLACED_CHARACTER);
    if (!tree.parsed()) {
        const KOVA_PARSE_STOP stop = m_hints.stop(text.text, tree);
        m_report.add("parse-error", tree.error, kova_place_at(text.place, stop.at), KOVA_DIAG_PARSE_ERROR, stop.hint);
        return;
    }
    for (int32_t at = 0; at < static_cast<int32_t>(tree.nodes.size()); ++at) {
        const KOVA_SYNTAX_NODE& node = tree[at];
        switch (node.kind) {
            case KOVA_SYN_NAME: check_name(node, text); break;
            case KOVA_SYN_QUERY: check_query(node, text); break;
            case KOVA_SYN_MACRO_CALL: check_call(node, text); break;
            case KOVA_SYN_BINARY: check_precedence(tree, at, text); break;
            default: break;
        }
    }
    check_argument_counts(text);
}

}  // namespace

void kova_check_texts(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                      KOVA_LINT_REPORT& report) {
    TEXT_CHECKER checker(validator, report);
    for (const KOVA_LINT_TEXT& text : texts) checker.check(text);
}
