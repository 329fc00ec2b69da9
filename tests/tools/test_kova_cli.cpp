// The kova tool driven as a user would: exit codes and what it prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/test_support.h"

namespace {

std::string ram() { return test_data("run/ram.xml"); }

std::string fifo() { return example("fifo.xml"); }

}  // namespace

// Each run's exit status and its whole output (whole) or a part of it.
TEST(KovaTool, SubcommandsExitStatusAndOutput) {
    const std::string parse_error = "expression: warning: parse error, expecting `$' while parsing ";
    const std::string example_ram = example("ram.xml"), example_counter = example("counter.xml");
    const std::string readings = write_temp_file("readings.settings", "# widths\nMODE=SIMPLE\nWIDTH=8.5\n");
    // A run corrects a parameter that had no value (its usage state
    // conflicts): the note says so.
    const std::string unset = write_temp_file(
        "unset.xml", "<model function=\"u\">\n<object name=\"P\" kind=\"integer\" value=\"1|2|4\" "
                     "default_usage_state=\"USED\" silent_correction=\"true\">\n<rule type=\"legal_values\" "
                     "value=\"1|2|4\"/><rule condition=\"1 == 1\" value=\"UNUSED\" alt_value=\"USED\"/></object>\n"
                     "</model>\n");
    // A run reports beside the verdict cycles from initialisation, rule
    // texts that do not parse and silent corrections, each graded.
    const std::string cycle = write_temp_file("cycle.xml",
        "<model function=\"c\">\n"
        "  <object name=\"H1\" kind=\"hidden\" value=\"H2 + 1\"/>\n"
        "  <object name=\"H2\" kind=\"hidden\" value=\"H1 + 1\"/>\n"
        "  <object name=\"P\" kind=\"integer\" default=\"1\" default_usage_state=\"USED\">\n"
        "    <rule condition=\"(P\"/>\n"
        "  </object>\n"
        "</model>\n");
    // Settings files with errors apply nothing.
    const std::string bad = write_temp_file("bad.settings", "DEPTH=32\nno equals sign\n=3\n");
    const std::string unknown = write_temp_file("unknown.settings", "DEPTH=32\n\nNOPE=1\nMODE=DUAL\nMODE=SIMPLE\n");
    // An existing settings file too large to read is not saved over.
    const std::string huge = write_temp_file("huge.settings", "# keep me\n");
    std::filesystem::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    // Two versions of a block and settings files of each.
    const std::string v1 = example("versions/uart-v1.xml"), v2 = example("versions/uart-v2.xml"),
                      old_settings = example("versions/uart-v1.settings"), lab = example("versions/uart-v2.settings"),
                      fast = example("versions/uart-v2-fast.settings"), migrated = temp_folder() + "/migrated.settings";
    // Every check that finds something in lint-mistakes.xml left out.
    std::string disable_all;
    for (const char* check : {"unknown-name", "precedence", "cycle", "parse-error", "unplaced-character",
                              "default-warning", "unknown-literal", "text-order", "glued-name", "overflow",
                              "inexact-division", "truth-word"})
        disable_all += std::string(" --disable ") + check;
    const struct { std::string arguments; int status; std::string out; bool whole = false; } cases[] = {
        {"validate " + ram() + " --set WIDTH", 2, "--set takes NAME=VALUE"},
        {"validate " + ram() + " --set addr_a=5", 2, "port addr_a takes USED, UNUSED, CONSTANT"},
        {"valdate " + ram(), 2, "kova: unknown subcommand 'valdate' (did you mean validate?)"},
        {"validate " + ram() + " --sttings x", 2, "unknown option --sttings for validate (did you mean --settings?)"},
        {"--version", 0, "kova 0.1.0\n"},
        {"validate " + ram() + " --constant addr_b=0xZZ", 2, "the constant value '0xZZ' of addr_b is not a number"},
        {"validate " + ram() + " --constant WIDTH=3", 2, "--constant holds a port; WIDTH is a parameter"},
        {"show " + ram() + " --format json --function other", 0, "\"function\": \"other\""},
        // Bytes that are not UTF-8 pass through text output as they are.
        {"eval " + ram() + " MODE --set \"MODE=$(printf '\\377')\"", 0, "\xff\n"},
        {"validate " + ram() + " --set \"$(printf 'W\\377')=1\"", 2, "no port or parameter is named W\xff"},
        // lint: a finding names its check; exit 1 for warnings too.
        {"lint " + test_data("lint-mistakes.xml"), 1,
         test_data("lint-mistakes.xml") + ":11:51: warning: WIDTH * 2 < DEPTH reads as WIDTH * (2 < DEPTH): "
                                          "comparisons bind tighter than arithmetic; write the parentheses you mean "
                                          "[precedence]\n"},
        {"lint " + test_data("lint-mistakes.xml") + " --werror --disable unknown-name", 1,
         ":11:51: error: WIDTH * 2 < DEPTH"},
        {"lint " + test_data("lint-mistakes.xml") + disable_all, 0, "", true},
        // A loop written out with its other object as a note; a parse error under its line, a caret at its "(".
        {"lint " + cycle, 1, cycle + ":3:42: error: cyclical dependency: H2 -> H1 -> H2 (each object reads the next) "
                             "[cycle]\n" + cycle + ":2:42: note: H1 is part of the loop: it reads H2 here\n" + cycle +
                             ":5:22: error: parse error while parsing (P [parse-error]\n    <rule condition=\"(P\"/>\n"
                             "                     ^\n  hint: this `(` is never closed: the text ends before its `)`\n",
         true},
        {"lint " + fifo() + " --enable missing-hlp", 2,
         "--enable: no check is named missing-hlp (did you mean missing-help?)"},
        // Labels and help texts: a help text written over two lines is one paragraph.
        {"show " + example_counter + " --help-texts", 0,
         "\ngenerics (wizard_map): Generics\n  The generics of the generated block, then every parameter as set.\n\n"},
        {"explain " + fifo() + " DEPTH", 0, "DEPTH: integer parameter\n  origin: default at " + fifo() + ":16\n"
             "  label: Depth\n  help: The number of words "
             "the FIFO holds: a power of two from 16 to 512. A FIFO deeper than 64 words needs block memory.\n"},
        {"eval " + ram() + " 'a ; b'", 1,
         parse_error + "a ; b\nexpression: warning: The characters \";\" of a ; b are not part of the rule language "
                       "and were skipped\n\n", true},
        {"eval " + ram() + " 1 --mode sideways", 2, ""},
        {"deps " + ram() + " NOSUCH", 2, ""}, {"deps " + ram(), 2, ""},
        {"ranges " + fifo() + " NOSUCH", 2, "kova: no port is named NOSUCH\n"},
        {"fix " + fifo() + " --keep NOSUCH", 2, "--keep: no port or parameter is named NOSUCH"},
        {"validate " + fifo() + " --minimal", 2, "--minimal requires --save"},
        // Integer values the engine reads as another number are warned of;
        // those it reads exactly are not.
        {"validate " + ram() + " --set DEPTH=32abc", 0, ram() + ": warning: DEPTH=32abc reads as 32\n" + ram() + ": valid\n", true},
        {"validate " + ram() + " --set DEPTH=+0032", 0, ram() + ": valid\n", true},
        {"validate " + ram() + " --set WIDTH=99999999999", 1, "warning: WIDTH=99999999999 reads as 2147483647\n"},
        {"validate " + ram() + " --settings " + readings, 0, readings + ":3: warning: WIDTH=8.5 reads as 8\n"},
        // A constant wider than its port: warned of, and generated only when forced.
        {"validate " + example_ram + " --constant dina=256", 0, "the constant 256 of port dina is wider than its 8 bits: the port is held at 0\n"},
        {"validate " + example_ram + " --constant dina=0b011111111", 0, example_ram + ": valid\n", true},
        {"generate " + example_ram + " --constant dina=0x1FFFF --lang verilog", 1,
         "error: nothing generated: the constant 0x1FFFF of port dina is wider than its 8 bits"},
        {"generate " + example_ram + " --constant dina=0x1FFFF --lang verilog --force", 0, ".dina(8'hFF)"},
        // A string value is written as the parameter's list spells it.
        {"generate " + example_counter + " --set DIRECTION=UP --lang verilog", 0, ".DIRECTION(\"up\")"},
        // The run's messages once, then the libraries.
        {"simlib " + fifo() + " --set DEPTH=1000", 1,
         fifo() + ":20:38: error: Parameter DEPTH has been assigned the value 1000 which is incompatible with the current "
                  "settings of . The legal value (or range) is 16|32|64|128|256|512\nfifo_lib;bram_lib;prim_lib;\n" +
             fifo() + ": invalid\n", true},
        // stimulus of the counter example.
        {"stimulus " + example_counter + " no_such_vector --time 0", 2,
         "kova: no stimulus vector is named no_such_vector\n", true},
        {"stimulus " + example_counter + " count_cycle", 2, "--time is required"},
        // The map's values follow the settings; the parameters come after them.
        {"wizard-map " + example_counter + " generics --set WIDTH=12 --set DIRECTION=both --use up_dn", 0,
         "string   C_COUNT_MODE      UP_DOWN  USED   map\n"
         "integer  C_TERMINAL_COUNT  4095     USED   map\n"
         "integer  C_HAS_LOAD        0        USED   map\n"
         "integer  WIDTH             12       NONE   parameter\n"},
        {"validate " + unset, 0, unset + ":2:1: note: P: (no value) corrected to 4\n"},
        // Where each value came from: the correction with its rule and the value before, in the table and first
        // in an explanation; a correction the derive for a constant makes is still noted.
        {"show " + unset + " --origin", 0,
         "USED   USED         corrected from (no value) by 1 == 1 at " + unset + ":3\n"},
        {"explain " + example("uart.xml") + " DATA_BITS --set PARITY=EVEN --set DATA_BITS=9 --constant rxd=1", 0,
         "note: DATA_BITS: 9 corrected to 8\nDATA_BITS: integer parameter\n  origin: corrected from 9 by "
         "PARITY != NONE at " + example("uart.xml") + ":29\n  label:"},
        // A failed check is followed by the settings it reads through a hidden parameter; the note counts for nothing.
        {"validate " + test_data("uart.xml"), 1, test_data("uart.xml") + ":8:22: error: Ports and parameters  should "
             "satisfy the condition BAUD_ERROR < 2\n" + test_data("uart.xml") +
             ":8:22: note: reads CLK_FREQ_HZ=16000000, BAUD_RATE=115200 through BAUD_ERROR\n" + test_data("uart.xml") +
             ": invalid\n", true},
        // A function rule that sets the failure is named at its place; maps are printed one after another.
        {"validate " + test_data("places.xml") + " --set WIDTH=40", 1, test_data("places.xml") +
             ":18:43: error: The function rule WIDTH > 32 holds, so the configuration is not valid\n"},
        {"wizard-map " + example_counter, 0, "CLOCK_PERIOD      10     NONE   parameter\n\nports: 7 objects\n"},
        // Lint's help points at the page of its checks, after its options.
        {"help lint", 0, "--enable TEXT ...           Run a check that runs only on request (repeatable), such as "
             "missing-help\n\nEvery check, with an example of the mistake and its fix: docs/lint.md\n"},
        {"lint --help", 0, "the checks are listed in docs/lint.md"},
        // The tool's help and the messages subcommand's point at the catalogue of messages.
        {"help", 0, "Every message kova gives, what it means and what to do: docs/messages.md\n"},
        {"help messages", 0, "Every message kova itself gives, what it means and what to do: docs/messages.md\n"},
        // kova help lists every subcommand, the language server too.
        {"help", 0, "  lsp                         Serve editors over the Language Server Protocol"},
        // Control characters of texts are shown, not sent to the terminal.
        {"validate " + example_ram + " --set \"MODE=$(printf 'x\\033[2J')\"", 1, "assigned the value x\\x1b[2J which"},
        {"validate " + ram() + " --save " + huge, 2, "cannot save the settings to " + huge +
             ": the existing file is larger than 67108864 bytes; it is left as it was"},
        {"validate " + cycle, 0,
         cycle + ":3:42: warning: Cyclical dependency in string H1 + 1 because of object H1 while creating dependency "
                 "list for H2\n" + cycle + ":5:22: warning: parse error while parsing (P\n" + cycle +
             ":5:22: warning: Condition (P of object P with settings P(1) did not evaluate to be a boolean expression, "
             "but evaluates to \n" + cycle + ": valid\n", true},
        // Every subcommand that initialises shows the cycle.
        {"validate " + v2 + " --set BAUD=9600", 2,
         "error: no port or parameter is named BAUD (renamed to BAUD_RATE; run kova migrate)\n"},
        {"validate " + v2 + " --set BAUD_RATE=9600", 0, v2 + ": valid\n", true},
        {"diff " + v1 + " " + v2, 1, "BAUD_RATE: renamed from BAUD\nBAUD_RATE: default: 9600 -> 115200\n"},
        {"diff " + v2 + " " + v2, 0, v2 + " -> " + v2 + ": no changes\n", true},
        {"diff " + lab + " " + fast + " --description " + v2, 1,
         "CLK_FREQ_HZ: 50000000 (" + lab + ":2) -> 100000000 (" + fast + ":2)\n"},
        {"diff " + lab + " " + fast, 2, "kova: " + lab + " is no description; to compare two settings files"},
        // A FIFO is not opened to look at it: the reader refuses it.
        {"diff /dev/stdin " + v2 + " < /dev/null", 2, "/dev/stdin\": not a readable file"},
        {"diff " + lab + " " + lab + " --description " + v1, 2, lab + ":3: error: no port or parameter is named "
         "BAUD_RATE"},
        {"migrate " + old_settings + " --to " + v2 + " --save " + migrated + " --fix", 1,
         old_settings + ":7: LOOPBACK=1: removed in this version (kept as a comment)\nSTOP_BITS=1: not set, takes its "
         "default\nrepaired: DATA_BITS: 9 -> 8 (legal: 5-8)\nsaved to " + migrated + "\n" + v2 + ": valid\n"},
        // The migrated file migrates again with nothing to do: LOOPBACK is a comment now.
        {"migrate " + migrated + " --to " + v2, 0, migrated + ":3: BAUD_RATE=57600: kept\n" + migrated +
         ":5: DATA_BITS=8: kept\n" + migrated + ":6: PARITY=NONE: kept\nSTOP_BITS=1"},
        {"migrate " + lab + " --to " + v1, 1, lab + ":3: BAUD_RATE=57600: removed in this version"},
        {"show " + cycle, 0, "warning: Cyclical dependency"},
        {"validate " + ram() + " --set BURST=3", 0, ram() + ":16:3: note: BURST: 3 corrected to 4\n"},
        {"validate " + ram() + " --settings " + bad, 2,
         bad + ":2: error: expected NAME=VALUE, found 'no equals sign'\n" +
             bad + ":3: error: a setting needs a name before '='\n", true},
        {"validate " + ram() + " --settings " + unknown, 2,
         unknown + ":5: warning: MODE is given on line 4 and again on line 5; line 5 is the one used\n" + unknown +
             ":3: error: no port or parameter is named NOPE\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const TOOL_RUN run = run_kova(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.out;
        if (c.whole)
            EXPECT_EQ(run.out, c.out);
        else
            EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    }
}

// Saves load back, run by run: validate --save writes the silent
// correction, keeps a file's comments, blank lines and order and updates
// its values in place; command-line settings come after the file's; fix
// --save writes the repair, in full or, with --minimal, only what differs
// from the defaults.
TEST(KovaTool, SavedSettingsLoadBack) {
    const std::string settings =
        write_temp_file("ram.settings", "# dual port RAM\nDEPTH=32   # words\n  BURST = 3\n\nMODE=DUAL\naddr_b=USED\n");
    const std::string saved = temp_folder() + "/saved.settings", full = temp_folder() + "/full.settings",
                      minimal = temp_folder() + "/minimal.settings",
                      conflicts = example("fifo-conflicts.settings");
    const struct { std::string arguments, out; } runs[] = {
        {"validate " + ram() + " --settings " + settings + " --save " + saved, ""},
        {"eval " + ram() + " 'DEPTH + BURST' --settings " + saved, "36\n"},
        {"eval " + ram() + " DEPTH --settings " + saved + " --set DEPTH=64", "64\n"},
        {"validate " + ram() + " --settings " + settings + " --set DEPTH=64 --save " + settings, ""},
        {"fix " + fifo() + " --settings " + conflicts + " --save " + full, ""},
        {"validate " + fifo() + " --settings " + full, fifo() + ": valid\n"},
        {"fix " + fifo() + " --settings " + conflicts + " --save " + minimal + " --minimal", ""},
        {"validate " + fifo() + " --settings " + minimal, fifo() + ": valid\n"},
    };
    for (const auto& r : runs) {
        const TOOL_RUN run = run_kova(r.arguments);
        EXPECT_EQ(run.status, 0) << r.arguments << "\n" << run.out;
        EXPECT_TRUE(r.out.empty() || run.out == r.out) << r.arguments << "\n" << run.out;
    }
    EXPECT_EQ(file_text(settings).rfind(
                  "# dual port RAM\nDEPTH=64   # words\n  BURST = 4\n\nMODE=DUAL\naddr_b=USED\n", 0), 0u)
        << file_text(settings);
    const std::string full_text = file_text(full), minimal_text = file_text(minimal);
    EXPECT_LT(std::count(minimal_text.begin(), minimal_text.end(), '\n'),
              std::count(full_text.begin(), full_text.end(), '\n'))
        << minimal_text;
}
