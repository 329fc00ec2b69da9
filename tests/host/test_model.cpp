// Host model: ownership by value, deep copies and merging of objects. (The
// conditions that sub-models add to rules: tests/validator/test_frame.cpp.)
#include <gtest/gtest.h>

#include "host/kova_info.h"

namespace {

KOVA_RULE_ELEMENT rule(const std::string& value, const std::string& condition) {
    return KOVA_RULE_ELEMENT(value, condition, "", KOVA_RULE_CONDITION);
}

}  // namespace

// Objects of a model and of a data collection: a known name (in any case)
// or an empty one adds nothing; the walk keeps the order of adding.
TEST(Model, ObjectsKeepOrderAndNamesAreCaseInsensitive) {
    KOVA_INFO model;
    ASSERT_NE(model.add_kova_obj("WIDTH", KOVA_OBJ_INTEGER_PARAMETER), nullptr);
    ASSERT_NE(model.add_kova_obj("clk", KOVA_OBJ_INPUT_PORT), nullptr);
    EXPECT_EQ(model.add_kova_obj("width", KOVA_OBJ_STRING_PARAMETER), nullptr);
    EXPECT_EQ(model.add_kova_obj("", KOVA_OBJ_STRING_PARAMETER), nullptr);
    EXPECT_EQ(model.get_kova_obj("Width")->obj_type, KOVA_OBJ_INTEGER_PARAMETER);
    EXPECT_EQ(model.get_kova_obj_count(), 2);
    model.reset_kova_obj_map();
    EXPECT_EQ(model.get_next_kova_obj()->get_name(), "WIDTH");
    model.get_kova_obj("clk");  // a lookup does not move the walk
    EXPECT_EQ(model.get_next_kova_obj()->get_name(), "clk");
    EXPECT_EQ(model.get_next_kova_obj(), nullptr);

    KOVA_DATA_COLLECTION_MAP map("m");  // here a known name gives the object it names
    KOVA_OBJ_INFO* added = map.add_kova_object("P", KOVA_OBJ_INTEGER_PARAMETER);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(map.add_kova_object("p", KOVA_OBJ_STRING_PARAMETER), added);
    EXPECT_EQ(map.add_kova_object("", KOVA_OBJ_STRING_PARAMETER), nullptr);
    EXPECT_EQ(map.get_kova_obj_count(), 1u);
}

// Objects, wizard maps and messages are copied; rules are the next test's.
TEST(Model, CopiesAreDeepAndIndependent) {
    KOVA_INFO model;
    KOVA_OBJ_INFO* width = model.add_kova_obj("WIDTH", KOVA_OBJ_INTEGER_PARAMETER);
    KOVA_WIZARD_MAP map("m");
    map.set_condition_rule(std::make_unique<KOVA_RULE_ELEMENT>("", "c", "", KOVA_RULE_CONDITION));
    model.add_wizard_map("m", &map);
    model.post_error_message("kept");
    KOVA_INFO copy(model);
    width->set_value("8|16");
    model.get_wizard_map("m")->condition_rule()->set_condition("changed");
    ASSERT_NE(copy.get_kova_obj("width"), width);
    EXPECT_EQ(copy.get_kova_obj("width")->get_value(), "");
    EXPECT_EQ(copy.get_wizard_map("M")->condition_rule()->get_condition(), "c");
    EXPECT_EQ(copy.get_error_messages(), std::vector<std::string>{"kept"});
}

// The integer an object's values read as follows every change of either
// text, and copies and assignments carry it.
TEST(Model, IntegerReadingFollowsTheCurrentThenTheDefaultValue) {
    struct CASE {
        const char *current, *default_value;
        int32_t reading;
    };
    const CASE cases[] = {{"", "", -1},        {"", "12", 12},         {"7", "12", 7},
                          {" -3x", "", -3},    {"abc", "5", 0},        {"99999999999", "", 2147483647}};
    for (const CASE& c : cases) {
        KOVA_OBJ_INFO object("P", KOVA_OBJ_INTEGER_PARAMETER);
        object.set_current_value("1");  // a stale reading must not survive the next sets
        object.set_default_value(c.default_value);
        object.set_current_value(c.current);
        KOVA_OBJ_INFO assigned("Q", KOVA_OBJ_STRING_PARAMETER);
        assigned = object;
        EXPECT_EQ(object.integer_reading(), c.reading) << c.current << "/" << c.default_value;
        EXPECT_EQ(KOVA_OBJ_INFO(object).integer_reading(), c.reading) << c.current;
        EXPECT_EQ(assigned.integer_reading(), c.reading) << c.current;
    }
}

// Copies share rules until one side changes them; a rule handed out
// before a copy was made must not reach into the copy.
TEST(Model, RuleCopiesStayIndependentWhicheverSideChanges) {
    enum CHANGE { ORIGINAL_BY_CURSOR, COPY_BY_CURSOR, ORIGINAL_BY_SNAPSHOT_BEFORE_COPY, COPY_BY_ADD };
    for (CHANGE change : {ORIGINAL_BY_CURSOR, COPY_BY_CURSOR, ORIGINAL_BY_SNAPSHOT_BEFORE_COPY, COPY_BY_ADD}) {
        KOVA_OBJ_INFO original("W", KOVA_OBJ_INTEGER_PARAMETER);
        KOVA_RULE_ELEMENT check = rule("", "W gt 0");
        original.add_rule(&check);
        KOVA_RULE_ELEMENT* early = change == ORIGINAL_BY_SNAPSHOT_BEFORE_COPY ? original.rule_snapshot()[0] : nullptr;
        KOVA_OBJ_INFO copy(original);
        KOVA_OBJ_INFO& changed = change == COPY_BY_CURSOR || change == COPY_BY_ADD ? copy : original;
        KOVA_OBJ_INFO& kept = &changed == &copy ? original : copy;
        if (early) {
            early->set_condition("changed");
        } else if (change == COPY_BY_ADD) {
            changed.add_rule(&check);
        } else {
            changed.reset_rule_list();
            changed.get_next_rule_element()->set_condition("changed");
        }
        ASSERT_EQ(kept.get_rule_count(), 1u) << change;
        EXPECT_EQ(kept.rule_view()[0]->get_condition(), "W gt 0") << change;
        EXPECT_EQ(changed.get_rule_count(), change == COPY_BY_ADD ? 2u : 1u) << change;
        EXPECT_EQ(changed.rule_view()[0]->get_condition(), change == COPY_BY_ADD ? "W gt 0" : "changed") << change;
    }
}

// Merging: an object or vector of a known name is replaced in place (its
// pointer stays valid), a new one is added as a copy.
TEST(Model, UpdatesAndNamedVectorsReplaceInPlaceOrAppendACopy) {
    KOVA_INFO model;
    KOVA_OBJ_INFO* original = model.add_kova_obj("A", KOVA_OBJ_HIDDEN_PARAMETER);
    KOVA_OBJ_INFO other("a", KOVA_OBJ_HIDDEN_PARAMETER), fresh("B", KOVA_OBJ_FN_MACRO);
    other.set_value("1 + 1");
    EXPECT_EQ(model.update_kova_obj(&other), original);
    EXPECT_EQ(original->get_value(), "1 + 1");
    EXPECT_NE(model.update_kova_obj(&fresh), &fresh);
    EXPECT_EQ(model.get_kova_obj_count(), 2);
    EXPECT_EQ(model.update_kova_obj(nullptr), nullptr);

    KOVA_VECTOR_OBJ first("v"), second("V");
    first.add_vector_stimulus(rule("force a 1", ""));
    KOVA_VECTOR_OBJ* stored = model.add_vector_object("v", &first);
    EXPECT_EQ(model.add_vector_object("V", &second), stored);
    EXPECT_EQ(stored->get_stimulus_count(), 0u);
    model.reset_vector_map();
    EXPECT_EQ(model.get_next_vector_obj(), stored);
    EXPECT_EQ(model.get_next_vector_obj(), nullptr);
}
