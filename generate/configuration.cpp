// The configuration kova generate writes, computed from a session, and
// the checks that a configuration can be written at all.
#include "generate/configuration.h"

#include "host/kova_stl.h"
#include "host/nuvo_int.h"
#include "session/value_text.h"

namespace {

// A string value as the parameter's own list spells it: the engine
// compares strings without regard to letter case, a hardware language
// does not, so "even" is written as the list's "EVEN". A value in no list
// is written as it is.
std::string listed_spelling(const KOVA_PARAMETER_OBJ& parameter, const std::string& value) {
    for (const std::string* text : {&parameter.get_value(), &parameter.m_alt_value})
        for (const std::string& item : kova_value_list(*text))
            if (kova_equal_nocase(item, value)) return item;
    return value;
}

KOVA_GEN_PARAMETER parameter_of(const KOVA_RULES_VALIDATOR& validator, const KOVA_PARAMETER_OBJ& parameter) {
    KOVA_GEN_PARAMETER result;
    result.name = parameter.get_name();
    result.is_string = parameter.obj_type == KOVA_OBJ_STRING_PARAMETER;
    result.value = parameter.get_current_value();
    result.default_value = parameter.get_actual_default_value();
    if (result.value.empty()) result.value = result.default_value;
    if (result.default_value.empty()) result.default_value = result.value;
    if (result.is_string) result.value = listed_spelling(parameter, result.value);
    result.usage = parameter.get_current_usage_state();
    if (const KOVA_OBJ_INFO* object = validator.get_kova_obj(result.name))
        result.place = validator.locate(object->source_id, KOVA_FIELD_NAME);
    return result;
}

// The binary digits of a constant port's value at exactly its width; ""
// when the value is unknown.
std::string constant_bits_of(const KOVA_PORT_OBJ& port) {
    const NUVO_UINTEGER* value = port.get_current_port_value();
    if (!value || value->is_x()) return "";
    std::string bits = value->as_bin_string();
    const std::size_t width = static_cast<std::size_t>(port.get_current_port_width());
    if (bits.size() > width) bits.erase(0, bits.size() - width);
    return bits.size() < width ? std::string(width - bits.size(), '0') + bits : bits;
}

KOVA_GEN_PORT port_of(const KOVA_RULES_VALIDATOR& validator, const KOVA_PORT_OBJ& port) {
    KOVA_GEN_PORT result;
    result.name = port.get_name();
    result.kind = port.obj_type;
    result.usage = port.get_current_usage_state();
    result.width = port.get_current_port_width() < 0 ? 0 : port.get_current_port_width();
    result.width_expression = port.get_port_width();
    if (result.is_constant() && result.width <= NUVO_UINTEGER::NUVO_MAX_WIDTH) result.constant_bits = constant_bits_of(port);
    if (const KOVA_OBJ_INFO* object = validator.get_kova_obj(result.name)) {
        result.place = validator.locate(object->source_id, KOVA_FIELD_NAME);
        result.width_place = validator.locate(object->source_id, KOVA_FIELD_WIDTH);
    }
    return result;
}

}  // namespace

KOVA_GEN_CONFIG kova_generate_configuration(KOVA_SESSION& session) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.clear_error_messages();
    session.refresh_port_widths();
    KOVA_GEN_CONFIG config;
    config.messages = session.take_messages();
    config.function = validator.get_function_name();
    const KOVA_OBJ_MAP parameters = validator.get_parameter_list();  // copies: keep them alive through the walks
    for (const auto& entry : parameters.entries()) {
        const auto* parameter = static_cast<const KOVA_PARAMETER_OBJ*>(entry.second);
        if (parameter->obj_type == KOVA_OBJ_INTEGER_PARAMETER || parameter->obj_type == KOVA_OBJ_STRING_PARAMETER)
            config.parameters.push_back(parameter_of(validator, *parameter));
    }
    const KOVA_OBJ_MAP ports = validator.get_port_list();
    for (const auto& entry : ports.entries())
        config.ports.push_back(port_of(validator, *static_cast<const KOVA_PORT_OBJ*>(entry.second)));
    return config;
}

bool kova_generate_integer(const std::string& text, long long& value) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits || text.size() - digits > 10) return false;
    if (text.find_first_not_of("0123456789", digits) != std::string::npos) return false;
    const long long magnitude = std::stoll(text.substr(digits));
    if (magnitude > KOVA_GENERATE_INTEGER_LIMIT) return false;
    value = digits ? -magnitude : magnitude;
    return true;
}

KOVA_MESSAGE kova_generate_problem(const std::string& object, const KOVA_SOURCE_LOCATION& place,
                                   const std::string& text) {
    KOVA_MESSAGE message = kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_OTHER, text, place);
    message.object = object;
    return message;
}

void kova_integer_problems(const KOVA_GEN_CONFIG& config, bool defaults, const std::string& language,
                           KOVA_MESSAGES& problems) {
    long long value;
    for (const KOVA_GEN_PARAMETER& parameter : config.parameters) {
        if (parameter.is_string) continue;
        for (const std::string* text : {&parameter.value, defaults ? &parameter.default_value : nullptr}) {
            if (!text || kova_generate_integer(*text, value)) continue;
            problems.push_back(kova_generate_problem(
                parameter.name, parameter.place,
                "Parameter " + parameter.name + " has the " + (text == &parameter.value ? "value" : "default") +
                    " '" + *text + "', which " + language + " cannot take as an integer: decimal digits, from -" +
                    std::to_string(KOVA_GENERATE_INTEGER_LIMIT) + " to " + std::to_string(KOVA_GENERATE_INTEGER_LIMIT)));
            break;
        }
    }
}

void kova_port_width_problems(const KOVA_GEN_CONFIG& config, const std::string& language, KOVA_MESSAGES& problems) {
    for (const KOVA_GEN_PORT& port : config.ports) {
        if (!port.is_used()) continue;
        if (port.width <= 0)
            problems.push_back(kova_generate_problem(
                port.name, port.width_place,
                "Port " + port.name + " is " + kova_get_usage_state_as_string(port.usage) + " but its width " +
                    port.width_expression + " evaluates to 0 or less, so " + language + " cannot declare it"));
        else if (port.is_constant() && port.width > NUVO_UINTEGER::NUVO_MAX_WIDTH)
            problems.push_back(kova_generate_problem(
                port.name, port.width_place,
                "Port " + port.name + " is held constant at a width of " + std::to_string(port.width) +
                    " bits, more than the " + std::to_string(NUVO_UINTEGER::NUVO_MAX_WIDTH) + " a value can have"));
    }
}
