// Rule texts built to break the expression language: nesting past the
// parse stack, long operator chains, 10 MB texts, NUL and non-ASCII bytes.
// Each ends in a value or the documented message, in bounded time and memory.
#include <gtest/gtest.h>

#include <iostream>

#include "evaluation_cases.h"

namespace {

constexpr std::size_t k_ten_megabytes = 10u << 20;

std::string repeated(const std::string& piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
}

std::string nested(std::size_t depth, const std::string& inner) {
    return std::string(depth, '(') + inner + std::string(depth, ')');
}

std::string overflow_message(const std::string& text) { return parse_message("parser stack overflow", text); }

}  // namespace

// Nesting needs one stack entry per level: up to the limit of 20000 the
// text evaluates, beyond it the parse stops with one message. Left
// associative chains reduce as they go and never deepen the stack; a chain
// of prefix operators, or of choices that wait for their ":", nests like
// parentheses.
TEST(HostileRuleTexts, NestingAndChainsAgainstTheStackLimit) {
    const std::size_t chain = 100000;
    const std::string deep = nested(25000, "1");
    const std::string prefixes = std::string(chain, '!') + "true";
    const std::string open_choices = repeated("1?", chain) + "1";
    VALIDATOR_PROBE validator;
    add_integer_parameter(validator, "WIDTH", "8");
    expect_evaluations(validator, {{nested(19000, "WIDTH"), "8"},
                                   {deep, "", {overflow_message(deep)}},
                                   {repeated("1 + ", chain) + "1", std::to_string(chain + 1)},
                                   {repeated("WIDTH*", chain) + "1", "0"},
                                   {repeated("true && ", chain) + "true", "true"},
                                   {open_choices, "", {overflow_message(open_choices)}},
                                   {prefixes, "", {overflow_message(prefixes)}}});
}

// 10 MB of 310000 tokens (a parameter with a long name, added up), and
// one name of 10 MB.
TEST(HostileRuleTexts, TenMegabyteTexts) {
    const std::string parameter = "WIDTH_OF_THE_DATA_BUS_IN_BITS_" + std::string(30, 'X');
    VALIDATOR_PROBE validator;
    add_integer_parameter(validator, parameter, "8");
    const std::string term = parameter + " + ";
    const std::size_t terms = k_ten_megabytes / term.size();
    EXPECT_EQ(validator.evaluate_expression(repeated(term, terms) + "0", PARSER_MODE_EVALUATE),
              std::to_string(8 * terms));

    // A name that denotes nothing is a literal word, however long; text mode quotes it.
    const std::string name(k_ten_megabytes, 'n');
    EXPECT_EQ(validator.evaluate_expression(name, PARSER_MODE_EVALUATE), name);
    EXPECT_EQ(validator.evaluate_expression(name, PARSER_MODE_TEXT), "\"" + name + "\"");
    EXPECT_TRUE(validator.get_error_messages().empty());
}

// NUL and bytes of 128 or more are never part of a token: each is copied
// to standard output and the tokens around it evaluate as usual.
TEST(HostileRuleTexts, NulAndNonAsciiBytesAreSkipped) {
    struct { std::string text, result, output; } cases[] = {
        {std::string("WIDTH\0+ 1", 9), "9", std::string("\0", 1)}, {std::string("\0\0", 2), "", std::string("\0\0", 2)},
        {"\xFF\xFEWIDTH", "8", "\xFF\xFE"}, {"WIDTH \xC3\xA9== 8", "true", "\xC3\xA9"},
        {"caf\xC3\xA9", "caf", "\xC3\xA9"}, {"'caf\xC3\xA9' == x", "false", "'\xC3\xA9'"},
    };
    VALIDATOR_PROBE validator;
    add_integer_parameter(validator, "WIDTH", "8");
    for (const auto& c : cases) {  // what reaches standard output, and the result
        testing::internal::CaptureStdout();
        const std::string result = validator.evaluate_expression(c.text, PARSER_MODE_EVALUATE);
        std::cout.flush();
        EXPECT_EQ(testing::internal::GetCapturedStdout() + "|" + result, c.output + "|" + c.result)
            << "text: " << c.text;
    }
}

// Names in the model may hold any bytes; lookups by name compare every
// byte, so a NUL does not end a name and bytes of 128 or more are not folded.
TEST(HostileRuleTexts, NamesWithNulAndNonAsciiBytesStayDistinct) {
    const std::string names[] = {"W", std::string("W\0X", 3), "\xC3\xA9", "\xC3\x89"};
    VALIDATOR_PROBE validator;
    for (const std::string& name : names) validator.add_object(name, KOVA_OBJ_INTEGER_PARAMETER);
    validator.initialize_validator();
    for (int i = 0; i < 4; ++i) validator.set_parameter_value(names[i], std::to_string(i + 1));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(validator.get_integer_parameter_value(names[i]), i + 1);
    EXPECT_EQ(validator.get_parameter_list().size(), 4u);

    KOVA_ORDERED_NAME_MAP ordered;
    for (const std::string& name : names) ordered[name] = name;
    ordered[std::string("W\0Y", 3)] = "";
    EXPECT_EQ(ordered.size(), 5u);
}
