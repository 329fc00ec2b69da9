// Which ports and parameters expressions and objects depend on, the texts
// that list them, and the copying and merging of name maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "validator/dependency_query.h"

namespace {

std::vector<std::string> keys_of(const KOVA_NAME_MAP& names) {
    std::vector<std::string> keys;
    for (const KOVA_NAME_MAP::entry& entry : names) keys.push_back(entry.first);
    return keys;
}

KOVA_NAME_MAP name_map(const std::vector<std::pair<std::string, std::string>>& entries) {
    KOVA_NAME_MAP map;
    for (const auto& entry : entries) map.insert(entry.first, entry.second);
    return map;
}

void add_rule(KOVA_OBJ_INFO* object, const char* condition, const char* value, const char* alt_value, int type) {
    const KOVA_RULE_ELEMENT rule(value, condition, alt_value, type);
    object->add_rule(&rule);
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
        v.add_object("M", KOVA_OBJ_FN_MACRO, "WIDTH + x")->set_arguments("x");
        v.add_object("SELF", KOVA_OBJ_FN_MACRO, "SELF + clk");
        v.add_object("A", KOVA_OBJ_FN_MACRO, "B + WIDTH");
        v.add_object("B", KOVA_OBJ_FN_MACRO, "a + STYLE");
        v.read_parameter_and_port_list_from_obj_list();
        v.set_all_ports_and_parameters_to_unused_state();
    }

    VALIDATOR_PROBE v;
};

TEST_F(DependencyQuery, ExpressionYieldsNamedPortsAndParametersOnceEach) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
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
    KOVA_OBJ_INFO* target = v.get_kova_obj("STYLE");
    add_rule(target, "clk && WIDTH gt 2", "style + M(d)", "", KOVA_RULE_CONDITION);
    add_rule(target, "MODE", "", "STYLE", KOVA_RULE_LEGAL_VALUES);
    add_rule(target, "d", "d", "d", KOVA_RULE_PORT_VALUE);
    add_rule(target, "", "clk", "d", KOVA_RULE_PORT_VALUE_LIST);

    const std::vector<std::string> expected = {"clk", "WIDTH", "d"};
    EXPECT_EQ(keys_of(v.get_ports_and_parameters_impacting_obj("STYLE")), expected);
    EXPECT_EQ(keys_of(v.get_ports_and_parameters_impacting_obj("style")), expected);
    EXPECT_TRUE(v.get_ports_and_parameters_impacting_obj("nothing").empty());
}

TEST_F(DependencyQuery, TextShowsPortStatesAndParameterValuesOrStates) {
    v.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    v.set_integer_parameter_value("WIDTH", 8);
    v.set_port_usage_state("clk", KOVA_USAGE_USED);
    v.set_port_usage_state("d", KOVA_USAGE_CONSTANT);
    v.set_string_parameter_value("STYLE", "ABC");
    const char* const cases[][2] = {
        {"WIDTH == 8 && clk", "WIDTH(8), clk(USED)"}, {"d + STYLE", "d(CONSTANT), STYLE(UNUSED)"}, {"H + 1", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(v.get_dependency_error_message_for_condition(c[0]), c[1]) << c[0];

    add_rule(v.get_kova_obj("STYLE"), "WIDTH > 1", "", "", KOVA_RULE_CONDITION);
    EXPECT_EQ(v.get_dependency_error_message_for_obj(v.get_kova_obj("STYLE")), "WIDTH(8)");
    EXPECT_EQ(v.get_dependency_error_message_for_obj(v.get_kova_obj("H")), "");
    EXPECT_EQ(v.get_dependency_error_message_for_obj(nullptr), "");
}

TEST_F(DependencyQuery, NameWithoutItsValidatorCopyReadsAsTheNameAlone) {
    // Lists out of step with the model: a copy-less parameter kind held as
    // a port, and a port held as a parameter.
    v.m_port_list.add_entry("MODE", std::make_unique<KOVA_PORT_OBJ>(v.get_kova_obj("MODE")));
    v.add_object("q", KOVA_OBJ_INOUT_PORT);
    v.m_parameter_list.add_entry("q", std::make_unique<KOVA_PARAMETER_OBJ>(v.get_kova_obj("q")));
    EXPECT_EQ(v.get_dependency_error_message_for_condition("MODE + q + clk"), "MODE, q, clk(UNUSED)");
}

TEST(NameMaps, CopyOverwritesWhileMergeKeepsAndExcludes) {
    KOVA_NAME_MAP copied = name_map({{"a", "old"}, {"z", "z"}});
    copy_string_map(name_map({{"A", "new"}, {"b", "b"}}), copied);
    EXPECT_EQ(*copied.find("a"), "new");
    EXPECT_EQ(keys_of(copied), (std::vector<std::string>{"a", "z", "b"}));

    KOVA_NAME_MAP merged = name_map({{"a", "old"}});
    merge_string_map_excluding(name_map({{"A", "A"}, {"y", "y"}, {"c", "other"}, {"X", "X"}}), merged, "x|Y");
    EXPECT_EQ(*merged.find("a"), "old");
    EXPECT_EQ(*merged.find("c"), "c");
    EXPECT_EQ(keys_of(merged), (std::vector<std::string>{"a", "c"}));
}

}  // namespace
