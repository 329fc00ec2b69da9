// Parameter and port values by name, and how a rule's value is written
// into the alternate state.
#include <gtest/gtest.h>

#include "host/qel_util.h"
#include "support/test_support.h"

namespace {

class ValueAccess : public ::testing::Test {
protected:
    void SetUp() override {
        v.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "8|16", "8");
        v.add_object("DEPTH", KOVA_OBJ_INTEGER_PARAMETER);
        v.add_object("STYLE", KOVA_OBJ_STRING_PARAMETER, "FAST|SMALL|TINY")->default_index = 2;
        v.add_object("OTHER", KOVA_OBJ_OTHER_PARAMETER);
        v.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH + 1");
        v.add_object("c", KOVA_OBJ_INPUT_PORT);
        v.initialize_validator();
    }
    KOVA_PARAMETER_OBJ* parameter(const char* name) { return v.get_parameter_object(name); }
    VALIDATOR_PROBE v;
};

}  // namespace

TEST_F(ValueAccess, GettersFallBackToDefaultsThenToNothing) {
    EXPECT_EQ(v.get_integer_parameter_value("WIDTH"), 8);
    EXPECT_EQ(v.get_integer_parameter_value("DEPTH"), -1);
    EXPECT_EQ(v.get_integer_parameter_value("STYLE"), -1);
    EXPECT_EQ(v.get_integer_parameter_value("nosuch"), -1);
    EXPECT_EQ(v.get_string_parameter_value("STYLE"), "TINY");
    EXPECT_EQ(v.get_string_parameter_value("WIDTH"), "");
    EXPECT_EQ(v.get_hidden_parameter_value("H"), "WIDTH + 1");
    v.get_kova_obj("H")->set_current_value("9");
    EXPECT_EQ(v.get_hidden_parameter_value("h"), "9");
    EXPECT_EQ(v.get_hidden_parameter_value("WIDTH"), "");
}

TEST_F(ValueAccess, SettersWriteBothCurrentValuesOfTheRightKindOnly) {
    v.set_parameter_value("width", "16");
    EXPECT_EQ(parameter("WIDTH")->get_current_value(), "16");
    EXPECT_EQ(v.get_kova_obj("WIDTH")->get_current_value(), "16");
    v.set_parameter_value("WIDTH", "12abc");
    EXPECT_EQ(v.get_integer_parameter_value("WIDTH"), 12);
    v.set_parameter_value("STYLE", "fast");
    EXPECT_EQ(v.get_string_parameter_value("STYLE"), "fast");
    v.set_integer_parameter_value("STYLE", 3);  // wrong kind: nothing changes
    EXPECT_EQ(v.get_string_parameter_value("STYLE"), "fast");
    v.set_string_parameter_value("WIDTH", "x");
    EXPECT_EQ(v.get_integer_parameter_value("WIDTH"), 12);
    v.set_parameter_value("H", "5");  // hidden parameters are not set by name
    EXPECT_EQ(v.get_hidden_parameter_value("H"), "WIDTH + 1");
    v.set_parameter_value("WIDTH", "12abc");
    v.set_integer_parameter_value("WIDTH", -5);  // negative values read back as written
    EXPECT_EQ(v.get_integer_parameter_value("WIDTH"), -5);
    EXPECT_EQ(v.get_kova_obj("WIDTH")->get_current_value(), "-5");
    v.set_parameter_value("OTHER", "5");
    EXPECT_EQ(v.get_kova_obj("OTHER")->get_current_value(), "");
}

TEST_F(ValueAccess, UnusedTextOnlyChangesTheUsageState) {
    v.set_parameter_value("WIDTH", "16");
    v.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    v.set_parameter_value("WIDTH", "unused");
    EXPECT_EQ(parameter("WIDTH")->m_current_usage_state, KOVA_USAGE_UNUSED);
    EXPECT_EQ(v.get_integer_parameter_value("WIDTH"), 16);
}

TEST_F(ValueAccess, PortAccessorsByName) {
    EXPECT_EQ(v.get_current_port_value_as_integer("nosuch"), 0u);
    EXPECT_EQ(v.get_current_port_value_as_integer("c"), 0xFFFFFFFFu);
    EXPECT_EQ(v.get_current_port_width("nosuch"), -1);
    v.set_current_port_width("c", 4);
    v.set_current_port_value("c", "1010", QEL_RADIX_BINARY);
    EXPECT_EQ(v.get_current_port_value_as_integer("c"), 10u);
    EXPECT_EQ(v.get_current_port_value_as_string("C", QEL_RADIX_UNSIGNED_DECIMAL), "10");
    v.set_current_port_value("c", 3);
    EXPECT_EQ(v.get_current_port_value("c")->uint(), 3u);
    v.set_port_usage_state("c", KOVA_USAGE_CONSTANT);
    EXPECT_TRUE(v.check_port_is_used("c"));
}

// A value set by name takes the port's width, as the text setter's
// conversion would make it ("300" into 8 bits reads back 44): the text and
// the integer read back agree.
TEST_F(ValueAccess, PortValueByNameTakesThePortWidth) {
    NUVO_UINTEGER unknown(0, 12);
    unknown.force_x();
    const struct {
        const char* what;
        NUVO_UINTEGER value;
        const char* decimal;
    } cases[] = {
        {"wider", NUVO_UINTEGER(300, 64), "44"},
        {"narrower", NUVO_UINTEGER(6, 3), "6"},
        {"unknown", unknown, "X"},
        {"equal width", NUVO_UINTEGER(255, 8), "255"},
    };
    v.set_current_port_width("c", 8);
    for (const auto& c : cases) {
        v.set_current_port_value("c", c.value);
        EXPECT_EQ(v.get_current_port_value("c")->width(), 8) << c.what;
        EXPECT_EQ(v.get_current_port_value_as_string("c", QEL_RADIX_UNSIGNED_DECIMAL), c.decimal) << c.what;
        EXPECT_EQ(std::to_string(v.get_current_port_value_as_integer("c")),
                  c.value.is_x() ? std::to_string(0xFFFFFFFFu) : c.decimal)
            << c.what;
    }
}

TEST_F(ValueAccess, RuleValuesGoToTheAlternateState) {
    KOVA_PARAMETER_OBJ* style = parameter("STYLE");
    v.set_value_on_object(v.get_kova_obj("STYLE"), style, nullptr, "used");
    EXPECT_EQ(style->m_alt_usage_state, KOVA_USAGE_USED);
    EXPECT_EQ(style->m_alt_value, "USED");
    KOVA_PARAMETER_OBJ* width = parameter("WIDTH");
    v.set_value_on_object(v.get_kova_obj("WIDTH"), width, nullptr, "Unused");
    EXPECT_EQ(width->m_alt_usage_state, KOVA_USAGE_UNUSED);
    EXPECT_EQ(width->m_alt_value, "");  // only string parameters keep the word
    v.set_value_on_object(v.get_kova_obj("WIDTH"), width, nullptr, "8|16");
    EXPECT_EQ(width->m_alt_value, "8|16");
    EXPECT_EQ(width->m_alt_usage_state, KOVA_USAGE_USED);
    v.set_value_on_object(v.get_kova_obj("WIDTH"), width, nullptr, "");
    EXPECT_EQ(width->m_alt_value, "8|16");

    KOVA_OBJ_INFO* hidden = v.get_kova_obj("H");
    v.set_value_on_object(hidden, nullptr, nullptr, "42");
    EXPECT_EQ(hidden->get_current_value(), "42");

    KOVA_PORT_OBJ* port = v.get_port_object("c");
    v.set_value_on_object(v.get_kova_obj("c"), nullptr, port, "constant");
    EXPECT_EQ(port->m_alt_usage_state, KOVA_USAGE_CONSTANT);
    v.set_value_on_object(v.get_kova_obj("c"), nullptr, port, "UNUSED");
    EXPECT_EQ(port->m_alt_usage_state, KOVA_USAGE_UNUSED);
}

TEST_F(ValueAccess, ConstantPortBoundsFromValueOrRange) {
    KOVA_PORT_OBJ* port = v.get_port_object("c");
    KOVA_OBJ_INFO* model = v.get_kova_obj("c");
    v.set_current_port_width("c", 8);
    v.set_value_on_object(model, nullptr, port, "7");  // not constant yet: bounds stay
    EXPECT_TRUE(port->get_min_port_value()->is_x());

    port->m_current_usage_state = KOVA_USAGE_CONSTANT;
    v.set_value_on_object(model, nullptr, port, "7");
    EXPECT_EQ(port->get_min_port_value_as_integer(), 7u);
    EXPECT_EQ(port->get_max_port_value_as_integer(), 7u);
    v.set_value_on_object(model, nullptr, port, "5|3");
    EXPECT_EQ(port->get_min_port_value_as_integer(), 3u);
    EXPECT_EQ(port->get_max_port_value_as_integer(), 5u);
    v.set_value_on_object(model, nullptr, port, "abc|9");  // an unreadable first number keeps the bounds
    EXPECT_EQ(port->get_min_port_value_as_integer(), 3u);
    EXPECT_EQ(port->get_max_port_value_as_integer(), 9u);
    v.set_value_on_object(model, nullptr, port, "1|2|3");  // "2|3" is the second number, which does not read
    EXPECT_EQ(port->get_min_port_value_as_integer(), 1u);
    EXPECT_EQ(port->get_max_port_value_as_integer(), 1u);
}
