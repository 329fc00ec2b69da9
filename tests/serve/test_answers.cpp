// The layer's answers (session/answers.h), which every front end sends as
// it gets them: each builder's members and text through the shared flow.
#include <gtest/gtest.h>

#include <sstream>

#include "generate/answer.h"
#include "session/command_flow.h"
#include "support/test_support.h"

namespace {

struct ANSWER_CASE {
    const char* description;  // in examples/
    std::vector<KOVA_SETTING> settings;
    KOVA_ANSWER_BUILDER build;
    const char* members;  // the answer's members as compact JSON; "" when not compared
    const char* text;     // the text form; "" when not compared
    const char* problem;  // the problem's text; "" for none
};

// A builder that calls one answer function with the session s, the run r
// and the answer a.
#define BUILD(call) [](KOVA_SESSION& s, [[maybe_unused]] const KOVA_RUN_RESULT& r, KOVA_ANSWER& a) { call; }

KOVA_COMMAND_RESULT answer_of(const ANSWER_CASE& c) {
    KOVA_MESSAGES messages;
    const auto session = KOVA_SESSION::open({std::string(KOVA_EXAMPLES) + "/" + c.description, "", ""}, messages);
    if (!session) return {kova_refused(messages), {}, {}, {}, false};
    return kova_run_command(*session, c.settings, {}, true, c.build);
}

}  // namespace

TEST(Answers, MembersTextAndProblems) {
    const ANSWER_CASE cases[] = {
        {"ram.xml", {{"MODE", "DUAL", "", 0}, {"DEPTH", "32", "", 0}}, BUILD(kova_ranges_answer(s, "addrb", a)),
         R"({"lower":"X","port":"addrb","upper":"X","values":null,"width":5})",
         "port: addrb\nwidth: 5\nlower: X\nupper: X\n", ""},
        {"ram.xml", {}, BUILD(kova_ranges_answer(s, "WIDTH", a)), "", "", "no port is named WIDTH"},
        {"ram.xml", {{"ECC", "1", "", 0}}, BUILD(kova_simlib_answer(s, a)),
         R"({"libraries":["ram_lib","ram_sp_lib"],"library_text":"ram_lib;ram_sp_lib;"})", "ram_lib;ram_sp_lib;\n", ""},
        {"counter.xml", {{"WIDTH", "12", "", 0}}, BUILD(kova_stimulus_answer(s, "count_cycle", 20, a)),
         R"({"time":20,"transitions":[{"name":"clk","value":"0"},{"name":"rst","value":"0"},)"
         R"({"name":"en","value":"1"}],"vector":"count_cycle"})", "clk 0\nrst 0\nen 1\n", ""},
        {"counter.xml", {}, BUILD(kova_wizard_map_answer(s, "nope", a)), "", "", "no wizard map is named nope"},
        {"fifo.xml", {{"WIDTH", "32", "", 0}}, BUILD(kova_widths_answer(s, a)), "",
         "PORT              WIDTH  EXPRESSION\nclk               1      1\nrst               1      1\n"
         "wr_en             1      1\ndin               32     WIDTH\nrd_en             1      1\n"
         "dout              32     WIDTH\nfull              1      1\nempty             1      1\n"
         "almost_full       1      1\ndata_count        5      ceil_log(DEPTH) + 1\n"
         "prog_full_thresh  4      ceil_log(DEPTH)\n", ""},
        {"ram.xml", {}, BUILD(kova_deps_answer(s, "clkb", false, a)),
         R"x({"names":["MODE"],"text":"MODE(SINGLE)"})x", "names: MODE\ntext: MODE(SINGLE)\n", ""},
        {"ram.xml", {}, BUILD(kova_deps_answer(s, "NOPE", false, a)), "", "", "no object is named NOPE"},
        {"ram.xml", {}, BUILD(kova_eval_answer(s, "DEPTH * 2", PARSER_MODE_EVALUATE, a)),
         R"({"expression":"DEPTH * 2","result":"512"})", "512\n", ""},
        {"fifo.xml", {{"MEMORY_TYPE", "distributed", "", 0}, {"WIDTH", "72", "", 0}}, BUILD(kova_messages_answer(s, a)),
         "", "A wide distributed FIFO uses many lookup tables; consider block memory.\n"
         "No word count: prog_full_thresh is tied to ALMOST_FULL_LEVEL.\n", ""},
        {"ram.xml", {{"MODE", "DUAL", "", 0}, {"WIDTH", "12", "", 0}}, BUILD(kova_settings_answer(s, true, a)),
         R"({"minimal":true,"text":"# kova settings\nWIDTH=12\nMODE=DUAL\n"})", "", ""},
        {"ram.xml", {}, BUILD(kova_explain_answer(s, r, "DEPHT", a)), "", "",
         "no port or parameter is named DEPHT (did you mean DEPTH?)"},
        {"ram.xml", {{"MODE", "DUAL", "", 0}},
         BUILD(KOVA_GENERATE_OPTIONS o; o.language = KOVA_GENERATE_LANGUAGE::C; o.stub = true;
               kova_generate_answer(s, r, o, true, a)),
         "", "", "stub applies to verilog, systemverilog and vhdl, not c"},
        {"ram.xml", {{"NOPE", "1", "", 0}}, BUILD(kova_widths_answer(s, a)), "", "",
         "no port or parameter is named NOPE"},
    };
    for (const ANSWER_CASE& c : cases) {
        const KOVA_COMMAND_RESULT result = answer_of(c);
        const std::string label = std::string(c.description) + " " + c.members + c.text + c.problem;
        EXPECT_EQ(kova_problem_text(result.problem).rfind(c.problem, 0), 0u) << label;
        EXPECT_EQ(static_cast<bool>(result.problem), *c.problem != '\0') << label;
        EXPECT_TRUE(!*c.members || result.answer.document.dump() == c.members)
            << label << result.answer.document.dump();
        if (!*c.text) continue;
        std::ostringstream text;
        ASSERT_TRUE(result.answer.text) << label;
        result.answer.text(text);
        EXPECT_EQ(text.str(), c.text) << label;
    }
}
