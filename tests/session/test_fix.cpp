// Repairs (session/fix.h): every example's conflicts, a repair that needs two settings changed at once, names
// kept that force another repair or none, and the run budget. A repair counts only when the settings it
// leaves, applied to a fresh session, validate.
#include <gtest/gtest.h>

#include <algorithm>

#include "session/fix.h"
#include "session/fix_context.h"
#include "tests/session/opened_session.h"

namespace {

// A check that only two changes at once satisfy: from A=3, B=3 one change among the candidates (the defaults
// 1, the constant 4 and one either side) leaves the sum at 4 or more.
std::string pair_description() {
    return write_temp_file("pair.xml", "<model function='pair'>\n<object name='A' kind='integer' default='1' "
        "default_usage_state='USED'>\n<rule><condition>(A + B) &lt; 4</condition></rule></object>\n"
        "<object name='B' kind='integer' default='1' default_usage_state='USED'/>\n</model>\n");
}

// The settings of one name (letter case ignored), as "NAME=VALUE".
std::vector<std::string> settings_of(std::vector<KOVA_SETTING> settings, const std::string& name) {
    const auto other = [&](const KOVA_SETTING& setting) { return !kova_equal_nocase(setting.name, name); };
    settings.erase(std::remove_if(settings.begin(), settings.end(), other), settings.end());
    return setting_lines(settings);
}

std::vector<std::string> change_lines(const KOVA_FIX_RESULT& result) {
    std::vector<std::string> lines;
    for (const KOVA_FIX_CHANGE& change : result.changes)
        lines.push_back(change.name + ": " + change.old_value + " -> " + change.new_value);
    return lines;
}

}  // namespace

TEST(Fix, RepairsWithTheFewestChangesItFinds) {
    const std::string pair = pair_description();
    // gave_up: a part of the reason, "" when it did not give up; refused: the problem, for options that are refused.
    const struct { const char* what; std::string description, settings; std::vector<std::string> extra, keep;
        int budget; std::vector<std::string> changes; bool valid; const char* gave_up; std::string refused = ""; }
        cases[] = {
        // What the run derived, then a search for the failed check; a derived value uncovers a further conflict (up_dn
        // follows DIRECTION).
        {"counter conflicts", example("counter.xml"), example("counter-conflicts.settings"), {}, {}, 2000,
         {"WIDTH: 40 -> 32", "DIRECTION: sideways -> both", "load: UNUSED -> USED", "din: UNUSED -> USED",
             "up_dn: UNUSED -> USED"}, true, ""},
        {"two at once", pair, "", {"A=3", "B=3"}, {}, 2000, {"A: 3 -> 1", "B: 3 -> 1"}, true, ""},
        // Kept names force other repairs: the mode instead of port B's clock, the width instead of the byte
        // enables; the depth down to its default with the memory type kept.
        {"keep clkb and BYTE_ENABLES", example("ram.xml"), example("ram-conflicts.settings"), {},
         {"BYTE_ENABLES", "clkb"}, 2000, {"DEPTH: 300 -> 1024", "MODE: DUAL -> SINGLE", "WIDTH: 12 -> 8"}, true, ""},
        {"keep what cannot hold", example("fifo.xml"), example("fifo-conflicts.settings"), {}, {"ALMOST_FULL_LEVEL"},
         2000, {"DEPTH: 1000 -> 512", "MEMORY_TYPE: distributed -> block"}, false, "no combination of up to 3"},
        {"budget spent", pair, "", {"A=3", "B=3"}, {}, 3, {}, false, "budget of 3 validation runs"},
        {"nothing to do", example("ram.xml"), example("ram-dual.settings"), {}, {}, 2000, {}, true, ""},
        // The session is left as it was.
        {"unknown kept name", example("fifo.xml"), example("fifo-conflicts.settings"), {}, {"MEMRY_TYPE"}, 2000, {},
         false, "", "no port or parameter is named MEMRY_TYPE (did you mean MEMORY_TYPE?)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OPENED_SESSION opened = open_and_run(c.description, c.settings, c.extra);
        ASSERT_TRUE(opened.session);
        const std::vector<KOVA_SETTING> before = opened.session->current_settings();
        KOVA_FIX_RESULT result;
        const KOVA_PROBLEM problem = kova_fix(*opened.session, opened.run, {c.keep, c.budget, 3, 24, {}}, result);
        ASSERT_EQ(static_cast<bool>(problem), !c.refused.empty()) << problem.text;
        EXPECT_EQ(problem.text, c.refused);
        EXPECT_EQ(change_lines(result), c.changes);
        EXPECT_EQ(result.valid, c.valid);
        EXPECT_EQ(result.gave_up, *c.gave_up != '\0');
        EXPECT_NE(result.gave_up_reason.find(c.gave_up), std::string::npos) << result.gave_up_reason;
        EXPECT_LE(result.runs, c.budget);
        // Kept names hold what they held.
        for (const std::string& kept : c.keep)
            EXPECT_EQ(settings_of(opened.session->current_settings(), kept), settings_of(before, kept)) << kept;
        // The settings reached validate in a session of their own.
        OPENED_SESSION again = open_and_run(c.description);
        KOVA_MESSAGES problems;
        ASSERT_FALSE(again.session->apply(opened.session->current_settings(), problems));
        EXPECT_EQ(again.session->run().valid, c.valid);
    }
}

// The order the search tries things in: each setting's candidates (the default, then the legal values nearest
// the current one, or the failing conditions' constants and their neighbours), and the proposals over a
// part's settings (one setting at a time, then two at once, ..., the later setting's candidate changing
// fastest). A search that skipped any of them could miss the repair with the fewest changes.
TEST(Fix, TheSearchTriesEveryCandidateInOrder) {
    using TEXTS = std::vector<std::string>;
    const struct { TEXTS settings; const char* name; std::vector<long long> literals; int most; TEXTS candidates; }
        candidates[] = {
        {{"WIDTH=12"}, "WIDTH", {}, 6, {"8", "11", "13", "10", "14", "9"}},            // a range, nearest first
        {{"DEPTH=128"}, "DEPTH", {}, 24, {"16", "64", "32", "256", "512"}},            // a list, ties the lower first
        // constants and neighbours
        {{"ALMOST_FULL_LEVEL=2000"}, "ALMOST_FULL_LEVEL", {0, 3}, 24, {"12", "4", "3", "2", "1", "0", "-1"}},
        {{"HAS_DATA_COUNT=1", "data_count=USED"}, "data_count", {}, 24, {"UNUSED"}},  // a port's other state
    };
    for (const auto& c : candidates) {
        OPENED_SESSION opened = open_and_run(example("fifo.xml"), "", c.settings);
        ASSERT_TRUE(opened.session);
        EXPECT_EQ(kova_fix_candidates(*opened.session, c.name, c.literals, c.most), c.candidates) << c.name;
    }
    // Proposals as "setting:candidate", settings changed together joined by "+".
    const struct { std::vector<std::size_t> counts; int most; const char* order; } proposals[] = {
        {{2, 3}, 1, "0:0 0:1 1:0 1:1 1:2"},
        {{2, 3}, 2, "0:0 0:1 1:0 1:1 1:2 0:0+1:0 0:0+1:1 0:0+1:2 0:1+1:0 0:1+1:1 0:1+1:2"},
        {{2, 0, 1}, 2, "0:0 0:1 2:0 0:0+2:0 0:1+2:0"},  // a setting without candidates is passed over
    };
    for (const auto& c : proposals) {
        KOVA_FIX_PROPOSALS order(c.counts);
        std::string got;
        for (auto proposal = order.next(c.most); !proposal.empty(); proposal = order.next(c.most)) {
            got += got.empty() ? "" : " ";
            for (std::size_t i = 0; i < proposal.size(); ++i)
                got += (i ? "+" : "") + std::to_string(proposal[i].first) + ":" + std::to_string(proposal[i].second);
        }
        EXPECT_EQ(got, c.order);
    }
}
