// The layer's answers (session/answers.h), which every front end sends as it gets them, each from one run through
// the shared flow: every builder's members, text and problems, and the refresh, what a page shows after a change.
// The expected values are those the examples' rules give (the tool prints the same for the same settings).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/command_flow.h"
#include "session/page_model.h"
#include "tests/session/opened_session.h"

namespace {

// A builder given the session s, the run r, the states of the model as loaded b and the answer a.
using BUILDER = void (*)(KOVA_SESSION&, const KOVA_RUN_RESULT&, const KOVA_STATE_BASELINE&, KOVA_ANSWER&);
#define BUILD(call)                                                                                                  \
    [](KOVA_SESSION& s, [[maybe_unused]] const KOVA_RUN_RESULT& r, [[maybe_unused]] const KOVA_STATE_BASELINE& b, \
       KOVA_ANSWER& a) { call; }

struct ANSWER_CASE {
    const char* description;  // in examples/
    std::vector<KOVA_SETTING> settings;
    BUILDER build;
    const char* member;    // the document's member compared; "" for the whole document
    const char* name;      // the entry of a list member whose "name", "port" or "map" (texts) this is; "" for all
    const char* expected;  // as compact JSON; "" when not compared
    const char* text;      // the text form; "" when not compared
    const char* problem;   // the problem's text; "" for none
    const char* verdict;   // "valid" or "invalid" and the count of the run's messages (each once); "" when not compared
};

// The member, or its entry of that name; null when it has none.
const nlohmann::json& picked(const nlohmann::json& document, const std::string& member, const std::string& name) {
    static const nlohmann::json none;
    if (!member.empty() && !document.contains(member)) return none;
    const nlohmann::json& found = member.empty() ? document : document[member];
    if (name.empty()) return found;
    for (const nlohmann::json& entry : found)
        for (const char* label : {"name", "port", "map"})
            if (entry.contains(label) && entry[label] == name) return entry;
    return none;
}

// The answer of a session over the example under the settings; problem set when it does not load.
KOVA_COMMAND_RESULT answer_of(const char* description, const std::vector<KOVA_SETTING>& settings, BUILDER build) {
    const auto session = open_session(example(description));
    if (!session) return {kova_problem(KOVA_PROBLEM_KIND::LOAD, description), {}, {}, {}, false};
    KOVA_SESSION model(*session);
    const KOVA_STATE_BASELINE baseline = kova_page_model(model, {}).states;
    return kova_run_command(*session, settings, {}, true, [&](KOVA_SESSION& s, const KOVA_RUN_RESULT& r,
                                                              KOVA_ANSWER& a) { build(s, r, baseline, a); });
}

// The text with the examples' folder left out of the paths, which name the description's file alone.
std::string in_examples(std::string text) {
    const std::string folder = example("");
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;) text.erase(at, folder.size());
    return text;
}

}  // namespace

TEST(Answers, MembersTextProblemsAndTheRefresh) {
    const BUILDER REFRESH = BUILD(kova_refresh_answer(s, r, b, "", a));
    const std::vector<KOVA_SETTING> distributed = {{"MEMORY_TYPE", "distributed", "", 0}, {"WIDTH", "72", "", 0}};
    const std::vector<KOVA_SETTING> both = {{"DIRECTION", "both", "", 0}, {"HAS_LOAD", "1", "", 0}};
    const std::vector<KOVA_SETTING> dual = {{"MODE", "DUAL", "", 0}, {"DEPTH", "1024", "", 0}};
    const char* const dual_causes = R"([{"last":null,"object":"clkb","settings":["MODE"]},{"last":null,"object":)"
        R"("addrb","settings":["MODE"]},{"last":null,"object":"doutb","settings":["MODE"]}])";
    const ANSWER_CASE cases[] = {
        {"ram.xml", {{"MODE", "DUAL", "", 0}, {"DEPTH", "32", "", 0}}, BUILD(kova_ranges_answer(s, "addrb", a)), "", "",
         R"({"lower":"X","port":"addrb","upper":"X","values":null,"width":5})",
         "port: addrb\nwidth: 5\nlower: X\nupper: X\n", "", ""},
        {"ram.xml", {}, BUILD(kova_ranges_answer(s, "WIDTH", a)), "", "", "", "", "no port is named WIDTH", ""},
        {"ram.xml", {{"ECC", "1", "", 0}}, BUILD(kova_simlib_answer(s, a)), "", "", R"({"libraries":["ram_lib",)"
         R"("ram_sp_lib"],"library_text":"ram_lib;ram_sp_lib;"})", "ram_lib;ram_sp_lib;\n", "", ""},
        {"counter.xml", {{"WIDTH", "12", "", 0}}, BUILD(kova_stimulus_answer(s, "count_cycle", 20, a)), "", "",
         R"({"time":20,"transitions":[{"name":"clk","value":"0"},{"name":"rst","value":"0"},)"
         R"({"name":"en","value":"1"}],"vector":"count_cycle"})", "clk 0\nrst 0\nen 1\n", "", ""},
        {"counter.xml", {}, BUILD(kova_wizard_map_answer(s, "nope", a)), "", "", "", "", "no wizard map is named nope",
         ""},
        {"fifo.xml", {{"WIDTH", "32", "", 0}}, BUILD(kova_widths_answer(s, a)), "", "", "",
         "PORT              WIDTH  EXPRESSION\nclk               1      1\nrst               1      1\n"
         "wr_en             1      1\ndin               32     WIDTH\nrd_en             1      1\n"
         "dout              32     WIDTH\nfull              1      1\nempty             1      1\n"
         "almost_full       1      1\ndata_count        5      ceil_log(DEPTH) + 1\n"
         "prog_full_thresh  4      ceil_log(DEPTH)\n", "", ""},
        {"ram.xml", {}, BUILD(kova_deps_answer(s, "clkb", false, a)), "", "",
         R"x({"names":["MODE"],"text":"MODE(SINGLE)"})x", "names: MODE\ntext: MODE(SINGLE)\n", "", ""},
        {"ram.xml", {}, BUILD(kova_deps_answer(s, "NOPE", false, a)), "", "", "", "", "no object is named NOPE", ""},
        {"ram.xml", {}, BUILD(kova_eval_answer(s, "DEPTH * 2", PARSER_MODE_EVALUATE, a)), "", "",
         R"({"expression":"DEPTH * 2","result":"512"})", "512\n", "", ""},
        {"fifo.xml", distributed, BUILD(kova_messages_answer(s, a)), "", "", "",
         "A wide distributed FIFO uses many lookup tables; consider block memory.\n"
         "No word count: prog_full_thresh is tied to ALMOST_FULL_LEVEL.\n", "", ""},
        {"ram.xml", {{"MODE", "DUAL", "", 0}, {"WIDTH", "12", "", 0}}, BUILD(kova_settings_answer(s, true, a)), "", "",
         R"({"minimal":true,"text":"# kova settings\nWIDTH=12\nMODE=DUAL\n"})", "", "", ""},
        {"ram.xml", {}, BUILD(kova_explain_answer(s, r, "DEPHT", a)), "", "", "", "",
         "no port or parameter is named DEPHT (did you mean DEPTH?)", ""},
        {"ram.xml", {{"NOPE", "1", "", 0}}, BUILD(kova_widths_answer(s, a)), "", "", "", "",
         "no port or parameter is named NOPE", ""},
        // The refresh: each member from the one run.
        {"fifo.xml", distributed, REFRESH, "wizard_messages", "",
         R"(["A wide distributed FIFO uses many lookup tables; consider block memory.",)"
         R"("No word count: prog_full_thresh is tied to ALMOST_FULL_LEVEL."])", "", "", "valid 0"},
        {"fifo.xml", distributed, REFRESH, "libraries", "", R"(["fifo_lib","lutram_lib","prim_lib"])", "", "",
         "valid 0"},
        {"fifo.xml", distributed, REFRESH, "library_text", "", R"("fifo_lib;lutram_lib;prim_lib;")", "", "", "valid 0"},
        {"fifo.xml", distributed, REFRESH, "ranges", "prog_full_thresh",
         R"({"lower":"12","port":"prog_full_thresh","upper":"12","values":["4","8","12"],"width":4})", "", "",
         "valid 0"},
        {"counter.xml", both, REFRESH, "wizard_maps", "generics",
         R"({"help":"The generics of the generated block, then every parameter as set.","label":"Generics",)"
         R"("map":"generics","objects":[)"
         R"({"kind":"integer","name":"C_WIDTH","source":"map","usage":"USED","value":"8"},)"
         R"({"kind":"string","name":"C_COUNT_MODE","source":"map","usage":"USED","value":"UP_DOWN"},)"
         R"({"kind":"integer","name":"C_TERMINAL_COUNT","source":"map","usage":"USED","value":"255"},)"
         R"({"kind":"integer","name":"C_HAS_LOAD","source":"map","usage":"USED","value":"1"},)"
         R"({"kind":"integer","name":"WIDTH","source":"parameter","usage":"NONE","value":"8"},)"
         R"({"kind":"string","name":"DIRECTION","source":"parameter","usage":"NONE","value":"both"},)"
         R"({"kind":"integer","name":"HAS_LOAD","source":"parameter","usage":"NONE","value":"1"},)"
         R"({"kind":"integer","name":"CLOCK_PERIOD","source":"parameter","usage":"NONE","value":"10"}]})", "", "",
         "invalid 3"},
        {"ram.xml", dual, REFRESH, "objects", "ADDR_WIDTH",
         R"({"alt_usage":"NONE","alt_value":null,"default":"","help":null,"hidden":true,"kind":"hidden","label":null,)"
         R"x("model_usage":"NONE","name":"ADDR_WIDTH","origin":{"file":"ram.xml","kind":"derived","line":49,)x"
         R"x("rule":"ceil_log(DEPTH)"},)x"
         R"x("port":false,"usage":"NONE","value":"10","value_text":"ceil_log(DEPTH)",)x"
         R"("width":null})", "", "", "invalid 3"},
        {"ram.xml", dual, REFRESH, "objects", "clkb",
         R"({"alt_usage":"USED","alt_value":null,"default":"","help":null,"hidden":false,"kind":"in","label":null,)"
         R"("model_usage":"NONE","name":"clkb","origin":{"file":"ram.xml","kind":"absent","line":61},)"
         R"("port":true,"usage":"UNUSED","value":null,"value_text":"1","width":1})", "", "", "invalid 3"},
        // Objects: only those whose state differs from the model's; a width is part of the state.
        {"ram.xml", dual, REFRESH, "objects", "addra",
         R"({"alt_usage":"NONE","alt_value":null,"default":"","help":null,"hidden":false,"kind":"in","label":null,)"
         R"("model_usage":"USED","name":"addra","origin":{"file":"ram.xml","kind":"default","line":55},)"
         R"("port":true,"usage":"USED","value":null,"value_text":"ADDR_WIDTH","width":10})", "", "", "invalid 3"},
        {"ram.xml", dual, REFRESH, "objects", "WIDTH", "null", "", "", "invalid 3"},
        {"ram.xml", {}, REFRESH, "objects", "", "[]", "", "", "valid 0"},
        {"ram.xml", dual, REFRESH, "wizard_maps", "", "[]", "", "", "invalid 3"},
        // A setting of the default value moves only the origin of its object.
        {"ram.xml", {{"MODE", "SINGLE", "", 0, KOVA_SETTING_SOURCE::PAGE}}, REFRESH, "objects", "",
         R"([{"alt_usage":"USED","alt_value":"SINGLE|DUAL","default":"SINGLE","help":"SINGLE gives port A alone; )"
         R"(DUAL adds port B: clkb, addrb and doutb.","hidden":false,"kind":"string","label":"Port mode",)"
         R"("model_usage":"USED","name":"MODE","origin":{"kind":"set","source":"page"},"port":false,"usage":"USED",)"
         R"("value":"SINGLE","value_text":"SINGLE|DUAL","width":null}])", "", "", "valid 0"},
        // The settings that differ from the defaults, and those each error follows from.
        {"ram.xml", dual, REFRESH, "changed_settings", "", R"(["DEPTH","MODE"])", "", "", "invalid 3"},
        {"ram.xml", {{"MODE", "SINGLE", "", 0}}, REFRESH, "changed_settings", "", "[]", "", "", "valid 0"},
        {"ram.xml", dual, REFRESH, "causes", "", dual_causes, "", "", "invalid 3"},
        {"ram.xml", {{"WIDTH", "12", "", 0}, {"BYTE_ENABLES", "1", "", 0}}, REFRESH, "causes", "",
         R"([{"last":null,"object":"BYTE_ENABLES","settings":["WIDTH","BYTE_ENABLES"]}])", "", "", "invalid 1"},
        // The last change among the causes is named: the width that broke the byte enables' check.
        {"ram.xml", {{"WIDTH", "12", "", 0}, {"BYTE_ENABLES", "1", "", 0}},
         BUILD(kova_refresh_answer(s, r, b, "width", a)), "causes", "",
         R"([{"last":"WIDTH","object":"BYTE_ENABLES","settings":["WIDTH","BYTE_ENABLES"]}])", "", "", "invalid 1"},
        // A last change the conflict does not follow from is not named.
        {"ram.xml", {{"MODE", "DUAL", "", 0}}, BUILD(kova_refresh_answer(s, r, b, "DEPTH", a)), "causes", "",
         dual_causes, "", "", "invalid 3"},
        {"ram.xml", {}, REFRESH, "causes", "", "[]", "", "", "valid 0"},
    };
    for (const ANSWER_CASE& c : cases) {
        const KOVA_COMMAND_RESULT result = answer_of(c.description, c.settings, c.build);
        const std::string label = std::string(c.description) + " " + c.member + " " + c.name + c.expected + c.problem;
        EXPECT_EQ(kova_problem_text(result.problem).rfind(c.problem, 0), 0u) << label;
        EXPECT_EQ(static_cast<bool>(result.problem), *c.problem != '\0') << label;
        if (*c.verdict) {
            EXPECT_EQ((result.valid ? "valid " : "invalid ") + std::to_string(result.messages.size()), c.verdict)
                << label;
        }
        const nlohmann::json& document = result.answer.document;
        EXPECT_TRUE(!*c.expected || in_examples(picked(document, c.member, c.name).dump()) == c.expected)
            << label << "\n" << picked(document, c.member, c.name).dump();
        EXPECT_TRUE(!*c.text || answer_text(result.answer) == c.text) << label << "\n" << answer_text(result.answer);
    }
    // A refresh holds these members, and no others.
    const KOVA_COMMAND_RESULT refresh = answer_of("ram.xml", dual, REFRESH);
    std::vector<std::string> names;
    for (const auto& member : refresh.answer.document.items()) names.push_back(member.key());
    EXPECT_EQ(names, (std::vector<std::string>{"causes", "changed_settings", "libraries", "library_text", "objects",
                                               "ranges", "wizard_maps", "wizard_messages"}));
}
