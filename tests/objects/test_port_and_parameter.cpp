// Port and parameter copies: initial states, value objects tied to the
// width, accessors without a width, ownership of values and value arrays.
#include <gtest/gtest.h>

#include "objects/kova_parameter_obj.h"
#include "host/qel_util.h"
#include "objects/kova_port_obj.h"

namespace {

KOVA_OBJ_INFO model_port() { return KOVA_OBJ_INFO("p", KOVA_OBJ_INPUT_PORT); }

NUVO_UINTEGER** array_of(std::initializer_list<uint32_t> values, int width) {
    auto** array = new NUVO_UINTEGER*[values.size() + 1];
    std::size_t i = 0;
    for (uint32_t value : values) array[i++] = new NUVO_UINTEGER(value, width);
    array[i] = nullptr;
    return array;
}

}  // namespace

TEST(ParameterObject, StartsWithoutStateAndUsedOnlyWhenUsed) {
    KOVA_OBJ_INFO model("P", KOVA_OBJ_INTEGER_PARAMETER);
    model.set_default_value("8");
    KOVA_PARAMETER_OBJ parameter(&model);
    EXPECT_EQ(parameter.get_current_usage_state(), KOVA_USAGE_NONE);
    EXPECT_EQ(parameter.get_alt_usage_state(), KOVA_USAGE_NONE);
    EXPECT_EQ(parameter.get_alt_value(), "");
    EXPECT_FALSE(parameter.is_parameter_used());
    parameter.set_current_usage_state(KOVA_USAGE_CONSTANT);
    EXPECT_FALSE(parameter.is_parameter_used());
    parameter.set_current_usage_state(KOVA_USAGE_USED);
    EXPECT_TRUE(parameter.is_parameter_used());
    EXPECT_EQ(parameter.get_actual_default_value(), "8");
}

TEST(ParameterObject, ActualDefaultTakesEntryAtDefaultIndex) {
    KOVA_OBJ_INFO model("S", KOVA_OBJ_STRING_PARAMETER);
    model.set_default_value("A|B|C");
    model.default_index = 2;
    EXPECT_EQ(KOVA_PARAMETER_OBJ(&model).get_actual_default_value(), "C");
}

TEST(PortObject, UsedInStatesUsedAndConstant) {
    KOVA_OBJ_INFO model = model_port();
    KOVA_PORT_OBJ port(&model);
    EXPECT_FALSE(port.is_port_used());
    port.set_current_usage_state(KOVA_USAGE_CONSTANT);
    EXPECT_TRUE(port.is_port_used());
    port.set_current_usage_state(KOVA_USAGE_UNUSED);
    EXPECT_FALSE(port.is_port_used());
}

TEST(PortObject, AccessorsWithoutWidthGiveNothing) {
    KOVA_OBJ_INFO model = model_port();
    KOVA_PORT_OBJ port(&model);
    EXPECT_EQ(port.get_current_port_width(), -1);
    EXPECT_EQ(port.get_current_port_value(), nullptr);
    EXPECT_EQ(port.get_min_port_value(), nullptr);
    EXPECT_EQ(port.get_current_port_value_as_integer(), 0xFFFFFFFFu);
    EXPECT_EQ(port.get_max_port_value_as_integer(), 0xFFFFFFFFu);
    EXPECT_EQ(port.get_current_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL), "");
    port.set_current_port_value("5", QEL_RADIX_UNSIGNED_DECIMAL);  // no width: ignored
    port.set_min_port_value(3);
    port.reset_port_values();
    EXPECT_EQ(port.get_current_port_value(), nullptr);
}

TEST(PortObject, WidthGivesUnknownValuesThatLoadInEveryForm) {
    KOVA_OBJ_INFO model = model_port();
    KOVA_PORT_OBJ port(&model);
    port.set_current_port_width(8);
    ASSERT_NE(port.get_current_port_value(), nullptr);
    EXPECT_TRUE(port.get_current_port_value()->is_x());
    EXPECT_TRUE(port.get_max_port_value()->is_x());
    port.set_current_port_value("A5", QEL_RADIX_HEXADECIMAL);
    EXPECT_EQ(port.get_current_port_value_as_integer(), 0xA5u);
    EXPECT_EQ(port.get_current_port_value_as_string(QEL_RADIX_BINARY), "10100101");
    port.set_min_port_value(3);
    port.set_max_port_value("200", QEL_RADIX_UNSIGNED_DECIMAL);
    EXPECT_EQ(port.get_min_port_value_as_integer(), 3u);
    EXPECT_EQ(port.get_max_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL), "200");

    NUVO_UINTEGER seven(7, 8);
    port.set_current_port_value(seven);  // a NUVO value also makes both bounds unknown
    EXPECT_EQ(port.get_current_port_value_as_integer(), 7u);
    EXPECT_TRUE(port.get_min_port_value()->is_x());
    EXPECT_TRUE(port.get_max_port_value()->is_x());

    port.reset_current_port_width();
    EXPECT_EQ(port.get_current_port_width(), -1);
    EXPECT_EQ(port.get_current_port_value(), nullptr);
}

TEST(PortObject, CopiesOwnTheirValuesAndArrays) {
    KOVA_OBJ_INFO model = model_port();
    auto port = std::make_unique<KOVA_PORT_OBJ>(&model);
    port->set_current_port_width(4);
    port->set_current_port_value(9);
    port->set_port_value_array(array_of({1, 2, 3}, 4));

    KOVA_PORT_OBJ copy(*port);
    KOVA_PORT_OBJ assigned(&model);
    assigned = *port;
    port.reset();  // releasing the original must leave the copies intact

    for (const KOVA_PORT_OBJ* p : {&copy, &assigned}) {
        EXPECT_EQ(p->get_current_port_width(), 4);
        EXPECT_EQ(p->get_current_port_value_as_integer(), 9u);
        ASSERT_NE(p->get_port_value_array(), nullptr);
        EXPECT_EQ(p->get_port_value_array()[2]->uint(), 3u);
        EXPECT_EQ(p->get_port_value_array()[3], nullptr);
    }
    copy.set_port_value_array(copy.get_port_value_array());  // same array: kept, not released
    EXPECT_EQ(copy.get_port_value_array()[0]->uint(), 1u);
    copy.set_port_value_array(array_of({5}, 4));  // a new array releases the old one
    EXPECT_EQ(copy.get_port_value_array()[0]->uint(), 5u);
}
