// Dependency trees of rule texts down to the user's settings, and the
// objects that read a name.
#include "session/dependency_tree.h"

#include <set>

#include "expr/kova_tokens.h"
#include "host/kova_stl.h"
#include "session/session.h"
#include "validator/macro_call.h"

namespace {

// The word after which the grammar reads a name as a literal text.
bool is_string_marker(const std::string& token) { return kova_equal_nocase(token, "str"); }

// How a node of a port or parameter shows its setting.
std::string setting_value(const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
    if (const KOVA_PORT_OBJ* port = validator.get_port_object(object.get_name()))
        return kova_get_usage_state_as_string(port->m_current_usage_state);
    if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object.get_name())) {
        if (parameter->m_current_usage_state == KOVA_USAGE_USED) return parameter->get_current_value();
        return kova_get_usage_state_as_string(parameter->m_current_usage_state);
    }
    return "";
}

bool is_setting(const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
    return validator.get_port_object(object.get_name()) || validator.get_parameter_object(object.get_name());
}

}  // namespace

std::vector<KOVA_TEXT_REFERENCE> kova_text_references(const KOVA_RULES_VALIDATOR& validator,
                                                      const std::string& text) {
    std::vector<KOVA_TEXT_REFERENCE> references;
    QEL_TOKEN_READER tokens(text, kova_element_delimiters());
    bool literal = false;
    while (!tokens.empty()) {
        std::string delimiter;
        const std::string token = tokens.next(delimiter);
        if (token.empty()) continue;
        const bool after_marker = literal;
        literal = is_string_marker(token);
        if (after_marker) continue;
        const KOVA_OBJ_INFO* object = validator.get_kova_obj(token);
        if (!object) continue;
        KOVA_TEXT_REFERENCE reference;
        reference.object = object;
        if (object->obj_type == KOVA_OBJ_FN_MACRO && delimiter == "(") {
            std::string arguments;
            if (kova_collect_call_arguments(tokens, arguments) &&
                !kova_equal_nocase(validator.substitute_macro_arguments(token, arguments), object->get_value())) {
                reference.call = true;
                reference.arguments = arguments;
            }
        }
        references.push_back(reference);
    }
    return references;
}

std::size_t KOVA_DEPENDENCY_GRAPH::node_for(const std::string& key, KOVA_DEPENDENCY_NODE node) {
    const auto found = m_index.find(key);
    if (found != m_index.end()) return found->second;
    const std::size_t index = m_nodes.size();
    if (!node.setting) m_unexpanded.push_back(index);
    m_nodes.push_back(std::move(node));
    m_index.emplace(key, index);
    return index;
}

// The nodes of the names and calls of text, each once, made when new.
std::vector<std::size_t> KOVA_DEPENDENCY_GRAPH::read(const std::string& text) {
    std::vector<std::size_t> found;
    std::set<std::size_t> seen;
    for (const KOVA_TEXT_REFERENCE& reference : kova_text_references(m_evaluator, text)) {
        const KOVA_OBJ_INFO& object = *reference.object;
        KOVA_DEPENDENCY_NODE node;
        std::string key;
        if (reference.call) {
            node.name = object.get_name() + "(" + reference.arguments + ")";
            node.kind = "call";
            node.expression = m_evaluator.substitute_macro_arguments(object.get_name(), reference.arguments);
            node.value = m_evaluator.evaluate_function_macro(object.get_name(), reference.arguments);
            key = kova_macro_instance_name(object.get_name(), reference.arguments);
        } else {
            node.name = object.get_name();
            node.kind = kova_object_kind_name(object.obj_type);
            node.setting = is_setting(m_evaluator, object);
            if (node.setting) {
                node.value = setting_value(m_evaluator, object);
            } else if (object.obj_type == KOVA_OBJ_FN_MACRO) {
                node.expression = object.get_value();
                node.value = m_evaluator.get_macro_value(object.get_name(), false);
            } else {
                node.expression = object.has_expression_value() ? object.get_value() : "";
                node.value = object.get_current_value();
            }
            key = to_lower_case(object.get_name());
        }
        const std::size_t index = node_for(key, std::move(node));
        if (seen.insert(index).second) found.push_back(index);
    }
    return found;
}

std::vector<std::size_t> KOVA_DEPENDENCY_GRAPH::add_text(const std::string& text) {
    std::vector<std::size_t> roots = read(text);
    // Every derived node is read once, when it is first taken from the
    // work list; reading may add more.
    while (!m_unexpanded.empty()) {
        const std::size_t index = m_unexpanded.back();
        m_unexpanded.pop_back();
        std::vector<std::size_t> children = read(m_nodes[index].expression);
        m_nodes[index].children = std::move(children);
    }
    return roots;
}

std::vector<std::size_t> KOVA_DEPENDENCY_GRAPH::setting_nodes_below(const std::vector<std::size_t>& roots) const {
    std::vector<std::size_t> settings;
    std::vector<bool> visited(m_nodes.size(), false);
    // Depth first, children in order: pushed in reverse.
    std::vector<std::size_t> stack(roots.rbegin(), roots.rend());
    while (!stack.empty()) {
        const std::size_t index = stack.back();
        stack.pop_back();
        if (visited[index]) continue;
        visited[index] = true;
        const KOVA_DEPENDENCY_NODE& node = m_nodes[index];
        if (node.setting) settings.push_back(index);
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
            if (!visited[*child]) stack.push_back(*child);
    }
    return settings;
}

std::vector<std::string> KOVA_DEPENDENCY_GRAPH::settings_below(const std::vector<std::size_t>& roots) const {
    std::vector<std::string> names;
    for (const std::size_t index : setting_nodes_below(roots)) names.push_back(m_nodes[index].name);
    return names;
}

namespace {

// The texts of an object that decide what it depends on: every rule's
// condition, value and alt value, the value text of a hidden parameter or
// macro, and a port's widths.
std::vector<const std::string*> object_texts(const KOVA_OBJ_INFO& object) {
    std::vector<const std::string*> texts;
    if (object.has_expression_value()) texts.push_back(&object.get_value());
    if (object.is_port())
        for (const std::string* width : {&object.get_port_width(), &object.get_port_width2d()})
            if (!width->empty()) texts.push_back(width);
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view())
        for (const std::string* text : {&rule->get_condition(), &rule->get_value(), &rule->get_alt_value()})
            if (!text->empty()) texts.push_back(text);
    return texts;
}
// The texts are pointed at, so an object made for the call is refused.
std::vector<const std::string*> object_texts(const KOVA_OBJ_INFO&& object) = delete;

// Whether the texts read name directly, or the body of a macro or call
// they reach through other macros and calls (each body read once).
bool reads_name(const KOVA_RULES_VALIDATOR& validator, std::vector<std::string> texts, const std::string& name) {
    std::set<std::string> entered;
    while (!texts.empty()) {
        const std::string text = std::move(texts.back());
        texts.pop_back();
        for (const KOVA_TEXT_REFERENCE& reference : kova_text_references(validator, text)) {
            const std::string& called = reference.object->get_name();
            if (kova_equal_nocase(called, name)) return true;
            if (reference.object->obj_type != KOVA_OBJ_FN_MACRO) continue;
            const std::string key = kova_macro_instance_name(called, reference.call ? reference.arguments : "");
            if (!entered.insert(key).second) continue;
            texts.push_back(reference.call ? validator.substitute_macro_arguments(called, reference.arguments)
                                           : reference.object->get_value());
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> kova_dependents(const KOVA_RULES_VALIDATOR& validator, const std::string& name) {
    std::vector<std::string> dependents;
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        if (kova_equal_nocase(object->get_name(), name)) continue;
        std::vector<std::string> texts;
        for (const std::string* text : object_texts(*object)) texts.push_back(*text);
        if (reads_name(validator, std::move(texts), name)) dependents.push_back(object->get_name());
    }
    return dependents;
}
