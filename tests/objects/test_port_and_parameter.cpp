// Port and parameter copies: initial states, value objects tied to the
// width, accessors without a width, ownership of values and value arrays.
#include <gtest/gtest.h>

#include "host/qel_util.h"
#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"

namespace {

KOVA_OBJ_INFO model_port() { return KOVA_OBJ_INFO("p", KOVA_OBJ_INPUT_PORT); }

// A value array as set_port_value_array takes it: made with new[], null-terminated.
NUVO_UINTEGER** array_of(const std::vector<NUVO_UINTEGER>& values) {
    auto** array = new NUVO_UINTEGER*[values.size() + 1];
    for (std::size_t i = 0; i < values.size(); ++i) array[i] = new NUVO_UINTEGER(values[i]);
    array[values.size()] = nullptr;
    return array;
}

// Hands value to one slot of the port (0 current, 1 min, 2 max, 3 the first
// entry of a new value array) and answers what the slot holds then.
const NUVO_UINTEGER* store(KOVA_PORT_OBJ& port, int slot, const NUVO_UINTEGER& value) {
    switch (slot) {
        case 0: port.set_current_port_value(value); return port.get_current_port_value();
        case 1: port.set_min_port_value(value); return port.get_min_port_value();
        case 2: port.set_max_port_value(value); return port.get_max_port_value();
        default: port.set_port_value_array(array_of({value})); return port.get_port_value_array()[0];
    }
}

}  // namespace

// Fresh copies have no state; a parameter counts as used in USED only, a
// port in USED and CONSTANT. The states are set one after the other.
TEST(ParameterObject, UsageStatesAndDefaults) {
    KOVA_OBJ_INFO model("P", KOVA_OBJ_INTEGER_PARAMETER), port_model = model_port();
    model.set_default_value("8");
    KOVA_PARAMETER_OBJ parameter(&model);
    KOVA_PORT_OBJ port(&port_model);
    EXPECT_EQ(parameter.get_alt_usage_state(), KOVA_USAGE_NONE);
    EXPECT_EQ(parameter.get_alt_value(), "");
    EXPECT_EQ(parameter.get_actual_default_value(), "8");
    const struct { int state; bool parameter_used, port_used; } states[] = {
        {KOVA_USAGE_NONE, false, false}, {KOVA_USAGE_CONSTANT, false, true},
        {KOVA_USAGE_USED, true, true},   {KOVA_USAGE_UNUSED, false, false}};
    for (const auto& s : states) {
        if (s.state != KOVA_USAGE_NONE) {
            parameter.set_current_usage_state(s.state);
            port.set_current_usage_state(s.state);
        }
        EXPECT_EQ(parameter.get_current_usage_state(), s.state);
        EXPECT_EQ(parameter.is_parameter_used(), s.parameter_used) << s.state;
        EXPECT_EQ(port.is_port_used(), s.port_used) << s.state;
    }
    KOVA_OBJ_INFO list("S", KOVA_OBJ_STRING_PARAMETER);  // the entry at the default index
    list.set_default_value("A|B|C");
    list.default_index = 2;
    EXPECT_EQ(KOVA_PARAMETER_OBJ(&list).get_actual_default_value(), "C");
}

// Without a width a port has no values and takes none; a width makes all
// three unknown, and they load from text, integers and NUVO values.
TEST(PortObject, ValuesExistOnlyWithAWidthAndLoadInEveryForm) {
    KOVA_OBJ_INFO model = model_port();
    KOVA_PORT_OBJ port(&model);
    port.set_current_port_value("5", QEL_RADIX_UNSIGNED_DECIMAL);
    port.set_min_port_value(3);
    EXPECT_EQ(port.get_current_port_width(), -1);
    EXPECT_EQ(port.get_current_port_value() || port.get_min_port_value() || port.get_max_port_value(), false);
    EXPECT_EQ(port.get_current_port_value_as_integer(), 0xFFFFFFFFu);
    EXPECT_EQ(port.get_max_port_value_as_integer(), 0xFFFFFFFFu);
    EXPECT_EQ(port.get_current_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL), "");
    port.set_current_port_width(8);
    ASSERT_NE(port.get_current_port_value(), nullptr);
    EXPECT_TRUE(port.get_current_port_value()->is_x() && port.get_max_port_value()->is_x());
    port.set_current_port_value("A5", QEL_RADIX_HEXADECIMAL);
    EXPECT_EQ(port.get_current_port_value_as_integer(), 0xA5u);
    EXPECT_EQ(port.get_current_port_value_as_string(QEL_RADIX_BINARY), "10100101");
    port.set_min_port_value(3);
    port.set_max_port_value("200", QEL_RADIX_UNSIGNED_DECIMAL);
    EXPECT_EQ(port.get_min_port_value_as_integer(), 3u);
    EXPECT_EQ(port.get_max_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL), "200");
    port.set_current_port_value(NUVO_UINTEGER(7, 8));  // a NUVO value also makes both bounds unknown
    EXPECT_EQ(port.get_current_port_value_as_integer(), 7u);
    EXPECT_TRUE(port.get_min_port_value()->is_x() && port.get_max_port_value()->is_x());
    port.reset_current_port_width();
    EXPECT_EQ(port.get_current_port_width(), -1);
    EXPECT_EQ(port.get_current_port_value(), nullptr);
}

TEST(PortObject, CopiesOwnTheirValuesAndArrays) {
    KOVA_OBJ_INFO model = model_port();
    auto port = std::make_unique<KOVA_PORT_OBJ>(&model);
    port->set_current_port_width(4);
    port->set_current_port_value(9);
    port->set_port_value_array(array_of({{1, 4}, {2, 4}, {3, 4}}));
    KOVA_PORT_OBJ copy(*port), assigned(&model);
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
    copy.set_port_value_array(array_of({{5, 4}}));  // a new array releases the old one
    EXPECT_EQ(copy.get_port_value_array()[0]->uint(), 5u);
}

// A port's values keep the port's width whatever width the value handed in
// has, so the integer and the text form always agree.
TEST(PortObject, ValuesHandedInTakeThePortWidth) {
    NUVO_UINTEGER unknown(0, 16), several_words(0, 78);
    unknown.force_x();
    several_words.set_value_from_bin_string("1" + std::string(60, '0') + "10000000011111111");
    const struct { const char* what; NUVO_UINTEGER value; std::string stored; } cases[] = {
        {"wider: low bits kept", NUVO_UINTEGER(300, 64), "8 00101100 44"},
        {"wider by several words", several_words, "8 11111111 255"},
        {"narrower: zeros above", NUVO_UINTEGER(5, 3), "8 00000101 5"},
        {"unknown", unknown, "8 XXXXXXXX 4294967295"},
        {"equal width", NUVO_UINTEGER(200, 8), "8 11001000 200"},
        {"no bits", NUVO_UINTEGER(0, 0), "8 00000000 0"},
    };
    // Width, bits and integer of a stored value.
    auto text_of = [](const NUVO_UINTEGER* v) {
        return v ? std::to_string(v->width()) + " " + v->as_bin_string() + " " + std::to_string(v->uint()) : "null";
    };
    KOVA_OBJ_INFO model = model_port();
    for (int slot = 0; slot < 4; ++slot) {
        for (const auto& c : cases) {
            KOVA_PORT_OBJ port(&model);
            port.set_current_port_width(8);
            EXPECT_EQ(text_of(store(port, slot, c.value)), c.stored) << "slot " << slot << ": " << c.what;
        }
    }
    // A new width carries the array entries over to it, and a port without
    // a width takes no value.
    KOVA_PORT_OBJ port(&model);
    port.set_current_port_width(8);
    store(port, 3, NUVO_UINTEGER(0xA5, 8));
    port.set_current_port_width(4);
    EXPECT_EQ(port.get_port_value_array()[0]->as_bin_string(), std::string("0101"));
    port.reset_current_port_width();
    port.set_current_port_value(NUVO_UINTEGER(1, 8));
    EXPECT_EQ(port.get_current_port_value(), nullptr);
}
