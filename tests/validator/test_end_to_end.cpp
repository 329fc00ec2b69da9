// Whole validation runs over description files: load, initialise, start
// from the defaults, change settings as a user would, run, and compare the
// full list of messages and the derived alternate states.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

struct SCENARIO {
    const char* title;
    std::vector<std::pair<const char*, const char*>> values;  // name, value
    bool valid;
    std::vector<std::string> messages;
};

std::unique_ptr<VALIDATOR_PROBE> load(const std::string& file) {
    auto v = std::make_unique<VALIDATOR_PROBE>(test_data("run/" + file));
    EXPECT_TRUE(v->get_error_messages().empty()) << v->get_error_messages().front();
    v->initialize_validator();
    v->set_all_ports_and_parameters_to_default_state();
    return v;
}

const SCENARIO ram_scenarios[] = {
    {"defaults", {}, true, {}},
    {"illegal width and depth", {{"WIDTH", "100"}, {"DEPTH", "48"}}, false,
     {"Parameter WIDTH has been assigned the value 100 which is incompatible with the current settings of ECC(0). The "
      "legal value (or range) is 1-64",
      "Parameter DEPTH has been assigned the value 48 which is incompatible with the current settings of WIDTH(100). "
      "The legal value (or range) is 16|32|800"}},
    {"dual mode needs the second address port", {{"MODE", "DUAL"}}, false,
     {"Port addr_b is being set to the state UNUSED which is incompatible with the current settings of MODE(DUAL). "
      "The legal state is USED"}},
    {"error correction narrows the width list", {{"ECC", "1"}, {"WIDTH", "12"}}, false,
     {"Parameter WIDTH has been assigned the value 12 which is incompatible with the current settings of ECC(1). The "
      "legal value (or range) is 8|16|32|64"}},
    {"an illegal burst is corrected silently", {{"BURST", "3"}}, true, {}},
};

}  // namespace

TEST(EndToEnd, RamScenarios) {
    for (const SCENARIO& s : ram_scenarios) {
        SCOPED_TRACE(s.title);
        auto v = load("ram.xml");
        for (const auto& [name, value] : s.values) v->set_parameter_value(name, value);
        EXPECT_EQ(v->run_validator(), s.valid);
        EXPECT_EQ(v->get_error_messages(), s.messages);
    }
}

// Hidden values (one merged from the sub-model), alternate values (the
// sub-model's rule does not hold) and alternate port states after a run;
// a second run forgets what the first derived.
TEST(EndToEnd, DerivedStatesAfterARun) {
    auto v = load("ram.xml");
    const auto states = [&v] {
        std::string text;
        for (const char* name : {"AW", "CHECK_BITS"}) text += v->get_kova_obj(name)->get_current_value() + " ";
        text += v->get_parameter_object("BURST")->get_current_value() + " ";  // corrected silently
        for (const char* name : {"WIDTH", "DEPTH"}) text += v->get_parameter_object(name)->get_alt_value() + " ";
        for (const char* name : {"addr_a", "addr_b"})
            text += kova_get_usage_state_as_string(v->get_port_object(name)->get_alt_usage_state()) + " ";
        return text;
    };
    v->set_parameter_value("DEPTH", "32");
    v->set_parameter_value("BURST", "3");
    v->set_parameter_value("MODE", "DUAL");
    v->set_port_usage_state("addr_b", KOVA_USAGE_USED);
    ASSERT_TRUE(v->run_validator()) << v->get_error_messages().front();
    EXPECT_EQ(states(), "5 5 4 1-64 16|32|64 NONE USED ");
    v->set_parameter_value("MODE", "SIMPLE");
    v->set_port_usage_state("addr_b", KOVA_USAGE_UNUSED);
    EXPECT_TRUE(v->run_validator());
    EXPECT_EQ(v->get_port_object("addr_b")->get_alt_usage_state(), KOVA_USAGE_UNUSED);
    EXPECT_TRUE(v->get_error_messages().empty());
}

TEST(EndToEnd, CyclesAreReportedAtInitialisationAndTheRunGoesOn) {
    auto v = std::make_unique<VALIDATOR_PROBE>(test_data("run/cycle.xml"));
    v->initialize_validator();
    EXPECT_EQ(v->get_error_messages(),
              std::vector<std::string>{
                  "Cyclical dependency in string A == 1 because of object A while creating dependency list for B"});
    v->set_all_ports_and_parameters_to_default_state();
    EXPECT_TRUE(v->run_validator());
    EXPECT_EQ(v->get_parameter_object("A")->get_alt_value() + v->get_parameter_object("B")->get_alt_value(), "11");
}
