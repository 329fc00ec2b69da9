// Models built to break the validator: ports of huge widths (the value
// objects stay within NUVO_MAX_WIDTH bits whatever the width says), and a
// rule text of megabytes through initialisation and a validation run,
// whose token walks must stay linear in the text's length.
#include <gtest/gtest.h>

#include <string>

#include "host/qel_util.h"
#include "support/test_support.h"

// The ports of a description, with the width each reports and the bits
// its value objects hold.
TEST(HostileModels, HugePortWidthsAreClampedInTheValues) {
    constexpr int most_bits = NUVO_UINTEGER::NUVO_MAX_WIDTH;
    constexpr int largest_int = 2147483647;
    const struct { const char *port, *kind, *width_text; int width, value_bits; } cases[] = {
        {"wide", "in", "100000", 100000, 100000},         {"scaled", "in", "W * 12500", 100000, 100000},
        {"widest", "out", "2147483647", largest_int, most_bits},
        {"beyond", "in", "99999999999", largest_int, most_bits},
        {"negative", "in", "0 - 5", 0, 0},                {"empty", "in", "", 0, 0},
    };
    std::string model = "<model>\n  <object name='W' kind='integer' value='1-64' default='8'/>\n";
    for (const auto& c : cases)
        model += std::string("  <object name='") + c.port + "' kind='" + c.kind + "' width='" + c.width_text + "'/>\n";
    VALIDATOR_PROBE validator(write_temp_file("wide_ports.xml", model + "</model>\n"));
    ASSERT_TRUE(validator.get_error_messages().empty());
    validator.initialize_validator();
    validator.set_parameter_value("W", "8");
    validator.evaluate_port_widths();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        EXPECT_EQ(validator.get_current_port_width(c.port), c.width);
        const NUVO_UINTEGER* value = validator.get_current_port_value(c.port);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->width(), c.value_bits);
        EXPECT_EQ(validator.get_current_port_value_as_string(c.port, QEL_RADIX_BINARY), std::string(c.value_bits, 'X'));
    }

    validator.set_current_port_value("widest", "4660", QEL_RADIX_SIGNED_DECIMAL);
    EXPECT_EQ(validator.get_current_port_value_as_integer("widest"), 4660u);
    const std::string hex = validator.get_current_port_value_as_string("widest", QEL_RADIX_HEXADECIMAL);
    EXPECT_EQ(hex, std::string(most_bits / 4 - 4, '0') + "1234");
}

// A failing check rule of 2 MB: the dependency levels, the evaluation and
// the message that quotes it all walk the text once.
TEST(HostileModels, MegabyteRuleTextInAValidationRun) {
    const std::size_t terms = 200000;
    std::string condition;
    for (std::size_t i = 0; i < terms; ++i) condition += "W == 8 && ";
    condition += "W == 9";

    VALIDATOR_PROBE validator;
    validator.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "1-64", "8");
    KOVA_OBJ_INFO* port = validator.add_object("p", KOVA_OBJ_INPUT_PORT);
    const KOVA_RULE_ELEMENT check("", condition, "", KOVA_RULE_CONDITION);
    port->add_rule(&check);
    validator.initialize_validator();
    validator.set_parameter_value("W", "8");
    validator.set_parameter_usage_state("W", KOVA_USAGE_USED);
    validator.set_port_usage_state("p", KOVA_USAGE_USED);

    EXPECT_EQ(port->evaluation_position, 1);
    EXPECT_FALSE(validator.run_validator());
    EXPECT_EQ(validator.get_error_messages(),
              std::vector<std::string>{"Ports and parameters W(8) should satisfy the condition " + condition});
    EXPECT_EQ(validator.get_dependency_error_message_for_condition(condition), "W(8)");
}
