// explain, fix and generate from Python: the shared layer's functions, as
// the kova subcommands call them, under the validator's lock (locked()),
// with their results converted after it. explain answers the members of
// the tool's explain document as Python objects, so the module and
// `kova explain --format json` answer alike.
#include <memory>

#include "generate/generate.h"
#include "python/py_validator.h"
#include "python/records.h"
#include "python/texts.h"
#include "session/answers.h"
#include "session/fix.h"
#include "session/json_document.h"

namespace {

// What an operation done under the lock answers: a text or a document, or
// the problem to raise once the lock is let go.
struct TEXT_OR_PROBLEM {
    std::string text;
    nlohmann::json document;
    KOVA_PROBLEM problem;
};

// The error messages of messages in compiler form, for an exception.
std::string error_text(const KOVA_MESSAGES& messages, const std::string& description) {
    KOVA_MESSAGES errors;
    for (const KOVA_MESSAGE& message : messages)
        if (message.severity == KOVA_SEVERITY_ERROR) errors.push_back(message);
    return kova_messages_text(errors, description);
}

}  // namespace

py::object KOVA_PY_VALIDATOR::explain(const std::string& name) {
    const TEXT_OR_PROBLEM answer = locked([&] {
        TEXT_OR_PROBLEM outcome;
        const KOVA_RUN_RESULT run = writable().run();
        KOVA_ANSWER explained;
        kova_explain_answer(writable(), run, name, explained);
        outcome.problem = std::move(explained.problem);
        if (!outcome.problem) outcome.document = std::move(explained.document);
        return outcome;
    });
    if (answer.problem) kova_py_raise(answer.problem);
    return kova_py_json(answer.document);
}

// The repair works on a copy of the session, kept unless dry_run. So a
// repair that is refused (a name in keep that is not known raises
// KeyError) leaves nothing behind, not even the silent corrections of the
// run it starts from.
KOVA_PY_REPAIR KOVA_PY_VALIDATOR::fix(const std::vector<std::string>& keep, bool dry_run) {
    struct OUTCOME {
        KOVA_FIX_RESULT result;
        KOVA_PROBLEM problem;
    };
    OUTCOME outcome = locked([&] {
        OUTCOME answer;
        auto trial = std::make_unique<KOVA_SESSION>(*m_session);
        const KOVA_RUN_RESULT run = trial->run();
        KOVA_FIX_OPTIONS options;
        options.keep = keep;
        answer.problem = kova_fix(*trial, run, options, answer.result);
        if (!answer.problem && !dry_run) m_session = std::move(trial);
        return answer;
    });
    if (outcome.problem) kova_py_raise(outcome.problem);
    return KOVA_PY_REPAIR{std::move(outcome.result)};
}

// The source as kova generate writes it; for "json" the document the tool
// prints. ValueError for an unknown language, options that do not go
// together, an invalid configuration or a name the language cannot spell.
py::str KOVA_PY_VALIDATOR::generate(const std::string& language, bool stub, const std::string& name,
                                    const std::vector<std::string>& exports) {
    KOVA_GENERATE_OPTIONS options;
    if (const KOVA_PROBLEM problem = kova_generate_language_problem(language, options.language))
        kova_py_raise(problem);
    options.stub = stub;
    options.name = name;
    options.exports = exports;
    if (const KOVA_PROBLEM problem = kova_generate_options_problem(options)) kova_py_raise(problem);
    const TEXT_OR_PROBLEM answer = locked([&] {
        TEXT_OR_PROBLEM outcome;
        const KOVA_RUN_RESULT run = writable().run();
        KOVA_GENERATED generated = kova_generate(writable(), run, options);
        if (!generated.problem) {
            outcome.text = std::move(generated.text);
            return outcome;
        }
        KOVA_MESSAGES messages = run.messages;
        messages.insert(messages.end(), generated.messages.begin(), generated.messages.end());
        outcome.problem = generated.problem;
        outcome.problem.text = error_text(messages, description());
        return outcome;
    });
    if (answer.problem) kova_py_raise(answer.problem);
    return kova_py_text(answer.text);
}
