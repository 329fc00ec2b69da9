// Stimulus: the value a force command drives at a time (keyword, options,
// the item list, repeat and cancel, times that name values, radix
// conversion, time arithmetic at the limits of 32 bits); whether a vector
// forces a signal and where that leaves the cursor, the transitions of a
// vector one per call, the words that name values, and initial vector states.
#include <gtest/gtest.h>

#include <sstream>

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


    // "TIME:NAME=VALUE" when the command drives VALUE at TIME, else
    // "TIME:NAME!VALUE" with what the call left in the texts; one per time.
    std::string readings(const std::string& command, const std::string& expected) {
        std::istringstream words(expected);
        std::string got, word;
        while (words >> word) {
            const int time = std::stoi(word.substr(0, word.find(':')));
            std::string name = "stale", value = "stale";
            const bool answer = validator.kova_get_transition_at_time(command, time, name, value);
            got += (got.empty() ? "" : " ") + std::to_string(time) + ":" + name + (answer ? "=" : "!") + value;
        }
        return got;
    }

    STIMULUS_PROBE validator;
};

TEST_F(STIMULUS, TransitionAtTime) {
    const std::string clock = "force s 0 0, 1 50, -repeat 100";
    const struct { std::string command, readings; } cases[] = {
        // A value without a time holds at any time.
        {"FORCE S 1", "3:S=1"},
        // Items with times, and the repeat of the first two; the period
        // must not be above the time, and one equal to it repeats.
        {clock, "0:s=0 50:s=1 150:s=1 200:s=0 120:s! 20:s! 100:s=0"},
        {clock + ", -repeat 30", "150:s=0"},  // each repeat reads both items again
        {"force s 0 HALF, 1 @cp, -repeat 100", "120:s=0 130:s!"},  // item times that name values
        {"force s 0 0, 1 50, -repeat -100", "150:s=1"}, {"force s 0 0, 1 50, -r @100", "250:s=1"},
        {"force s 0 0, 1 50, -REPEAT 100", "300:s=0"},
        {"force s 0 0, -repeat 100", "200:s=0"},          // the repeat item is the second item
        {clock + ", 3", "150:s=3"},                       // a later one-word item wins
        // Cancel; the scan ends at the matching item; a value after a
        // cancel leaves the name empty.
        {clock + ", -cancel 1000", "1000:! 900:s=0"}, {"force s 1, -c @30", "30:! 29:s=1"},
        {"force s 1 5, -cancel 3, 2", "7:=2"},
        // Times: at sign, units, names of values (the value names them
        // too), clamping.
        {"force s 7 @20", "20:s=7"}, {"force s 7 20ns", "20:s=7"}, {"force s 7 ns", "0:s=7"},
        {"force s HALF 0", "0:s=20"},
        {"force s 1 99999999999", "2147483647:s=1"},
        // Item splitting: all after ",," is one item; white space of any
        // kind before an item; the empty name word is not an option.
        {"force s 0 0,, 1 5", "5:s=1"}, {"force s 0 0,, 1 50, -repeat 100", "150:s!"},
        {"force  s 1", "1:=s"},
        {"force", "0:!"}, {"release s", "0:!"}, {"force -hex", "0:!"},
        // Options and radix conversion; a value that is not a number of
        // the radix is given as written.
        {"force -hex s 1F 10", "10:s=0b11111 11:s!"}, {"force -HEX s A5 0", "0:s=0b10100101"},
        {"force -bin s 101 0", "0:s=0b101"}, {"force -fixed_point(8,4) s 1.5 0", "0:s=0b00011000"},
        {"force -fixed_point() s 1.5 0", "0:s=1.5"}, {"force -strange s 3 0", "0:s=3"},
        {"force -hex s G1 10", "10:s=G1"},
        {"force -fixed_point(a,b) s 1.5 0", "0:s=1.5"},
        // A period of 0 compares quotients; no division by zero.
        {"force s 0 7, 1 9, -repeat 0", "3:s=0 8:s=1 10:s!"},
        {"force s 0 0, 1 0, -repeat 0", "3:s!"},
        // The limits of 32 bits.
        {"force s 0 0, 1 5, -repeat -1", "7:s=0 -2147483648:s!"},
        {"force s 0 0, 1 5, -repeat -2147483648", "-2147483648:s=0"},
        {"force s 0 -1, 1 -2147483648, -repeat 0", "2147483647:s=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(readings(c.command, c.readings), c.readings) << c.command;
    EXPECT_TRUE(validator.get_error_messages().empty());
}

// A time that names a macro is evaluated at every reading, repeat items'
// readings included: a body that does not parse posts its message each
// time (then stands as written, "1 +", read as the time 1).
TEST_F(STIMULUS, NamedTimesAreEvaluatedAtEveryReading) {
    validator.add_object("BAD", KOVA_OBJ_FN_MACRO, "1 +");
    EXPECT_EQ(readings("force s 0 BAD, 1 5, -repeat 100, -repeat 100", "201"), "201:s=0");
    EXPECT_EQ(validator.get_error_messages(), std::vector<std::string>(3, "parse error while parsing 1 +"));
}


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
