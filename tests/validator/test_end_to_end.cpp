// Whole validation runs over a description file: load and initialise once,
// then scenario after scenario on the same validator, back to the defaults,
// change settings as a user would, run, and compare the full list of
// messages and the derived states, so that each run is seen to forget what
// the one before it derived.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

struct SCENARIO {
    const char* title;
    std::vector<std::pair<const char*, const char*>> values;  // name, value ("USED" for the port addr_b)
    bool valid;
    const char* derived;
    std::vector<std::string> messages;
};

// Hidden values (CHECK_BITS merged from the sub-model), BURST (corrected
// silently), the alternate values of WIDTH and DEPTH (narrowed by the
// sub-model's rule while it holds) and the alternate states of the ports.
std::string derived(const VALIDATOR_PROBE& v) {
    std::string text;
    for (const char* name : {"AW", "CHECK_BITS"}) text += v.get_kova_obj(name)->get_current_value() + " ";
    text += v.get_parameter_object("BURST")->get_current_value() + " ";
    for (const char* name : {"WIDTH", "DEPTH"}) text += v.get_parameter_object(name)->get_alt_value() + " ";
    for (const char* name : {"addr_a", "addr_b"})
        text += kova_get_usage_state_as_string(v.get_port_object(name)->get_alt_usage_state()) + " ";
    return text;
}

const SCENARIO ram_scenarios[] = {
    {"defaults", {}, true, "4 5 4 1-64 16|32|64 NONE UNUSED ", {}},
    {"illegal width and depth", {{"WIDTH", "100"}, {"DEPTH", "48"}}, false, "6 9 4 1-64 16|32|800 NONE UNUSED ",
     {"Parameter WIDTH has been assigned the value 100 which is incompatible with the current settings of ECC(0). The "
      "legal value (or range) is 1-64",
      "Parameter DEPTH has been assigned the value 48 which is incompatible with the current settings of WIDTH(100). "
      "The legal value (or range) is 16|32|800"}},
    {"dual mode needs the second address port", {{"MODE", "DUAL"}}, false, "4 5 4 1-64 16|32|64 NONE USED ",
     {"Port addr_b is being set to the state UNUSED which is incompatible with the current settings of MODE(DUAL). "
      "The legal state is USED"}},
    {"error correction narrows the width list", {{"ECC", "1"}, {"WIDTH", "12"}}, false,
     "4 6 4 8|16|32|64 16|32|96 NONE UNUSED ",
     {"Parameter WIDTH has been assigned the value 12 which is incompatible with the current settings of ECC(1). The "
      "legal value (or range) is 8|16|32|64"}},
    {"an illegal burst is corrected silently", {{"DEPTH", "32"}, {"BURST", "3"}, {"MODE", "DUAL"}, {"addr_b", "USED"}},
     true, "5 5 4 1-64 16|32|64 NONE USED ", {}},
};

}  // namespace

TEST(EndToEnd, RamScenariosOneAfterAnother) {
    VALIDATOR_PROBE v(test_data("run/ram.xml"));
    ASSERT_TRUE(v.get_error_messages().empty()) << v.get_error_messages().front();
    v.initialize_validator();
    for (const SCENARIO& s : ram_scenarios) {
        SCOPED_TRACE(s.title);
        v.set_all_ports_and_parameters_to_default_state();
        for (const auto& [name, value] : s.values) {
            if (v.get_port_object(name))
                v.set_port_usage_state(name, KOVA_USAGE_USED);
            else
                v.set_parameter_value(name, value);
        }
        EXPECT_EQ(v.run_validator(), s.valid);
        EXPECT_EQ(v.get_error_messages(), s.messages);
        EXPECT_EQ(derived(v), s.derived);
    }
}
