// The value a force command drives at a time: keyword, options, the item
// list, repeat and cancel, times that name values, radix conversion, and
// time arithmetic at the limits of 32 bits.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

// A macro HALF worth 20 and an input port cp held constant at 20.
class FORCE_COMMAND : public ::testing::Test {
protected:
    void SetUp() override {
        validator.add_object("HALF", KOVA_OBJ_FN_MACRO, "4 * 5");
        validator.add_object("cp", KOVA_OBJ_INPUT_PORT);
        validator.initialize_validator();
        validator.set_port_usage_state("cp", KOVA_USAGE_CONSTANT);
        validator.set_current_port_width("cp", 8);
        validator.set_current_port_value("cp", 20);
    }

    VALIDATOR_PROBE validator;
};

TEST_F(FORCE_COMMAND, TransitionAtTime) {
    struct CASE {
        const char* command;
        int time;
        bool answer;
        const char* name;
        const char* value;
    };
    const std::string clock = "force s 0 0, 1 50, -repeat 100";
    const std::string cancelled = clock + ", -cancel 1000";
    const CASE cases[] = {
        // A value without a time holds at any time.
        {"force s 1", 0, true, "s", "1"},
        {"FORCE S 1", 3, true, "S", "1"},
        // Items with times, and the repeat of the first two.
        {clock.c_str(), 0, true, "s", "0"},
        {clock.c_str(), 50, true, "s", "1"},
        {clock.c_str(), 150, true, "s", "1"},
        {clock.c_str(), 200, true, "s", "0"},
        {clock.c_str(), 120, false, "s", ""},
        {clock.c_str(), 20, false, "s", ""},  // the period is above the time
        {clock.c_str(), 100, true, "s", "0"},  // a period equal to the time repeats
        {"force s 0 0, 1 50, -repeat 100, -repeat 30", 150, true, "s", "0"},  // each repeat reads both items again
        {"force s 0 HALF, 1 @cp, -repeat 100", 120, true, "s", "0"},         // item times that name values
        {"force s 0 HALF, 1 @cp, -repeat 100", 130, false, "s", ""},
        {"force s 0 0, 1 50, -repeat -100", 150, true, "s", "1"},
        {"force s 0 0, 1 50, -r @100", 250, true, "s", "1"},
        {"force s 0 0, 1 50, -REPEAT 100", 300, true, "s", "0"},
        {"force s 0 0, -repeat 100", 200, true, "s", "0"},  // the repeat item is the second item
        {"force s 0 0, 1 50, -repeat 100, 3", 150, true, "s", "3"},  // a later one-word item wins
        {"force s 0 0, -repeat", 5, true, "s", "-repeat"},            // a lone word is a value
        // Cancel.
        {cancelled.c_str(), 1000, false, "", ""},
        {cancelled.c_str(), 900, true, "s", "0"},
        {"force s 1, -c @30", 30, false, "", ""},
        {"force s 1, -c @30", 29, true, "s", "1"},
        {"force s 1 5, -cancel 0", 5, true, "s", "1"},  // the scan ends at the matching item
        {"force s 1 5, -cancel 3, 2", 7, true, "", "2"},  // a value after a cancel; the name stays empty
        // Times: at sign, units, names of values, clamping.
        {"force s 7 @20", 20, true, "s", "7"},
        {"force s 7 20ns", 20, true, "s", "7"},
        {"force s 7 ns", 0, true, "s", "7"},
        {"force s 7 HALF", 20, true, "s", "7"},
        {"force s 7 @cp", 20, true, "s", "7"},
        {"force s HALF 0", 0, true, "s", "20"},  // the value names the macro too
        {"force s 1 99999999999", INT_MAX, true, "s", "1"},
        // Item splitting.
        {"force s 0 0,, 1 5", 5, true, "s", "1"},
        {"force s 0 0,, 1 50, -repeat 100", 150, false, "s", ""},  // all after ",," is one item
        {"force s 0 0,\t\n1 5", 5, true, "s", "1"},  // white space of any kind before an item
        {"force s 0 0, ", 0, true, "s", "0"},
        {"force  s 1", 1, true, "", "s"},   // the empty name word is not an option
        {"force s", 0, false, "s", ""},
        {"force", 0, false, "", ""},
        {"release s", 0, false, "", ""},
        {"force -hex", 0, false, "", ""},
        // Options and radix conversion.
        {"force -hex s 1F 10", 10, true, "s", "0b11111"},
        {"force -hex s 1F 10", 11, false, "s", ""},
        {"force -HEX s A5 0", 0, true, "s", "0b10100101"},
        {"force -bin s 101 0", 0, true, "s", "0b101"},
        {"force -signed s 5 10", 10, true, "s", "5"},
        {"force -unsigned s 5 10", 10, true, "s", "5"},
        {"force -fixed_point(8,4) s 1.5 0", 0, true, "s", "0b00011000"},
        {"force -fixed_point s 1.5 0", 0, true, "s", "1.5"},
        {"force -fixed_point() s 1.5 0", 0, true, "s", "1.5"},
        {"force -strange s 3 0", 0, true, "s", "3"},
        {"force -hex s G1 10", 10, true, "s", "G1"},  // not a hex number: given as written
        {"force -fixed_point(a,b) s 1.5 0", 0, true, "s", "1.5"},
        // A period of 0 compares quotients; no division by zero.
        {"force s 0 7, 1 9, -repeat 0", 3, true, "s", "0"},
        {"force s 0 7, 1 9, -repeat 0", 8, true, "s", "1"},
        {"force s 0 7, 1 9, -repeat 0", 10, false, "s", ""},
        {"force s 0 0, 1 9, -repeat 0", 3, true, "s", "1"},
        {"force s 0 0, 1 0, -repeat 0", 3, false, "s", ""},
        // The limits of 32 bits.
        {"force s 0 0, 1 5, -repeat -1", 7, true, "s", "0"},
        {"force s 0 0, 1 5, -repeat -2147483648", INT_MIN, true, "s", "0"},
        {"force s 0 0, 1 5, -repeat -1", INT_MIN, false, "s", ""},
        {"force s 0 -1, 1 5, -repeat 0", INT_MAX, false, "s", ""},
        {"force s 0 -1, 1 -2147483648, -repeat 0", INT_MAX, true, "s", "1"},
    };
    for (const CASE& c : cases) {
        std::string name = "stale", value = "stale";
        EXPECT_EQ(validator.kova_get_transition_at_time(c.command, c.time, name, value), c.answer)
            << c.command << " @ " << c.time;
        EXPECT_EQ(name, c.name) << c.command << " @ " << c.time;
        EXPECT_EQ(value, c.value) << c.command << " @ " << c.time;
    }
    EXPECT_TRUE(validator.get_error_messages().empty());
}

// A time that names a macro is evaluated at every reading, each repeat
// item's reading of the first two items included, so a macro body that
// does not parse posts its message every time: here once for the first
// item and once for each of the two repeat items. (The macro then stands
// for its body, "1 +", which reads as the time 1.)
TEST_F(FORCE_COMMAND, NamedTimesAreEvaluatedAtEveryReading) {
    validator.add_object("BAD", KOVA_OBJ_FN_MACRO, "1 +");
    std::string name, value;
    EXPECT_TRUE(validator.kova_get_transition_at_time("force s 0 BAD, 1 5, -repeat 100, -repeat 100", 201, name, value));
    EXPECT_EQ(value, "0");
    EXPECT_EQ(validator.get_error_messages(), std::vector<std::string>(3, "parse error while parsing 1 +"));
}

}  // namespace
