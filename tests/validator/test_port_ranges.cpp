// Port widths, port-width parameters, and the legal values that port value
// rules give a port by narrowing its bounds or giving it a value list.
#include <gtest/gtest.h>

#include "host/qel_util.h"
#include "support/test_support.h"

namespace {

class RANGE_PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::set_max_port_value;
    using KOVA_RULES_VALIDATOR::set_min_port_value;
};

struct RULE { int type; std::string condition, value, alt; };

// A validator with the integer parameter W (default 8) and the port p of
// the given width expression and rules.
void build(RANGE_PROBE& v, const std::string& width, const std::vector<RULE>& rules = {}) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    v.add_object("p", KOVA_OBJ_INPUT_PORT)->set_port_width(width);
    for (const RULE& r : rules) v.add_rule("p", 0, r.condition, r.value, r.alt, r.type);
    v.initialize_validator();
}

std::string decimal(const NUVO_UINTEGER* value, int width) {
    std::string text;
    qel_radix_conversion(value->as_bin_string(), text, QEL_RADIX_BINARY, QEL_RADIX_UNSIGNED_DECIMAL, width);
    return text;
}

// "lower upper" and, when the port holds a value list, " [v1|v2...]".
std::string legal_values(const KOVA_PORT_OBJ* port) {
    const int width = port->get_current_port_width();
    std::string text = decimal(port->get_min_port_value(), width) + " " + decimal(port->get_max_port_value(), width);
    if (NUVO_UINTEGER** array = port->get_port_value_array()) {
        text += " [";
        for (NUVO_UINTEGER** entry = array; *entry; ++entry) text += (entry == array ? "" : "|") + decimal(*entry, width);
        text += "]";
    }
    return text;
}

const int SINGLE = KOVA_RULE_PORT_VALUE;
const int LIST = KOVA_RULE_PORT_VALUE_LIST;

}  // namespace

// The width comes from its expression, clamped to 0 and the largest
// integer, and the three values are unknown at that width, held in at most
// NUVO_MAX_WIDTH bits; a width already set is kept.
TEST(PortRanges, WidthsComeFromTheirExpressions) {
    constexpr int most_bits = NUVO_UINTEGER::NUVO_MAX_WIDTH, largest = 2147483647;
    const struct { const char* expression; int width, bits; } cases[] = {
        {"8", 8, 8}, {"W + 2", 10, 10}, {"ceil_log(W)", 3, 3}, {"abc", 0, 0}, {"", 0, 0}, {"0 - 3", 0, 0},
        {"W * 12500", 100000, 100000}, {"2147483647", largest, most_bits}, {"99999999999", largest, most_bits}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        RANGE_PROBE v;
        build(v, c.expression);
        v.evaluate_port_widths();
        const KOVA_PORT_OBJ* port = v.get_port_object("p");
        ASSERT_EQ(port->get_current_port_width(), c.width);
        for (const NUVO_UINTEGER* value :
             {port->get_current_port_value(), port->get_min_port_value(), port->get_max_port_value()}) {
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(std::to_string(value->width()) + (value->is_x() ? " X" : ""), std::to_string(c.bits) + " X");
        }
        EXPECT_EQ(v.get_current_port_value_as_string("p", QEL_RADIX_BINARY), std::string(c.bits, 'X'));
        if (c.width != largest) continue;
        v.set_current_port_value("p", "4660", QEL_RADIX_SIGNED_DECIMAL);
        EXPECT_EQ(v.get_current_port_value_as_string("p", QEL_RADIX_HEXADECIMAL) + " " +
                      std::to_string(v.get_current_port_value_as_integer("p")),
                  std::string(most_bits / 4 - 4, '0') + "1234 4660");
    }
    RANGE_PROBE v;
    build(v, "W");
    v.evaluate_port_widths();
    const NUVO_UINTEGER* current = v.get_port_object("p")->get_current_port_value();
    v.set_parameter_value("W", "4");
    v.evaluate_port_widths();
    EXPECT_EQ(v.get_port_object("p")->get_current_port_width(), 8);
    EXPECT_EQ(v.get_port_object("p")->get_current_port_value(), current);
}

TEST(PortRanges, PortWidthParametersAreWholeTokensOfIntegerParameters) {
    RANGE_PROBE v;
    v.add_object("S", KOVA_OBJ_STRING_PARAMETER);
    for (const char* name : {"WID", "ROWS", "FREE"}) v.add_object(name, KOVA_OBJ_INTEGER_PARAMETER);
    v.add_object("q", KOVA_OBJ_OUTPUT_PORT)->set_port_width("WIDE+S");
    KOVA_OBJ_INFO* two_d = v.add_object("r", KOVA_OBJ_OUTPUT_PORT);
    two_d->set_port_width("(2*w)");
    two_d->set_port_width2d("ROWS-1");
    build(v, "1");
    const std::pair<const char*, bool> cases[] = {{"W", true},     {"w", true},      {"S", false},
                                                  {"WID", false},  {"ROWS", true},   {"FREE", false},
                                                  {"nosuch", false}, {"", false}};
    for (const auto& [name, expected] : cases) EXPECT_EQ(v.is_port_width_parameter(name), expected) << name;
}

TEST(PortRanges, RulesNarrowTheBoundsOrGiveAList) {
    const struct { std::vector<RULE> rules; const char* expected; } cases[] = {
        {{{SINGLE, "", "4", ""}, {SINGLE, "", "4", ""}}, "4 4"},
        {{{SINGLE, "", "4", ""}, {SINGLE, "", "6", ""}, {LIST, "", "1|2", ""}}, "6 4"},  // conflict stops
        {{{SINGLE, "", "6", ""}, {SINGLE, "", "4", ""}}, "6 6"}, {{{LIST, "", "15", "0"}}, "0 15"},
        {{{LIST, "", "15", "0"}, {SINGLE, "", "20", ""}}, "20 15"},
        {{{LIST, "", "15", "0"}, {SINGLE, "", "9", ""}}, "9 9"},
        {{{LIST, "", "W", "0"}, {LIST, "", "15", "2"}}, "2 8"}, {{{LIST, "", "1|2|3", ""}}, "X X [1|2|3]"},
        {{{LIST, "", "1||3", ""}}, "X X [1]"}, {{{LIST, "", "1|x|W * 2", ""}}, "X X [1|X|16]"},
        {{{LIST, "", "1|2", ""}, {LIST, "", "5", ""}}, "X X [5]"}, {{{SINGLE, "W == 9", "4", ""}}, "X X"},
        {{{SINGLE, "W == 9", "4", "W - 1"}}, "7 7"}, {{{LIST, "W == 9", "15", "0"}}, "X X"},
        {{{SINGLE, "W == 8", "5", "7"}}, "5 5"},
        {{{SINGLE, "W + 1", "5", "7"}}, "X X"},  // not boolean: skipped
        {{{SINGLE, "", "abc", ""}, {SINGLE, "", "5", ""}}, "5 5"},
        {{{KOVA_RULE_CONDITION, "", "5", ""}, {KOVA_RULE_LEGAL_VALUES, "", "3", "1"}}, "X X"},
    };
    for (const auto& c : cases) {
        RANGE_PROBE v;
        build(v, "8", c.rules);
        v.evaluate_port_widths();
        const KOVA_PORT_OBJ* port = v.determine_port_value_validity("P");
        ASSERT_EQ(port, v.get_port_object("p"));
        EXPECT_EQ(legal_values(port), c.expected) << c.rules.front().value << " ...";
    }
}

// A port without a width is given its width first (W is 4 then): before
// that, or for no port, neither bound is set; bounds persist until the
// port values are reset; an unknown port gives null.
TEST(PortRanges, WidthFirstAndBoundsPersistUntilThePortValuesAreReset) {
    RANGE_PROBE v;
    build(v, "W", {{SINGLE, "", "W", ""}});
    EXPECT_FALSE(v.set_min_port_value(v.get_port_object("p"), NUVO_UINTEGER(3, 8)));
    EXPECT_FALSE(v.set_max_port_value(nullptr, NUVO_UINTEGER(3, 8)));
    EXPECT_EQ(v.determine_port_value_validity("nosuch"), nullptr);
    v.set_parameter_value("W", "4");
    const KOVA_PORT_OBJ* port = v.determine_port_value_validity("p");
    EXPECT_EQ(std::to_string(port->get_current_port_width()) + ": " + legal_values(port), "4: 4 4");
    v.set_parameter_value("W", "6");
    EXPECT_EQ(legal_values(v.determine_port_value_validity("p")), "6 4");
    v.get_port_object("p")->reset_port_values();
    EXPECT_EQ(legal_values(v.determine_port_value_validity("p")), "6 6");
}
