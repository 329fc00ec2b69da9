// The simulation library: entries of the library text evaluated, cut at
// their first "." and listed with ";", after a validation run.
#include <gtest/gtest.h>

#include "support/test_support.h"

// Each validator holds the integer parameter W, used and set to 8, and a
// check rule that fails, so the validation run posts its message first;
// an entry that does not parse is used as written and posts its error.
TEST(SimulationLibrary, EntriesBecomeLibraryNamesAfterAValidationRun) {
    const struct { const char *library, *expected, *parse_error; } cases[] = {  // parse_error: "" for none
        {"lib_a.pkg;lib_b.unit.arch;", "lib_a;lib_b;", "parse error, expecting `$' while parsing lib_b.unit.arch"},
        {"lib_a.pkg;lib_b.unit", "lib_a;lib_b;", ""},
        {";;lib_a.pkg;;", "lib_a;", ""},
        {"plain", "plain;", ""},
        {"  lib_a.pkg;  lib_b  ", "lib_a;lib_b  ;", ""},
        {"W == 8 ? big.pkg : small.pkg;W == 9 ? big.pkg : small.pkg;", "big;small;", ""},
        {"W;W", "8;W;", ""},  // only entries before a ";" are evaluated
        {"a ? b;x.y", "a ? b;x;", "parse error while parsing a ? b"},
        {"", "", ""},
        {"W == 8 ?;", "W == 8 ?;", "parse error while parsing W == 8 ?"},
    };
    for (const auto& c : cases) {
        VALIDATOR_PROBE v;
        v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
        const KOVA_RULE_ELEMENT failing("", "W gt 8", "", KOVA_RULE_CONDITION);
        v.add_object("CHECK", KOVA_OBJ_INTEGER_PARAMETER)->add_rule(&failing);
        v.set_vhdl_library(c.library);
        v.initialize_validator();
        v.set_parameter_value("W", "8");
        v.set_parameter_usage_state("W", KOVA_USAGE_USED);
        EXPECT_EQ(v.get_simulation_library(), c.expected) << c.library;
        std::vector<std::string> messages = {"Ports and parameters W(8) should satisfy the condition W gt 8"};
        if (*c.parse_error) messages.push_back(c.parse_error);
        EXPECT_EQ(v.get_error_messages(), messages) << c.library;
    }
}
