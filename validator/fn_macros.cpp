// How the grammar and name resolution obtain the value of a function macro:
// the macro body with actual arguments in place of the formal ones, the
// value of a call (from its instance when the call was seen while building
// the instances), and the value of the macro object itself.
//
// Invariant: m_fn_macro_list holds only KOVA_FN_MACRO objects.
#include <memory>
#include <string>

#include "expr/macro_call_memo.h"
#include "expr/token_utils.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"
#include "validator/macro_call.h"

namespace {

// Formal and actual argument lists are split at commas and blanks alike.
const char* const ARGUMENT_DELIMITERS = ", ";

// The model object of a function macro, or null.
KOVA_OBJ_INFO* find_macro_object(const KOVA_INFO& model, const std::string& name) {
    KOVA_OBJ_INFO* object = model.get_kova_obj(name);
    return (object && object->obj_type == KOVA_OBJ_FN_MACRO) ? object : nullptr;
}

}  // namespace

std::string KOVA_RULES_VALIDATOR::substitute_macro_arguments(const std::string& name,
                                                             const std::string& actual_list) const {
    const KOVA_OBJ_INFO* macro = find_macro_object(*this, name);
    if (!macro) {
        return "";
    }
    std::string body = macro->get_value();
    if (kova_equal_nocase(macro->get_arguments(), actual_list)) {
        return body;
    }
    // Pairs apply in argument order, each to the body the previous pairs
    // left, so an actual naming a later formal is replaced again.
    QEL_TOKEN_READER actuals(actual_list, ARGUMENT_DELIMITERS);
    QEL_TOKEN_READER formals(macro->get_arguments(), ARGUMENT_DELIMITERS);
    while (!actuals.empty() && !formals.empty()) {
        const std::string actual = actuals.next();
        const std::string formal = formals.next();
        if (!actual.empty() && !formal.empty() && !kova_equal_nocase(actual, formal)) {
            body = kova_substitute_string(body, formal, actual);
        }
    }
    return body;
}

std::string KOVA_RULES_VALIDATOR::evaluate_function_macro(const std::string& name,
                                                          const std::string& actual_list) {
    return evaluate_function_macro_call(name, actual_list, kova_macro_instance_name(name, actual_list));
}

std::string KOVA_RULES_VALIDATOR::evaluate_function_macro_call(const std::string& name, const std::string& actual_list,
                                                               const std::string& call) {
    if (const KOVA_FN_MACRO* instance = m_fn_macro_list.find_entry(call)) {
        return instance->get_evaluated_value();
    }
    const KOVA_OBJ_INFO* object = get_kova_obj(name);
    if (!object) {
        return "";
    }
    // A call whose substitution changes nothing was never given an
    // instance; the macro object answers it.
    if (kova_equal_nocase(substitute_macro_arguments(name, actual_list), object->get_value())) {
        return get_macro_value(name, false);
    }
    return call;
}

const std::string* KOVA_RULES_VALIDATOR::macro_instance_value(const char* call) {
    if (!m_macro_calls) m_macro_calls = std::make_unique<KOVA_MACRO_CALL_MEMO>();
    const KOVA_FN_MACRO* instance = m_macro_calls->find(m_fn_macro_list, call);
    return instance ? &instance->get_evaluated_value() : nullptr;
}

bool KOVA_RULES_VALIDATOR::has_macro_instance(const std::string& name, const std::string& actual_list) const {
    return m_fn_macro_list.find_entry(kova_macro_instance_name(name, actual_list)) != nullptr;
}

std::string KOVA_RULES_VALIDATOR::get_macro_value(const std::string& name, bool evaluate) {
    KOVA_OBJ_INFO* macro = find_macro_object(*this, name);
    if (!macro) {
        return "";
    }
    // The body is evaluated in plain mode, where a macro it names gives its
    // current value without being evaluated again: a refresh goes one body
    // deep however deeply macros nest, so it never recurses along a chain.
    if (evaluate) {
        macro->set_current_value(evaluate_expression(macro->get_value(), PARSER_MODE_EVALUATE));
    }
    const std::string& value = macro->get_current_value();
    return value.empty() ? macro->get_value() : value;
}
