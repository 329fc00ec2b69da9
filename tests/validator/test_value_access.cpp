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
    // Writes a rule's value into the alternate state of the named object.
    void write(const char* name, const char* value) {
        v.set_value_on_object(v.get_kova_obj(name), v.get_parameter_object(name), v.get_port_object(name), value);
    }
    // A parameter copy's "alternate value/alternate usage", a port copy's
    // alternate usage, or the current value of any other object.
    std::string alternate(const char* name) {
        if (const KOVA_PARAMETER_OBJ* p = v.get_parameter_object(name))
            return p->m_alt_value + "/" + kova_get_usage_state_as_string(p->m_alt_usage_state);
        if (const KOVA_PORT_OBJ* port = v.get_port_object(name))
            return kova_get_usage_state_as_string(port->m_alt_usage_state);
        return v.get_kova_obj(name)->get_current_value();
    }
    VALIDATOR_PROBE v;
};

}  // namespace

// Getters fall back to defaults, then to nothing; setters write both
// current values, of the right kind only (hidden parameters and other
// kinds are not set by name), and "unused" only changes the usage state.
TEST_F(ValueAccess, GettersAndSettersByName) {
    auto integer = [&](const char* name) { return std::to_string(v.get_integer_parameter_value(name)) + " "; };
    EXPECT_EQ(integer("WIDTH") + integer("DEPTH") + integer("STYLE") + integer("nosuch") +
                  v.get_string_parameter_value("STYLE") + "|" + v.get_string_parameter_value("WIDTH") + "|" +
                  v.get_hidden_parameter_value("H"), "8 -1 -1 -1 TINY||WIDTH + 1");
    v.get_kova_obj("H")->set_current_value("9");
    EXPECT_EQ(v.get_hidden_parameter_value("h") + "|" + v.get_hidden_parameter_value("WIDTH"), "9|");
    v.set_parameter_value("width", "16");
    EXPECT_EQ(v.get_parameter_object("WIDTH")->get_current_value() + v.get_kova_obj("WIDTH")->get_current_value(),
              "1616");
    v.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    v.set_parameter_value("WIDTH", "unused");
    EXPECT_EQ(v.get_parameter_object("WIDTH")->m_current_usage_state, KOVA_USAGE_UNUSED);
    EXPECT_EQ(integer("WIDTH"), "16 ");
    v.set_parameter_value("WIDTH", "12abc");
    v.set_parameter_value("STYLE", "fast");
    v.set_integer_parameter_value("STYLE", 3);
    v.set_string_parameter_value("WIDTH", "x");
    v.set_parameter_value("H", "5");
    v.set_parameter_value("OTHER", "5");
    EXPECT_EQ(integer("WIDTH") + v.get_string_parameter_value("STYLE") + "|" + v.get_hidden_parameter_value("H") + "|" +
                  v.get_kova_obj("OTHER")->get_current_value(), "12 fast|9|");
    v.set_integer_parameter_value("WIDTH", -5);  // negative values read back as written
    EXPECT_EQ(integer("WIDTH") + v.get_kova_obj("WIDTH")->get_current_value(), "-5 -5");
}

TEST_F(ValueAccess, PortAccessorsByName) {
    EXPECT_EQ(v.get_current_port_value_as_integer("nosuch"), 0u);
    EXPECT_EQ(v.get_current_port_value_as_integer("c"), 0xFFFFFFFFu);
    EXPECT_EQ(v.get_current_port_width("nosuch"), -1);
    v.set_current_port_width("c", 4);
    v.set_current_port_value("c", "1010", QEL_RADIX_BINARY);
    EXPECT_EQ(v.get_current_port_value_as_string("C", QEL_RADIX_UNSIGNED_DECIMAL) + " " +
                  std::to_string(v.get_current_port_value_as_integer("c")), "10 10");
    v.set_current_port_value("c", 3);
    EXPECT_EQ(v.get_current_port_value("c")->uint(), 3u);
    // A value handed in takes the port's width (the port object's table
    // holds the cases): 300 in 4 bits reads back 12, as text and integer.
    v.set_current_port_value("c", NUVO_UINTEGER(300, 64));
    EXPECT_EQ(v.get_current_port_value("c")->width(), 4);
    EXPECT_EQ(v.get_current_port_value_as_string("c", QEL_RADIX_UNSIGNED_DECIMAL) + " " +
                  std::to_string(v.get_current_port_value_as_integer("c")), "12 12");
    v.set_port_usage_state("c", KOVA_USAGE_CONSTANT);
    EXPECT_TRUE(v.check_port_is_used("c"));
}

// Rule values: usage words go to the usage state (only string parameters
// keep the word as the value), an empty value changes nothing, and a
// hidden parameter takes the value as its current one. A constant port
// takes a value, or the range of two, as its bounds: an unreadable first
// number keeps the lower bound, and in "1|2|3" the second number is "2|3",
// which does not read.
TEST_F(ValueAccess, RuleValuesGoToTheAlternateStateOrAConstantPortsBounds) {
    const char* const cases[][3] = {
        {"STYLE", "used", "USED/USED"}, {"WIDTH", "Unused", "/UNUSED"}, {"WIDTH", "8|16", "8|16/USED"},
        {"WIDTH", "", "8|16/USED"},     {"H", "42", "42"},              {"c", "constant", "CONSTANT"},
        {"c", "UNUSED", "UNUSED"},
    };
    for (const auto& c : cases) {
        write(c[0], c[1]);
        EXPECT_EQ(alternate(c[0]), c[2]) << c[0] << " " << c[1];
    }
    KOVA_PORT_OBJ* port = v.get_port_object("c");
    v.set_current_port_width("c", 8);
    write("c", "7");  // not constant yet: bounds stay
    EXPECT_TRUE(port->get_min_port_value()->is_x());
    port->m_current_usage_state = KOVA_USAGE_CONSTANT;
    const char* const bounds[][2] = {{"7", "7-7"}, {"5|3", "3-5"}, {"abc|9", "3-9"}, {"1|2|3", "1-1"}};
    for (const auto& c : bounds) {
        write("c", c[0]);
        EXPECT_EQ(std::to_string(port->get_min_port_value_as_integer()) + "-" +
                      std::to_string(port->get_max_port_value_as_integer()), c[1]) << c[0];
    }
}
