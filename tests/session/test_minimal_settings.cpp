// Minimal saves (session/minimal_settings.h): only the settings that
// differ from the defaults, and loading them on the defaults gives the
// same configuration, for every example's settings files.
#include <gtest/gtest.h>

#include "session/minimal_settings.h"
#include "support/test_support.h"
#include "tests/session/opened_session.h"

TEST(MinimalSettings, LoadingThemGivesTheSameConfiguration) {
    // settings: "" for none.
    const struct { const char* description, *settings; std::vector<std::string> extra, minimal; } cases[] = {
        {"ram.xml", "", {}, {}},
        // A value taken away: the default's value is cleared first.
        {"ram.xml", "", {"MODE=", "ECC=UNUSED"}, {"MODE=", "MODE=USED", "ECC=0", "ECC=UNUSED"}},
        {"counter.xml", "counter-loadable.settings", {},
         {"WIDTH=16", "DIRECTION=both", "HAS_LOAD=1", "up_dn=USED", "load=USED", "din=USED"}},
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
        std::string error;
        ASSERT_TRUE(kova_save_session_settings(*opened.session, saved, true, error)) << error;
        OPENED_SESSION loaded = open_and_run(example(c.description), saved);
        ASSERT_TRUE(loaded.session);
        EXPECT_EQ(setting_lines(loaded.session->current_settings()), setting_lines(opened.session->current_settings()));
        // Back to the defaults, as the session was opened.
        opened.session->reset_to_defaults();
        EXPECT_EQ(setting_lines(opened.session->current_settings()),
                  setting_lines(opened.session->default_settings()));
    }
}
