// The validation run over models built in code: rule types, check and
// assignment rules, level order, macro instances and function rules.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

class Run : public ::testing::Test {
protected:
    KOVA_OBJ_INFO* rule(const std::string& name, int type, const std::string& condition, const std::string& value,
                        const std::string& alt, int rule_type = KOVA_RULE_CONDITION) {
        KOVA_OBJ_INFO* object = v.get_kova_obj(name) ? v.get_kova_obj(name) : v.add_object(name, type);
        KOVA_RULE_ELEMENT r(value, condition, alt, rule_type);
        object->add_rule(&r);
        return object;
    }
    void fn_rule(const std::string& condition, int type) { v.add_fn_rule(KOVA_RULE_ELEMENT("", condition, "", type)); }
    const std::string& alt(const char* name) { return v.get_parameter_object(name)->m_alt_value; }
    std::vector<std::string> messages() { return v.get_error_messages(); }
    VALIDATOR_PROBE v;
};

}  // namespace

TEST_F(Run, EmptyModelOnlyEvaluatesFunctionRules) {
    EXPECT_TRUE(v.run_validator());
    fn_rule("1 == 1", KOVA_RULE_FN_SET);
    EXPECT_FALSE(v.run_validator());
    EXPECT_TRUE(messages().empty());
}

TEST_F(Run, CheckRulesFailOnFalseAndReportNonBooleans) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    rule("A", KOVA_OBJ_INTEGER_PARAMETER, "", "", "");          // empty condition holds
    rule("B", KOVA_OBJ_INTEGER_PARAMETER, "W gt 8", "", "");    // false: fails
    rule("C", KOVA_OBJ_INTEGER_PARAMETER, "FALSE", "", "");     // FALSE counts as false
    rule("D", KOVA_OBJ_INTEGER_PARAMETER, "W - 7", "", "");     // 1: not boolean, no failure
    v.initialize_validator();
    v.set_parameter_usage_state("W", KOVA_USAGE_USED);
    v.set_parameter_value("W", "8");
    EXPECT_FALSE(v.run_validator());
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Ports and parameters  should satisfy the condition FALSE",  // level 0 first
                              "Ports and parameters W(8) should satisfy the condition W gt 8",
                              "Condition W - 7 of object D with settings W(8) did not evaluate to be a boolean "
                              "expression, but evaluates to 1",
                          }));
    EXPECT_TRUE(v.run_validator_on_element("A"));
    EXPECT_TRUE(v.run_validator_on_element("nosuch"));
    EXPECT_TRUE(v.run_validator_on_element("D"));
}

TEST_F(Run, LegalValueListsRangesAndAlternates) {
    rule("L", KOVA_OBJ_INTEGER_PARAMETER, "", "1|''|3", "", KOVA_RULE_LEGAL_VALUES);
    rule("R", KOVA_OBJ_INTEGER_PARAMETER, "", "15", "0", KOVA_RULE_LEGAL_VALUES);
    rule("F2", KOVA_OBJ_INTEGER_PARAMETER, "1 == 2", "5", "7", KOVA_RULE_CONDITION);
    rule("F1", KOVA_OBJ_INTEGER_PARAMETER, "1 == 2", "5", "7", KOVA_RULE_LEGAL_VALUES);
    rule("T", KOVA_OBJ_INTEGER_PARAMETER, "", "2", "", KOVA_RULE_CONDITION);
    rule("T", KOVA_OBJ_INTEGER_PARAMETER, "", "3 + 1", "", KOVA_RULE_CONDITION);  // the last rule wins
    rule("N", KOVA_OBJ_INTEGER_PARAMETER, "2 + 2", "9", "", KOVA_RULE_CONDITION);
    v.initialize_validator();
    for (const char* name : {"L", "R", "F2", "F1", "T", "N"}) v.set_parameter_usage_state(name, KOVA_USAGE_USED);
    EXPECT_TRUE(v.run_validator());
    EXPECT_EQ(alt("L"), "1|3");
    EXPECT_EQ(alt("R"), "0-15");
    EXPECT_EQ(alt("F2"), "7");
    EXPECT_EQ(alt("F1"), "");
    EXPECT_EQ(alt("T"), "4");
    EXPECT_EQ(alt("N"), "");
    EXPECT_EQ(messages(), std::vector<std::string>{"Condition 2 + 2 of object N with values  did not evaluate to be a "
                                                   "boolean expression, but evaluates to 4"});
}

TEST_F(Run, ConstantRulesCountOnlyForConstantInputPorts) {
    rule("in_c", KOVA_OBJ_INPUT_PORT, "1 == 1", "CONSTANT", "", KOVA_RULE_CONSTANT_LEGAL_VALUES)->default_usage_state =
        KOVA_USAGE_CONSTANT;
    rule("in_u", KOVA_OBJ_INPUT_PORT, "1 == 1", "CONSTANT", "", KOVA_RULE_CONSTANT_LEGAL_VALUES);
    rule("out_c", KOVA_OBJ_OUTPUT_PORT, "1 == 1", "CONSTANT", "", KOVA_RULE_CONSTANT_LEGAL_VALUES)->usage_state =
        KOVA_USAGE_CONSTANT;
    rule("always", KOVA_OBJ_OUTPUT_PORT, "", "CONSTANT", "", KOVA_RULE_CONSTANT_LEGAL_VALUES);
    v.initialize_validator();
    for (const char* name : {"in_c", "in_u", "out_c", "always"}) v.set_port_usage_state(name, KOVA_USAGE_CONSTANT);
    EXPECT_TRUE(v.run_validator());
    EXPECT_EQ(v.get_port_object("in_c")->m_alt_usage_state, KOVA_USAGE_CONSTANT);
    EXPECT_EQ(v.get_port_object("in_u")->m_alt_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(v.get_port_object("out_c")->m_alt_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(v.get_port_object("always")->m_alt_usage_state, KOVA_USAGE_CONSTANT);
}

TEST_F(Run, CommandConditionsAskTheCommandList) {
    rule("P", KOVA_OBJ_INTEGER_PARAMETER, "gen_fast", "1", "2", KOVA_RULE_CMD_CONDITION);
    v.initialize_validator();
    v.run_validator();
    EXPECT_EQ(alt("P"), "2");
    v.add_cmd_to_list("GEN_FAST");
    v.run_validator();
    EXPECT_EQ(alt("P"), "1");
}

TEST_F(Run, HiddenParametersAndMacroInstancesAreEvaluatedInLevelOrder) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    v.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "W * 2");
    v.add_object("twice", KOVA_OBJ_FN_MACRO, "x * 2")->set_arguments("x");
    rule("P", KOVA_OBJ_INTEGER_PARAMETER, "", "twice(H) + H", "");
    v.initialize_validator();
    v.set_parameter_usage_state("P", KOVA_USAGE_USED);
    EXPECT_TRUE(v.run_validator());
    EXPECT_EQ(v.get_kova_obj("H")->get_current_value(), "16");
    EXPECT_EQ(static_cast<KOVA_FN_MACRO*>(v.m_fn_macro_list.find_entry("twice(h)"))->get_evaluated_value(), "32");
    EXPECT_EQ(alt("P"), "48");
}

TEST_F(Run, InstancesAboveEveryObjectStillGetTheirValue) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    v.add_object("big", KOVA_OBJ_FN_MACRO, "x gt 4")->set_arguments("x");
    fn_rule("big(W)", KOVA_RULE_FN_SET);  // the only call: its instance lies above W's level
    v.initialize_validator();
    auto* instance = static_cast<KOVA_FN_MACRO*>(v.m_fn_macro_list.find_entry("big(w)"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->get_dependency_position(), 1);
    EXPECT_FALSE(v.run_validator());  // the function rule sees the instance's value
    EXPECT_EQ(instance->get_evaluated_value(), "true");
}

TEST_F(Run, FunctionRuleOrderDecides) {
    fn_rule("1 == 1", KOVA_RULE_FN_SET);
    fn_rule("1 == 2", KOVA_RULE_FN_CLEAR);
    EXPECT_TRUE(v.run_validator());
    VALIDATOR_PROBE other;
    other.add_fn_rule(KOVA_RULE_ELEMENT("", "1 == 2", "", KOVA_RULE_FN_CLEAR));
    other.add_fn_rule(KOVA_RULE_ELEMENT("", "1 == 1", "", KOVA_RULE_FN_SET));
    other.add_fn_rule(KOVA_RULE_ELEMENT("", "", "", KOVA_RULE_FN_CLEAR));  // empty condition: skipped
    EXPECT_FALSE(other.run_validator());
}

TEST_F(Run, UnreachedPositionsAreReportedOnce) {
    v.add_object("A", KOVA_OBJ_INTEGER_PARAMETER)->evaluation_position = 0;
    v.add_object("B", KOVA_OBJ_INTEGER_PARAMETER)->evaluation_position = 1;
    rule("C", KOVA_OBJ_INTEGER_PARAMETER, "1 == 2", "", "")->evaluation_position = 5;
    EXPECT_TRUE(v.run_validator());  // C's failing rule is never reached
    EXPECT_EQ(messages(), std::vector<std::string>{"Some objects dont have the correct settings to be validated"});

    VALIDATOR_PROBE raised;
    raised.add_object("A", KOVA_OBJ_INTEGER_PARAMETER)->evaluation_position = 0;
    KOVA_OBJ_INFO* last = raised.add_object("B", KOVA_OBJ_INTEGER_PARAMETER);
    last->evaluation_position = 2;  // a level as high as the object count is still reached
    KOVA_RULE_ELEMENT failing("", "1 == 2", "", KOVA_RULE_CONDITION);
    last->add_rule(&failing);
    EXPECT_FALSE(raised.run_validator());
    EXPECT_EQ(raised.get_error_messages().size(), 1u);
}

// A chain written deepest first, through macro instances: every level
// below P's is brought up to date in order, nothing at P's level or above.
TEST_F(Run, AssociatedElementsBringEarlierDerivedValuesUpToDate) {
    rule("P", KOVA_OBJ_INTEGER_PARAMETER, "H3 gt 1", "", "");
    v.add_object("H4", KOVA_OBJ_HIDDEN_PARAMETER, "H3 + 1");  // P's level
    v.add_object("H3", KOVA_OBJ_HIDDEN_PARAMETER, "inc(H2)");
    v.add_object("H2", KOVA_OBJ_HIDDEN_PARAMETER, "H1 + 1");
    v.add_object("H1", KOVA_OBJ_HIDDEN_PARAMETER, "inc(H0)");
    v.add_object("H0", KOVA_OBJ_HIDDEN_PARAMETER, "W + 1");
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "4");
    v.add_object("inc", KOVA_OBJ_FN_MACRO, "x + 1")->set_arguments("x");
    v.initialize_validator();
    auto values = [&] {
        std::string all;
        for (const char* name : {"H0", "H1", "H2", "H3", "H4"}) all += v.get_kova_obj(name)->get_current_value() + ";";
        return all;
    };
    EXPECT_TRUE(v.run_validator_on_assoc_elements("W"));  // level 0: nothing to do
    EXPECT_EQ(values(), ";;;;;");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("P"));
    EXPECT_EQ(values(), "5;6;7;8;;");
    // Instances that hold a value keep it: inc(H0) still answers 6.
    v.set_parameter_value("W", "10");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("P"));
    EXPECT_EQ(values(), "11;6;7;8;;");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("nosuch"));
}
