// The one flow every command of every front end runs: settings applied to
// a loaded session, the run, the command's answer (session/answers.h),
// and its JSON document. The kova tool prints the result as text or the
// document, kova serve sends the document, the Python module converts it.
#ifndef KOVA_COMMAND_FLOW_H
#define KOVA_COMMAND_FLOW_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/answers.h"

struct KOVA_COMMAND_RESULT {
    // Set when the settings were refused or the answer could not be
    // given; its messages are those gathered until then.
    KOVA_PROBLEM problem;
    KOVA_ANSWER answer;
    KOVA_RUN_RESULT run;
    // The earlier messages and the run's (each failed check followed by
    // its reads note, session/reads_notes.h), then the answer's (the
    // answer's alone when it replaces them).
    KOVA_MESSAGES messages;
    bool valid = true;  // the answer's verdict, else the run's
    // Valid, answered and without an error message: exit status 0.
    bool clean() const;
};

// Applies settings to session, runs it (with validates unset, takes its
// initialization messages instead) and builds the answer. messages are
// those the caller gathered before (loading, reading settings files).
KOVA_COMMAND_RESULT kova_run_command(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& settings,
                                     KOVA_MESSAGES messages, bool validates, const KOVA_ANSWER_BUILDER& build);

// The command's document: its members with the messages, and the verdict
// when the command validated; an error document when it has a problem.
// The answer's document is moved into it.
nlohmann::json kova_command_result_json(const std::string& command, const std::string& description,
                                        KOVA_COMMAND_RESULT&& result, bool validates);
// The error document of a problem.
nlohmann::json kova_problem_json(const std::string& command, const KOVA_PROBLEM& problem);

#endif
