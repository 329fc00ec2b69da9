// What the names of a rule text stand for: a bare name is the current
// value of the port, parameter, hidden parameter or macro of that name, or
// the name itself when the model has no such object; used(), is_constant()
// and port() ask about one port or parameter.
#include "expr/name_resolution.h"

#include <string>

#include "expr/port_query_guard.h"
#include "expr/program_table.h"
#include "host/kova_stl.h"

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// KOVA_OBJ_INFO::is_port, read here without a call into the host library
// on the compiled path.
bool names_a_port(const KOVA_OBJ_INFO& object) {
    return object.obj_type == KOVA_OBJ_INPUT_PORT || object.obj_type == KOVA_OBJ_OUTPUT_PORT ||
           object.obj_type == KOVA_OBJ_INOUT_PORT;
}

// A port's current value in decimal; the low 32 bits read as signed, so a
// port without a value reads -1.
std::string port_value_text(const KOVA_EVAL_CONTEXT& ctx, const KOVA_OBJ_INFO& object) {
    if (ctx.text_mode()) return object.get_name();
    const KOVA_PORT_OBJ* port = ctx.validator->port_copy_of(object);
    if (!port) return "0";
    return std::to_string(static_cast<int32_t>(port->get_current_port_value_as_integer()));
}

std::string object_value_text(const KOVA_EVAL_CONTEXT& ctx, const KOVA_OBJ_INFO& object) {
    KOVA_RULES_VALIDATOR& validator = *ctx.validator;
    if (object.is_port()) return port_value_text(ctx, object);
    switch (object.obj_type) {
        case KOVA_OBJ_STRING_PARAMETER: {
            std::string value = validator.string_parameter_value_of(object);
            return ctx.text_mode() ? quoted(value) : value;
        }
        case KOVA_OBJ_INTEGER_PARAMETER: return std::to_string(validator.integer_parameter_value_of(object));
        case KOVA_OBJ_FN_MACRO: return validator.get_macro_value(object.get_name(), ctx.mode == PARSER_MODE_REFRESH_MACROS);
        case KOVA_OBJ_HIDDEN_PARAMETER: return KOVA_RULES_VALIDATOR::hidden_parameter_value_of(object);
        default: return "";
    }
}

// A name that no model object bears is a literal word, except the name of
// the model's function.
std::string unknown_name_text(const KOVA_EVAL_CONTEXT& ctx, const std::string& name) {
    if (kova_equal_nocase(name, "m_function_name")) return ctx.validator->get_function_name();
    return ctx.text_mode() ? quoted(name) : name;
}

}  // namespace

std::string kova_port_query_error(KOVA_PORT_QUERY kind, const char* error, const char* name,
                                  std::string_view condition) {
    if (kind == KOVA_PORT_QUERY_VALUE)
        return (std::string("Error: ") + error + " while getting the value of port " + name + " in condition ")
            .append(condition);
    return (std::string("Error: ") + error + " while checking port " + name + " is used, in condition ")
        .append(condition);
}

const char* expression_name_value(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    if (!ctx.validator) return "";
    const KOVA_OBJ_INFO* object = ctx.validator->get_kova_obj(name);
    return ctx.pool.keep(object ? object_value_text(ctx, *object) : unknown_name_text(ctx, name));
}

KOVA_OPERAND expression_object_operand(KOVA_EVAL_CONTEXT& ctx, const char* name, const KOVA_OBJ_INFO* object) {
    if (!object) return {ctx.pool.keep(unknown_name_text(ctx, name)), 0};
    if (names_a_port(*object)) {
        const KOVA_PORT_OBJ* port = ctx.validator->port_copy_of(*object);
        return {nullptr, port ? static_cast<int32_t>(port->get_current_port_value_as_integer()) : 0};
    }
    return {ctx.pool.keep(object_value_text(ctx, *object)), 0};
}

namespace {

// A use query about the object named name, answered by ask(validator,
// object) under the host query guard; false without a validator or an
// object of that name.
template <typename ASK>
bool guarded_use_query(KOVA_EVAL_CONTEXT& ctx, const char* name, ASK ask) {
    if (!ctx.validator) return false;
    const KOVA_RULES_VALIDATOR& validator = *ctx.validator;
    return kova_guarded_port_query(ctx, KOVA_PORT_QUERY_USE, name, false, [&] {
        const KOVA_OBJ_INFO* object = validator.get_kova_obj(name);
        return object != nullptr && ask(validator, *object);
    });
}

}  // namespace

bool expression_is_used(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    return guarded_use_query(ctx, name, [name](const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
        if (object.is_port()) return validator.check_port_is_used(name);
        return object.is_parameter() && validator.check_parameter_is_used(name);
    });
}

bool expression_is_constant_port(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    return guarded_use_query(ctx, name, [name](const KOVA_RULES_VALIDATOR& validator, const KOVA_OBJ_INFO& object) {
        if (!object.is_port()) return false;
        const KOVA_PORT_OBJ* port = validator.get_port_object(name);
        return port && port->m_current_usage_state == KOVA_USAGE_CONSTANT;
    });
}

int32_t expression_port_value(KOVA_EVAL_CONTEXT& ctx, const char* name) {
    if (!ctx.validator) return 0;
    const KOVA_RULES_VALIDATOR& validator = *ctx.validator;
    return kova_guarded_port_query(ctx, KOVA_PORT_QUERY_VALUE, name, int32_t{0}, [&] {
        const KOVA_PORT_OBJ* port = validator.get_port_object(name);
        return port ? static_cast<int32_t>(port->get_current_port_value_as_integer()) : int32_t{0};
    });
}
