// Tables of rule texts with the result they evaluate to and the messages
// they post, checked against one validator.
#ifndef KOVA_EVALUATION_CASES_H
#define KOVA_EVALUATION_CASES_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

struct EVALUATION_CASE {
    std::string text;
    std::string result;
    std::vector<std::string> messages;
};

inline std::string division_message(const std::string& text) {
    return "Error : Division by zero in condition " + text;
}

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

#endif
