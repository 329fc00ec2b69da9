// The kova tool driven as a user would: exit codes and what it prints, settings it saves loading back, and the
// walk-throughs of the README, the authoring guide and the life of a value run exactly as written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/test_support.h"
#include "tests/tools/command_lines.h"

namespace {

// The files the runs name: {RAM} is the tests' ram.xml, {XRAM} the example's; {TMP} holds the files a test writes.
PLACES cli_places() {
    return {{"{RAM}", test_data("run/ram.xml")}, {"{XRAM}", example("ram.xml")}, {"{FIFO}", example("fifo.xml")},
            {"{COUNTER}", example("counter.xml")}, {"{UART}", example("uart.xml")}, {"{V}", example("versions")},
            {"{DATA}", KOVA_TEST_DATA}, {"{EXAMPLES}", KOVA_EXAMPLES}, {"{TMP}", temp_folder()}};
}

// A command of a console block ("$ " line) of a page, and the lines up to the next command or the block's end,
// which are what it must print.
struct SHOWN_COMMAND { std::string command, output; };

std::vector<SHOWN_COMMAND> console_commands(std::istream& readme) {
    std::vector<SHOWN_COMMAND> commands;
    bool in_console = false;
    std::string line;
    while (std::getline(readme, line)) {
        if (!in_console || line == "```")
            in_console = !in_console && line == "```console";
        else if (line.rfind("$ ", 0) == 0)
            commands.push_back({line.substr(2), ""});
        else if (!commands.empty())
            commands.back().output += line + "\n";
    }
    return commands;
}

// Runs a page's command from the source folder with the tool of this build, whatever the build folder is named.
std::string run_in_source_folder(std::string command) {
    const std::string shown_tool = "build/tools/kova";
    if (command.rfind(shown_tool, 0) == 0) command = kova_tool() + command.substr(shown_tool.size());
    return run_shell("cd '" + std::string(KOVA_SOURCE_DIR) + "' && " + command + " 2>&1").out;
}

}  // namespace

// Each run's exit status and its whole output (whole) or a part of it.
TEST(KovaTool, SubcommandsExitStatusAndOutput) {
    const std::string parse_error = "expression: warning: parse error, expecting `$' while parsing ";
    write_temp_file("readings.settings", "# widths\nMODE=SIMPLE\nWIDTH=8.5\n");
    // A run corrects a parameter that had no value (its usage state conflicts): the note says so.
    write_temp_file("unset.xml", "<model function=\"u\">\n<object name=\"P\" kind=\"integer\" value=\"1|2|4\" "
                    "default_usage_state=\"USED\" silent_correction=\"true\">\n<rule type=\"legal_values\" "
                    "value=\"1|2|4\"/><rule condition=\"1 == 1\" value=\"UNUSED\" alt_value=\"USED\"/></object>\n"
                    "</model>\n");
    // A run reports beside the verdict cycles from initialisation, rule texts that do not parse and silent
    // corrections, each graded.
    write_temp_file("cycle.xml", "<model function=\"c\">\n  <object name=\"H1\" kind=\"hidden\" value=\"H2 + 1\"/>\n"
                                 "  <object name=\"H2\" kind=\"hidden\" value=\"H1 + 1\"/>\n"
                                 "  <object name=\"P\" kind=\"integer\" default=\"1\" default_usage_state=\"USED\">\n"
                                 "    <rule condition=\"(P\"/>\n  </object>\n</model>\n");
    // Settings files with errors apply nothing.
    write_temp_file("bad.settings", "DEPTH=32\nno equals sign\n=3\n");
    write_temp_file("unknown.settings", "DEPTH=32\n\nNOPE=1\nMODE=DUAL\nMODE=SIMPLE\n");
    // An existing settings file too large to read is not saved over.
    std::filesystem::resize_file(write_temp_file("huge.settings", "# keep me\n"), (std::uintmax_t{64} << 20) + 1);
    // Every check that finds something in lint-mistakes.xml left out.
    const std::string disable_all = " --disable unknown-name --disable precedence --disable cycle --disable "
        "parse-error --disable unplaced-character --disable default-warning --disable unknown-literal --disable "
        "text-order --disable glued-name --disable overflow --disable inexact-division --disable truth-word";
    const struct { std::string arguments; int status; std::string out; bool whole = false; } cases[] = {
        {"validate {RAM} --set WIDTH", 2, "--set takes NAME=VALUE"},
        {"validate {RAM} --set addr_a=5", 2, "port addr_a takes USED, UNUSED, CONSTANT"},
        {"valdate {RAM}", 2, "kova: unknown subcommand 'valdate' (did you mean validate?)"},
        {"validate {RAM} --sttings x", 2, "unknown option --sttings for validate (did you mean --settings?)"},
        {"--version", 0, "kova 0.1.0\n"},
        {"validate {RAM} --constant addr_b=0xZZ", 2, "the constant value '0xZZ' of addr_b is not a number"},
        {"validate {RAM} --constant WIDTH=3", 2, "--constant holds a port; WIDTH is a parameter"},
        {"show {RAM} --format json --function other", 0, "\"function\": \"other\""},
        // Bytes that are not UTF-8 pass through text output as they are.
        {"eval {RAM} MODE --set \"MODE=$(printf '\\377')\"", 0, "\xff\n"},
        {"validate {RAM} --set \"$(printf 'W\\377')=1\"", 2, "no port or parameter is named W\xff"},
        // lint: a finding names its check; exit 1 for warnings too.
        {"lint {DATA}/lint-mistakes.xml", 1, "{DATA}/lint-mistakes.xml:11:51: warning: WIDTH * 2 < DEPTH reads as "
         "WIDTH * (2 < DEPTH): comparisons bind tighter than arithmetic; write the parentheses you mean "
         "[precedence]\n"},
        {"lint {DATA}/lint-mistakes.xml --werror --disable unknown-name", 1, ":11:51: error: WIDTH * 2 < DEPTH"},
        {"lint {DATA}/lint-mistakes.xml" + disable_all, 0, "", true},
        // A loop written out with its other object as a note; a parse error under its line, a caret at its "(".
        {"lint {TMP}/cycle.xml", 1, "{TMP}/cycle.xml:3:42: error: cyclical dependency: H2 -> H1 -> H2 (each object "
         "reads the next) [cycle]\n{TMP}/cycle.xml:2:42: note: H1 is part of the loop: it reads H2 here\n"
         "{TMP}/cycle.xml:5:22: error: parse error while parsing (P [parse-error]\n    <rule condition=\"(P\"/>\n"
         "                     ^\n  hint: this `(` is never closed: the text ends before its `)`\n", true},
        {"lint {FIFO} --enable missing-hlp", 2, "--enable: no check is named missing-hlp (did you mean missing-help?)"},
        // Labels and help texts: a help text written over two lines is one paragraph.
        {"show {COUNTER} --help-texts", 0,
         "\ngenerics (wizard_map): Generics\n  The generics of the generated block, then every parameter as set.\n\n"},
        {"explain {FIFO} DEPTH", 0, "DEPTH: integer parameter\n  origin: default at {FIFO}:16\n  label: Depth\n  help: "
         "The number of words the FIFO holds: a power of two from 16 to 512. A FIFO deeper than 64 words needs block "
         "memory.\n"},
        {"eval {RAM} 'a ; b'", 1, parse_error + "a ; b\nexpression: warning: The characters \";\" of a ; b are not "
         "part of the rule language and were skipped\n\n", true},
        {"eval {RAM} 1 --mode sideways", 2, ""}, {"deps {RAM} NOSUCH", 2, ""}, {"deps {RAM}", 2, ""},
        {"ranges {FIFO} NOSUCH", 2, "kova: no port is named NOSUCH\n"},
        {"fix {FIFO} --keep NOSUCH", 2, "--keep: no port or parameter is named NOSUCH"},
        {"validate {FIFO} --minimal", 2, "--minimal requires --save"},
        // Integer values the engine reads as another number are warned of; those it reads exactly are not.
        {"validate {RAM} --set DEPTH=32abc", 0, "{RAM}: warning: DEPTH=32abc reads as 32\n{RAM}: valid\n", true},
        {"validate {RAM} --set DEPTH=+0032", 0, "{RAM}: valid\n", true},
        {"validate {RAM} --set WIDTH=99999999999", 1, "warning: WIDTH=99999999999 reads as 2147483647\n"},
        {"validate {RAM} --settings {TMP}/readings.settings", 0,
         "{TMP}/readings.settings:3: warning: WIDTH=8.5 reads as 8\n"},
        // A constant wider than its port: warned of, and generated only when forced.
        {"validate {XRAM} --constant dina=256", 0,
         "the constant 256 of port dina is wider than its 8 bits: the port is held at 0\n"},
        {"validate {XRAM} --constant dina=0b011111111", 0, "{XRAM}: valid\n", true},
        {"generate {XRAM} --constant dina=0x1FFFF --lang verilog", 1,
         "error: nothing generated: the constant 0x1FFFF of port dina is wider than its 8 bits"},
        {"generate {XRAM} --constant dina=0x1FFFF --lang verilog --force", 0, ".dina(8'hFF)"},
        // A string value is written as the parameter's list spells it.
        {"generate {COUNTER} --set DIRECTION=UP --lang verilog", 0, ".DIRECTION(\"up\")"},
        // The run's messages once, then the libraries.
        {"simlib {FIFO} --set DEPTH=1000", 1, "{FIFO}:20:38: error: Parameter DEPTH has been assigned the value 1000 "
         "which is incompatible with the current settings of . The legal value (or range) is 16|32|64|128|256|512\n"
         "fifo_lib;bram_lib;prim_lib;\n{FIFO}: invalid\n", true},
        // stimulus of the counter example.
        {"stimulus {COUNTER} no_such_vector --time 0", 2, "kova: no stimulus vector is named no_such_vector\n", true},
        {"stimulus {COUNTER} count_cycle", 2, "--time is required"},
        // The map's values follow the settings; the parameters come after them.
        {"wizard-map {COUNTER} generics --set WIDTH=12 --set DIRECTION=both --use up_dn", 0,
         "string   C_COUNT_MODE      UP_DOWN  USED   map\ninteger  C_TERMINAL_COUNT  4095     USED   map\n"
         "integer  C_HAS_LOAD        0        USED   map\ninteger  WIDTH             12       NONE   parameter\n"},
        {"validate {TMP}/unset.xml", 0, "{TMP}/unset.xml:2:1: note: P: (no value) corrected to 4\n"},
        // Where each value came from: the correction with its rule and the value before, in the table and first
        // in an explanation; a correction the derive for a constant makes is still noted.
        {"show {TMP}/unset.xml --origin", 0,
         "USED   USED         corrected from (no value) by 1 == 1 at {TMP}/unset.xml:3\n"},
        {"explain {UART} DATA_BITS --set PARITY=EVEN --set DATA_BITS=9 --constant rxd=1", 0, "note: DATA_BITS: 9 "
         "corrected to 8\nDATA_BITS: integer parameter\n  origin: corrected from 9 by PARITY != NONE at {UART}:29\n"
         "  label:"},
        // A failed check is followed by the settings it reads through a hidden parameter; the note counts for nothing.
        {"validate {DATA}/uart.xml", 1, "{DATA}/uart.xml:8:22: error: Ports and parameters  should satisfy the "
         "condition BAUD_ERROR < 2\n{DATA}/uart.xml:8:22: note: reads CLK_FREQ_HZ=16000000, BAUD_RATE=115200 through "
         "BAUD_ERROR\n{DATA}/uart.xml: invalid\n", true},
        // A function rule that sets the failure is named at its place; maps are printed one after another.
        {"validate {DATA}/places.xml --set WIDTH=40", 1,
         "{DATA}/places.xml:18:43: error: The function rule WIDTH > 32 holds, so the configuration is not valid\n"},
        {"wizard-map {COUNTER}", 0, "CLOCK_PERIOD      10     NONE   parameter\n\nports: 7 objects\n"},
        // Lint's help points at the page of its checks, after its options.
        {"help lint", 0, "--enable TEXT ...           Run a check that runs only on request (repeatable), such as "
         "missing-help\n\nEvery check, with an example of the mistake and its fix: docs/lint.md\n"},
        {"lint --help", 0, "the checks are listed in docs/lint.md"},
        // The tool's help and the messages subcommand's point at the catalogue of messages; kova help lists every
        // subcommand, the language server too.
        {"help", 0, "Every message kova gives, what it means and what to do: docs/messages.md\n"},
        {"help messages", 0, "Every message kova itself gives, what it means and what to do: docs/messages.md\n"},
        {"help", 0, "  lsp                         Serve editors over the Language Server Protocol"},
        // Control characters of texts are shown, not sent to the terminal.
        {"validate {XRAM} --set \"MODE=$(printf 'x\\033[2J')\"", 1, "assigned the value x\\x1b[2J which"},
        {"validate {RAM} --save {TMP}/huge.settings", 2, "cannot save the settings to {TMP}/huge.settings: the "
         "existing file is larger than 67108864 bytes; it is left as it was"},
        {"validate {TMP}/cycle.xml", 0, "{TMP}/cycle.xml:3:42: warning: Cyclical dependency in string H1 + 1 because "
         "of object H1 while creating dependency list for H2\n{TMP}/cycle.xml:5:22: warning: parse error while "
         "parsing (P\n{TMP}/cycle.xml:5:22: warning: Condition (P of object P with settings P(1) did not evaluate to "
         "be a boolean expression, but evaluates to \n{TMP}/cycle.xml: valid\n", true},
        // Versions: a renamed setting points at migrate; descriptions and settings files compared and migrated.
        {"validate {V}/uart-v2.xml --set BAUD=9600", 2,
         "error: no port or parameter is named BAUD (renamed to BAUD_RATE; run kova migrate)\n"},
        {"validate {V}/uart-v2.xml --set BAUD_RATE=9600", 0, "{V}/uart-v2.xml: valid\n", true},
        {"diff {V}/uart-v1.xml {V}/uart-v2.xml", 1,
         "BAUD_RATE: renamed from BAUD\nBAUD_RATE: default: 9600 -> 115200\n"},
        {"diff {V}/uart-v2.xml {V}/uart-v2.xml", 0, "{V}/uart-v2.xml -> {V}/uart-v2.xml: no changes\n", true},
        {"diff {V}/uart-v2.settings {V}/uart-v2-fast.settings --description {V}/uart-v2.xml", 1,
         "CLK_FREQ_HZ: 50000000 ({V}/uart-v2.settings:2) -> 100000000 ({V}/uart-v2-fast.settings:2)\n"},
        {"diff {V}/uart-v2.settings {V}/uart-v2-fast.settings", 2,
         "kova: {V}/uart-v2.settings is no description; to compare two settings files"},
        // A FIFO is not opened to look at it: the reader refuses it.
        {"diff /dev/stdin {V}/uart-v2.xml < /dev/null", 2, "/dev/stdin\": not a readable file"},
        {"diff {V}/uart-v2.settings {V}/uart-v2.settings --description {V}/uart-v1.xml", 2,
         "{V}/uart-v2.settings:3: error: no port or parameter is named BAUD_RATE"},
        {"migrate {V}/uart-v1.settings --to {V}/uart-v2.xml --save {TMP}/migrated.settings --fix", 1,
         "{V}/uart-v1.settings:7: LOOPBACK=1: removed in this version (kept as a comment)\nSTOP_BITS=1: not set, takes "
         "its default\nrepaired: DATA_BITS: 9 -> 8 (legal: 5-8)\nsaved to {TMP}/migrated.settings\n"
         "{V}/uart-v2.xml: valid\n"},
        // The migrated file migrates again with nothing to do: LOOPBACK is a comment now.
        {"migrate {TMP}/migrated.settings --to {V}/uart-v2.xml", 0, "{TMP}/migrated.settings:3: BAUD_RATE=57600: kept\n"
         "{TMP}/migrated.settings:5: DATA_BITS=8: kept\n{TMP}/migrated.settings:6: PARITY=NONE: kept\nSTOP_BITS=1"},
        {"migrate {V}/uart-v2.settings --to {V}/uart-v1.xml", 1,
         "{V}/uart-v2.settings:3: BAUD_RATE=57600: removed in this version"},
        // Every subcommand that initialises shows the cycle.
        {"show {TMP}/cycle.xml", 0, "warning: Cyclical dependency"},
        {"validate {RAM} --set BURST=3", 0, "{RAM}:16:3: note: BURST: 3 corrected to 4\n"},
        {"validate {RAM} --settings {TMP}/bad.settings", 2, "{TMP}/bad.settings:2: error: expected NAME=VALUE, found "
         "'no equals sign'\n{TMP}/bad.settings:3: error: a setting needs a name before '='\n", true},
        {"validate {RAM} --settings {TMP}/unknown.settings", 2, "{TMP}/unknown.settings:5: warning: MODE is given on "
         "line 4 and again on line 5; line 5 is the one used\n{TMP}/unknown.settings:3: error: no port or parameter is "
         "named NOPE\n", true},
    };
    const PLACES places = cli_places();
    for (const auto& c : cases) {
        SCOPED_TRACE(placed(c.arguments, places));
        const TOOL_RUN run = run_kova(placed(c.arguments, places));
        EXPECT_EQ(run.status, c.status) << run.out;
        if (c.whole)
            EXPECT_EQ(run.out, placed(c.out, places));
        else
            EXPECT_NE(run.out.find(placed(c.out, places)), std::string::npos) << run.out;
    }
}

// Saves load back, run by run: validate --save writes the silent correction, keeps a file's comments, blank lines
// and order and updates its values in place; command-line settings come after the file's; fix --save writes the
// repair, in full or, with --minimal, only what differs from the defaults.
TEST(KovaTool, SavedSettingsLoadBack) {
    const std::string settings =
        write_temp_file("ram.settings", "# dual port RAM\nDEPTH=32   # words\n  BURST = 3\n\nMODE=DUAL\naddr_b=USED\n");
    const struct { std::string arguments, out; } runs[] = {
        {"validate {RAM} --settings {TMP}/ram.settings --save {TMP}/saved.settings", ""},
        {"eval {RAM} 'DEPTH + BURST' --settings {TMP}/saved.settings", "36\n"},
        {"eval {RAM} DEPTH --settings {TMP}/saved.settings --set DEPTH=64", "64\n"},
        {"validate {RAM} --settings {TMP}/ram.settings --set DEPTH=64 --save {TMP}/ram.settings", ""},
        {"fix {FIFO} --settings {EXAMPLES}/fifo-conflicts.settings --save {TMP}/full.settings", ""},
        {"validate {FIFO} --settings {TMP}/full.settings", "{FIFO}: valid\n"},
        {"fix {FIFO} --settings {EXAMPLES}/fifo-conflicts.settings --save {TMP}/minimal.settings --minimal", ""},
        {"validate {FIFO} --settings {TMP}/minimal.settings", "{FIFO}: valid\n"},
    };
    const PLACES places = cli_places();
    for (const auto& r : runs) {
        const TOOL_RUN run = run_kova(placed(r.arguments, places));
        EXPECT_EQ(run.status, 0) << r.arguments << "\n" << run.out;
        EXPECT_TRUE(r.out.empty() || run.out == placed(r.out, places)) << r.arguments << "\n" << run.out;
    }
    EXPECT_EQ(file_text(settings).rfind(
                  "# dual port RAM\nDEPTH=64   # words\n  BURST = 4\n\nMODE=DUAL\naddr_b=USED\n", 0), 0u)
        << file_text(settings);
    const std::string full_text = file_text(temp_folder() + "/full.settings"),
                      minimal_text = file_text(temp_folder() + "/minimal.settings");
    EXPECT_LT(std::count(minimal_text.begin(), minimal_text.end(), '\n'),
              std::count(full_text.begin(), full_text.end(), '\n'))
        << minimal_text;
}

TEST(Readme, WalkThroughPrintsWhatItShows) {
    // Each page, with the fewest commands it shows.
    const struct { const char* page; std::size_t commands; } pages[] = {
        {"README.md", 10}, {"docs/authoring.md", 7}, {"docs/lifecycle.md", 10}};
    for (const auto& page : pages) {
        std::ifstream text(std::string(KOVA_SOURCE_DIR) + "/" + page.page);
        ASSERT_TRUE(text) << page.page << " not found";
        const std::vector<SHOWN_COMMAND> commands = console_commands(text);
        EXPECT_GE(commands.size(), page.commands) << page.page;
        for (const SHOWN_COMMAND& shown : commands)
            EXPECT_EQ(run_in_source_folder(shown.command), shown.output) << page.page << ": " << shown.command;
    }
}
