// The wizard-map and stimulus subcommands of the kova tool, run on the
// bundled counter example (which must load for any of them to answer):
// their output and exit status.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// Runs a subcommand on the counter example; standard output only.
TOOL_RUN run_tool(const std::string& subcommand, const std::string& arguments) {
    return run_kova(subcommand + " " + KOVA_EXAMPLES + "/counter.xml " + arguments, false);
}

}  // namespace

TEST(WizardMapAndStimulusCommands, OutputAndExitStatus) {
    const struct { const char *subcommand, *arguments; int status; const char* out; } cases[] = {
        {"stimulus", "count_cycle --time 20", 0, "clk 0\nrst 0\nen 1\n"},
        {"stimulus", "count_cycle --time 40 --set HAS_LOAD=1 --use load --use din", 0, "clk 0\nload 1\ndin 0b10100101\n"},
        {"stimulus", "no_such_vector --time 0", 2, ""},
        {"stimulus", "count_cycle", 2, ""},
        {"wizard-map", "ports --set DIRECTION=both --use count --use up_dn", 0,
         "ports: 7 objects\n"
         "KIND  NAME   VALUE   USAGE   SOURCE\n"
         "in    up_dn  USED    USED    port\n"
         "in    din    UNUSED  UNUSED  map\n"
         "in    clk            USED    port\n"
         "in    rst            USED    port\n"
         "in    en             USED    port\n"
         "out   count          USED    port\n"
         "out   tc             USED    port\n"},
        {"wizard-map", "generics --set WIDTH=12 --set DIRECTION=both --use up_dn", 0,
         "generics: 8 objects\n"
         "KIND     NAME              VALUE    USAGE  SOURCE\n"
         "integer  C_WIDTH           12       USED   map\n"
         "string   C_COUNT_MODE      UP_DOWN  USED   map\n"
         "integer  C_TERMINAL_COUNT  4095     USED   map\n"
         "integer  C_HAS_LOAD        0        USED   map\n"
         "integer  WIDTH             12       NONE   parameter\n"
         "string   DIRECTION         both     NONE   parameter\n"
         "integer  HAS_LOAD          0        NONE   parameter\n"
         "integer  CLOCK_PERIOD      10       NONE   parameter\n"},
        {"wizard-map", "no_such_map", 2, ""},
    };
    for (const auto& c : cases) {
        const TOOL_RUN run = run_tool(c.subcommand, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.subcommand << " " << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.subcommand << " " << c.arguments;
    }
}
