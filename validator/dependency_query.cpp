// Which ports and parameters an expression or an object depends on, the
// text that lists them with their current settings for messages, and the
// copying and merging of name maps.
//
// Name sets map each name to itself and keep the order in which names were
// first met, so the texts built from them are stable.
#include "validator/dependency_query.h"

#include <initializer_list>
#include <vector>

#include "expr/token_utils.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"

namespace {

// Adds to names every port and parameter that text names, and those of the
// bodies of the macros it names. A macro body is entered at most once per
// query (expanded holds the macros entered so far): entering it again
// could add no name, and a macro that names itself, directly or through
// other macros, would otherwise be entered without end.
//
// Invariant: readers holds the text and the bodies being read, each body
// above the text that named it; only the top one is read, so a body is
// read to its end before the text that named it goes on, and names come
// in the order of a depth-first reading however deep macros nest.
void collect_used_names(const KOVA_RULES_VALIDATOR& validator, const std::string& text, KOVA_NAME_MAP& names,
                        KOVA_NAME_MAP& expanded) {
    std::vector<QEL_TOKEN_READER> readers;
    readers.emplace_back(text, kova_element_delimiters());
    while (!readers.empty()) {
        if (readers.back().empty()) {
            readers.pop_back();
            continue;
        }
        const std::string token = readers.back().next();
        if (token.empty()) {
            continue;
        }
        if (validator.get_parameter_object(token) || validator.get_port_object(token)) {
            names.insert(token, token);
            continue;
        }
        const KOVA_OBJ_INFO* object = validator.get_kova_obj(token);
        if (object && object->obj_type == KOVA_OBJ_FN_MACRO && expanded.insert(object->get_name(), object->get_name())) {
            readers.emplace_back(object->get_value(), kova_element_delimiters());
        }
    }
}

std::string with_detail(const std::string& name, const std::string& detail) { return name + "(" + detail + ")"; }

// How one dependency reads in a message: a port with its usage state, a
// used parameter with its value, another parameter with its state. A name
// whose validator copy is missing (a parameter of the kind that gets none,
// or lists out of step with the model) reads as the name alone, since the
// validator knows no setting to show. Empty for other objects and unknown
// names, which the text leaves out.
std::string describe_dependency(const KOVA_RULES_VALIDATOR& validator, const std::string& name) {
    const KOVA_OBJ_INFO* object = validator.get_kova_obj(name);
    if (!object) {
        return "";
    }
    if (object->is_port()) {
        const KOVA_PORT_OBJ* port = validator.get_port_object(object->get_name());
        if (!port) {
            return object->get_name();
        }
        return with_detail(port->get_name(), kova_get_usage_state_as_string(port->get_current_usage_state()));
    }
    if (!object->is_parameter()) {
        return "";
    }
    const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object->get_name());
    if (!parameter) {
        return object->get_name();
    }
    if (parameter->get_current_usage_state() == KOVA_USAGE_USED) {
        return with_detail(parameter->get_name(), parameter->get_current_value());
    }
    return with_detail(parameter->get_name(), kova_get_usage_state_as_string(parameter->get_current_usage_state()));
}

// The dependencies of names joined by ", ", in the set's order.
std::string compose_dependency_text(const KOVA_RULES_VALIDATOR& validator, const KOVA_NAME_MAP& names) {
    std::string text;
    for (const KOVA_NAME_MAP::entry& entry : names) {
        const std::string item = describe_dependency(validator, entry.first);
        if (item.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += item;
    }
    return text;
}

std::vector<std::string> split_names(const std::string& names) {
    std::vector<std::string> items;
    QEL_TOKEN_READER tokens(names, "|");
    while (!tokens.empty()) {
        items.push_back(tokens.next());
    }
    return items;
}

bool equals_any(const std::string& name, const std::vector<std::string>& items) {
    for (const std::string& item : items) {
        if (kova_equal_nocase(name, item)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void copy_string_map(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination) {
    for (const KOVA_NAME_MAP::entry& entry : source) {
        destination.set(entry.first, entry.second);
    }
}

void merge_string_map_excluding(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination, const std::string& excluded) {
    const std::vector<std::string> excluded_names = split_names(excluded);
    for (const KOVA_NAME_MAP::entry& entry : source) {
        if (!destination.contains(entry.first) && !equals_any(entry.first, excluded_names)) {
            destination.insert(entry.first, entry.first);
        }
    }
}

KOVA_NAME_MAP KOVA_RULES_VALIDATOR::get_ports_and_parameters_used_in_expression(const std::string& text) const {
    KOVA_NAME_MAP names;
    KOVA_NAME_MAP expanded;
    collect_used_names(*this, text, names, expanded);
    return names;
}

// Reads the rules through a snapshot rather than the object's rule cursor,
// so a caller that is itself walking those rules keeps its place.
KOVA_NAME_MAP KOVA_RULES_VALIDATOR::get_ports_and_parameters_impacting_obj(const std::string& name) const {
    KOVA_NAME_MAP result;
    const KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object) {
        return result;
    }
    for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
        if (rule->is_port_value_rule()) {
            continue;
        }
        for (const std::string* text : {&rule->get_condition(), &rule->get_value(), &rule->get_alt_value()}) {
            if (!text->empty()) {
                merge_string_map_excluding(get_ports_and_parameters_used_in_expression(*text), result, name);
            }
        }
    }
    return result;
}

std::string KOVA_RULES_VALIDATOR::get_dependency_error_message_for_obj(const KOVA_OBJ_INFO* object) const {
    if (!object) {
        return "";
    }
    return compose_dependency_text(*this, get_ports_and_parameters_impacting_obj(object->get_name()));
}

std::string KOVA_RULES_VALIDATOR::get_dependency_error_message_for_condition(const std::string& condition) const {
    return compose_dependency_text(*this, get_ports_and_parameters_used_in_expression(condition));
}
