// kova lint: each check finds its mistake at its line in a description
// written for it, and stays silent on the same description put right;
// lint leaves the session it reads as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "lint/lint.h"
#include "support/test_support.h"

namespace {

struct LINTED {
    std::string path;
    KOVA_MESSAGES findings;
};

std::unique_ptr<KOVA_SESSION> open_session(const std::string& path) {
    KOVA_MESSAGES problems;
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open({path, "", ""}, problems);
    EXPECT_TRUE(session) << (problems.empty() ? path : problems.front().text);
    return session;
}

// The model line, then body from line 2.
LINTED lint(const std::string& name, const std::string& body, const std::string& model_fields = "") {
    const std::string path =
        write_temp_file(name + ".xml", "<model function=\"t\"" + model_fields + ">\n" + body + "\n</model>\n");
    std::unique_ptr<KOVA_SESSION> session = open_session(path);
    LINTED linted{path, {}};
    if (session) {
        EXPECT_TRUE(kova_lint(*session, KOVA_LINT_OPTIONS(), linted.findings)) << path;
    }
    return linted;
}

std::vector<const KOVA_MESSAGE*> of_check(const LINTED& linted, const std::string& check) {
    std::vector<const KOVA_MESSAGE*> found;
    for (const KOVA_MESSAGE& message : linted.findings)
        if (message.check == check) found.push_back(&message);
    return found;
}

std::string listing(const LINTED& linted) {
    std::ostringstream out;
    kova_print_messages(linted.findings, linted.path, out);
    return out.str();
}

const char* const INTEGER_A = "<object name='A' kind='integer' value='1|2|8' default='1' default_usage_state='USED'>";

struct CASE {
    const char* check;
    std::string bad, good;  // the body of each description
    unsigned line;          // the line of the finding in bad
    const char* words;      // a part of its text
    std::string bad_fields = "", good_fields = "";  // fields of <model>
};

}  // namespace

TEST(LintChecks, EachMistakeIsFoundAtItsLineAndNotOnceItIsPutRight) {
    const std::string a = INTEGER_A;
    const std::string close = "<rule type=\"legal_values\" value=\"1|2|8\"/></object>";
    const std::string bytes = "<object name='bytes' kind='macro' arguments='w' value='w ceil_div 8'/>";
    const CASE cases[] = {
        {"parse-error", a + "<rule condition='(A gt 1'/>" + close, a + "<rule condition='(A gt 1)'/>" + close,
         2, "parse error while parsing (A gt 1"},
        {"unknown-name", a + "<rule condition='AA gt 1' value='2'/>" + close,
         a + "<rule condition='A gt 1' value='2'/>" + close, 2, "(did you mean A?)"},
        {"unknown-name", a + close + "\n" + "<object name='WIDTH' kind='hidden' value='8'/><object name='d' kind='out' width='WIDHT'/>",
         a + close + "\n" + "<object name='WIDTH' kind='hidden' value='8'/><object name='d' kind='out' width='WIDTH'/>", 3,
         "the width WIDHT reads the unknown name WIDHT as a word, so the width is 0 (did you mean WIDTH?)"},
        {"unknown-name", a + "<rule condition='used(AA)'/>" + close, a + "<rule condition='used(A)'/>" + close, 2,
         "used(AA) in used(AA) names no port or parameter, so it is always false"},
        {"macro-call", bytes + "\n" + "<object name='H' kind='hidden' value='byts(H2)'/><object name='H2' kind='hidden' value='8'/>",
         bytes + "\n" + "<object name='H' kind='hidden' value='bytes(H2)'/><object name='H2' kind='hidden' value='8'/>", 3,
         "calls byts, which is no function macro, so it reads as \"\" (did you mean bytes?)"},
        {"macro-call", bytes + "\n" + "<object name='H' kind='hidden' value='bytes(H2, H2)'/><object name='H2' kind='hidden' value='8'/>",
         bytes + "\n" + "<object name='H' kind='hidden' value='bytes(H2)'/><object name='H2' kind='hidden' value='8'/>", 3,
         "passes 3 arguments as the engine counts them (\"H2,,H2\""},
        {"uninstantiated-call", bytes + "\n" + "<object name='N' kind='hidden' value='16'/><object name='d' kind='out' width='bytes(N)'/>",
         bytes + "\n" + "<object name='N' kind='hidden' value='16'/><object name='d' kind='out' width='N ceil_div 8'/>", 3,
         "bytes(N) in bytes(N) has no macro instance (calls are instantiated only in"},
        {"precedence", a + close + "\n" + "<object name='H' kind='hidden' value='A * 2 &lt; 8'/>",
         a + close + "\n" + "<object name='H' kind='hidden' value='(A * 2) &lt; 8'/>", 3,
         "A * 2 < 8 reads as A * (2 < 8): comparisons bind tighter than arithmetic"},
        // Parentheses that keep the grouping the grammar gives say it is meant.
        {"precedence", a + close + "\n" + "<object name='H' kind='hidden' value='A * 2 &lt; 8'/>",
         a + close + "\n" + "<object name='H' kind='hidden' value='A * (2 &lt; 8)'/>", 3,
         "A * 2 < 8 reads as A * (2 < 8): comparisons bind tighter than arithmetic"},
        {"unplaced-character", a + "<rule condition='A gt 1 #'/>" + close, a + "<rule condition='A gt 1'/>" + close,
         2, "the characters \"#\" of A gt 1 # are not part of the rule language"},
        {"force-command", a + close + "\n" + "<vector name='v'><stimulus value='force AA 1 0'/></vector>",
         a + close + "\n" + "<vector name='v'><stimulus value='force A 1 0'/></vector>", 3,
         "forces AA, which is no port or parameter (did you mean A?)"},
        {"force-command", a + close + "\n" + "<vector name='v'><stimulus value='release A'/></vector>",
         a + close + "\n" + "<vector name='v'><stimulus value='force A 1 0'/></vector>", 3, "is not a force command"},
        {"default-value", "<object name='D' kind='integer' value='16|32' default='300' default_usage_state='USED'><rule type='legal_values' value='16|32'/></object>",
         "<object name='D' kind='integer' value='16|32' default='16' default_usage_state='USED'><rule type='legal_values' value='16|32'/></object>",
         2, "the default 300 of D is not among its values 16|32"},
        {"default-value", "<object name='R' kind='integer' value='4-12' default='20' default_usage_state='USED'><rule type='legal_values' value='12' alt_value='4'/></object>",
         "<object name='R' kind='integer' value='4-12' default='12' default_usage_state='USED'><rule type='legal_values' value='12' alt_value='4'/></object>",
         2, "the default 20 of R is not among its values 4-12"},
        {"default-value", "<object name='K' kind='string' value='a|b' default_index='5' default_usage_state='USED'><rule type='legal_values' value='a|b'/></object>",
         "<object name='K' kind='string' value='a|b' default_index='1' default_usage_state='USED'><rule type='legal_values' value='a|b'/></object>",
         2, "default_index 5 of K is past the end of its list \"a|b\" (2 entries)"},
        {"reversed-range", "<object name='R' kind='integer' value='4-12' default='4' default_usage_state='USED'><rule type='legal_values' value='4' alt_value='12'/></object>",
         "<object name='R' kind='integer' value='4-12' default='4' default_usage_state='USED'><rule type='legal_values' value='12' alt_value='4'/></object>",
         2, "runs from its alt_value 12 (the lower bound) to its value 4"},
        {"reversed-range", "<object name='R' kind='integer' value='12-4' default='4' default_usage_state='USED'/>",
         "<object name='R' kind='integer' value='4-4' default='4' default_usage_state='USED'/>", 2,
         "the range 12-4 of R has its bounds reversed"},
        {"unenforced-values", "<object name='M' kind='string' value='block|lut' default='block' default_usage_state='USED'><rule type='legal_values' condition='used(M)' value='block'/></object>",
         "<object name='M' kind='string' value='block|lut' default='block' default_usage_state='USED'><rule type='legal_values' value='block|lut'/></object>",
         2, "no legal_values rule without a condition enforces the values block|lut of M"},
        {"unwritable-name", a + close + "\n" + "<object name='and' kind='hidden' value='1'/>",
         a + close + "\n" + "<object name='andy' kind='hidden' value='1'/>", 3,
         "the name and cannot be written in a rule text (it does not parse)"},
        {"unwritable-name", a + close + "\n" + "<object name='A+B' kind='hidden' value='1'/>",
         a + close + "\n" + "<object name='A_B' kind='hidden' value='1'/>", 3, "(it reads as A + B)"},
        {"rule-kind", a + "<rule type='port_value' value='1'/>" + close,
         a + close + "\n" + "<object name='p' kind='in' width='4'><rule type='port_value' value='1'/></object>", 2,
         "a port value rule counts only on a port, and A is integer"},
        {"rule-kind", a + "<rule type='constant_legal_values' value='1'/>" + close,
         a + close + "\n" + "<object name='p' kind='in' width='4'><rule type='constant_legal_values' value='1'/></object>", 2,
         "counts only on an input port held constant"},
        {"library-tail", a + close, a + close, 1, "the library entry c.d after the last \";\" is taken as written",
         " library='a.b;c.d'", " library='a.b;c.d;'"},
        {"lint-ignore", a + close, a + close, 1, "lint_ignore names no check precedense (did you mean precedence?)",
         " lint_ignore='precedense'", " lint_ignore='precedence'"},
        {"cycle", "<object name='H1' kind='hidden' value='H2 + 1'/><object name='H2' kind='hidden' value='H1 + 1'/>",
         "<object name='H1' kind='hidden' value='H2 + 1'/><object name='H2' kind='hidden' value='1'/>", 2,
         "Cyclical dependency in string"},
        {"default-config", a + "<rule condition='A gt 4'/>" + close,
         "<object name='A' kind='integer' value='1|2|8' default='8' default_usage_state='USED'><rule condition='A gt 4'/>" +
             close,
         2, "should satisfy the condition A gt 4"},
        {"default-warning", a + "<rule condition='A + 1'/>" + close, a + "<rule condition='A gt 1'/>" + close, 2,
         "did not evaluate to be a boolean expression"},
    };
    for (const CASE& row : cases) {
        SCOPED_TRACE(std::string(row.check) + ": " + row.words);
        const LINTED bad = lint("bad", row.bad, row.bad_fields);
        const std::vector<const KOVA_MESSAGE*> found = of_check(bad, row.check);
        ASSERT_FALSE(found.empty()) << listing(bad);
        EXPECT_EQ(found.front()->location.file, bad.path);
        EXPECT_EQ(found.front()->location.line, row.line) << listing(bad);
        EXPECT_GT(found.front()->location.column, 0u);
        EXPECT_NE(found.front()->text.find(row.words), std::string::npos) << listing(bad);
        const KOVA_LINT_CHECK* check = kova_find_lint_check(row.check);
        ASSERT_TRUE(check);
        EXPECT_EQ(found.front()->severity, check->severity);
        const LINTED good = lint("good", row.good, row.good_fields);
        EXPECT_TRUE(of_check(good, row.check).empty()) << listing(good);
    }
}

// A finding is left out when its check is disabled or silenced on its
// object or model; --werror makes it an error.
TEST(LintChecks, DisabledAndSilencedChecksAndWarningsAsErrors) {
    const std::string precedence = "<object name='H' kind='hidden' value='2 * 2 &lt; 8'";
    struct ROW {
        const char* what;
        std::string body, model_fields;
        KOVA_LINT_OPTIONS options;
        std::size_t findings;
        KOVA_SEVERITY severity;
        bool read = true;            // lint could read the description again
        std::string rewritten = "";  // the file's text once the session has loaded it
    } rows[] = {
        {"reported", precedence + "/>", "", {}, 1, KOVA_SEVERITY_WARNING},
        {"--werror", precedence + "/>", "", {{}, true}, 1, KOVA_SEVERITY_ERROR},
        {"--disable", precedence + "/>", "", {{"precedence"}, false}, 0, KOVA_SEVERITY_WARNING},
        {"on the object", precedence + " lint_ignore='cycle, precedence'/>", "", {}, 0, KOVA_SEVERITY_WARNING},
        {"on the model", precedence + "/>", " lint_ignore='precedence'", {}, 0, KOVA_SEVERITY_WARNING},
        {"another check silenced", precedence + " lint_ignore='cycle'/>", "", {}, 1, KOVA_SEVERITY_WARNING},
        // Not a clean description: why lint could not read it.
        {"changed after loading", precedence + "/>", "", {}, 1, KOVA_SEVERITY_ERROR, false, "<model"},
    };
    for (const ROW& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = write_temp_file("silenced.xml", "<model function=\"t\"" + row.model_fields + ">\n" +
                                                                   row.body + "\n</model>\n");
        std::unique_ptr<KOVA_SESSION> session = open_session(path);
        ASSERT_TRUE(session);
        if (!row.rewritten.empty()) write_temp_file("silenced.xml", row.rewritten);
        KOVA_MESSAGES found;
        ASSERT_EQ(kova_lint(*session, row.options, found), row.read);
        ASSERT_EQ(found.size(), row.findings);
        if (row.findings) {
            EXPECT_EQ(found.front().severity, row.severity);
        }
    }
}

// Lint reads the session without changing it: the same settings, values,
// error list and records before and after; an object the run cannot reach
// (made so by hand: no description does) is reported.
TEST(LintChecks, LeavesTheSessionAsItWasAndReportsUnreachedObjects) {
    std::unique_ptr<KOVA_SESSION> session = open_session(KOVA_EXAMPLES "/fifo.xml");
    ASSERT_TRUE(session);
    KOVA_MESSAGES problems;
    ASSERT_TRUE(session->apply({{"DEPTH", "300", "", 0}}, problems));
    session->run();
    KOVA_RULES_VALIDATOR& validator = session->validator();
    const std::vector<std::string> errors = validator.get_error_messages();
    const std::size_t records = validator.get_diagnostics().size();
    const std::vector<KOVA_SETTING> settings = session->current_settings();
    KOVA_MESSAGES found;
    EXPECT_TRUE(kova_lint(*session, KOVA_LINT_OPTIONS(), found));
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(validator.get_error_messages(), errors);
    EXPECT_EQ(validator.get_diagnostics().size(), records);
    const std::vector<KOVA_SETTING> after = session->current_settings();
    ASSERT_EQ(after.size(), settings.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].value, settings[i].value) << after[i].name;
    EXPECT_EQ(validator.get_string_parameter_value("MEMORY_TYPE"), "block");

    validator.get_kova_obj("WIDTH")->evaluation_position = 1000000;  // past every level
    ASSERT_TRUE(kova_lint(*session, KOVA_LINT_OPTIONS(), found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().check, "unreached");
}
