// The kova tool driven as a user would: exit codes and what it prints.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using RUN = TOOL_RUN;

RUN kova(const std::string& arguments) { return run_kova(arguments); }

std::string ram() { return test_data("run/ram.xml"); }

}  // namespace

TEST(KovaTool, ValidateExitCodesAndMessages) {
    RUN valid = kova("validate " + ram());
    EXPECT_EQ(valid.status, 0) << valid.out;
    EXPECT_EQ(valid.out, ram() + ": valid\n");

    RUN invalid = kova("validate " + ram() + " --set MODE=DUAL --unused addr_b");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, ram() +
                               ": error: Port addr_b is being set to the state UNUSED which is incompatible with the "
                               "current settings of MODE(DUAL). The legal state is USED\n" +
                               ram() + ": invalid\n");

    EXPECT_EQ(kova("validate " + ram() + " --set MODE=DUAL --use addr_b").status, 0);
    EXPECT_EQ(kova("validate " + ram() + " --set NOSUCH=1").status, 2);
    EXPECT_EQ(kova("validate " + ram() + " --set WIDTH").status, 2);
    EXPECT_EQ(kova("validate " + ram() + " --set addr_a=5").status, 2);
    EXPECT_EQ(kova("validate " + temp_folder() + "/absent.xml").status, 2);
    EXPECT_EQ(kova("validate " + write_temp_file("broken.xml", "<model>")).status, 2);
    EXPECT_EQ(kova("frobnicate").status, 2);
}

TEST(KovaTool, EvalPrintsResultAndMessagesInEachMode) {
    EXPECT_EQ(kova("eval " + ram() + " 'ceil_log(DEPTH)' --set DEPTH=32").out, "5\n");
    EXPECT_EQ(kova("eval " + ram() + " 'max(1, 2) + MODE' --mode text").out, "2 + \"SIMPLE\"\n");
    EXPECT_EQ(kova("eval " + ram() + " '8 div 0'").out,
              "1\nexpression: error: Error : Division by zero in condition 8 div 0\n");
    EXPECT_EQ(kova("eval " + ram() + " 'a b'").out,
              "\nexpression: error: parse error, expecting `$' while parsing a b\n");
    EXPECT_EQ(kova("eval " + ram() + " 1 --mode sideways").status, 2);
}

TEST(KovaTool, DepsOfAnObjectOrAnExpression) {
    EXPECT_EQ(kova("deps " + ram() + " DEPTH").out, "names: WIDTH\ntext: WIDTH(8)\n");
    EXPECT_EQ(kova("deps " + ram() + " --expr 'MODE == DUAL && used(addr_b)'").out,
              "names: MODE, addr_b\ntext: MODE(SIMPLE), addr_b(UNUSED)\n");
    EXPECT_EQ(kova("deps " + ram() + " NOSUCH").status, 2);
    EXPECT_EQ(kova("deps " + ram()).status, 2);
}

TEST(KovaTool, ShowListsPortsAndParameters) {
    RUN show = kova("show " + ram());
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find("integer  WIDTH"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("in       addr_b"), std::string::npos) << show.out;
    EXPECT_EQ(show.out.find("hidden"), std::string::npos);  // hidden parameters have no copy
}

TEST(KovaTool, SettingsFilesApplyInOrderAndRoundTrip) {
    const std::string settings = write_temp_file("ram.settings", "# dual port RAM\nDEPTH=32\n  BURST = 3\n\nMODE=DUAL\naddr_b=USED\n");
    const std::string saved = temp_folder() + "/saved.settings";
    RUN run = kova("validate " + ram() + " --settings " + settings + " --save " + saved);
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string again = temp_folder() + "/again.settings";
    EXPECT_EQ(kova("validate " + ram() + " --settings " + saved + " --save " + again).status, 0);
    RUN first = kova("eval " + ram() + " 'DEPTH + BURST' --settings " + saved);
    EXPECT_EQ(first.out, "36\n");  // the silent correction of BURST was saved
    RUN second = kova("eval " + ram() + " 'DEPTH + BURST' --settings " + again);
    EXPECT_EQ(second.out, first.out);
    // Command-line settings come after the file's.
    EXPECT_EQ(kova("eval " + ram() + " DEPTH --settings " + saved + " --set DEPTH=64").out, "64\n");
}

TEST(KovaTool, SettingsFilesWithErrorsApplyNothing) {
    const std::string bad = write_temp_file("bad.settings", "DEPTH=32\nno equals sign\n=3\n");
    RUN run = kova("validate " + ram() + " --settings " + bad);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "kova: " + bad + ":2: expected NAME=VALUE, found 'no equals sign'\nkova: " + bad +
                           ":3: expected NAME=VALUE, found '=3'\n");
    const std::string unknown = write_temp_file("unknown.settings", "DEPTH=32\n\nNOPE=1\n");
    EXPECT_EQ(kova("validate " + ram() + " --settings " + unknown).out,
              "kova: " + unknown + ":3: no port or parameter is named NOPE\n");
}

namespace {

std::string fifo() { return std::string(KOVA_EXAMPLES) + "/fifo.xml"; }

}  // namespace

TEST(KovaTool, WidthsRangesMessagesAndSimlibOfTheFifoExample) {
    const struct {
        std::string arguments;
        int status;
        std::string expected;  // a part of the output
    } cases[] = {
        {"widths " + fifo() + " --set WIDTH=32 --set DEPTH=512", 0, "data_count        10     ceil_log(DEPTH) + 1\n"},
        {"ranges " + fifo() + " prog_full_thresh", 0, "width: 4\nlower: 12\nupper: 12\n"},
        {"ranges " + fifo() + " prog_full_thresh --set HAS_DATA_COUNT=1 --set MEMORY_TYPE=distributed", 0,
         "lower: 1\nupper: 15\nvalues: 4|8|12\n"},
        {"ranges " + fifo() + " din", 0, "lower: X\nupper: X\n"},
        {"ranges " + fifo() + " NOSUCH", 2, "kova: no port is named NOSUCH\n"},
        {"messages " + fifo() + " --set MEMORY_TYPE=distributed --set WIDTH=72 --set HAS_DATA_COUNT=1", 0,
         "A wide distributed FIFO uses many lookup tables; consider block memory.\n"
         "data_count gives the number of words held.\n"},
        {"simlib " + fifo() + " --set MEMORY_TYPE=distributed", 0, "fifo_lib;lutram_lib;prim_lib;\n"},
    };
    for (const auto& c : cases) {
        const RUN run = kova(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.arguments << "\n" << run.out;
    }
}
