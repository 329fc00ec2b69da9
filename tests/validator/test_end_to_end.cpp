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
    {"illegal width and depth",
     {{"WIDTH", "100"}, {"DEPTH", "48"}},
     false,
     {"Parameter WIDTH has been assigned the value 100 which is incompatible with the current settings of ECC(0). The "
      "legal value (or range) is 1-64",
      "Parameter DEPTH has been assigned the value 48 which is incompatible with the current settings of WIDTH(100). "
      "The legal value (or range) is 16|32|800"}},
    {"dual mode needs the second address port",
     {{"MODE", "DUAL"}},
     false,
     {"Port addr_b is being set to the state UNUSED which is incompatible with the current settings of MODE(DUAL). "
      "The legal state is USED"}},
    {"byte enables need whole bytes",
     {{"BYTE_EN", "1"}, {"WIDTH", "12"}},
     false,
     {"Ports and parameters BYTE_EN(1), WIDTH(12) should satisfy the condition BYTE_EN == 0 || (WIDTH % 8) == 0"}},
    {"error correction narrows the width list",
     {{"ECC", "1"}, {"WIDTH", "12"}},
     false,
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

TEST(EndToEnd, DerivedStatesAfterARun) {
    auto v = load("ram.xml");
    v->set_parameter_value("DEPTH", "32");
    v->set_parameter_value("BURST", "3");
    v->set_parameter_value("MODE", "DUAL");
    v->set_port_usage_state("addr_b", KOVA_USAGE_USED);
    ASSERT_TRUE(v->run_validator()) << v->get_error_messages().front();
    EXPECT_EQ(v->get_kova_obj("AW")->get_current_value(), "5");
    EXPECT_EQ(v->get_kova_obj("CHECK_BITS")->get_current_value(), "5");  // merged from the sub-model
    EXPECT_EQ(v->get_parameter_object("WIDTH")->get_alt_value(), "1-64");  // the sub-model's rule does not hold
    EXPECT_EQ(v->get_parameter_object("DEPTH")->get_alt_value(), "16|32|64");
    EXPECT_EQ(v->get_parameter_object("BURST")->get_current_value(), "4");
    EXPECT_EQ(v->get_port_object("addr_b")->get_alt_usage_state(), KOVA_USAGE_USED);
    EXPECT_EQ(v->get_port_object("addr_a")->get_alt_usage_state(), KOVA_USAGE_NONE);

    v->set_parameter_value("MODE", "SIMPLE");  // a second run forgets what the first derived
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
    EXPECT_EQ(v->get_parameter_object("A")->get_alt_value(), "1");
    EXPECT_EQ(v->get_parameter_object("B")->get_alt_value(), "1");
}
