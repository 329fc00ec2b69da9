// kova generate: how names are written in each language, which configurations cannot be written and why, what
// the instance connects to each kind of port, and the generator over a live session.
#include <gtest/gtest.h>

#include "generate/generate.h"
#include "generate/keywords.h"
#include "generate/writers.h"
#include "host/nuvo_int.h"
#include "tests/session/opened_session.h"

namespace {

// "" for a name the language refuses.
std::string spelled(bool (*spell)(const std::string&, std::string&), const std::string& name) {
    std::string result;
    return spell(name, result) ? result : "";
}

KOVA_GEN_PORT port(const std::string& name, int kind, int usage, int width, const std::string& bits = "") {
    return {name, kind, usage, width, std::to_string(width), bits, {}, {}};
}

KOVA_GEN_PARAMETER parameter(const std::string& name, bool is_string, const std::string& value) {
    return {name, is_string, value, value, KOVA_USAGE_USED, {}};
}

// A block with a port in every state a wrapper treats differently.
KOVA_GEN_CONFIG block() {
    const int in = KOVA_OBJ_INPUT_PORT, used = KOVA_USAGE_USED, unused = KOVA_USAGE_UNUSED, held = KOVA_USAGE_CONSTANT;
    return {"blk", {parameter("WIDTH", false, "8"), parameter("NOTE", true, "a\"b\\c?\?=\t"), parameter("OFFSET",
        false, "-3")},
            {port("clk", in, used, 1), port("din", in, used, 8), port("q", KOVA_OBJ_OUTPUT_PORT, unused, 8),
             port("spare", in, unused, 4), port("bit", in, unused, 1), port("level", in, held, 5, "10101"),
             port("held", in, held, 3), port("gone", in, unused, 0), port("inst", KOVA_OBJ_INOUT_PORT, used, 2)},
            {}, {}};
}

using LANG = KOVA_GENERATE_LANGUAGE;

// The text of a writer, and its problems joined.
struct WRITTEN { std::string text, problems; };

WRITTEN write(const KOVA_GEN_CONFIG& config, LANG language, bool stub = false, const std::string& name = "") {
    const KOVA_GENERATE_OPTIONS options{language, stub, name, false, "", {}};
    KOVA_MESSAGES problems;
    WRITTEN written{language == LANG::VHDL ? kova_write_vhdl(config, options, problems)
                    : language == LANG::C  ? kova_write_c_header(config, options, problems)
                                           : kova_write_verilog(config, language == LANG::SYSTEMVERILOG, options,
                                               problems), ""};
    for (const KOVA_MESSAGE& problem : problems) written.problems += problem.text + "\n";
    return written;
}

}  // namespace

// Each name as Verilog and VHDL write it ("" where the language refuses it: Verilog escapes only printable
// ASCII without blanks, VHDL none but a line end or a byte above ASCII) and as a word of a C macro. Verilog
// keywords are lower case and SystemVerilog's count too; VHDL's reserved words, in any case, include the
// names the output itself uses.
TEST(GenerateNames, EachLanguageSpellsOrRefusesEveryName) {
    const struct { std::string name, verilog, vhdl, c; } cases[] = {
        {"din", "din", "din", "DIN"}, {"module", "\\module ", "module", "MODULE"}, {"logic", "\\logic ", "logic", "LOGIC"},
        {"a-b", "\\a-b ", "\\a-b\\", "A_B"}, {"9lives", "\\9lives ", "\\9lives\\", "9LIVES"}, {"$x", "\\$x ", "\\$x\\", "_X"},
        {"a\\b", "\\a\\b ", "\\a\\\\b\\", "A_B"}, {"a b", "", "\\a b\\", "A_B"}, {"tab\t", "", "", "TAB_"},
        {"caf\xc3\xa9", "", "", "CAF__"}, {"", "", "", ""}, {"SIGNAL", "SIGNAL", "\\SIGNAL\\", "SIGNAL"},
        {"std_logic", "std_logic", "\\std_logic\\", "STD_LOGIC"}, {"Work", "Work", "\\Work\\", "WORK"},
        {"a__b", "a__b", "\\a__b\\", "A__B"}, {"a_", "a_", "\\a_\\", "A_"}, {"_a", "_a", "\\_a\\", "_A"},
        {"a$", "a$", "\\a$\\", "A_"}, {"R2d2", "R2d2", "R2d2", "R2D2"},
        // The ends of the keyword tables, and words of one language only.
        {"accept_on", "\\accept_on ", "accept_on", "ACCEPT_ON"}, {"Wire", "Wire", "Wire", "WIRE"},
        {"within", "\\within ", "within", "WITHIN"}, {"xor", "\\xor ", "\\xor\\", "XOR"}, {"ABS", "ABS", "\\ABS\\", "ABS"},
        {"view", "view", "\\view\\", "VIEW"}, {"zzz", "zzz", "zzz", "ZZZ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(spelled(kova_verilog_identifier, c.name), c.verilog) << c.name;
        EXPECT_EQ(spelled(kova_vhdl_identifier, c.name), c.vhdl) << c.name;
        EXPECT_EQ(kova_c_macro_word(c.name), c.c) << c.name;
    }
}

TEST(GenerateValues, IntegersAreDecimalWithinTheSymmetric32BitRange) {
    const struct { std::string text, value; } cases[] = {  // value: "" when refused
        {"0", "0"}, {"-5", "-5"}, {"08", "8"}, {"2147483647", "2147483647"}, {"-2147483647", "-2147483647"},
        {"2147483648", ""}, {"-2147483648", ""}, {"99999999999", ""}, {"+1", ""}, {"", ""}, {"-", ""}, {" 1", ""},
            {"0x10", ""},
    };
    for (const auto& c : cases) {
        long long value = 0;
        EXPECT_EQ(kova_generate_integer(c.text, value) ? std::to_string(value) : "", c.value) << c.text;
    }
}

// Each change to the block makes one language refuse it with a message
// holding the text shown; "" where that language writes it.
TEST(GenerateRefusals, ConfigurationsALanguageCannotWrite) {
    using CONFIG = KOVA_GEN_CONFIG;
    const auto zero_width = [](CONFIG& c) { c.ports[1].width = 0; c.ports[1].width_expression = "WIDTH - 8"; };
    const auto blank_name = [](CONFIG& c) { c.ports[0].name = "a b"; };
    const auto as_is = [](CONFIG&) {};
    const struct { const char* what; void (*change)(CONFIG&); LANG language; bool stub; std::string name, problem;
        } cases[] = {
        {"zero width", zero_width, LANG::VERILOG, false, "",
         "Port din is USED but its width WIDTH - 8 evaluates to 0 or less, so Verilog cannot declare it"},
        {"zero width", zero_width, LANG::VHDL, true, "", "so VHDL cannot declare it"},
        {"wide constant", [](CONFIG& c) { c.ports[5].width = NUVO_UINTEGER::NUVO_MAX_WIDTH + 1; }, LANG::SYSTEMVERILOG,
         false, "", "Port level is held constant at a width of 1048577 bits"},
        {"bad value", [](CONFIG& c) { c.parameters[0].value = "wide"; }, LANG::VERILOG, false, "",
         "Parameter WIDTH has the value 'wide', which Verilog cannot take as an integer"},
        {"bad default", [](CONFIG& c) { c.parameters[0].default_value = "x"; }, LANG::VHDL, true, "",
            "Parameter WIDTH has the default 'x'"},
        {"blank name", blank_name, LANG::VERILOG, false, "", "Port 'a b' cannot be written as a Verilog identifier"},
        {"blank name", blank_name, LANG::VHDL, false, "", ""},  // an extended identifier holds it
        {"no function", [](CONFIG& c) { c.function = ""; }, LANG::VHDL, true, "",
            "The function name '' cannot be written as a VHDL identifier"},
        {"own name", as_is, LANG::VERILOG, false, "blk", "The wrapper cannot take the block's own name blk"},
        {"own name", as_is, LANG::VHDL, false, "BLK", "The wrapper cannot take the block's own name BLK"},
        {"prefix", as_is, LANG::C, false, "_x", "The macro prefix '_x' must start with a letter (the name given)"},
        {"twin ports", [](CONFIG& c) { c.ports[0].name = "a-b"; c.ports[1].name = "a.b"; }, LANG::C, false, "",
         "The C macro BLK_A_B_WIDTH would stand for both the width of port a-b and the width of port a.b"},
        {"width named", [](CONFIG& c) { c.parameters[0].name = "din_width"; }, LANG::C, false, "",
         "The C macro BLK_DIN_WIDTH would stand for both parameter din_width and the width of port din"},
        {"guard named", [](CONFIG& c) { c.parameters[0].name = "cfg.h"; }, LANG::C, false, "",
         "The C macro BLK_CFG_H would stand for both the include guard and parameter cfg.h"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " in " + kova_generate_language_name(c.language));
        CONFIG config = block();
        c.change(config);
        const WRITTEN written = write(config, c.language, c.stub, c.name);
        EXPECT_EQ(written.problems.empty(), c.problem.empty()) << written.problems;
        EXPECT_NE(written.problems.find(c.problem), std::string::npos) << written.problems;
        EXPECT_EQ(written.text.empty(), !c.problem.empty());
    }
}

// What each writer makes of each kind of port and value: a fragment the text must hold (present) or must not.
TEST(GenerateWriters, EachPortAndValueIsWrittenAsItsStateAsks) {
    const struct { LANG language; bool stub; std::string fragment; bool present = true; } cases[] = {
        {LANG::VERILOG, false, "module blk_cfg (\n  input wire clk,\n  input wire [7:0] din,\n  inout wire [1:0] inst\n);"},
        {LANG::SYSTEMVERILOG, false, "  input logic [7:0] din,\n  inout wire [1:0] inst\n"},
        {LANG::VERILOG, false, "  blk #(\n    .WIDTH(8),\n    .NOTE(\"a\\\"b\\\\c?\?=\\011\"),\n    .OFFSET(-3)\n  ) inst_1 (\n"},
        {LANG::VERILOG, false, "    .q(),\n    .spare(4'b0),\n    .\\bit (1'b0),\n    .level(5'h15),\n    .held(3'b0),\n    .inst(inst)\n  );"},
        {LANG::VERILOG, false, "gone", false},  // unused and no width: not there
        {LANG::VERILOG, true, "module blk #(\n  parameter integer WIDTH = 8,\n  parameter NOTE = "},
        {LANG::SYSTEMVERILOG, true, "  parameter int OFFSET = -3\n) (\n  input logic clk,\n"},
        {LANG::VHDL, false, "entity blk_cfg is\n  port (\n    clk : in std_logic;\n    din : in std_logic_vector(7 downto 0);\n"
                            "    inst : inout std_logic_vector(1 downto 0)\n  );\nend entity;"},
        {LANG::VHDL, false, "  inst_1 : entity work.blk\n    generic map (\n      WIDTH => 8,\n"
                            "      NOTE => \"a\"\"b\\c?\?=\" & character'val(9),\n      OFFSET => -3\n    )\n"},
        {LANG::VHDL, false, "      q => open,\n      spare => (others => '0'),\n      bit => '0',\n      level => \"10101\",\n"
                            "      held => (others => '0'),\n      inst => inst\n    );\nend architecture;"},
        {LANG::VHDL, true, "  generic (\n    WIDTH : integer := 8;\n"},
        {LANG::VHDL, true, "architecture stub of blk is\nbegin\nend architecture;\n"},
        {LANG::C, false, "#ifndef BLK_CFG_H\n#define BLK_CFG_H\n"},
        {LANG::C, false, "#define BLK_WIDTH 8\n#define BLK_NOTE \"a\\\"b\\\\c\\?\\?=\\011\"\n#define BLK_OFFSET (-3)\n"},
        {LANG::C, false, "#define BLK_LEVEL_WIDTH 5\n#define BLK_LEVEL_USED 1\n#define BLK_HELD_WIDTH 3\n#define BLK_HELD_USED 1\n"
                          "#define BLK_GONE_WIDTH 0\n#define BLK_GONE_USED 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kova_generate_language_name(c.language)) + (c.stub ? " stub" : ""));
        const WRITTEN written = write(block(), c.language, c.stub);
        ASSERT_EQ(written.problems, "");
        EXPECT_EQ(written.text.find(c.fragment) != std::string::npos, c.present) << c.fragment << "\nin\n" << written.text;
    }
}

// Exported values: parameters or generics of the wrapper's and the stub's own, never set on the instance, and
// #defines of the header after the parameters.
TEST(GenerateWriters, ExportedValuesAreTheWrappersAndStubsOwn) {
    KOVA_GEN_CONFIG config = block();
    config.exported = {parameter("DIVISOR", false, "27"), parameter("SPEED", true, "fast")};
    const struct { LANG language; bool stub; std::string fragment; bool present = true; } cases[] = {
        {LANG::VERILOG, false, "module blk_cfg #(\n  parameter integer DIVISOR = 27,\n  parameter SPEED = \"fast\"\n) (\n"},
        {LANG::VERILOG, false, ".DIVISOR(", false},
        {LANG::SYSTEMVERILOG, true, "  parameter int OFFSET = -3,\n  parameter int DIVISOR = 27,\n  parameter SPEED = \"fast\"\n) ("},
        {LANG::VHDL, false, "entity blk_cfg is\n  generic (\n    DIVISOR : integer := 27;\n    SPEED : string := \"fast\"\n  );\n"},
        {LANG::VHDL, false, "DIVISOR =>", false},
        {LANG::VHDL, true, "    OFFSET : integer := -3;\n    DIVISOR : integer := 27;\n    SPEED : string := \"fast\"\n  );"},
        {LANG::C, false, "#define BLK_OFFSET (-3)\n\n/* Derived values */\n#define BLK_DIVISOR 27\n#define BLK_SPEED \"fast\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kova_generate_language_name(c.language)) + (c.stub ? " stub" : ""));
        const WRITTEN written = write(config, c.language, c.stub);
        ASSERT_EQ(written.problems, "");
        EXPECT_EQ(written.text.find(c.fragment) != std::string::npos, c.present) << c.fragment << "\nin\n" << written.text;
    }
    // An exported name that a macro already has, or that a language cannot spell, is refused.
    config.exported = {parameter("width", false, "1"), parameter("a b", false, "2")};
    EXPECT_NE(write(config, LANG::C).problems.find("The C macro BLK_WIDTH would stand for both parameter WIDTH and "
                                                   "exported value width"), std::string::npos);
    EXPECT_NE(write(config, LANG::VERILOG).problems.find("Exported value 'a b' cannot be written as a Verilog identifier"),
              std::string::npos);
}

// The names --export takes: hidden parameters and a map's own values, under the current settings; anything else
// is refused with the nearest name.
TEST(GenerateSession, ExportsNameHiddenParametersAndMapValues) {
    const struct { std::string file; std::vector<std::string> exports; LANG language; std::string fragment; } cases[] = {
        {"uart.xml", {"divisor", "COUNT_WIDTH", "DIVISOR"}, LANG::C,
         "/* Derived values */\n#define UART_DIVISOR 27\n#define UART_COUNT_WIDTH 5\n\n"},
        {"counter.xml", {"C_COUNT_MODE", "C_WIDTH"}, LANG::VERILOG,
         "module updown_counter_cfg #(\n  parameter C_COUNT_MODE = \"up\",\n  parameter integer C_WIDTH = 8\n) ("},
        {"uart.xml", {"DIVISR"}, LANG::C,
         "error: export: no hidden parameter or wizard-map value is named 'DIVISR' (did you mean DIVISOR?)"},
        {"uart.xml", {"BAUD_RATE"}, LANG::C, "error: export: no hidden parameter or wizard-map value is named 'BAUD_RATE'"},
        {"uart.xml", {"DIVISOR"}, LANG::JSON, "error: export applies to c, verilog, systemverilog and vhdl, not json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + " " + c.exports.front());
        const std::unique_ptr<KOVA_SESSION> session = open_session(example(c.file));
        ASSERT_TRUE(session);
        KOVA_GENERATE_OPTIONS options{c.language, false, "", false, "", {}};
        options.exports = c.exports;
        const KOVA_GENERATED generated = kova_generate(*session, session->run(), options);
        const std::string got = generated.problem ? "error: " + generated.problem.text : generated.text;
        EXPECT_NE(got.find(c.fragment), std::string::npos) << got;
    }
}

// Over a session: refused when invalid unless forced, and widths that
// follow the settings from one run to the next in the same session.
TEST(GenerateSession, RefusesInvalidUnlessForcedAndFollowsNewSettings) {
    const std::unique_ptr<KOVA_SESSION> session = open_session(example("fifo.xml"));
    ASSERT_TRUE(session);
    const struct { std::string width; bool force, ok; std::string fragment; } cases[] = {
        {"8", false, true, "#define SYNC_FIFO_DIN_WIDTH 8\n"},
        {"300", false, false, ""},
        {"300", true, true, "#define SYNC_FIFO_DIN_WIDTH 300\n"},
        {"12", false, true, "#define SYNC_FIFO_DOUT_WIDTH 12\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("WIDTH=" + c.width + (c.force ? " forced" : ""));
        KOVA_MESSAGES problems;
        session->apply({{"WIDTH", c.width, "", 0}}, problems);
        const KOVA_GENERATED generated = kova_generate(*session, session->run(), {LANG::C, false, "", c.force, "", {}});
        EXPECT_EQ(!generated.problem, c.ok);
        EXPECT_NE(generated.text.find(c.fragment), std::string::npos) << generated.text;
        EXPECT_EQ(generated.members["ports"][3]["width"], std::stoi(c.width));
        if (!c.ok) {
            EXPECT_EQ(generated.messages.back().text.rfind("nothing generated", 0), 0u);
        }
    }
}
