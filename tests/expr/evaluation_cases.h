// Tables of rule texts with the result they evaluate to and the messages
// they post, checked against one validator.
#ifndef KOVA_EVALUATION_CASES_H
#define KOVA_EVALUATION_CASES_H

#include <gtest/gtest.h>

#include "support/test_support.h"

// messages: none unless given.
struct EVALUATION_CASE { std::string text, result; std::vector<std::string> messages = {}; };

inline std::string division_message(const std::string& text) { return "Error : Division by zero in condition " + text; }

inline std::string parse_message(const std::string& error, const std::string& text) {
    return error + " while parsing " + text;
}

inline void expect_evaluations(KOVA_RULES_VALIDATOR& validator, const std::vector<EVALUATION_CASE>& cases,
                               KOVA_RULES_VALIDATOR_PARSER_MODE mode = PARSER_MODE_EVALUATE) {
    for (const EVALUATION_CASE& c : cases) {
        validator.clear_error_messages();
        EXPECT_EQ(validator.evaluate_expression(c.text, mode), c.result) << "text: " << c.text;
        EXPECT_EQ(validator.get_error_messages(), c.messages) << "text: " << c.text;
    }
}

// Gives the validator an integer parameter, initialises it and sets the value.
inline void add_integer_parameter(VALIDATOR_PROBE& validator, const std::string& name, const std::string& value) {
    validator.add_object(name, KOVA_OBJ_INTEGER_PARAMETER);
    validator.initialize_validator();
    validator.set_parameter_value(name, value);
}

// The same on a fresh validator without model objects.
inline void expect_evaluations(const std::vector<EVALUATION_CASE>& cases,
                               KOVA_RULES_VALIDATOR_PARSER_MODE mode = PARSER_MODE_EVALUATE) {
    VALIDATOR_PROBE validator;
    expect_evaluations(validator, cases, mode);
}

#endif
