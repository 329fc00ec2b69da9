// Sessions for the tests of the session layer and of what front ends do with it: one over a description as
// loaded, and one with settings applied and run, as the kova tool's shared flow leaves it; an answer's text.
#ifndef KOVA_TEST_OPENED_SESSION_H
#define KOVA_TEST_OPENED_SESSION_H

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "session/answers.h"
#include "session/session.h"
#include "session/settings_io.h"
#include "support/test_support.h"

// A session over the description at path; null (and a test failure) when it does not load.
inline std::unique_ptr<KOVA_SESSION> open_session(const std::string& path) {
    KOVA_MESSAGES problems;
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open({path, "", ""}, problems);
    EXPECT_TRUE(session) << (problems.empty() ? path : problems.front().text);
    return session;
}

struct OPENED_SESSION { std::unique_ptr<KOVA_SESSION> session; KOVA_RUN_RESULT run; };

// description and settings_file ("" for none) are paths; extra settings ("NAME=VALUE") follow the file's. The
// session is null when anything fails to load or apply (a test failure is recorded).
inline OPENED_SESSION open_and_run(const std::string& description, const std::string& settings_file = "",
                                   const std::vector<std::string>& extra = {}) {
    OPENED_SESSION opened{open_session(description), {}};
    KOVA_MESSAGES problems;
    std::vector<KOVA_SETTING> settings;
    if (!settings_file.empty()) {
        EXPECT_FALSE(kova_read_settings_file(settings_file, settings, problems)) << settings_file;
    }
    for (const std::string& text : extra) {
        KOVA_SETTING setting;
        EXPECT_TRUE(kova_parse_setting_argument(text, setting)) << text;
        settings.push_back(setting);
    }
    if (opened.session && opened.session->apply(settings, problems)) {
        ADD_FAILURE() << description << ": " << (problems.empty() ? "refused" : problems.front().text);
        opened.session.reset();
    }
    if (opened.session) opened.run = opened.session->run();
    return opened;
}

// "NAME=VALUE" for each setting.
inline std::vector<std::string> setting_lines(const std::vector<KOVA_SETTING>& settings) {
    std::vector<std::string> lines;
    for (const KOVA_SETTING& setting : settings) lines.push_back(setting.name + "=" + setting.value);
    return lines;
}

// An answer's text form; "" when it has none.
inline std::string answer_text(const KOVA_ANSWER& answer) {
    std::ostringstream out;
    if (answer.text) answer.text(out);
    return out.str();
}

#endif
