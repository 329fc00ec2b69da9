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

namespace {

NUVO_UINTEGER unknown(int width) {
    NUVO_UINTEGER value(0, width);
    value.force_x();
    return value;
}

NUVO_UINTEGER from_bits(const std::string& bits) {
    NUVO_UINTEGER value(0, static_cast<int>(bits.size()));
    value.set_value_from_bin_string(bits);
    return value;
}

// Where a value handed to an 8-bit port ends up, and how it is read back.
struct VALUE_SLOT {
    const char* name;
    void (*store)(KOVA_PORT_OBJ&, const NUVO_UINTEGER&);
    const NUVO_UINTEGER* (*read)(const KOVA_PORT_OBJ&);
};

const VALUE_SLOT value_slots[] = {
    {"current", [](KOVA_PORT_OBJ& p, const NUVO_UINTEGER& v) { p.set_current_port_value(v); },
     [](const KOVA_PORT_OBJ& p) -> const NUVO_UINTEGER* { return p.get_current_port_value(); }},
    {"min", [](KOVA_PORT_OBJ& p, const NUVO_UINTEGER& v) { p.set_min_port_value(v); },
     [](const KOVA_PORT_OBJ& p) -> const NUVO_UINTEGER* { return p.get_min_port_value(); }},
    {"max", [](KOVA_PORT_OBJ& p, const NUVO_UINTEGER& v) { p.set_max_port_value(v); },
     [](const KOVA_PORT_OBJ& p) -> const NUVO_UINTEGER* { return p.get_max_port_value(); }},
    {"array entry",
     [](KOVA_PORT_OBJ& p, const NUVO_UINTEGER& v) {
         auto** array = new NUVO_UINTEGER*[2];
         array[0] = new NUVO_UINTEGER(v);
         array[1] = nullptr;
         p.set_port_value_array(array);
     },
     [](const KOVA_PORT_OBJ& p) -> const NUVO_UINTEGER* { return p.get_port_value_array()[0]; }},
};

}  // namespace

// A port's values keep the port's width whatever width the value handed in
// has, so the integer and the text form always agree.
TEST(PortObject, ValuesHandedInTakeThePortWidth) {
    const struct {
        const char* what;
        NUVO_UINTEGER value;
        const char* bits;
        uint32_t integer;
    } cases[] = {
        {"wider: low bits kept", NUVO_UINTEGER(300, 64), "00101100", 44},
        {"wider by several words", from_bits("1" + std::string(60, '0') + "10000000011111111"), "11111111", 255},
        {"narrower: zeros above", NUVO_UINTEGER(5, 3), "00000101", 5},
        {"unknown", unknown(16), "XXXXXXXX", 0xFFFFFFFFu},
        {"equal width", NUVO_UINTEGER(200, 8), "11001000", 200},
        {"no bits", NUVO_UINTEGER(0, 0), "00000000", 0},
    };
    KOVA_OBJ_INFO model = model_port();
    for (const VALUE_SLOT& slot : value_slots) {
        for (const auto& c : cases) {
            KOVA_PORT_OBJ port(&model);
            port.set_current_port_width(8);
            slot.store(port, c.value);
            const NUVO_UINTEGER* stored = slot.read(port);
            ASSERT_NE(stored, nullptr) << slot.name << ": " << c.what;
            EXPECT_EQ(stored->width(), 8) << slot.name << ": " << c.what;
            EXPECT_EQ(stored->as_bin_string(), std::string(c.bits)) << slot.name << ": " << c.what;
            EXPECT_EQ(stored->uint(), c.integer) << slot.name << ": " << c.what;
        }
    }

    // A new width carries the array entries over to it, and a port without
    // a width takes no value.
    KOVA_PORT_OBJ port(&model);
    port.set_current_port_width(8);
    value_slots[3].store(port, NUVO_UINTEGER(0xA5, 8));
    port.set_current_port_width(4);
    EXPECT_EQ(port.get_port_value_array()[0]->as_bin_string(), std::string("0101"));
    port.reset_current_port_width();
    port.set_current_port_value(NUVO_UINTEGER(1, 8));
    EXPECT_EQ(port.get_current_port_value(), nullptr);
}
