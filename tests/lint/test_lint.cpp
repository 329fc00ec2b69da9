// kova lint: each check finds its mistake at its line in a description written for it, and stays silent on
// the same description put right; lint leaves the session it reads as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "lint/lint.h"
#include "tests/session/opened_session.h"

namespace {

struct LINTED { std::string path; KOVA_MESSAGES findings; };

// A description file: the model line with its fields, then body from line 2.
std::string model_file(const std::string& name, const std::string& body, const std::string& model_fields) {
    return write_temp_file(name + ".xml", "<model function=\"t\"" + model_fields + ">\n" + body + "\n</model>\n");
}

LINTED lint(const std::string& name, const std::string& body, const std::string& model_fields) {
    const std::string path = model_file(name, body, model_fields);
    std::unique_ptr<KOVA_SESSION> session = open_session(path);
    LINTED linted{path, {}};
    if (session) {
        EXPECT_TRUE(kova_lint(*session, {{}, false, {"missing-help"}}, linted.findings)) << path;
    }
    return linted;
}

// The first finding of a check; null when it found nothing.
const KOVA_MESSAGE* first_of(const LINTED& linted, const std::string& check) {
    for (const KOVA_MESSAGE& message : linted.findings) if (message.check == check) return &message;
    return nullptr;
}

std::string listing(const LINTED& linted) {
    std::ostringstream out;
    kova_print_messages(linted.findings, linted.path, out);
    return out.str();
}

// text with each "@" replaced by piece.
std::string with(std::string text, const std::string& piece) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + piece.size()))
        text.replace(at, 1, piece);
    return text;
}

}  // namespace

// The description of each row: its body (and model fields) with "@" read
// as the mistake, then as the mistake put right; the checks that run only
// on request run too.
TEST(LintChecks, EachMistakeIsFoundAtItsLineAndNotOnceItIsPutRight) {
    const std::string a_default = "<object name='A' kind='integer' value='1|2|8' default='@' default_usage_state='USED'>";
    const std::string a = with(a_default, "1");
    const std::string close = "<rule type=\"legal_values\" value=\"1|2|8\"/></object>";
    const std::string after = a + close + "\n";  // line 3 onwards
    const std::string bytes = "<object name='bytes' kind='macro' arguments='w' value='w ceil_div 8'/>\n";
    const std::string r = "<object name='R' kind='integer' value='4-12' default_usage_state='USED' ";
    const std::string port = "<object name='p' kind='in' width='4'>";
    const std::string hidden = after + "<object name='H' kind='hidden' value='@'/>";  // the value at column 39
    const std::string listed = "<object name='P' kind='string' value='NONE|EVEN|ODD' default_index='0' "
        "default_usage_state='USED'><rule type='legal_values' value='NONE|EVEN|ODD'/></object>\n";
    const std::string check_rule = "<object name='H' kind='hidden' value='A * 2'/><object name='H2' kind='hidden' "
        "value='1'><rule condition='@'/></object>";  // the condition at column 106
    const std::string condition = a + "<rule condition='@'/>" + close;  // the text at line 2, column 103
    const std::string loop = "<object name='m' kind='macro' arguments='x' value='x + B'/><object name='K' "
                             "kind='hidden' value='1'/>\n<object name='A' kind='hidden' value='m(K)'/>\n";
    // line: of the finding in the bad description; words: a part of its text; column (0: any), hint and the
    // lines of its related places. Every mistake is reported once.
    const struct { const char* check; std::string body, bad, good; unsigned line; const char* words;
        std::string fields = ""; unsigned column = 0; std::string hint = ""; std::vector<unsigned> related = {};
    } cases[] = {
        // A parse error is placed at the token where the parse stopped, or at the "(" never closed.
        {"parse-error", condition, "(A gt 1", "(A gt 1)", 2, "parse error while parsing (A gt 1", "", 103,
         "this `(` is never closed: the text ends before its `)`"},
        {"parse-error", condition, "A = 1", "A == 1", 2, "expecting `$' while parsing A = 1", "", 107,
         "did you mean `==`?"},
        {"parse-error", condition, "A AND A", "A and A", 2, "parse error", "", 105,
         "keywords are lower case: write `&&`"},
        {"parse-error", condition, "A gt 1)", "A gt 1", 2, "parse error", "", 109,
         "nothing may follow here but the end of the text: is there an extra `)`?"},
        {"unknown-name", a + "<rule condition='@' value='2'/>" + close, "AA gt 1", "A gt 1", 2, "(did you mean A?)"},
        {"unknown-name", after + "<object name='WIDTH' kind='hidden' value='8'/><object name='d' kind='out' width='@'/>",
         "WIDHT", "WIDTH", 3, "the width WIDHT reads the unknown name WIDHT as a word, so the width is 0 (did you mean WIDTH?)"},
        {"unknown-name", a + "<rule condition='used(@)'/>" + close, "AA", "A", 2,
         "used(AA) in used(AA) names no port or parameter, so it is always false"},
        {"macro-call", bytes + "<object name='H' kind='hidden' value='@'/><object name='H2' kind='hidden' value='8'/>",
         "byts(H2)", "bytes(H2)", 3, "calls byts, which is no function macro, so it reads as \"\" (did you mean bytes?)"},
        {"macro-call", bytes + "<object name='H' kind='hidden' value='@'/><object name='H2' kind='hidden' value='8'/>",
         "bytes(H2, H2)", "bytes(H2)", 3, "passes 3 arguments as the engine counts them (\"H2,,H2\""},
        {"uninstantiated-call", bytes + "<object name='N' kind='hidden' value='16'/><object name='d' kind='out' width='@'/>",
         "bytes(N)", "N ceil_div 8", 3, "bytes(N) in bytes(N) has no macro instance (calls are instantiated only in"},
        // Parentheses that keep the grouping the grammar gives say it is meant.
        {"precedence", hidden, "A * 2 &lt; 8", "(A * 2) &lt; 8", 3,
            "A * 2 < 8 reads as A * (2 < 8): comparisons bind tighter than arithmetic"},
        {"precedence", hidden, "A * 2 &lt; 8", "A * (2 &lt; 8)", 3,
            "A * 2 < 8 reads as A * (2 < 8): comparisons bind tighter than arithmetic"},
        {"unplaced-character", a + "<rule condition='@'/>" + close, "A gt 1 #", "A gt 1", 2,
         "the characters \"#\" of A gt 1 # are not part of the rule language"},
        {"force-command", after + "<vector name='v'><stimulus value='@'/></vector>", "force AA 1 0", "force A 1 0", 3,
         "forces AA, which is no port or parameter (did you mean A?)"},
        {"force-command", after + "<vector name='v'><stimulus value='@'/></vector>", "release A", "force A 1 0", 3,
            "is not a force command"},
        {"unknown-literal", listed + "<object name='H' kind='hidden' value='@'/>", "P != NOEN", "P != NONE", 3,
         "NOEN in P != NOEN is none of the values NONE|EVEN|ODD of P, so the comparison is always true", "", 44},
        {"text-order", listed + "<object name='H' kind='hidden' value='@'/>", "P str_lte NONE", "P == NONE", 3,
         "str_lte in P str_lte NONE orders the values of P (NONE|EVEN|ODD) byte by byte", "", 41},
        {"truth-word", hidden, "A gt 1 || TRUE", "A gt 1 || true", 3, "TRUE in A gt 1 || TRUE is no truth word to ||",
         "", 49},
        {"truth-word", listed + "<object name='H' kind='hidden' value='@'/>", "P &amp;&amp; true", "P == ODD", 3,
         "P in P && true is no truth word to &&"},
        {"glued-name", hidden, "A gt 1 ? A:2", "A gt 1 ? A : 2", 3, "A is written against A:2", "", 48},
        {"overflow", hidden, "A * 300000000", "A * 200000000", 3, "at A=8: 8 * 300000000 is 2400000000 and wraps to "
         "-1894967296", "", 41},
        {"overflow", hidden, "2 exp (A * 4)", "2 exp (A * 3)", 3, "2 exp 32 is beyond 32 bits and wraps to 0"},
        {"inexact-division", hidden, "A / 2", "A quot 2", 3, "gives 0 at A=1: 1 div 2 is not exact", "", 41},
        {"fixed-check", after + check_rule, "H gt 4", "H gt A", 3, "the check rule H gt 4 of H2 names no port or "
         "parameter", "", 106},
        {"overridden-rule",
         after + port + "<rule condition='A gt 1' value='USED' alt_value='UNUSED'/><rule @/></object>", "value='USED'", "condition='A gt 2' value='USED'", 3, "this usage rule of p never counts: the later rule on "
         "line 3", "", 70},
        {"default-value", "<object name='D' kind='integer' value='16|32' default='@' default_usage_state='USED'>"
                          "<rule type='legal_values' value='16|32'/></object>", "300", "16", 2,
         "the default 300 of D is not among its values 16|32"},
        {"default-value", r + "default='@'><rule type='legal_values' value='12' alt_value='4'/></object>", "20", "12", 2,
         "the default 20 of R is not among its values 4-12"},
        {"default-value", "<object name='K' kind='string' value='a|b' default_index='@' default_usage_state='USED'>"
                          "<rule type='legal_values' value='a|b'/></object>", "5", "1", 2,
         "default_index 5 of K is past the end of its list \"a|b\" (2 entries)"},
        {"reversed-range", r + "default='4'><rule type='legal_values' @/></object>", "value='4' alt_value='12'",
         "value='12' alt_value='4'", 2, "runs from its alt_value 12 (the lower bound) to its value 4"},
        {"reversed-range", "<object name='R' kind='integer' value='@' default='4' default_usage_state='USED'/>", "12-4",
         "4-4", 2, "the range 12-4 of R has its bounds reversed"},
        {"unenforced-values", "<object name='M' kind='string' value='block|lut' default='block' default_usage_state='USED'>"
                              "<rule type='legal_values' @/></object>", "condition='used(M)' value='block'",
         "value='block|lut'", 2, "no legal_values rule without a condition enforces the values block|lut of M"},
        {"unwritable-name", after + "<object name='@' kind='hidden' value='1'/>", "and", "andy", 3,
         "the name and cannot be written in a rule text (it does not parse)"},
        {"rule-kind", "@", a + "<rule type='port_value' value='1'/>" + close,
         after + port + "<rule type='port_value' value='1'/></object>", 2,
             "a port value rule counts only on a port, and A is integer"},
        {"rule-kind", "@", a + "<rule type='constant_legal_values' value='1'/>" + close,
         after + port + "<rule type='constant_legal_values' value='1'/></object>", 2,
             "counts only on an input port held constant"},
        {"library-tail", a + close, "", ";", 1, "the library entry c.d after the last \";\" is taken as written",
            " library='a.b;c.d@'"},
        {"lint-ignore", a + close, "precedense", "precedence", 1,
         "lint_ignore names no check precedense (did you mean precedence?)", " lint_ignore='@'"},
        {"previous-name", after + "<object name='B' kind='integer' previous_names='OLD, @'/>", "a", "OLD_A", 3,
         "the previous name a of B is the name of the object A of this version", "", 54},
        {"previous-name", after + "<object name='B' kind='integer' previous_names='X'/><object name='C' "
                                  "kind='integer' previous_names='@'/>", "x", "Y", 3,
         "the previous name x of C is also a previous name of B"},
        {"previous-name", after + "<object name='H' kind='hidden' value='1'@/>", " previous_names='OLD'", "", 3,
         "previous_names of H mean nothing: no setting names a hidden parameter"},
        // A loop is written out from the rule that closes it; the engine reports this one twice.
        {"cycle", "<object name='H1' kind='hidden' value='H2 + 1'/>\n<object name='H2' kind='hidden' value='@'/>",
         "H1 + 1", "1", 3, "cyclical dependency: H2 -> H1 -> H2 (", "", 0, "", {2}},
        {"cycle", loop + "<object name='B' kind='hidden' value='@'/>", "A + 1", "1", 3,
         "cyclical dependency: A -> m -> B -> A (", "", 0, "", {2, 4}},
        {"default-config", a_default + "<rule condition='A gt 4'/>" + close, "1", "8", 2, "should satisfy the condition A gt 4"},
        {"default-warning", a + "<rule condition='@'/>" + close, "A + 1", "A gt 1", 2,
            "did not evaluate to be a boolean expression"},
        {"missing-help", "<object name='P' kind='string' default_usage_state='USED'@/>", "", " help='What P sets.'", 2,
         "the parameter P is USED by default but has no help text"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.check) + ": " + row.words);
        const LINTED bad = lint("bad", with(row.body, row.bad), with(row.fields, row.bad));
        const KOVA_MESSAGE* found = first_of(bad, row.check);
        ASSERT_TRUE(found) << listing(bad);
        EXPECT_EQ(found->location.file, bad.path);
        EXPECT_EQ(found->location.line, row.line) << listing(bad);
        if (row.column) {
            EXPECT_EQ(found->location.column, row.column) << listing(bad);
        }
        EXPECT_GT(found->location.column, 0u);
        EXPECT_NE(found->text.find(row.words), std::string::npos) << listing(bad);
        EXPECT_EQ(found->hint, row.hint);
        std::vector<unsigned> related;
        for (const KOVA_RELATED_PLACE& place : found->related) related.push_back(place.location.line);
        EXPECT_EQ(related, row.related);
        EXPECT_EQ(std::count_if(bad.findings.begin(), bad.findings.end(),
                                [&](const KOVA_MESSAGE& m) { return m.check == row.check; }), 1) << listing(bad);
        // A condition that does not parse is not also reported as not boolean.
        EXPECT_FALSE(row.check == std::string("parse-error") && first_of(bad, "default-warning")) << listing(bad);
        ASSERT_TRUE(kova_find_lint_check(row.check));
        EXPECT_EQ(found->severity, kova_find_lint_check(row.check)->severity);
        const LINTED good = lint("good", with(row.body, row.good), with(row.fields, row.good));
        EXPECT_FALSE(first_of(good, row.check)) << listing(good);
    }
}

// A finding is left out when its check is disabled, silenced on its object or model, or runs only on request and was
// not asked for; --werror makes it an error.
TEST(LintChecks, DisabledAndSilencedChecksAndWarningsAsErrors) {
    const std::string precedence = "<object name='H' kind='hidden' value='2 * 2 &lt; 8'";
    // read: lint could read the description again; rewritten: the file's text once the session has loaded it.
    struct ROW { const char* what; std::string body, model_fields; KOVA_LINT_OPTIONS options; std::size_t findings;
                 KOVA_SEVERITY severity; bool read = true; std::string rewritten = ""; } rows[] = {
        {"reported", precedence + "/>", "", {}, 1, KOVA_SEVERITY_WARNING},
        {"--werror", precedence + "/>", "", {{}, true, {}}, 1, KOVA_SEVERITY_ERROR},
        {"--disable", precedence + "/>", "", {{"precedence"}, false, {}}, 0, KOVA_SEVERITY_WARNING},
        {"on the object", precedence + " lint_ignore='cycle, precedence'/>", "", {}, 0, KOVA_SEVERITY_WARNING},
        {"on the model", precedence + "/>", " lint_ignore='precedence'", {}, 0, KOVA_SEVERITY_WARNING},
        {"missing-help only on request", "<object name='P' kind='string' default_usage_state='USED'/>", "", {}, 0,
         KOVA_SEVERITY_WARNING},
        // Not a clean description: why lint could not read it.
        {"changed after loading", precedence + "/>", "", {}, 1, KOVA_SEVERITY_ERROR, false, "<model"},
    };
    for (const ROW& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<KOVA_SESSION> session = open_session(model_file("silenced", row.body, row.model_fields));
        ASSERT_TRUE(session);
        if (!row.rewritten.empty()) write_temp_file("silenced.xml", row.rewritten);
        KOVA_MESSAGES found;
        ASSERT_EQ(kova_lint(*session, row.options, found), row.read);
        ASSERT_EQ(found.size(), row.findings);
        EXPECT_EQ(found.empty() ? row.severity : found.front().severity, row.severity);
    }
}

// Lint reads the session without changing it: the same settings, values, error list and records before and
// after; an object the run cannot reach (made so by hand: no description does) is reported.
TEST(LintChecks, LeavesTheSessionAsItWasAndReportsUnreachedObjects) {
    const OPENED_SESSION opened = open_and_run(example("fifo.xml"), "", {"DEPTH=300"});
    ASSERT_TRUE(opened.session);
    KOVA_SESSION* session = opened.session.get();
    KOVA_RULES_VALIDATOR& validator = session->validator();
    const std::vector<std::string> errors = validator.get_error_messages();
    const std::vector<std::string> settings = setting_lines(session->current_settings());
    KOVA_MESSAGES found;
    EXPECT_TRUE(kova_lint(*session, KOVA_LINT_OPTIONS(), found));
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(validator.get_error_messages(), errors);
    EXPECT_EQ(setting_lines(session->current_settings()), settings);
    EXPECT_EQ(validator.get_string_parameter_value("MEMORY_TYPE"), "block");

    validator.get_kova_obj("WIDTH")->evaluation_position = 1000000;  // past every level
    ASSERT_TRUE(kova_lint(*session, KOVA_LINT_OPTIONS(), found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().check, "unreached");
}
