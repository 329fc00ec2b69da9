// The simulation library: entries of the library text evaluated, cut at
// their first "." and listed with ";", after a validation run.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

// A validator with the integer parameter W, used and set to 8, a check
// rule that fails, and the given library text.
void build(VALIDATOR_PROBE& v, const std::string& library) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    const KOVA_RULE_ELEMENT failing("", "W gt 8", "", KOVA_RULE_CONDITION);
    v.add_object("CHECK", KOVA_OBJ_INTEGER_PARAMETER)->add_rule(&failing);
    v.set_vhdl_library(library);
    v.initialize_validator();
    v.set_parameter_value("W", "8");
    v.set_parameter_usage_state("W", KOVA_USAGE_USED);
}

}  // namespace

TEST(SimulationLibrary, EntriesBecomeLibraryNames) {
    const struct {
        const char *library, *expected;
    } cases[] = {
        {"lib_a.pkg;lib_b.unit.arch;", "lib_a;lib_b;"},
        {"lib_a.pkg;lib_b.unit", "lib_a;lib_b;"},
        {";;lib_a.pkg;;", "lib_a;"},
        {"plain", "plain;"},
        {"  lib_a.pkg;  lib_b  ", "lib_a;lib_b  ;"},
        {"W == 8 ? big.pkg : small.pkg;W == 9 ? big.pkg : small.pkg;", "big;small;"},
        {"W;W", "8;W;"},  // only entries before a ";" are evaluated
        {"a ? b;x.y", "a ? b;x;"},  // an entry that does not parse is used as written
    };
    for (const auto& c : cases) {
        VALIDATOR_PROBE v;
        build(v, c.library);
        EXPECT_EQ(v.get_simulation_library(), c.expected) << c.library;
    }
}

TEST(SimulationLibrary, AValidationRunComesFirstEvenWithoutLibraryText) {
    VALIDATOR_PROBE v;
    build(v, "");
    EXPECT_EQ(v.get_simulation_library(), "");
    ASSERT_EQ(v.get_error_messages().size(), 1u);
    EXPECT_EQ(v.get_error_messages().front(), "Ports and parameters W(8) should satisfy the condition W gt 8");
}

TEST(SimulationLibrary, AnEntryThatDoesNotParsePostsTheSyntaxError) {
    VALIDATOR_PROBE v;
    build(v, "W == 8 ?;");
    EXPECT_EQ(v.get_simulation_library(), "W == 8 ?;");
    EXPECT_EQ(v.get_error_messages().size(), 2u);
}
