// The refresh answer (session/answers.h): what a page shows after a change, from one run through the shared
// flow. The expected values are those the examples' rules give (kova messages, simlib, ranges, wizard-map and
// explain print the same for the same settings).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/command_flow.h"
#include "session/page_model.h"
#include "tests/session/opened_session.h"

namespace {

struct REFRESH_CASE {
    const char* description;  // in examples/
    std::vector<KOVA_SETTING> settings;
    const char* member;
    const char* name;      // the entry of a list member whose "name", "port" or "map" (texts) this is; "" for all
    const char* expected;  // as compact JSON
    bool valid;
    std::size_t messages;  // the run's, each once
};

// The member, or its entry of that name; null when it has none.
const nlohmann::json& picked(const nlohmann::json& member, const std::string& name) {
    if (name.empty()) return member;
    for (const nlohmann::json& entry : member)
        for (const char* label : {"name", "port", "map"})
            if (entry.contains(label) && entry[label] == name) return entry;
    static const nlohmann::json none;
    return none;
}

// The refresh of a session over the example under the settings, against the model's states; problem set when it
// does not load.
KOVA_COMMAND_RESULT refreshed(const char* description, const std::vector<KOVA_SETTING>& settings) {
    const auto session = open_session(example(description));
    if (!session) return {kova_problem(KOVA_PROBLEM_KIND::LOAD, description), {}, {}, {}, false};
    KOVA_SESSION model(*session);
    const KOVA_STATE_BASELINE baseline = kova_page_model(model, {}).states;
    return kova_run_command(*session, settings, {}, true,
                            [&](KOVA_SESSION& s, const KOVA_RUN_RESULT&, KOVA_ANSWER& a) {
                                kova_refresh_answer(s, baseline, a);
                            });
}

}  // namespace

TEST(Refresh, EveryMemberFromOneRun) {
    const std::vector<KOVA_SETTING> distributed = {{"MEMORY_TYPE", "distributed", "", 0}, {"WIDTH", "72", "", 0}};
    const std::vector<KOVA_SETTING> both = {{"DIRECTION", "both", "", 0}, {"HAS_LOAD", "1", "", 0}};
    const std::vector<KOVA_SETTING> dual = {{"MODE", "DUAL", "", 0}, {"DEPTH", "1024", "", 0}};
    const std::vector<KOVA_SETTING> single = {{"MODE", "SINGLE", "", 0}};
    const REFRESH_CASE cases[] = {
        {"fifo.xml", distributed, "wizard_messages", "",
         R"(["A wide distributed FIFO uses many lookup tables; consider block memory.",)"
         R"("No word count: prog_full_thresh is tied to ALMOST_FULL_LEVEL."])", true, 0},
        {"fifo.xml", distributed, "libraries", "", R"(["fifo_lib","lutram_lib","prim_lib"])", true, 0},
        {"fifo.xml", distributed, "library_text", "", R"("fifo_lib;lutram_lib;prim_lib;")", true, 0},
        {"fifo.xml", distributed, "ranges", "prog_full_thresh",
         R"({"lower":"12","port":"prog_full_thresh","upper":"12","values":["4","8","12"],"width":4})", true, 0},
        {"counter.xml", both, "wizard_maps", "generics",
         R"({"map":"generics","objects":[)"
         R"({"kind":"integer","name":"C_WIDTH","source":"map","usage":"USED","value":"8"},)"
         R"({"kind":"string","name":"C_COUNT_MODE","source":"map","usage":"USED","value":"UP_DOWN"},)"
         R"({"kind":"integer","name":"C_TERMINAL_COUNT","source":"map","usage":"USED","value":"255"},)"
         R"({"kind":"integer","name":"C_HAS_LOAD","source":"map","usage":"USED","value":"1"},)"
         R"({"kind":"integer","name":"WIDTH","source":"parameter","usage":"NONE","value":"8"},)"
         R"({"kind":"string","name":"DIRECTION","source":"parameter","usage":"NONE","value":"both"},)"
         R"({"kind":"integer","name":"HAS_LOAD","source":"parameter","usage":"NONE","value":"1"},)"
         R"({"kind":"integer","name":"CLOCK_PERIOD","source":"parameter","usage":"NONE","value":"10"}]})",
         false, 3},
        {"ram.xml", dual, "objects", "ADDR_WIDTH",
         R"({"alt_usage":"NONE","alt_value":null,"default":"","hidden":true,"kind":"hidden","model_usage":"NONE",)"
         R"x("name":"ADDR_WIDTH","port":false,"usage":"NONE","value":"10","value_text":"ceil_log(DEPTH)",)x"
         R"("width":null})",
         false, 3},
        {"ram.xml", dual, "objects", "clkb",
         R"({"alt_usage":"USED","alt_value":null,"default":"","hidden":false,"kind":"in","model_usage":"NONE",)"
         R"("name":"clkb","port":true,"usage":"UNUSED","value":null,"value_text":"1","width":1})", false, 3},
        // Objects: only those whose state differs from the model's; a width is part of the state.
        {"ram.xml", dual, "objects", "addra",
         R"({"alt_usage":"NONE","alt_value":null,"default":"","hidden":false,"kind":"in","model_usage":"USED",)"
         R"("name":"addra","port":true,"usage":"USED","value":null,"value_text":"ADDR_WIDTH","width":10})", false, 3},
        {"ram.xml", dual, "objects", "WIDTH", "null", false, 3},
        {"ram.xml", {}, "objects", "", "[]", true, 0},
        {"ram.xml", single, "objects", "", "[]", true, 0},
        {"ram.xml", dual, "wizard_maps", "", "[]", false, 3},
    };
    const std::vector<std::string> members = {"libraries", "library_text", "objects", "ranges", "wizard_maps",
                                              "wizard_messages"};
    for (const REFRESH_CASE& c : cases) {
        const std::string label = std::string(c.description) + " " + c.member + " " + c.name;
        const KOVA_COMMAND_RESULT result = refreshed(c.description, c.settings);
        ASSERT_FALSE(result.problem) << label;
        const nlohmann::json& document = result.answer.document;
        std::vector<std::string> names;
        for (const auto& member : document.items()) names.push_back(member.key());
        EXPECT_EQ(names, members) << label;
        EXPECT_EQ(result.valid, c.valid) << label;
        EXPECT_EQ(result.messages.size(), c.messages) << label;
        EXPECT_EQ(picked(document[c.member], c.name).dump(), c.expected) << label;
    }
}
