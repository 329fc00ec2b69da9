// Where each value came from (session/value_origins.h): one origin of each kind on a small description (a
// correction made before the run noted too), a correction that stands over later runs until the object is set
// again, and the source each front end gives.
#include <gtest/gtest.h>

#include "session/object_states.h"
#include "session/value_origins.h"
#include "tests/session/opened_session.h"

namespace {

// Line numbers below are those of this text.
const char* const k_description =
    "<model function=\"o\">\n"
    "<object name=\"P\" kind=\"integer\" value=\"1-8\" default=\"2\" default_usage_state=\"USED\"/>\n"
    "<object name=\"Q\" kind=\"integer\" value=\"1-8\" default=\"2\" default_usage_state=\"USED\"/>\n"
    "<object name=\"R\" kind=\"integer\" value=\"1-8\" default=\"2\" default_usage_state=\"USED\"/>\n"
    "<object name=\"S\" kind=\"integer\" value=\"1-9\" default=\"4\" default_usage_state=\"USED\"\n"
    "        silent_correction=\"true\">\n"
    "  <rule type=\"legal_values\" value=\"9\" alt_value=\"1\"/>\n"
    "  <rule type=\"legal_values\" condition=\"Q &gt; 1\" value=\"4\" alt_value=\"1\"/>\n"
    "</object>\n"
    "<object name=\"H\" kind=\"hidden\" value=\"Q * 2\"/>\n"
    "<object name=\"c\" kind=\"in\" width=\"4\" default_usage_state=\"USED\"/>\n"
    "<object name=\"n\" kind=\"in\" width=\"1\"/>\n"
    "</model>\n";

// "KIND SOURCE FILE:LINE rule=RULE was=WAS", the file without its folder, the parts that apply.
std::string summary(const KOVA_VALUE_ORIGIN& origin) {
    std::string text = kova_origin_kind_name(origin.kind);
    if (origin.by_setting) text += " " + kova_setting_source_name(origin.source);
    if (!origin.file.empty())
        text += " " + origin.file.substr(origin.file.rfind('/') + 1) + ":" + std::to_string(origin.line);
    if (!origin.rule.empty()) text += " rule=" + origin.rule;
    if (origin.kind == KOVA_ORIGIN_KIND::CORRECTED) text += " was=" + origin.was;
    return text;
}

std::map<std::string, std::string> origins(const KOVA_SESSION& session) {
    std::map<std::string, std::string> found;
    for (const KOVA_OBJECT_STATE& state : kova_object_states(session, true)) found[state.name] = summary(state.origin);
    return found;
}

}  // namespace

TEST(ValueOrigins, EachKindAfterARun) {
    const std::string description = write_temp_file("origins.xml", k_description);
    const std::string settings = write_temp_file("origins.settings", "# origins\nQ=3\nS=9\n");
    const OPENED_SESSION opened = open_and_run(description, settings, {"R=5", "c=CONSTANT:3"});
    ASSERT_TRUE(opened.session);
    EXPECT_EQ(origins(*opened.session), (std::map<std::string, std::string>{
        {"P", "default origins.xml:2"}, {"Q", "set file origins.settings:2"}, {"R", "set command line"},
        {"S", "corrected origins.xml:8 rule=Q > 1 was=9"}, {"H", "derived origins.xml:10 rule=Q * 2"},
        {"c", "held command line origins.xml:11"}, {"n", "absent origins.xml:12"}}));
    // The correction that the derive before the run makes (a constant's width needs derived values) is still noted.
    std::string notes;
    for (const KOVA_MESSAGE& message : opened.run.messages)
        if (message.kind == KOVA_DIAG_CORRECTION) notes += message.text + ";";
    EXPECT_EQ(notes, "S: 9 corrected to 4;");
}

// A correction stands over later runs and through a copy, and goes when the object is set again; each front
// end's setting says who gave it; a port held by a file names its line; the text and JSON say the same.
TEST(ValueOrigins, CorrectionsStandUntilSetAgainAndSourcesAreKept) {
    const std::string description = write_temp_file("origins.xml", k_description);
    const std::string settings = write_temp_file("held.settings", "c=CONSTANT:1\n");
    OPENED_SESSION opened = open_and_run(description, settings, {"Q=3", "S=9"});
    ASSERT_TRUE(opened.session);
    KOVA_SESSION& session = *opened.session;
    session.run();
    KOVA_SESSION copy(session);
    const struct { const char* name; KOVA_SETTING_SOURCE source; const char* value; const char* origin; } cases[] = {
        {"S", KOVA_SETTING_SOURCE::COMMAND_LINE, nullptr, "corrected origins.xml:8 rule=Q > 1 was=9"},
        {"c", KOVA_SETTING_SOURCE::COMMAND_LINE, nullptr, "held file held.settings:1"},
        {"S", KOVA_SETTING_SOURCE::PYTHON, "3", "set python"},
        {"P", KOVA_SETTING_SOURCE::PAGE, "4", "set page"},
        {"R", KOVA_SETTING_SOURCE::MENU, "4", "set menu"},
        // Set again to a value the rules refuse: corrected again, from the new value.
        {"S", KOVA_SETTING_SOURCE::PYTHON, "8", "corrected origins.xml:8 rule=Q > 1 was=8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + std::string(" ") + (c.value ? c.value : ""));
        if (c.value) {
            KOVA_MESSAGES problems;
            EXPECT_FALSE(session.apply({{c.name, c.value, "", 0, c.source}}, problems));
            session.run();
        }
        EXPECT_EQ(summary(kova_value_origin(session, c.name)), c.origin);
    }
    EXPECT_EQ(summary(kova_value_origin(copy, "S")), "corrected origins.xml:8 rule=Q > 1 was=9");
    const KOVA_VALUE_ORIGIN corrected = kova_value_origin(session, "s");
    EXPECT_EQ(kova_value_origin_text(corrected), "corrected from 8 by Q > 1 at " + description + ":8");
    EXPECT_EQ(kova_value_origin_json(corrected),
              nlohmann::json(
                  {{"kind", "corrected"}, {"file", description}, {"line", 8}, {"rule", "Q > 1"}, {"was", "8"}}));
    EXPECT_EQ(kova_value_origin_json(kova_value_origin(session, "P")),
              nlohmann::json({{"kind", "set"}, {"source", "page"}}));
}
