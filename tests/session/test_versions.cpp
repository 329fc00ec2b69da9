// Versions of a block: two settings files compared over one description, two versions of a description compared,
// and a settings file of an earlier version migrated to the current one.
#include <gtest/gtest.h>

#include <algorithm>

#include "session/description_diff.h"
#include "session/migrate.h"
#include "session/settings_diff.h"
#include "tests/session/opened_session.h"

namespace {

std::string model(const std::string& body) { return "<model function=\"t\">\n" + body + "\n</model>\n"; }

KOVA_DIFF_INPUT input(const std::string& file, const std::string& text) {
    KOVA_DIFF_INPUT read{file, {}};
    KOVA_MESSAGES messages;
    EXPECT_FALSE(kova_parse_settings_text(text, file, read.settings, messages)) << text;
    return read;
}

// The text with its first '@' replaced by piece.
std::string with(std::string text, const std::string& piece) { return text.replace(text.find('@'), 1, piece); }

}  // namespace

// The configurations after each file's run: a setting a file leaves out takes its default, each side names where
// its text came from.
TEST(Versions, SettingsDiffComparesTheEffectiveConfigurations) {
    const std::string path = write_temp_file("diffed.xml", model(
        "<object name='A' kind='integer' value='1|2|8' default='8' default_usage_state='USED'>"
        "<rule type='legal_values' value='1|2|8'/></object>\n"
        "<object name='M' kind='string' value='x|y' default='x' default_usage_state='USED'/>\n"
        "<object name='p' kind='in' width='1' default_usage_state='USED'/>\n"
        "<object name='q' kind='out' width='1' silent_correction='true'>"
        "<rule condition='A == 2' value='USED' alt_value='UNUSED'/></object>"));
    const std::unique_ptr<KOVA_SESSION> session = open_session(path);
    ASSERT_TRUE(session);
    const struct { const char* a; const char* b; std::string differences; } cases[] = {
        {"", "", ""},
        {"A=8\nM=x\n", "", ""},  // written as the defaults are: no difference
        {"A=1\n", "A=8\n", "A: 1 (a:1) -> 8 (b:1)\n"},
        {"# fast\nM=y\n", "", "M: y (a:2) -> x (default)\n"},
        {"p=UNUSED\n", "", "p usage: UNUSED (a:1) -> USED (default)\n"},
        // q follows A, corrected silently: the run, not a file, set it.
        {"A=2\n", "", "A: 2 (a:1) -> 8 (default)\nq usage: USED (run) -> UNUSED (default)\n"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.a) + " | " + row.b);
        KOVA_ANSWER answer;
        kova_settings_diff_answer(*session, input("a", row.a), input("b", row.b), answer);
        ASSERT_FALSE(answer.problem) << answer.problem.text;
        const std::size_t count = std::count(row.differences.begin(), row.differences.end(), '\n');
        EXPECT_EQ(answer_text(answer), row.differences + "a (valid) and b (valid): " +
                                       (count ? std::to_string(count) + (count == 1 ? " difference" : " differences")
                                              : "no differences") + "\n");
        EXPECT_EQ(answer.document["equal"], count == 0);
        EXPECT_EQ(answer.document["differences"].size(), count);
    }
    KOVA_ANSWER refused;
    kova_settings_diff_answer(*session, input("a", "NOSUCH=1\n"), input("b", ""), refused);
    EXPECT_EQ(refused.problem.kind, KOVA_PROBLEM_KIND::NOT_FOUND);
}

// One row per kind of change: the old version's body, the new one's, and each change as "OBJECT CHANGE OLD|NEW".
TEST(Versions, DescriptionDiffNamesEachKindOfChange) {
    const std::string a = "<object name='A' kind='integer' value='1|2|8' default='8' default_usage_state='USED' "
                          "label='Width' help='The width.'>@</object>\n";
    const std::string port = "<object name='p' kind='in' width='4' default_usage_state='USED'/>";
    const std::string plain = with(a, "") + port;
    const struct { std::string old_body, new_body; std::vector<std::string> changes; } cases[] = {
        {plain, plain, {}},
        {plain, plain + "<object name='Z' kind='integer'/>", {"Z added |integer"}},
        {plain, with(a, ""), {"p removed in|"}},
        {plain, with(a, "").replace(14, 1, "B' previous_names='OLD, A") + port, {"B renamed A|B"}},
        // A name kept wins over a previous name that names it too.
        {plain, "<object name='B' kind='integer' previous_names='A'/>" + plain, {"B added |integer"}},
        {plain, with(a, "").replace(23, 7, "string") + port, {"A kind integer|string"}},
        {plain, with(a, "").replace(55, 1, "2") + port, {"A default 8|2"}},
        {plain, with(a, "").replace(39, 5, "1|2|8|16") + port, {"A values 1|2|8|1|2|8|16"}},
        {plain, with(a, "") + "<object name='p' kind='in' width='8' default_usage_state='USED'/>", {"p width 4|8"}},
        {plain, with(a, "") + "<object name='p' kind='in' width='4' default_usage_state='UNUSED'/>",
         {"p usage USED|UNUSED"}},
        {plain, with(a, "<rule type='legal_values' value='1|2|8'/>") + port,
         {"A rule-added |type=\"legal_values\" value=\"1|2|8\""}},
        {with(a, "<rule condition='A gt 1'/>") + port, plain, {"A rule-removed type=\"condition\" condition=\"A gt 1\"|"}},
        {plain, with(a, "").replace(92, 5, "Bits") + port, {"A label Width|Bits"}},
        {plain, with(a, "").replace(109, 5, "data") + port, {"A help The width.|The data."}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.new_body);
        const std::unique_ptr<KOVA_SESSION> old_session = open_session(write_temp_file("old.xml", model(row.old_body)));
        const std::unique_ptr<KOVA_SESSION> new_session = open_session(write_temp_file("new.xml", model(row.new_body)));
        ASSERT_TRUE(old_session && new_session);
        std::vector<std::string> changes;
        for (const KOVA_DESCRIPTION_CHANGE& change : kova_diff_descriptions(*old_session, *new_session))
            changes.push_back(change.object + " " + change.change + " " + change.old_text + "|" + change.new_text);
        EXPECT_EQ(changes, row.changes);
    }
}

// Each row: the old settings file, whether the repair is applied, the status of each line, the saved file, the
// verdict and whether nothing was lost. The description is examples/versions/uart-v2.xml, where BAUD became
// BAUD_RATE, DATA_BITS stops at 8, STOP_BITS is new and LOOPBACK is gone.
TEST(Versions, MigrateSortsOutEveryLineAndKeepsTheFile) {
    const std::string v1 = file_text(example("versions/uart-v1.settings"));
    const std::string v1_saved = "# The UART of the lab board, as saved for version 1.\nCLK_FREQ_HZ=50000000\n"
                                 "BAUD_RATE=57600\n# Nine data bits for the sensor protocol.\nDATA_BITS=@\n"
                                 "PARITY=NONE\n# removed in this version: LOOPBACK=1\n";
    const std::vector<std::string> unset = {"CLK_FREQ_HZ=50000000", "DATA_BITS=8", "PARITY=NONE", "STOP_BITS=1"};
    const struct { std::string old; bool repair; std::vector<std::string> statuses; std::string saved; bool valid,
        complete; std::vector<std::string> defaults; } cases[] = {
        {v1, false, {"kept", "renamed", "illegal", "kept", "removed"}, with(v1_saved, "9"), false, false, {"STOP_BITS=1"}},
        {v1, true, {"kept", "renamed", "illegal", "kept", "removed"}, with(v1_saved, "8"), true, false, {"STOP_BITS=1"}},
        {"clk=5\n  baud=9600 # slow\r\n", false, {"refused", "renamed"}, "clk=5\n  BAUD_RATE=9600 # slow\r\n", true,
         false, unset},
        {"BAUD_RATE=9600\n", false, {"kept"}, "BAUD_RATE=9600\n", true, true, unset},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.old + (row.repair ? " --fix" : ""));
        const std::unique_ptr<KOVA_SESSION> session = open_session(example("versions/uart-v2.xml"));
        ASSERT_TRUE(session);
        const KOVA_MIGRATE_OPTIONS options{write_temp_file("old.settings", row.old), temp_folder() + "/new.settings",
                                           row.repair};
        KOVA_MIGRATION migration;
        KOVA_MESSAGES messages;
        ASSERT_FALSE(kova_migrate(*session, options, migration, messages));
        std::vector<std::string> statuses;
        for (const KOVA_MIGRATED_LINE& line : migration.lines) statuses.push_back(line.status);
        EXPECT_EQ(statuses, row.statuses);
        EXPECT_EQ(file_text(options.save), row.saved);
        EXPECT_EQ(migration.valid, row.valid);
        EXPECT_EQ(session->run().valid, row.valid);  // the session holds the migrated configuration
        EXPECT_EQ(migration.complete(), row.complete);
        EXPECT_EQ(setting_lines(migration.defaults), row.defaults);
        EXPECT_EQ(migration.repaired, row.repair && !migration.repair.changes.empty());
    }
    // The repair proposed for DATA_BITS=9, and where it came from.
    const std::unique_ptr<KOVA_SESSION> session = open_session(example("versions/uart-v2.xml"));
    KOVA_ANSWER answer;
    kova_migrate_answer(*session, {write_temp_file("old.settings", v1), "", false}, answer);
    EXPECT_NE(answer_text(answer).find("kova fix proposes: DATA_BITS: 9 -> 8 (legal: 5-8)\n"), std::string::npos)
        << answer_text(answer);
    KOVA_ANSWER missing;
    kova_migrate_answer(*session, {temp_folder() + "/missing.settings", "", false}, missing);
    EXPECT_EQ(missing.problem.kind, KOVA_PROBLEM_KIND::FILE);
}
