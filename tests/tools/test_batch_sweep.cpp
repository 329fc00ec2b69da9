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
    };
    for (const auto& c : cases)
        EXPECT_EQ(run_shell(kova_tool() + " sweep " + fifo + " " + c.arguments + " 2>&1 >/dev/null").out,
                  c.err) << c.arguments;
}
