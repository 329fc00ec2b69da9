// The checks of a text's arithmetic at the corners of the legal values:
// a sum, difference, product or power that leaves 32 bits (overflow), and
// a / or div that is not exact, which the engine answers with 0
// (inexact-division).
//
// The corners of a parameter are its list's first and last items, its
// range's bounds and its default. A text is evaluated at every combination
// of the corners of the parameters it reads, directly or through the
// hidden parameters and argument-less macros it names, which are evaluated
// from their own texts at the same corner, dependencies first (a cycle
// leaves them without a value). Combinations are taken in a fixed order,
// the last parameter read changing fastest, at most MOST_CORNERS of them.
// Each node is computed as the engine computes it (expr/phrase_values.h),
// and each arithmetic node's operands once more in 64 bits. Ports, queries
// other than str(), macro calls and formal arguments have no value here:
// what reads them is not computed, so it is never reported. Wizard-map
// texts are left out.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "expr/arithmetic.h"
#include "expr/phrase_values.h"
#include "expr/syntax_tree.h"
#include "host/kova_atoi.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "lint/checks.h"
#include "session/value_text.h"

namespace {

constexpr std::size_t MOST_CORNERS = 256;

// A value at one corner: the text the engine would give, when known.
struct VALUE {
    bool known = false;
    std::string text;
};

VALUE value_of(std::string text) { return {true, std::move(text)}; }

using VALUES = std::map<const KOVA_OBJ_INFO*, VALUE>;

// A parameter's values at its corners as a name reading it gives them:
// an integer parameter in decimal, -1 without any value; a parameter of
// kind other always reads "".
std::vector<std::string> corners_of(const KOVA_OBJ_INFO& parameter) {
    if (parameter.obj_type == KOVA_OBJ_OTHER_PARAMETER) return {""};
    const std::string& values = parameter.get_value();
    const std::vector<std::string> items = kova_value_list(values);
    std::vector<std::string> texts;
    if (!items.empty())
        texts = {items.front(), items.back()};
    else if (const auto bounds = kova_value_bounds(values))
        texts = {std::to_string(bounds->first), std::to_string(bounds->second)};
    if (!parameter.get_default_value().empty())
        texts.push_back(parameter.get_default_value());
    else if (parameter.default_index >= 0)
        texts.push_back(qel_get_token_at_index(values, parameter.default_index));
    const bool integer = parameter.obj_type == KOVA_OBJ_INTEGER_PARAMETER;
    if (texts.empty()) texts.push_back(integer ? "-1" : "");
    std::vector<std::string> corners;
    for (const std::string& text : texts) {
        std::string corner = integer ? std::to_string(kova_atoi(text)) : text;
        if (std::find(corners.begin(), corners.end(), corner) == corners.end()) corners.push_back(std::move(corner));
    }
    return corners;
}

// a op b as the engine computes it on known operands.
VALUE binary_value(KOVA_BINARY_OPERATOR op, const VALUE& a, const VALUE& b) {
    if (!a.known || !b.known) return {};
    if (!kova_is_arithmetic(op)) return value_of(kova_truth_text(kova_comparison(op, a.text.c_str(), b.text.c_str())));
    if (op == KOVA_OP_DOUBLE_DIV) {
        const double divisor = std::atof(b.text.c_str());
        return value_of(kova_real_text(divisor == 0.0 ? 1.0 : std::atof(a.text.c_str()) / divisor));
    }
    const int32_t x = kova_atoi(a.text), y = kova_atoi(b.text);
    if (op <= KOVA_OP_EXP) return value_of(std::to_string(kova_integer_operation(op, x, y)));
    if (y == 0) return value_of(op == KOVA_OP_REMAINDER ? "0" : "1");
    return value_of(std::to_string(kova_integer_division(op, x, y)));
}

bool beyond_32_bits(int64_t value) { return value < INT32_MIN || value > INT32_MAX; }

// Whether x op y (+ - * exp), computed without wrapping, leaves 32 bits;
// exact is the unwrapped result, or for a power the part computed when it
// left them. A power of -1, 0 or 1, or to an exponent below 2, is x, 1 or
// itself and never leaves; any other leaves within 32 steps.
bool leaves_32_bits(KOVA_BINARY_OPERATOR op, int32_t x, int32_t y, int64_t& exact) {
    if (op == KOVA_OP_ADD) exact = int64_t{x} + y;
    if (op == KOVA_OP_SUBTRACT) exact = int64_t{x} - y;
    if (op == KOVA_OP_MULTIPLY) exact = int64_t{x} * y;
    if (op != KOVA_OP_EXP) return beyond_32_bits(exact);
    if (y < 2 || (x >= -1 && x <= 1)) return false;
    exact = 1;
    for (int32_t step = 0; step < y; ++step)
        if (beyond_32_bits(exact *= x)) return true;
    return false;
}

class CORNER_CHECKER : KOVA_LINT_CHECKER {
public:
    using KOVA_LINT_CHECKER::KOVA_LINT_CHECKER;
    void check(const KOVA_LINT_TEXT& text);

private:
    // The parameters to combine, and the hidden parameters and macros to
    // evaluate at each corner, each after those it reads.
    struct INPUTS {
        std::vector<const KOVA_OBJ_INFO*> parameters, derived;
    };

    // The object a bare name reads; null for a formal of text's macro.
    const KOVA_OBJ_INFO* named(const std::string& name, const KOVA_LINT_TEXT* text) const {
        return text && kova_lint_is_formal(*text, name) ? nullptr : m_validator.get_kova_obj(name);
    }
    static bool derived(const KOVA_OBJ_INFO& object) {
        return object.obj_type == KOVA_OBJ_HIDDEN_PARAMETER ||
               (object.obj_type == KOVA_OBJ_FN_MACRO && object.get_arguments().empty());
    }
    const KOVA_SYNTAX_TREE& body(const KOVA_OBJ_INFO& object);
    std::vector<const KOVA_OBJ_INFO*> reads(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT* text,
                                            INPUTS& inputs) const;
    INPUTS inputs_of(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT& text);
    VALUE leaf(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT* text, const VALUES& values) const;
    std::vector<VALUE> evaluate(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT* text, const VALUES& values) const;
    VALUE derived_value(const KOVA_OBJ_INFO& object, const VALUES& values);
    void judge(const KOVA_SYNTAX_TREE& tree, int32_t at, const std::vector<VALUE>& values, const std::string& corner,
               const KOVA_LINT_TEXT& text);

    KOVA_SYNTAX_READER m_reader, m_body_reader;
    std::map<const KOVA_OBJ_INFO*, KOVA_SYNTAX_TREE> m_bodies;  // the value texts read so far
    std::set<const KOVA_OBJ_INFO*> m_cyclic;                    // found reading themselves
    std::vector<bool> m_reported;                               // per node of the text being checked
};

const KOVA_SYNTAX_TREE& CORNER_CHECKER::body(const KOVA_OBJ_INFO& object) {
    const auto found = m_bodies.find(&object);
    if (found != m_bodies.end()) return found->second;
    return m_bodies.emplace(&object, m_body_reader.read(object.get_value())).first->second;
}

// Adds the parameters tree names to inputs; gives the derived objects it names.
std::vector<const KOVA_OBJ_INFO*> CORNER_CHECKER::reads(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT* text,
                                                        INPUTS& inputs) const {
    std::vector<const KOVA_OBJ_INFO*> named_derived;
    for (const KOVA_SYNTAX_NODE& node : tree.nodes) {
        const KOVA_OBJ_INFO* object = node.kind == KOVA_SYN_NAME ? named(node.text, text) : nullptr;
        if (!object) continue;
        std::vector<const KOVA_OBJ_INFO*>& list = derived(*object) ? named_derived : inputs.parameters;
        if ((object->is_parameter() || derived(*object)) && std::find(list.begin(), list.end(), object) == list.end())
            list.push_back(object);
    }
    return named_derived;
}

// A depth-first walk on a work stack: each frame is a derived object and
// the derived objects its text names; an object is listed once all it
// names are, and one met again while still on the stack is on a cycle.
CORNER_CHECKER::INPUTS CORNER_CHECKER::inputs_of(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT& text) {
    struct FRAME {
        const KOVA_OBJ_INFO* object;
        std::vector<const KOVA_OBJ_INFO*> named;
        std::size_t next;
    };
    INPUTS inputs;
    std::map<const KOVA_OBJ_INFO*, bool> listed;  // false while on the stack
    std::vector<FRAME> stack;
    auto enter = [&](const KOVA_OBJ_INFO* object) {
        listed[object] = false;
        stack.push_back({object, reads(body(*object), nullptr, inputs), 0});
    };
    for (const KOVA_OBJ_INFO* first : reads(tree, &text, inputs)) {
        if (!listed.count(first)) enter(first);
        while (!stack.empty()) {
            FRAME& top = stack.back();
            if (top.next == top.named.size()) {
                listed[top.object] = true;
                inputs.derived.push_back(top.object);
                stack.pop_back();
                continue;
            }
            const KOVA_OBJ_INFO* next = top.named[top.next++];
            const auto found = listed.find(next);
            if (found == listed.end())
                enter(next);
            else if (!found->second)
                m_cyclic.insert(next);
        }
    }
    return inputs;
}

VALUE CORNER_CHECKER::leaf(const KOVA_SYNTAX_NODE& node, const KOVA_LINT_TEXT* text, const VALUES& values) const {
    switch (node.kind) {
        case KOVA_SYN_STRING: return value_of(node.text.substr(1, node.text.size() - 2));
        case KOVA_SYN_INTEGER:
        case KOVA_SYN_DOTTED: return value_of(node.text);
        case KOVA_SYN_QUERY: return node.op == KOVA_QUERY_STR ? value_of(node.text) : VALUE();
        case KOVA_SYN_NAME: break;
        default: return {};
    }
    if (text && kova_lint_is_formal(*text, node.text)) return {};
    const KOVA_OBJ_INFO* object = m_validator.get_kova_obj(node.text);
    if (!object) return kova_equal_nocase(node.text, "m_function_name") ? VALUE() : value_of(node.text);
    const auto found = values.find(object);
    return found == values.end() ? VALUE() : found->second;
}

// The value of every node, children first.
std::vector<VALUE> CORNER_CHECKER::evaluate(const KOVA_SYNTAX_TREE& tree, const KOVA_LINT_TEXT* text,
                                            const VALUES& values) const {
    std::vector<VALUE> at(tree.nodes.size());
    for (std::size_t index = 0; index < tree.nodes.size(); ++index) {
        const KOVA_SYNTAX_NODE& node = tree.nodes[index];
        auto child = [&](int slot) -> const VALUE& { return at[static_cast<std::size_t>(node.child[slot])]; };
        VALUE& value = at[index];
        if (node.child[0] < 0)
            value = leaf(node, text, values);
        else if (node.kind == KOVA_SYN_BINARY)
            value = binary_value(static_cast<KOVA_BINARY_OPERATOR>(node.op), child(0), child(1));
        else if (!child(0).known)
            continue;
        else if (node.kind == KOVA_SYN_CEIL_LOG)
            value = value_of(std::to_string(kova_ceil_log2(kova_atoi(child(0).text))));
        else if (node.kind == KOVA_SYN_NOT)
            value = value_of(kova_truth_text(child(0).text == "false"));
        else if (node.kind == KOVA_SYN_CHOICE)
            value = child(0).text == "true" ? child(1) : child(2);
        else if (child(1).known)
            value = value_of(node.kind == KOVA_SYN_MAX ? kova_max_value(child(0).text.c_str(), child(1).text.c_str())
                                                       : kova_min_value(child(0).text.c_str(), child(1).text.c_str()));
    }
    return at;
}

// A hidden parameter whose text gives "" reads as its text itself; a
// macro's empty value is not known here.
VALUE CORNER_CHECKER::derived_value(const KOVA_OBJ_INFO& object, const VALUES& values) {
    const KOVA_SYNTAX_TREE& tree = body(object);
    if (m_cyclic.count(&object) || tree.root < 0) return {};
    VALUE value = evaluate(tree, nullptr, values)[static_cast<std::size_t>(tree.root)];
    if (value.known && value.text.empty()) value = object.obj_type == KOVA_OBJ_HIDDEN_PARAMETER
                                                       ? value_of(object.get_value()) : VALUE();
    return value;
}

void CORNER_CHECKER::judge(const KOVA_SYNTAX_TREE& tree, int32_t at, const std::vector<VALUE>& values,
                           const std::string& corner, const KOVA_LINT_TEXT& text) {
    const KOVA_SYNTAX_NODE& node = tree[at];
    const auto op = static_cast<KOVA_BINARY_OPERATOR>(node.op);
    if (node.kind != KOVA_SYN_BINARY || op > KOVA_OP_DIV || m_reported[static_cast<std::size_t>(at)]) return;
    const VALUE& a = values[static_cast<std::size_t>(node.child[0])];
    const VALUE& b = values[static_cast<std::size_t>(node.child[1])];
    if (!a.known || !b.known) return;
    const int32_t x = kova_atoi(a.text), y = kova_atoi(b.text);
    std::string phrase = kova_syntax_text(tree, at);
    if (phrase != text.text) phrase += " in " + text.text;
    const std::string operands = std::to_string(x) + " " + kova_operator_text(op) + " " + std::to_string(y);
    int64_t exact = 0;
    if (op == KOVA_OP_DIV && y != 0 && kova_remainder(x, y) != 0)
        m_report.add("inexact-division",
                     phrase + " gives 0 " + corner + ": " + operands +
                         " is not exact, and / (div) gives 0 then; write quot to round toward zero or ceil_div to "
                         "round up",
                     kova_place_at(text.place, node.at));
    else if (op != KOVA_OP_DIV && leaves_32_bits(op, x, y, exact))
        m_report.add("overflow",
                     phrase + " leaves 32 bits " + corner + ": " + operands + " is " +
                         (op == KOVA_OP_EXP ? "beyond 32 bits" : std::to_string(exact)) + " and wraps to " +
                         binary_value(op, a, b).text + "; keep every result within -2147483648 to 2147483647 "
                         "(divide before multiplying)",
                     kova_place_at(text.place, node.at));
    else
        return;
    m_reported[static_cast<std::size_t>(at)] = true;
}

bool computes(const KOVA_SYNTAX_TREE& tree) {
    for (const KOVA_SYNTAX_NODE& node : tree.nodes)
        if (node.kind == KOVA_SYN_BINARY && node.op <= KOVA_OP_DIV) return true;
    return false;
}

void CORNER_CHECKER::check(const KOVA_LINT_TEXT& text) {
    // A map's value is written out as its 32 bits ((2 exp 32) - 1 for all
    // ones), and its own objects have no corners.
    if (text.role == KOVA_TEXT_FORCE || text.in_map) return;
    const KOVA_SYNTAX_TREE& tree = m_reader.read(text.text);
    if (!tree.parsed() || !computes(tree)) return;
    const INPUTS inputs = inputs_of(tree, text);
    std::vector<std::vector<std::string>> corners;
    std::size_t combinations = 1;
    for (const KOVA_OBJ_INFO* parameter : inputs.parameters) {
        corners.push_back(corners_of(*parameter));
        combinations = std::min(MOST_CORNERS, combinations * corners.back().size());
    }
    m_reported.assign(tree.nodes.size(), false);
    for (std::size_t combination = 0; combination < combinations; ++combination) {
        VALUES values;
        std::string corner;
        std::size_t rest = combination;  // its digits, the last parameter's lowest
        for (std::size_t index = corners.size(); index-- > 0;) {
            const std::string& chosen = corners[index][rest % corners[index].size()];
            rest /= corners[index].size();
            values[inputs.parameters[index]] = value_of(chosen);
            corner = inputs.parameters[index]->get_name() + "=" + chosen + (corner.empty() ? "" : ", ") + corner;
        }
        for (const KOVA_OBJ_INFO* object : inputs.derived) values[object] = derived_value(*object, values);
        const std::vector<VALUE> at = evaluate(tree, &text, values);
        for (int32_t node = 0; node < static_cast<int32_t>(tree.nodes.size()); ++node)
            judge(tree, node, at, corner.empty() ? "at every configuration" : "at " + corner, text);
    }
}

}  // namespace

void kova_check_corners(const std::vector<KOVA_LINT_TEXT>& texts, const KOVA_RULES_VALIDATOR& validator,
                        KOVA_LINT_REPORT& report) {
    CORNER_CHECKER checker(validator, report);
    for (const KOVA_LINT_TEXT& text : texts) checker.check(text);
}
