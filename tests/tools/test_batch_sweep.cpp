// kova batch and sweep as a user runs them: exit statuses, lines in input
// order whatever the threads, files that cannot be read, sweep's refusals.
#include <gtest/gtest.h>

#include "support/test_support.h"

TEST(BatchAndSweep, ExitStatusAndLines) {
    const std::string fifo = example("fifo.xml"), deep = example("fifo-deep.settings"),
                      conflicts = example("fifo-conflicts.settings"), absent = temp_folder() + "/absent.settings";
    const std::string bad_line = write_temp_file("bad.settings", "DEPTH=32\nnot a setting\n");
    const struct { std::string arguments; int status; std::string out; } cases[] = {
        {"batch " + fifo + " " + deep, 0, deep + ": valid\n"},
        {"batch " + fifo + " " + deep + " " + absent + " " + bad_line + " " + conflicts + " --jobs 3", 2,
         deep + ": valid\n" + absent + ": error: cannot read the settings file " + absent +
             ": No such file or directory\n" + bad_line + ": error: expected NAME=VALUE, found 'not a setting'\n" + conflicts +
             ": invalid (3 errors)\n"},
        {"batch " + fifo + " " + write_temp_file("unknown.settings", "NOSUCH=1\n"), 2,
         temp_folder() + "/unknown.settings: error: no port or parameter is named NOSUCH\n"},
        {"batch " + example("absent.xml") + " " + deep, 2,
         example("absent.xml") + ": error: cannot open the description file \"" + example("absent.xml") +
             "\": no such file\n"},
        // A shard validates the configurations its lines name.
        {"sweep " + fifo + " --vary 'DEPTH=16|1000' --vary MEMORY_TYPE --shard 1/2 --jobs 2", 0,
         "1 DEPTH=16 MEMORY_TYPE=distributed: valid\n3 DEPTH=1000 MEMORY_TYPE=distributed: invalid (2 errors)\n"},
        // Corners: a shard of them, and those of named parameters; the first line sets nothing.
        {"sweep " + test_data("sweep-corners.xml") + " --corners --shard 1/3", 0, "1 SIZE=0: valid\n4 MODE=x: valid\n"},
        {"sweep " + fifo + " --corners --vary MEMORY_TYPE --vary 'WIDTH=2..3' --jobs 2", 0,
         "0: valid\n1 MEMORY_TYPE=distributed: valid\n2 WIDTH=2: valid\n3 WIDTH=3: valid\n"
         "4 MEMORY_TYPE=distributed WIDTH=3: valid\n"},
        // Valid-only draws of a block that has no valid configuration: an error line, status 2.
        {"sweep " + test_data("sweep-never.xml") + " --random 1 --valid-only", 2,
         "0 PICK=1: error: no valid configuration in 100 draws, each repaired where the repair could\n"},
    };
    for (const auto& c : cases) {
        const TOOL_RUN run = run_kova(c.arguments, false);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
    }
}

// What sweep says on standard error: the summary, a cut by --limit, the
// reason of a refusal; never a progress line when it is not a terminal.
TEST(BatchAndSweep, SweepReportsOnStandardError) {
    const std::string fifo = example("fifo.xml");
    const struct { std::string arguments; std::string err; } cases[] = {
        {"--vary 'DEPTH=16|1000' --vary MEMORY_TYPE",
         "kova sweep: 4 configurations: 2 valid, 2 invalid\nmost frequent messages:\n  2 x " + fifo +
             ":20:38: error: Parameter DEPTH has been assigned the value 1000 which is incompatible with the "
             "current settings of . The legal value (or range) is 16|32|64|128|256|512\n  1 x " + fifo +
             ":28:64: error: Parameter MEMORY_TYPE has been assigned the value distributed which is incompatible "
             "with the current settings of DEPTH(1000). The legal value (or range) is block\n"},
        {"--vary DEPTH --shard 0/2 --limit 1",
         "kova sweep: --limit 1 cut the sweep at 1 of the 3 configurations of the shard\n"
         "kova sweep: 1 configuration: 1 valid, 0 invalid\n"},
        {"--vary NOSUCH", "kova: --vary: the description has no port or parameter named 'NOSUCH'\n"},
        {"", "kova: a sweep needs --vary NAME, --random N or --corners\n"},
        {"--corners --vary clk", "kova: --vary: corners take integer and string parameters, not in clk\n"},
        {"--corners --random 3", "kova: --random excludes --corners\n"},
        {"--valid-only --vary DEPTH", "kova: --valid-only requires --random\n"},
        {"--random 3 --seed 7 --valid-only", "kova sweep: 3 configurations: 3 valid, 0 invalid; 3 draws, 0 repaired\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run_shell(kova_tool() + " sweep " + fifo + " " + c.arguments + " 2>&1 >/dev/null").out,
                  c.err) << c.arguments;
}

// Valid-only draws in one thread and in three give the same lines, every one valid.
TEST(BatchAndSweep, ValidOnlyDrawsDoNotDependOnThreads) {
    const std::string sweep = "sweep " + example("uart.xml") + " --random 20 --seed 11 --valid-only --format jsonl";
    const TOOL_RUN one = run_kova(sweep + " --jobs 1", false), three = run_kova(sweep + " --jobs 3", false);
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, three.out);
    std::size_t lines = 0, valid = 0;
    for (std::size_t at = 0; (at = one.out.find('\n', at)) != std::string::npos; ++at) ++lines;
    for (std::size_t at = 0; (at = one.out.find("\"valid\":true", at)) != std::string::npos; ++at) ++valid;
    EXPECT_EQ(lines, 20u);
    EXPECT_EQ(valid, 20u);
}
