// The settings file format: parsing with every problem and its line, writing back byte for byte, quoting, and
// values that round-trip; minimal saves (session/minimal_settings.h), which hold only the settings that
// differ from the defaults and give the same configuration loaded back.
#include <gtest/gtest.h>

#include <algorithm>

#include "session/minimal_settings.h"
#include "session/settings_text.h"
#include "opened_session.h"

namespace {

using std::string;
using std::vector;

// "NAME=VALUE@LINE" for each setting.
vector<string> listed(const vector<KOVA_SETTING>& settings) {
    vector<string> lines;
    for (const KOVA_SETTING& s : settings) lines.push_back(s.name + "=" + s.value + "@" + std::to_string(s.line));
    return lines;
}

// "LINE:error|warning" for each problem of f.settings (another file is named); its text is checked separately.
vector<string> kinds(const vector<KOVA_SETTINGS_PROBLEM>& problems) {
    vector<string> lines;
    for (const KOVA_SETTINGS_PROBLEM& p : problems)
        lines.push_back(std::to_string(p.line) + (p.warning ? ":warning" : ":error") + (p.file == "f.settings" ? ""
            : " in " + p.file));
    return lines;
}

}  // namespace

TEST(SettingsText, ParsesEveryLineAndWritesTheTextBackUnchanged) {
    // problems: "LINE:error|warning"; problem_phrases: a phrase of each problem's text, same order.
    const struct { const char* title; string text; vector<string> settings, problems, problem_phrases; } cases[] = {
        {"plain lines, comments and blanks", "# ram\nDEPTH=32\n  BURST = 3\n\nMODE=DUAL\naddr_b=USED\n",
         {"DEPTH=32@2", "BURST=3@3", "MODE=DUAL@5", "addr_b=USED@6"}, {}, {}},
        {"byte order mark and CR LF", "\xEF\xBB\xBF" "A=1\r\nB = two words \r\n\r\n", {"A=1@1", "B=two words@2"}, {}, {}},
        {"trailing comments", "A=1 # one\nB=x#y\nC=a\t# tab\nD= # empty\nE=#lead\nF=\n",
         {"A=1@1", "B=x#y@2", "C=a@3", "D=@4", "E=#lead@5", "F=@6"}, {}, {}},
        {"quoted values", "A=\"  padded  \"\nB=\"say \\\"hi\\\" \\\\ done\"\nC=\"\\n\\t\\r\\x00\\xfF\"\nD=\"x\" # c\nE=\"\"\nF=\"x\"#c\nG=\"raw # and é\"\n",
         {"A=  padded  @1", "B=say \"hi\" \\ done@2", string("C=\n\t\r\0\xFF@3", 9), "D=x@4", "E=@5", "F=x@6", "G=raw # and é@7"}, {}, {}},
        {"every bad line in one pass",
         "no equals\n=3\n  = 4\nA B=1\nC=\"open\nD=\"a\\q\"\nE=\"a\\x4\"\nF=\"a\"b\nG=\"say \"hi\"\"\nGOOD=1\nP=CONSTANT:0x\nQ=constant:12a\nH=\"end\\",
         {"GOOD=1@10", "P=CONSTANT:0x@11", "Q=constant:12a@12"},
         {"1:error", "2:error", "3:error", "4:error", "5:error", "6:error", "7:error", "8:error", "9:error",
             "11:error", "12:error", "13:error"},
         {"expected NAME=VALUE, found 'no equals'", "needs a name", "needs a name", "name 'A B' holds a blank",
          "no closing quote", "unknown escape \\q", "two hex digits", "after the closing quote: 'b'",
          "after the closing quote: 'hi\"\"'", "'0x' is not a number", "'12a' is not a number", "no closing quote"}},
        {"a name given twice", "DEPTH=1\nMODE=A\ndepth=2\nDEPTH=UNUSED\nMODE=UNUSED\nDEPTH=3\n",
         {"DEPTH=1@1", "MODE=A@2", "depth=2@3", "DEPTH=UNUSED@4", "MODE=UNUSED@5", "DEPTH=3@6"}, {"3:warning", "6:warning"},
         {"depth is given on line 1 and again on line 3", "given on line 3 and again on line 6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        vector<KOVA_SETTINGS_PROBLEM> problems;
        KOVA_SETTINGS_DOCUMENT document;
        const bool good = document.parse(c.text, "f.settings", problems);
        EXPECT_EQ(listed(document.settings()), c.settings);
        EXPECT_EQ(kinds(problems), c.problems);
        ASSERT_EQ(problems.size(), c.problem_phrases.size());
        for (std::size_t i = 0; i < problems.size(); ++i)
            EXPECT_NE(problems[i].text.find(c.problem_phrases[i]), string::npos) << problems[i].text;
        EXPECT_EQ(good, std::none_of(problems.begin(), problems.end(), [](const auto& p) { return !p.warning; }));
        EXPECT_EQ(document.render(), c.text);
    }
}

TEST(SettingsText, QuotesOnlyTheValuesThatWouldNotReadBack) {
    const struct { string value, written; } cases[] = {
        {"32", "32"}, {"two words", "two words"}, {"a#b", "a#b"}, {"a\"b", "a\"b"}, {"a\\b", "a\\b"}, {"é€", "é€"},
        {"CONSTANT:0x1F", "CONSTANT:0x1F"}, {"", "\"\""}, {" x", "\" x\""}, {"x\t", "\"x\\t\""},
        {"a # b", "\"a # b\""}, {"a\t#b", "\"a\\t#b\""}, {"#a", "\"#a\""}, {"\"a", "\"\\\"a\""},
        {"line\nbreak", "\"line\\nbreak\""}, {"cr\r", "\"cr\\r\""}, {string("nul\0", 4), "\"nul\\x00\""},
        {"\x7F", "\"\\x7F\""}, {"\xFF", "\"\\xFF\""}, {"\xC3 cut", "\"\\xC3 cut\""},
        {"\xED\xA0\x80", "\"\\xED\\xA0\\x80\""}, {"é and \\ \"\x01", "\"é and \\\\ \\\"\\x01\""},
    };
    for (const auto& c : cases) EXPECT_EQ(kova_quote_setting_value(c.value), c.written) << c.value;
}

TEST(MinimalSettings, LoadingThemGivesTheSameConfiguration) {
    // settings: "" for none.
    const struct { const char* description, *settings; std::vector<std::string> extra, minimal; } cases[] = {
        {"ram.xml", "", {}, {}},
        // A value taken away: the default's value is cleared first.
        {"ram.xml", "", {"MODE=", "ECC=UNUSED"}, {"MODE=", "MODE=USED", "ECC=0", "ECC=UNUSED"}},
        {"counter.xml", "counter-loadable.settings", {},
         {"WIDTH=16", "DIRECTION=both", "HAS_LOAD=1", "up_dn=USED", "load=USED", "din=USED"}},
        // A sub-model taken in: the defaults name fewer objects than the settings.
        {"ram.xml", "", {"ECC=1", "WIDTH=16"}, {"WIDTH=16", "ECC=1", "READ_LATENCY=2"}},
        // A port held at a value keeps its constant.
        {"counter.xml", "", {"din=CONSTANT:0x0F"}, {"din=CONSTANT:0x0F"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.description) + " " + c.settings);
        OPENED_SESSION opened = open_and_run(example(c.description), *c.settings ? example(c.settings) : "", c.extra);
        ASSERT_TRUE(opened.session);
        EXPECT_EQ(setting_lines(kova_minimal_settings(*opened.session)), c.minimal);
        // Saved, read back and applied on the defaults.
        const std::string saved = temp_folder() + "/minimal.settings";
        const KOVA_PROBLEM problem = kova_save_session_settings(*opened.session, saved, true);
        ASSERT_FALSE(problem) << problem.text;
        OPENED_SESSION loaded = open_and_run(example(c.description), saved);
        ASSERT_TRUE(loaded.session);
        EXPECT_EQ(setting_lines(loaded.session->current_settings()), setting_lines(opened.session->current_settings()));
        // Back to the defaults, as the session was opened.
        opened.session->reset_to_defaults();
        EXPECT_EQ(setting_lines(opened.session->current_settings()), setting_lines(opened.session->default_settings()));
    }
}

// set() gives one name a value in place or appends it; assign() makes the settings exactly the given ones.
TEST(SettingsText, SetAndAssignRewriteOnlyWhatChanges) {
    const struct { const char* title; string text; bool assign; vector<KOVA_SETTING> settings; string written; } cases[] = {
        {"in place, keeping the comment and spacing", "# c\nDEPTH = 32  # depth\nMODE=A\n", false, {{"depth", "64"}},
         "# c\nDEPTH = 64  # depth\nMODE=A\n"},
        {"a new name after a last line without end", "A=1", false, {{"B", "2"}}, "A=1\nB=2\n"},
        {"new lines take the file's line end", "# c\r\nA=1\r\n", false, {{"B", "2"}, {"C", ""}},
            "# c\r\nA=1\r\nB=2\r\nC=\"\"\r\n"},
        {"the last of a name given twice", "A=1\nA=2\n", false, {{"a", "3"}}, "A=1\nA=3\n"},
        {"a value that needs quotes keeps the comment", "A=1 # c\n", false, {{"A", "x # y"}}, "A=\"x # y\" # c\n"},
        {"a comment right after a quote stays one", "A=\"1\"#c\n", false, {{"A", "2"}}, "A=\"2\"#c\n"},
        {"assign reuses lines in order, drops stale ones, appends new ones",
         "# head\nDEPTH=32 # d\nOLD=1\n\nW=8\nW=UNUSED\n", true, {{"DEPTH", "32"}, {"W", "8"}, {"MODE", "DUAL"},
         {"w", "CONSTANT"}}, "# head\nDEPTH=32 # d\n\nW=8\nW=CONSTANT\nMODE=DUAL\n"},
        {"an unchanged value keeps its spelling", "A = \"1\"  # one\nA=2\n", true, {{"A", "1"}}, "A = \"1\"  # one\n"},
    };
    for (const auto& c : cases) {
        vector<KOVA_SETTINGS_PROBLEM> problems;
        KOVA_SETTINGS_DOCUMENT document;
        document.parse(c.text, "f.settings", problems);
        if (c.assign) document.assign(c.settings);
        for (const KOVA_SETTING& setting : c.assign ? vector<KOVA_SETTING>() : c.settings)
            document.set(setting.name, setting.value);
        EXPECT_EQ(document.render(), c.written) << c.title;
    }
    EXPECT_EQ(kova_render_settings({{"DEPTH", "32"}, {"NOTE", " spaced "}}),
        "# kova settings\nDEPTH=32\nNOTE=\" spaced \"\n");
}

TEST(SettingsText, ConstantValuesAndOrigins) {
    const struct { string value; bool constant; string number; bool valid; } cases[] = {
        {"CONSTANT:0x1F", true, "0x1F", true}, {"constant: 12", true, "12", true}, {"CONSTANT:0b101", true, "0b101", true},
        {"CONSTANT:", true, "", false},    {"CONSTANT:0b102", true, "0b102", false},
        {"CONSTANT:0x", true, "0x", false},    {"CONSTANT:-1", true, "-1", false}, {"CONSTANT", false, "", false},
        {"CONSTANTS:1", false, "", false},     {"USED", false, "", false},
    };
    for (const auto& c : cases) {
        string number;
        EXPECT_EQ(kova_split_constant(c.value, number), c.constant) << c.value;
        EXPECT_EQ(c.constant ? number : "", c.number) << c.value;
        EXPECT_EQ(c.constant && kova_is_constant_number(number), c.valid) << c.value;
    }
    EXPECT_EQ((KOVA_SETTING{"A", "1", "a.settings", 3, KOVA_SETTING_SOURCE::FILE}).origin(), "a.settings:3");
    EXPECT_EQ((KOVA_SETTING{"A", "1", "", 0}).origin(), "command line");
}

// A session refuses settings with the problem's kind: not found when every refused setting names nothing, an
// invalid value otherwise; what it takes it applies.
TEST(SettingsText, RefusedSettingsSayWhetherTheNameOrTheValueIsWrong) {
    const auto session = open_session(example("ram.xml"));
    ASSERT_TRUE(session);
    using K = KOVA_PROBLEM_KIND;
    const struct { vector<KOVA_SETTING> settings; K kind; size_t refusals; } cases[] = {
        {{{"DEPTH", "32", "", 0}, {"dina", "UNUSED", "", 0}}, K::NONE, 0}, {{{"DEPHT", "32", "", 0}}, K::NOT_FOUND, 1},
        {{{"dina", "maybe", "", 0}}, K::INVALID_VALUE, 1}, {{{"dina", "CONSTANT:0xZZ", "", 0}}, K::INVALID_VALUE, 1},
        {{{"DEPHT", "32", "", 0}, {"dina", "maybe", "", 0}}, K::INVALID_VALUE, 2},
    };
    for (const auto& c : cases) {
        KOVA_MESSAGES messages;
        const KOVA_PROBLEM problem = session->apply(c.settings, messages);
        EXPECT_EQ(problem.kind, c.kind) << c.settings.front().name;
        EXPECT_EQ(problem.messages.size(), c.refusals) << c.settings.front().name;
        EXPECT_EQ(kova_error_count(messages), c.refusals) << c.settings.front().name;
    }
}
