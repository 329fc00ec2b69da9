// Stimulus vectors: the command a record drives, whether a vector forces a
// signal and where that leaves the cursor, the transitions of a vector one
// per call, the words that name values, and initial vector states.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

struct RECORD { const char *condition, *value, *alt_value; };

KOVA_VECTOR_OBJ make_vector(const std::vector<RECORD>& records) {
    KOVA_VECTOR_OBJ vector("v");
    for (const RECORD& r : records)
        vector.add_vector_stimulus(KOVA_RULE_ELEMENT(r.value, r.condition, r.alt_value, KOVA_RULE_CONDITION));
    return vector;
}

// The probe with the word lookup of force commands opened too.
class STIMULUS_PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::get_stimulus_value;
};

// Integer parameter W (8), macro HALF (20), input port cp held constant at
// 20, input port up used.
class STIMULUS : public ::testing::Test {
protected:
    void SetUp() override {
        validator.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "1-32", "8");
        validator.add_object("HALF", KOVA_OBJ_FN_MACRO, "4 * 5");
        validator.add_object("cp", KOVA_OBJ_INPUT_PORT);
        validator.add_object("up", KOVA_OBJ_INPUT_PORT);
        validator.initialize_validator();
        validator.set_port_usage_state("cp", KOVA_USAGE_CONSTANT);
        validator.set_current_port_width("cp", 8);
        validator.set_current_port_value("cp", 20);
        validator.set_port_usage_state("up", KOVA_USAGE_USED);
        validator.set_current_port_width("up", 8);
        validator.set_current_port_value("up", 3);
    }

    STIMULUS_PROBE validator;
};

TEST_F(STIMULUS, WordsNameMacroValuesAndConstantPorts) {
    const std::pair<const char*, const char*> cases[] = {
        {"HALF", "20"}, {"half", "20"}, {"cp", "20"}, {"up", "up"}, {"W", "W"}, {"abc", "abc"}, {"", ""}};
    for (const auto& [token, expected] : cases) EXPECT_EQ(validator.get_stimulus_value(token), expected) << token;
}

TEST_F(STIMULUS, ExistsFindsTheSignalAndLeavesTheCursorAfterIt) {
    KOVA_VECTOR_OBJ vector = make_vector({{"", "release s", ""}, {"", "force -hex a 1 0", ""},
                                          {"W == 9", "force b 1", ""},  // drives nothing
                                          {"W == 8", "force c 1", "force d 1"}, {"W == 9", "force e 1", "force f 1"}});
    // next: the record the cursor gives next, "" at the end.
    const struct { const char* name; bool answer; const char* next; } cases[] = {
        {"a", true, "force b 1"}, {"s", false, ""}, {"b", false, ""},
        {"c", true, "force e 1"}, {"d", false, ""},         {"f", true, ""},  {"-hex", false, ""},
        {"", true, "force -hex a 1 0"},  // a command that is not a force command has the empty name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(validator.kova_stimulus_exists(&vector, c.name), c.answer) << c.name;
        const KOVA_RULE_ELEMENT* next = vector.get_next_vector_stimulus();
        EXPECT_EQ(next ? next->get_value() : "", c.next) << c.name;
    }
    EXPECT_FALSE(validator.kova_stimulus_exists(nullptr, "a"));
}

// After false the texts hold what the last command tried left in them; a
// vector with nothing to drive, or none, leaves the caller's texts alone.
TEST_F(STIMULUS, VectorTransitionsComeOnePerCallThenFalseOnce) {
    KOVA_VECTOR_OBJ vector = make_vector({{"", "force a 1 10", ""}, {"W == 9", "force c 0", "force -hex c F 10"},
                                          {"", "force b 1 20", ""},
                                          {"W == 9", "force d 1 10", ""}});  // drives nothing: passed over
    KOVA_VECTOR_OBJ silent = make_vector({{"W == 9", "force a 1", ""}});
    const struct { KOVA_VECTOR_OBJ* vector; bool answer; const char* texts; } calls[] = {
        {&vector, true, "a 1"}, {&vector, true, "c 0b1111"}, {&vector, false, "b "}, {&vector, true, "a 1"},
        {&silent, false, "keep this"}, {nullptr, false, "keep this"}};
    for (const auto& call : calls) {
        std::string signal = "keep", driven = "this";
        EXPECT_EQ(validator.kova_get_vector_transition(call.vector, 10, signal, driven), call.answer);
        EXPECT_EQ(signal + " " + driven, call.texts);
    }
}

TEST_F(STIMULUS, InitialVectorStateIsEvaluatedOrAsWritten) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"3 + 4", "7"}, {"W * 2", "16"}, {"HALF", "20"}, {"USED", "USED"},
        {"1 +", "1 +"}};  // evaluates to nothing: as written
    for (const auto& [text, expected] : cases) {
        validator.get_kova_obj("up")->set_initial_vec_state(text);
        EXPECT_EQ(validator.get_obj_initial_vec_state("up"), expected) << text;
    }
    EXPECT_EQ(validator.get_obj_initial_vec_state("nothing"), "");
}

}  // namespace
