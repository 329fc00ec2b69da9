// load -> apply -> run -> answer -> document, for every front end.
#include "session/command_flow.h"

#include <utility>

#include "session/json_document.h"
#include "session/reads_notes.h"

namespace {

void append(KOVA_MESSAGES& to, KOVA_MESSAGES from) {
    for (KOVA_MESSAGE& message : from) to.push_back(std::move(message));
}

}  // namespace

bool KOVA_COMMAND_RESULT::clean() const {
    return !problem && valid && !answer.failed && !kova_has_errors(messages);
}

KOVA_COMMAND_RESULT kova_run_command(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& settings,
                                     KOVA_MESSAGES messages, bool validates, const KOVA_ANSWER_BUILDER& build) {
    KOVA_COMMAND_RESULT result;
    if (session.apply(settings, messages)) {
        result.problem = kova_refused(std::move(messages));
        return result;
    }
    if (validates) {
        result.run = session.run();
    } else {
        result.run.valid = true;
        result.run.messages = session.initialization_messages();
    }
    // Each failed check is followed by the note of what it reads; the
    // run itself, which answers build on, keeps the engine's messages.
    append(messages, validates ? kova_messages_with_reads(session, result.run) : result.run.messages);
    build(session, result.run, result.answer);
    if (result.answer.problem) {
        result.problem = std::move(result.answer.problem);
        result.problem.messages = std::move(messages);
        return result;
    }
    if (result.answer.replaces_messages) messages.clear();
    append(messages, result.answer.messages);
    result.messages = std::move(messages);
    result.valid = result.answer.valid.value_or(result.run.valid);
    return result;
}

nlohmann::json kova_command_result_json(const std::string& command, const std::string& description,
                                        KOVA_COMMAND_RESULT&& result, bool validates) {
    if (result.problem) return kova_problem_json(command, result.problem);
    const std::optional<bool> verdict = validates ? std::optional<bool>(result.valid) : std::nullopt;
    return kova_command_json(command, description, verdict, std::move(result.answer.document), result.messages);
}

nlohmann::json kova_problem_json(const std::string& command, const KOVA_PROBLEM& problem) {
    return kova_json_error(command, kova_problem_text(problem), problem.messages);
}
