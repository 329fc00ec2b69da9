// Which ports and parameters expressions, objects and macros depend on,
// the texts that list them, the copying and merging of name maps, and the
// element delimiters that split the names of texts written without blanks.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "validator/dependency_query.h"

namespace {

using NAMES = std::vector<std::string>;

KOVA_NAME_MAP name_map(const std::vector<std::pair<std::string, std::string>>& entries) {
    KOVA_NAME_MAP map;
    for (const auto& entry : entries) map.insert(entry.first, entry.second);
    return map;
}

// Parameters, ports, a hidden parameter and macros, some of which name
// themselves directly or through each other, with the validator's copies.
class DependencyQuery : public ::testing::Test {
protected:
    void SetUp() override {
        v.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER);
        v.add_object("STYLE", KOVA_OBJ_STRING_PARAMETER);
        v.add_object("MODE", KOVA_OBJ_OTHER_PARAMETER);
        v.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH + 1");
        v.add_object("clk", KOVA_OBJ_INPUT_PORT);
        v.add_object("d", KOVA_OBJ_OUTPUT_PORT);
        v.add_macro("M", "WIDTH + x", "x");
        v.add_macro("SELF", "SELF + clk");
        v.add_macro("A", "B + WIDTH");
        v.add_macro("B", "a + STYLE");
        v.read_parameter_and_port_list_from_obj_list();
        v.set_all_ports_and_parameters_to_unused_state();
    }

    VALIDATOR_PROBE v;
};

}  // namespace

TEST_F(DependencyQuery, ExpressionYieldsNamedPortsAndParametersOnceEach) {
    const std::pair<const char*, NAMES> cases[] = {
        {"", {}}, {"1 + 2 * 3", {}}, {"width + WIDTH", {"width"}}, {"clk && WIDTH == 8", {"clk", "WIDTH"}},
        {"M(d)", {"WIDTH", "d"}},   // the macro body, then its argument
        {"H + MODE", {}},           // hidden and copy-less parameters add nothing
        {"str(WIDTH)", {"WIDTH"}},  // the marker word is a plain token here
        {"clk>1", {}},              // one token naming nothing
        {"SELF", {"clk"}},          // a body naming its own macro
        {"A", {"STYLE", "WIDTH"}},  // two macros naming each other
        {"B + A + d", {"WIDTH", "STYLE", "d"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_used_in_expression(c.first)), c.second) << c.first;
}

TEST_F(DependencyQuery, ObjectYieldsNamesOfItsRulesButItselfAndPortValueRules) {
    v.add_rule("STYLE", 0, "clk && WIDTH gt 2", "style + M(d)", "", KOVA_RULE_CONDITION);
    v.add_rule("STYLE", 0, "MODE", "", "STYLE", KOVA_RULE_LEGAL_VALUES);
    v.add_rule("STYLE", 0, "d", "d", "d", KOVA_RULE_PORT_VALUE);
    v.add_rule("STYLE", 0, "", "clk", "d", KOVA_RULE_PORT_VALUE_LIST);
    for (const char* name : {"STYLE", "style"})
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_impacting_obj(name)), (NAMES{"clk", "WIDTH", "d"})) << name;
    EXPECT_TRUE(v.get_ports_and_parameters_impacting_obj("nothing").empty());
}

// A name without its validator copy reads as the name alone: the lists are
// put out of step with the model, a copy-less parameter kind held as a
// port and a port held as a parameter.
TEST_F(DependencyQuery, TextShowsPortStatesAndParameterValuesOrStates) {
    v.m_port_list.add_entry("MODE", std::make_unique<KOVA_PORT_OBJ>(v.get_kova_obj("MODE")));
    v.add_object("q", KOVA_OBJ_INOUT_PORT);
    v.m_parameter_list.add_entry("q", std::make_unique<KOVA_PARAMETER_OBJ>(v.get_kova_obj("q")));
    v.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    v.set_integer_parameter_value("WIDTH", 8);
    v.set_port_usage_state("clk", KOVA_USAGE_USED);
    v.set_port_usage_state("d", KOVA_USAGE_CONSTANT);
    v.set_string_parameter_value("STYLE", "ABC");
    const char* const cases[][2] = {
        {"WIDTH == 8 && clk", "WIDTH(8), clk(USED)"}, {"d + STYLE", "d(CONSTANT), STYLE(UNUSED)"}, {"H + 1", ""},
        {"MODE + q + clk", "MODE, q, clk(USED)"},
    };
    for (const auto& c : cases) EXPECT_EQ(v.get_dependency_error_message_for_condition(c[0]), c[1]) << c[0];

    v.add_rule("STYLE", 0, "WIDTH > 1");
    EXPECT_EQ(v.get_dependency_error_message_for_obj(v.get_kova_obj("STYLE")) + "|" +
                  v.get_dependency_error_message_for_obj(v.get_kova_obj("H")) + "|" +
                  v.get_dependency_error_message_for_obj(nullptr), "WIDTH(8)||");
}

TEST(MacroDependencies, ParametersAreListedThroughOtherMacros) {
    VALIDATOR_PROBE v;
    EXPECT_TRUE(v.create_macro_dependency_map().empty());
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER);
    v.add_object("S", KOVA_OBJ_STRING_PARAMETER);
    v.add_object("inner", KOVA_OBJ_FN_MACRO, "", "W + 1");
    v.add_rule("inner", KOVA_OBJ_FN_MACRO, "", "W");
    v.add_rule("outer", KOVA_OBJ_FN_MACRO, "inner gt 1 AND S == x");
    v.initialize_validator();
    KOVA_MACRO_DEPENDENCY_MAP map = v.create_macro_dependency_map();
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map["INNER"], (KOVA_ORDERED_NAME_MAP{{"W", "W"}}));
    EXPECT_EQ(map["outer"], (KOVA_ORDERED_NAME_MAP{{"S", "S"}, {"W", "W"}}));
}

TEST(NameMaps, CopyOverwritesWhileMergeKeepsAndExcludes) {
    KOVA_NAME_MAP copied = name_map({{"a", "old"}, {"z", "z"}}), merged = name_map({{"a", "old"}});
    copy_string_map(name_map({{"A", "new"}, {"b", "b"}}), copied);
    merge_string_map_excluding(name_map({{"A", "A"}, {"y", "y"}, {"c", "other"}, {"X", "X"}}), merged, "x|Y");
    EXPECT_EQ(*copied.find("a") + " " + *merged.find("a") + " " + *merged.find("c"), "new old c");
    EXPECT_EQ(keys_of(copied), (NAMES{"a", "z", "b"}));
    EXPECT_EQ(keys_of(merged), (NAMES{"a", "c"}));
}

// Every delimiter (written out here, not taken from the library) splits A
// and B written without blanks, for the query and for the levels: A is at
// level 1 (its rule names X), so a rule naming A and B sits at level 2.
TEST(ElementDelimiters, EachDelimiterSplitsNamesWrittenWithoutBlanks) {
    for (const char delimiter : std::string(" (),|!\t\n+-&=/%*")) {
        const std::string forward = std::string("A") + delimiter + "B", backward = std::string("B") + delimiter + "A";
        VALIDATOR_PROBE v;
        v.add_object("X", KOVA_OBJ_INTEGER_PARAMETER);
        v.add_rule("A", KOVA_OBJ_INTEGER_PARAMETER, "X == 1");
        v.add_object("B", KOVA_OBJ_INTEGER_PARAMETER);
        v.add_rule("FORWARD", KOVA_OBJ_INTEGER_PARAMETER, forward);
        v.add_rule("BACKWARD", KOVA_OBJ_INTEGER_PARAMETER, backward);
        v.initialize_validator();
        SCOPED_TRACE("delimiter " + std::to_string(static_cast<unsigned char>(delimiter)));
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_used_in_expression(forward)), (NAMES{"A", "B"}));
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_used_in_expression(backward)), (NAMES{"B", "A"}));
        EXPECT_EQ(v.get_kova_obj("FORWARD")->evaluation_position * 10 + v.get_kova_obj("BACKWARD")->evaluation_position,
                  22);
    }
}
