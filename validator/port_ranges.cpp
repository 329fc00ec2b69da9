// Port widths and the legal values of a port: the widths of all ports
// evaluated from their expressions, whether a parameter takes part in a
// width, and a port's bounds or explicit value list narrowed by the port
// value rules (types 6 and 7) of its model object.
//
// Invariant: the bounds only ever move inward once they are known; a
// conflict stops the narrowing and leaves the bounds as far as they got.
#include <memory>
#include <vector>

#include "expr/token_utils.h"
#include "expr/truth.h"
#include "host/kova_atoi.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"
#include "validator/message_origin.h"
#include "validator/rule_condition.h"

namespace {

// Gives a port the width its expression evaluates to. A result that is not
// a number reads as 0, and so does a negative one: a negative width would
// leave the port holding values while it counts as having no width.
void evaluate_port_width(KOVA_RULES_VALIDATOR& validator, KOVA_PORT_OBJ& port) {
    const KOVA_MODEL_ORIGIN_SCOPE origin(validator, kova_object_origin(port.get_name(), port, KOVA_FIELD_WIDTH));
    const int width = kova_atoi(validator.evaluate_expression(port.get_port_width(), PARSER_MODE_EVALUATE));
    port.set_current_port_width(width < 0 ? 0 : width);
}

// Whether text, split at the element delimiters, has a token equal to name.
bool text_has_token(const std::string& text, const std::string& name) {
    QEL_TOKEN_READER tokens(text, kova_element_delimiters());
    while (!tokens.empty()) {
        const std::string token = tokens.next();
        if (!token.empty() && kova_equal_nocase(token, name)) return true;
    }
    return false;
}

// A value of the port's width: the number the text evaluates to, or
// unknown when the result is not a number.
std::unique_ptr<NUVO_UINTEGER> evaluated_port_value(KOVA_RULES_VALIDATOR& validator, const KOVA_PORT_OBJ& port,
                                                    const std::string& text) {
    auto value = std::make_unique<NUVO_UINTEGER>(0, port.get_current_port_width());
    value->force_x();
    std::string digits;
    if (qel_convert_numeric_string_to_binary_format(validator.evaluate_value_expression(text, true), digits))
        value->set_value_from_bin_string(digits);
    return value;
}

// The list items of a "|" list, up to its first empty item.
std::vector<std::string> list_items(const std::string& text) {
    std::vector<std::string> items;
    QEL_TOKEN_READER tokens(text, "|");
    while (!tokens.empty()) {
        std::string item = tokens.next();
        if (item.empty()) break;
        items.push_back(std::move(item));
    }
    return items;
}

// A value array of the port: one value per list item and a null end. The
// caller hands it to the port, which owns it from then on.
NUVO_UINTEGER** new_value_array(KOVA_RULES_VALIDATOR& validator, const KOVA_PORT_OBJ& port,
                                const std::vector<std::string>& items) {
    std::vector<std::unique_ptr<NUVO_UINTEGER>> values;
    values.reserve(items.size());
    for (const std::string& item : items) values.push_back(evaluated_port_value(validator, port, item));
    auto** array = new NUVO_UINTEGER*[values.size() + 1];
    for (std::size_t i = 0; i < values.size(); ++i) array[i] = values[i].release();
    array[values.size()] = nullptr;
    return array;
}

}  // namespace

void KOVA_RULES_VALIDATOR::evaluate_port_widths() {
    for (const auto& entry : m_port_list.entries()) {
        auto* port = static_cast<KOVA_PORT_OBJ*>(entry.second);
        if (port->get_current_port_width() == -1) evaluate_port_width(*this, *port);
    }
}

bool KOVA_RULES_VALIDATOR::is_port_width_parameter(const std::string& name) const {
    const KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object || object->obj_type != KOVA_OBJ_INTEGER_PARAMETER) return false;
    for (const auto& entry : m_port_list.entries()) {
        const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
        if (text_has_token(port->get_port_width(), name) || text_has_token(port->get_port_width2d(), name))
            return true;
    }
    return false;
}

bool KOVA_RULES_VALIDATOR::set_min_port_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value) {
    NUVO_UINTEGER* bound = port ? port->get_min_port_value() : nullptr;
    if (!bound) return false;
    if (value.is_x()) return true;
    if (!bound->is_x() && *bound > value) return false;
    port->set_min_port_value(value);
    return true;
}

bool KOVA_RULES_VALIDATOR::set_max_port_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value) {
    NUVO_UINTEGER* bound = port ? port->get_max_port_value() : nullptr;
    if (!bound) return false;
    if (value.is_x()) return true;
    if (!bound->is_x() && *bound < value) return false;
    port->set_max_port_value(value);
    return true;
}

bool KOVA_RULES_VALIDATOR::narrow_port_to_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value) {
    return set_min_port_value(port, value) && set_max_port_value(port, value);
}

bool KOVA_RULES_VALIDATOR::apply_port_value_rule(KOVA_PORT_OBJ* port, const KOVA_RULE_ELEMENT& rule) {
    if (!rule.is_port_value_rule()) return true;
    const bool is_single = rule.rule_type == KOVA_RULE_PORT_VALUE;
    const std::string result = kova_condition_result(*this, rule.get_condition());

    if (kova_is_false(result)) {
        if (!is_single || rule.get_alt_value().empty()) return true;
        return narrow_port_to_value(port, *evaluated_port_value(*this, *port, rule.get_alt_value()));
    }
    if (!kova_is_true(result)) return true;
    if (is_single) return narrow_port_to_value(port, *evaluated_port_value(*this, *port, rule.get_value()));
    if (rule.get_alt_value().empty()) {
        port->set_port_value_array(new_value_array(*this, *port, list_items(rule.get_value())));
        return true;
    }
    // A range from the alt value up to the value; both ends are evaluated
    // before either bound moves.
    const auto lower = evaluated_port_value(*this, *port, rule.get_alt_value());
    const auto upper = evaluated_port_value(*this, *port, rule.get_value());
    return set_min_port_value(port, *lower) && set_max_port_value(port, *upper);
}

// A port without a width has its width evaluated first, so that its bounds
// and list values have the width they will be read with.
KOVA_PORT_OBJ* KOVA_RULES_VALIDATOR::determine_port_value_validity(const std::string& name) {
    KOVA_PORT_OBJ* port = get_port_object(name);
    if (!port) return nullptr;
    if (port->get_current_port_width() == -1) evaluate_port_width(*this, *port);
    const KOVA_OBJ_INFO* object = get_kova_obj(port->get_name());
    if (!object) return port;
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
        ++index;
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_rule_origin(&object->get_name(), index, *rule,
                                                                     KOVA_FIELD_CONDITION));
        if (!apply_port_value_rule(port, *rule)) break;
    }
    return port;
}
