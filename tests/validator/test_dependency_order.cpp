// Dependency levels of objects and macro instances, and cycle reports.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

class DependencyOrder : public ::testing::Test {
protected:
    KOVA_OBJ_INFO* with_rule(const std::string& name, int type, const std::string& condition,
                             const std::string& value = "") {
        KOVA_OBJ_INFO* object = v.get_kova_obj(name) ? v.get_kova_obj(name) : v.add_object(name, type);
        KOVA_RULE_ELEMENT rule(value, condition, "", KOVA_RULE_CONDITION);
        object->add_rule(&rule);
        return object;
    }
    int level(const std::string& name) { return v.get_kova_obj(name)->evaluation_position; }
    VALIDATOR_PROBE v;
};

}  // namespace

TEST_F(DependencyOrder, ChainsGetRisingLevelsWhateverTheWalkOrder) {
    with_rule("Z", KOVA_OBJ_INTEGER_PARAMETER, "Y gt 1");
    with_rule("Y", KOVA_OBJ_INTEGER_PARAMETER, "X == 2");
    v.add_object("X", KOVA_OBJ_INTEGER_PARAMETER);
    v.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "Z + 1");  // a hidden value text counts without rules
    v.initialize_validator();
    EXPECT_EQ(level("X"), 0);
    EXPECT_EQ(level("Y"), 1);
    EXPECT_EQ(level("Z"), 2);
    EXPECT_EQ(level("H"), 3);
    EXPECT_TRUE(v.get_error_messages().empty());
}

TEST_F(DependencyOrder, CyclesAreReportedOnceTheyMeetThePathAndSelfReferenceIsSilent) {
    with_rule("A", KOVA_OBJ_INTEGER_PARAMETER, "B == 1");
    with_rule("B", KOVA_OBJ_INTEGER_PARAMETER, "A == 1");
    with_rule("S", KOVA_OBJ_INTEGER_PARAMETER, "S gt 0");
    v.initialize_validator();
    EXPECT_EQ(v.get_error_messages(),
              std::vector<std::string>{
                  "Cyclical dependency in string A == 1 because of object A while creating dependency list for B"});
    EXPECT_EQ(level("B"), 0);
    EXPECT_EQ(level("A"), 1);
    EXPECT_EQ(level("S"), 0);
}

TEST_F(DependencyOrder, KeywordsQuotedNamesAndGluedBracketsDoNotCount) {
    v.add_object("X", KOVA_OBJ_INTEGER_PARAMETER);
    with_rule("Q", KOVA_OBJ_INTEGER_PARAMETER, "str(X) == 1 AND gt");
    with_rule("G", KOVA_OBJ_INTEGER_PARAMETER, "X>1");
    with_rule("B", KOVA_OBJ_INTEGER_PARAMETER, "X > 1");
    v.initialize_validator();
    EXPECT_EQ(level("Q"), 0);
    EXPECT_EQ(level("G"), 0);
    EXPECT_EQ(level("B"), 1);
}

TEST_F(DependencyOrder, MacroInstancesRaiseTheirCallers) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER);
    with_rule("D", KOVA_OBJ_INTEGER_PARAMETER, "W gt 0");  // level 1
    KOVA_OBJ_INFO* twice = v.add_object("twice", KOVA_OBJ_FN_MACRO, "x * 2");
    twice->set_arguments("x");
    with_rule("P", KOVA_OBJ_INTEGER_PARAMETER, "twice(D) gt 4");
    v.initialize_validator();
    auto* instance = static_cast<KOVA_FN_MACRO*>(v.m_fn_macro_list.find_entry("twice(d)"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->get_value(), "D * 2");
    EXPECT_EQ(instance->get_dependency_position(), 2);
    EXPECT_EQ(level("P"), 3);
    EXPECT_EQ(v.m_fn_macro_list.size(), 1u);
}

TEST_F(DependencyOrder, MacroCallsThatCannotMakeAnInstance) {
    KOVA_OBJ_INFO* f = v.add_object("f", KOVA_OBJ_FN_MACRO, "a + b");
    f->set_arguments("a, b");
    v.add_object("N", KOVA_OBJ_INTEGER_PARAMETER);
    with_rule("P", KOVA_OBJ_INTEGER_PARAMETER, "f(a, b) + N(1) + f(1,");
    KOVA_NAME_MAP in_progress;
    EXPECT_EQ(v.create_fn_macros("f(a,b)", in_progress), -1);  // formal list: answered by the macro itself
    EXPECT_EQ(v.create_fn_macros("N(1)", in_progress), -1);    // not a macro
    EXPECT_EQ(v.create_fn_macros("f(1, 2", in_progress), -1);  // no closing parenthesis
    EXPECT_EQ(v.m_fn_macro_list.size(), 0u);
    EXPECT_EQ(v.create_fn_macros("F(1 2)", in_progress), 0);   // blanks separate arguments too
    EXPECT_EQ(v.create_fn_macros("f(1,2)", in_progress), -1);  // the same call, lower-cased: no new instance
    EXPECT_NE(v.m_fn_macro_list.find_entry("f(1,2)"), nullptr);
}

TEST_F(DependencyOrder, AMacroThatCallsItselfEnds) {
    KOVA_OBJ_INFO* f = v.add_object("f", KOVA_OBJ_FN_MACRO, "f(x + 1)");
    f->set_arguments("x");
    with_rule("P", KOVA_OBJ_INTEGER_PARAMETER, "f(a) gt 1");
    v.initialize_validator();
    EXPECT_GE(level("P"), 1);
    EXPECT_NE(v.m_fn_macro_list.find_entry("f(a)"), nullptr);
}

TEST_F(DependencyOrder, MacroDependencyMapListsParametersThroughOtherMacros) {
    EXPECT_TRUE(v.create_macro_dependency_map().empty());
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER);
    v.add_object("S", KOVA_OBJ_STRING_PARAMETER);
    v.add_object("inner", KOVA_OBJ_FN_MACRO, "", "W + 1");
    with_rule("inner", KOVA_OBJ_FN_MACRO, "", "W");
    with_rule("outer", KOVA_OBJ_FN_MACRO, "inner gt 1 AND S == x");
    v.initialize_validator();
    KOVA_MACRO_DEPENDENCY_MAP map = v.create_macro_dependency_map();
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map["INNER"], (KOVA_ORDERED_NAME_MAP{{"W", "W"}}));
    EXPECT_EQ(map["outer"], (KOVA_ORDERED_NAME_MAP{{"S", "S"}, {"W", "W"}}));
}
