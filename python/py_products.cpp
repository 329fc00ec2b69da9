// explain, fix and generate from Python: the shared layer's functions, as
// the kova subcommands call them, with their results converted. explain
// answers the members of the tool's explain document as Python objects, so
// the module and `kova explain --format json` answer alike.
#include <memory>

#include "generate/generate.h"
#include "python/py_validator.h"
#include "python/records.h"
#include "python/texts.h"
#include "session/explain.h"
#include "session/fix.h"
#include "session/json_document.h"

namespace {

py::object python_of(const nlohmann::json& members) {
    return py::module_::import("json").attr("loads")(py::str(kova_json_dump(members)));
}

// The error messages of messages in compiler form, for an exception.
std::string error_text(const KOVA_MESSAGES& messages, const std::string& description) {
    KOVA_MESSAGES errors;
    for (const KOVA_MESSAGE& message : messages)
        if (message.severity == KOVA_SEVERITY_ERROR) errors.push_back(message);
    return kova_messages_text(errors, description);
}

}  // namespace

py::object KOVA_PY_VALIDATOR::explain(const std::string& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const KOVA_RUN_RESULT run = m_session->run();
    KOVA_EXPLANATION explanation;
    std::string problem;
    if (!kova_explain(*m_session, run, name, explanation, problem)) kova_py_raise(PyExc_KeyError, problem);
    return python_of(kova_explanation_json(explanation));
}

// A dry run repairs a copy; otherwise the repair stays. A name in keep
// that is not known changes nothing and raises KeyError.
py::list KOVA_PY_VALIDATOR::fix(const std::vector<std::string>& keep, bool dry_run) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::unique_ptr<KOVA_SESSION> trial = dry_run ? std::make_unique<KOVA_SESSION>(*m_session) : nullptr;
    KOVA_SESSION& session = dry_run ? *trial : *m_session;
    const KOVA_RUN_RESULT run = session.run();
    KOVA_FIX_OPTIONS options;
    options.keep = keep;
    KOVA_FIX_RESULT result;
    std::string problem;
    if (!kova_fix(session, run, options, result, problem)) kova_py_raise(PyExc_KeyError, problem);
    py::list changes;
    for (const KOVA_FIX_CHANGE& change : result.changes)
        changes.append(py::make_tuple(kova_py_text(change.name), kova_py_text(change.old_value),
                                      kova_py_text(change.new_value), kova_py_text(change.reason)));
    return changes;
}

// The source as kova generate writes it; for "json" the document the tool
// prints. ValueError for an unknown language, options that do not go
// together, an invalid configuration or a name the language cannot spell.
py::str KOVA_PY_VALIDATOR::generate(const std::string& language, bool stub, const std::string& name) {
    KOVA_GENERATE_OPTIONS options;
    if (!kova_generate_language_of(language, options.language))
        kova_py_raise(PyExc_ValueError, "no language is named " + language +
                                            ": verilog, systemverilog, vhdl, c or json");
    options.stub = stub;
    options.name = name;
    const std::string problem = kova_generate_options_problem(options);
    if (!problem.empty()) kova_py_raise(PyExc_ValueError, problem);
    std::lock_guard<std::mutex> lock(m_mutex);
    const KOVA_RUN_RESULT run = m_session->run();
    KOVA_GENERATED generated = kova_generate(*m_session, run, options);
    if (!generated.ok) {
        KOVA_MESSAGES messages = run.messages;
        messages.insert(messages.end(), generated.messages.begin(), generated.messages.end());
        kova_py_raise(PyExc_ValueError, error_text(messages, description()));
    }
    if (options.language != KOVA_GENERATE_LANGUAGE::JSON) return kova_py_text(generated.text);
    generated.members["text"] = nullptr;
    KOVA_MESSAGES messages = run.messages;
    messages.insert(messages.end(), generated.messages.begin(), generated.messages.end());
    return kova_py_text(
        kova_json_dump(kova_command_json("generate", description(), run.valid, generated.members, messages)) + "\n");
}
