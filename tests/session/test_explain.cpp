// Explanations (session/explain.h): for every conflict of the examples' conflict settings, the rule the run's
// message names and the settings behind it; trees through hidden parameters and macro calls; the objects that
// read a name; the session left as it was; and the note after a failed check naming the settings it reads.
#include <gtest/gtest.h>

#include <set>

#include "session/command_flow.h"
#include "session/explain.h"
#include "session/object_states.h"
#include "tests/session/opened_session.h"

namespace {

// The nodes below roots, depth first, each once: "NAME=VALUE" for a setting, "NAME(KIND)" for a derived node.
std::vector<std::string> tree(const KOVA_EXPLANATION& explanation, const std::vector<std::size_t>& roots) {
    std::vector<std::string> lines;
    std::set<std::size_t> seen;
    std::vector<std::size_t> stack(roots.rbegin(), roots.rend());
    while (!stack.empty()) {
        const std::size_t index = stack.back();
        stack.pop_back();
        if (!seen.insert(index).second) continue;
        const KOVA_DEPENDENCY_NODE& node = explanation.nodes[index];
        lines.push_back(node.setting ? node.name + "=" + node.value : node.name + "(" + node.kind + ")");
        stack.insert(stack.end(), node.children.rbegin(), node.children.rend());
    }
    return lines;
}

// Every port's and parameter's current and derived state (hidden ones too), one line each.
std::vector<std::string> states(const KOVA_SESSION& session) {
    std::vector<std::string> lines;
    for (const KOVA_OBJECT_STATE& s : kova_object_states(session.validator(), true))
        lines.push_back(s.name + " " + s.value + " " + s.alt_value + " " + std::to_string(s.usage) +
                        std::to_string(s.alt_usage));
    return lines;
}

KOVA_EXPLANATION explained(const OPENED_SESSION& opened, const std::string& name) {
    KOVA_EXPLANATION explanation;
    const KOVA_PROBLEM problem = kova_explain(*opened.session, opened.run, name, explanation);
    EXPECT_FALSE(problem) << problem.text;
    return explanation;
}

}  // namespace

TEST(Explain, NamesTheRuleAndSettingsBehindEveryConflict) {
    // Each error of the run: "OBJECT#RULE KIND: SETTINGS" from the rule the explanation marks.
    const struct { const char* description; const char* settings; std::vector<std::string> conflicts; } cases[] = {
        {"ram.xml", "ram-conflicts.settings",
         {"DEPTH#0 value-conflict:", "clkb#0 usage-conflict: MODE=DUAL", "addrb#0 usage-conflict: MODE=DUAL",
          "doutb#0 usage-conflict: MODE=DUAL", "BYTE_ENABLES#1 check-failed: BYTE_ENABLES=1 WIDTH=12"}},
        {"counter.xml", "counter-conflicts.settings", {"WIDTH#0 value-conflict:", "DIRECTION#0 value-conflict:",
         "load#0 usage-conflict: HAS_LOAD=1", "din#0 usage-conflict: HAS_LOAD=1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        OPENED_SESSION opened = open_and_run(example(c.description), example(c.settings));
        ASSERT_TRUE(opened.session);
        const std::vector<std::string> before = states(*opened.session);
        std::vector<std::string> found;
        for (const KOVA_MESSAGE& message : opened.run.messages) {
            if (message.severity != KOVA_SEVERITY_ERROR) continue;
            const KOVA_EXPLANATION explanation = explained(opened, message.object);
            std::string line = message.object + "#" + std::to_string(message.rule_index);
            for (const KOVA_EXPLAINED_RULE& rule : explanation.rules) {
                if (rule.conflict.empty()) continue;
                line += " " + rule.conflict + ":";
                for (const std::string& setting : tree(explanation, rule.depends_on)) line += " " + setting;
            }
            found.push_back(line);
            EXPECT_EQ(explanation.messages.size(), 1u) << line;
        }
        EXPECT_EQ(found, c.conflicts);
        // Explaining evaluates on a copy: the session is as the run left it.
        EXPECT_EQ(states(*opened.session), before);
    }
}

TEST(Explain, TreesReachTheSettingsThroughHiddenParametersAndCalls) {
    // expression_tree: of a hidden parameter; rule_tree: of its last rule.
    const struct { const char* name; std::vector<std::string> expression_tree, rule_tree, dependents; } cases[] = {
        {"WE_WIDTH", {"BYTE_ENABLES=0", "bytes(WIDTH)(call)", "WIDTH=8"}, {}, {"wea"}},
        // The check rule reads WIDTH; the sub-model's rule reads ECC.
        {"WIDTH", {}, {"ECC=0"}, {"BYTE_ENABLES", "WE_WIDTH", "dina", "douta", "doutb", "CHECK_BITS"}},
    };
    OPENED_SESSION opened = open_and_run(example("ram.xml"));
    ASSERT_TRUE(opened.session);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const KOVA_EXPLANATION explanation = explained(opened, c.name);
        EXPECT_EQ(tree(explanation, explanation.expression_depends_on), c.expression_tree);
        const auto& rules = explanation.rules;
        EXPECT_EQ(rules.empty() ? c.rule_tree : tree(explanation, rules.back().depends_on), c.rule_tree);
        EXPECT_EQ(explanation.dependents, c.dependents);
    }
}

TEST(Explain, AFailedCheckIsFollowedByTheSettingsItReadsThroughDerivedValues) {
    // Each row: the condition of p's check rule, and the messages of validate's flow as "LINE:COLUMN GRADE: TEXT".
    const std::string at = "7:83 ", failed = at + "error: Ports and parameters ";
    const struct { const char* condition; std::vector<std::string> messages; } cases[] = {
        {"H &lt; 10", {failed + " should satisfy the condition H < 10", at + "note: reads A=3, B=5 through H"}},
        // Several derived values: each setting once, in the trees' order.
        {"(half(B) + H) &lt; 10", {failed + "B(5) should satisfy the condition (half(B) + H) < 10",
                                   at + "note: reads B=5, A=3 through half(B), H"}},
        {"W &lt; 8", {failed + "W(12) should satisfy the condition W < 8"}},
        {"H &gt; 0", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        const auto session = open_session(write_temp_file("reads.xml", std::string(
            "<model function='t'>\n<object name='A' kind='integer' default='3' default_usage_state='USED'/>\n"
            "<object name='B' kind='integer' default='5' default_usage_state='USED'/>\n"
            "<object name='W' kind='integer' default='12' default_usage_state='USED'/>\n"
            "<object name='H' kind='hidden' value='A * B'/>\n"
            "<object name='half' kind='macro' arguments='x' value='x quot 2'/>\n"
            "<object name='p' kind='out' width='1' default_usage_state='USED'><rule><condition>") +
            c.condition + "</condition></rule></object>\n</model>\n"));
        ASSERT_TRUE(session);
        const KOVA_COMMAND_RESULT result = kova_run_command(*session, {}, {}, true, [](auto&, auto&, auto&) {});
        std::vector<std::string> messages;
        for (const KOVA_MESSAGE& m : result.messages)
            messages.push_back(std::to_string(m.location.line) + ":" + std::to_string(m.location.column) + " " +
                               kova_severity_name(m.severity) + ": " + m.text);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(result.clean(), c.messages.empty());
    }
}
