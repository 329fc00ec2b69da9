// The Validator's operations: each asks the shared layer under the lock
// (locked(), with the GIL let go) for plain C++ values, then converts them
// or raises with the GIL held again.
#include "python/py_validator.h"

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "python/texts.h"
#include "session/expression_queries.h"
#include "session/minimal_settings.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/problem.h"
#include "session/reads_notes.h"
#include "session/settings_io.h"
#include "session/wizard_queries.h"

namespace {

double thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The texts of messages that have no place worth naming, one per line.
std::string plain_texts(const KOVA_MESSAGES& messages) {
    std::string text;
    for (const KOVA_MESSAGE& message : messages) text += (text.empty() ? "" : "\n") + message.text;
    return text;
}

KOVA_MESSAGES errors_of(const KOVA_MESSAGES& messages) {
    KOVA_MESSAGES errors;
    for (const KOVA_MESSAGE& message : messages)
        if (message.severity == KOVA_SEVERITY_ERROR) errors.push_back(message);
    return errors;
}

}  // namespace

void kova_py_raise(py::handle type, const std::string& text) {
    // The exception object is made here, where a failure to make it (no
    // memory) raises what it set; left to Python, it would be made while
    // the error is taken up, and that failure would replace the error.
    const py::object error = type(kova_py_text(text));
    PyErr_SetObject(type.ptr(), error.ptr());
    throw py::error_already_set();
}

void kova_py_raise(const KOVA_PROBLEM& problem) {
    switch (problem.kind) {
        case KOVA_PROBLEM_KIND::NOT_FOUND: kova_py_raise(PyExc_KeyError, kova_problem_text(problem));
        case KOVA_PROBLEM_KIND::FILE: kova_py_raise(PyExc_OSError, kova_problem_text(problem));
        default: kova_py_raise(PyExc_ValueError, kova_problem_text(problem));
    }
}

KOVA_PY_VALIDATOR::KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, py::handle load_error) : m_options(options) {
    KOVA_MESSAGES problems;
    {
        // Reading the description touches nothing shared: other threads go on.
        py::gil_scoped_release release;
        m_session = KOVA_SESSION::open(options, problems);
    }
    if (m_session) return;
    const py::object error = load_error(kova_py_text(kova_messages_text(problems, options.description)));
    error.attr("messages") = kova_py_messages(problems, options.description);
    PyErr_SetObject(load_error.ptr(), error.ptr());
    throw py::error_already_set();
}

KOVA_PY_VALIDATOR::KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, std::unique_ptr<KOVA_SESSION> session)
    : m_options(options), m_session(std::move(session)) {}

std::unique_ptr<KOVA_PY_VALIDATOR> KOVA_PY_VALIDATOR::copy() const {
    std::unique_ptr<KOVA_SESSION> session = locked([&] { return std::make_unique<KOVA_SESSION>(*m_session); });
    return std::unique_ptr<KOVA_PY_VALIDATOR>(new KOVA_PY_VALIDATOR(m_options, std::move(session)));
}

KOVA_PROBLEM KOVA_PY_VALIDATOR::apply_all_or_nothing(const std::vector<KOVA_SETTING>& settings,
                                                     KOVA_MESSAGES& problems) {
    auto candidate = std::make_unique<KOVA_SESSION>(*m_session);
    KOVA_PROBLEM refused = candidate->apply(settings, problems);
    if (!refused) m_session = std::move(candidate);
    return refused;
}

void KOVA_PY_VALIDATOR::set(const std::string& name, const std::string& value) {
    set_many({{name, value, "", 0, KOVA_SETTING_SOURCE::PYTHON}});
}

std::vector<KOVA_SETTING> KOVA_PY_VALIDATOR::settings() {
    return locked([&] { return writable().placed_settings(); });
}

void KOVA_PY_VALIDATOR::set_many(const std::vector<KOVA_SETTING>& settings) {
    struct OUTCOME {
        KOVA_PROBLEM refused;
        KOVA_MESSAGES problems;
    };
    OUTCOME outcome = locked([&] {
        OUTCOME answer;
        answer.refused = apply_all_or_nothing(settings, answer.problems);
        return answer;
    });
    if (outcome.refused) {
        // A name the description lacks is a KeyError, a value it refuses a
        // ValueError; the text is every refusal's, without its place.
        outcome.refused.text = plain_texts(errors_of(outcome.problems));
        kova_py_raise(outcome.refused);
    }
}

py::list KOVA_PY_VALIDATOR::load_settings(const std::string& path) {
    struct OUTCOME {
        KOVA_PROBLEM refused;
        KOVA_MESSAGES problems;
    };
    OUTCOME outcome = locked([&] {
        OUTCOME answer;
        std::vector<KOVA_SETTING> settings;
        answer.refused = kova_read_settings_file(path, settings, answer.problems);
        if (!answer.refused) answer.refused = apply_all_or_nothing(settings, answer.problems);
        return answer;
    });
    if (outcome.refused) {
        // Raised by the problem's kind, with every error of the file; a
        // file that is not there is FileNotFoundError, as open() raises.
        outcome.refused.text = kova_messages_text(errors_of(outcome.problems), path);
        std::error_code unknown;  // set when whether it is there cannot be told: OSError then
        if (outcome.refused.kind == KOVA_PROBLEM_KIND::FILE && !std::filesystem::exists(path, unknown) && !unknown) {
            const py::object error = py::handle(PyExc_FileNotFoundError)(
                ENOENT, kova_py_text(outcome.refused.text), py::module_::import("os").attr("fsdecode")(py::bytes(path)));
            PyErr_SetObject(PyExc_FileNotFoundError, error.ptr());
            throw py::error_already_set();
        }
        kova_py_raise(outcome.refused);
    }
    return kova_py_messages(std::move(outcome.problems), path);
}

void KOVA_PY_VALIDATOR::save_settings(const std::string& path, bool minimal) {
    const KOVA_PROBLEM problem = locked([&] { return kova_save_session_settings(writable(), path, minimal); });
    if (problem) kova_py_raise(problem);
}

KOVA_PY_RESULT KOVA_PY_VALIDATOR::run() {
    KOVA_PY_RESULT converted;
    KOVA_RUN_RESULT result = locked([&] {
        KOVA_RUN_RESULT run = noted_run();
        converted.objects = std::make_shared<KOVA_PY_RUN_OBJECTS>(m_session, m_handover);
        m_sharer = converted.objects;
        return run;
    });
    converted.valid = result.valid;
    converted.description = description();
    converted.messages = kova_py_messages(std::move(result.messages), description());
    return converted;
}

KOVA_SESSION& KOVA_PY_VALIDATOR::writable() {
    // Only the last run's Result may keep the session. The handover lock,
    // not the session's use count, orders every copy a Result made of it
    // before the change, also when that Result is gone by now.
    std::lock_guard<std::mutex> handover(*m_handover);
    const std::shared_ptr<KOVA_PY_RUN_OBJECTS> sharer = m_sharer.lock();
    if (sharer && sharer->keeps(m_session.get())) m_session = std::make_shared<KOVA_SESSION>(*m_session);
    m_sharer.reset();
    return *m_session;
}

KOVA_RUN_RESULT KOVA_PY_VALIDATOR::noted_run() {
    KOVA_RUN_RESULT run = writable().run();
    run.messages = kova_messages_with_reads(writable(), run);
    return run;
}

void KOVA_PY_VALIDATOR::keep(KOVA_MESSAGES messages) { m_last_messages = std::move(messages); }

py::str KOVA_PY_VALIDATOR::eval(const std::string& text, const std::string& mode_name) {
    KOVA_RULES_VALIDATOR_PARSER_MODE mode;
    if (const KOVA_PROBLEM problem = kova_parser_mode_named(mode_name, mode)) kova_py_raise(problem);
    const KOVA_EVALUATION evaluation = locked([&] {
        writable().derive();
        KOVA_EVALUATION answer = kova_evaluate(writable(), text, mode);
        keep(answer.messages);
        return answer;
    });
    if (!evaluation.parsed) kova_py_raise(PyExc_ValueError, kova_messages_text(evaluation.messages, description()));
    return kova_py_text(evaluation.result);
}

py::list KOVA_PY_VALIDATOR::deps(const std::string& text) {
    // Which names rules read does not depend on the settings: no run.
    const KOVA_DEPENDENCIES dependencies = locked([&] {
        KOVA_DEPENDENCIES answer;
        if (!kova_object_dependencies(writable(), text, answer)) answer = kova_expression_dependencies(writable(), text);
        keep({});
        return answer;
    });
    return kova_py_texts(dependencies.names);
}

py::dict KOVA_PY_VALIDATOR::widths() {
    const std::vector<KOVA_PORT_WIDTH> ports = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        std::vector<KOVA_PORT_WIDTH> answer = kova_port_widths(writable(), messages);
        keep(std::move(messages));
        return answer;
    });
    py::dict widths;
    for (const KOVA_PORT_WIDTH& port : ports)
        widths[kova_py_text(port.port)] = port.width >= 0 ? py::object(py::int_(port.width)) : py::object(py::none());
    return widths;
}

KOVA_PY_RANGE KOVA_PY_VALIDATOR::ranges(const std::string& port) {
    KOVA_PY_RANGE range;
    const bool found = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        const bool known = kova_port_range(writable(), port, range.range, messages);
        keep(std::move(messages));
        return known;
    });
    if (!found) kova_py_raise(kova_not_named("port", port));
    return range;
}

py::list KOVA_PY_VALIDATOR::wizard_messages() {
    const std::vector<std::string> shown = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        std::vector<std::string> answer = kova_wizard_messages(writable(), messages);
        keep(std::move(messages));
        return answer;
    });
    return kova_py_texts(shown);
}

py::list KOVA_PY_VALIDATOR::simulation_libraries() {
    const KOVA_SIMULATION_LIBRARIES libraries = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        KOVA_SIMULATION_LIBRARIES answer = kova_simulation_libraries(writable(), messages);
        keep(std::move(messages));
        return answer;
    });
    return kova_py_texts(libraries.names);
}

py::list KOVA_PY_VALIDATOR::wizard_map(const std::string& name) {
    KOVA_WIZARD_MAP_RESULT map;
    const bool found = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        const bool known = kova_evaluate_wizard_map(writable(), name, map, messages);
        keep(std::move(messages));
        return known;
    });
    if (!found) kova_py_raise(kova_not_named("wizard map", name));
    py::list entries;
    for (KOVA_MAP_ENTRY& entry : map.entries) entries.append(py::cast(KOVA_PY_MAP_ENTRY{std::move(entry)}));
    return entries;
}

py::list KOVA_PY_VALIDATOR::stimulus(const std::string& vector, int time) {
    KOVA_STIMULUS_RESULT stimulus;
    const bool found = locked([&] {
        writable().derive();
        KOVA_MESSAGES messages;
        const bool known = kova_stimulus_at(writable(), vector, time, stimulus, messages);
        keep(std::move(messages));
        return known;
    });
    if (!found) kova_py_raise(kova_not_named("stimulus vector", vector));
    py::list transitions;
    for (const KOVA_TRANSITION& transition : stimulus.transitions)
        transitions.append(py::make_tuple(kova_py_text(transition.signal), kova_py_text(transition.value)));
    return transitions;
}

py::list KOVA_PY_VALIDATOR::last_messages() {
    KOVA_MESSAGES messages = locked([&] { return m_last_messages; });
    return kova_py_messages(std::move(messages), description());
}

KOVA_PY_OBJECT KOVA_PY_VALIDATOR::object(const std::string& name) {
    KOVA_PROBLEM missing;
    std::vector<KOVA_OBJECT_STATE> states = locked([&] {
        std::vector<KOVA_OBJECT_STATE> all = kova_object_states(writable());
        missing = kova_not_named_object(writable(), name);
        return all;
    });
    for (KOVA_OBJECT_STATE& state : states)
        if (state.name == name) return KOVA_PY_OBJECT{std::move(state)};
    kova_py_raise(missing);
}

py::list KOVA_PY_VALIDATOR::objects(bool ports) {
    std::vector<KOVA_OBJECT_STATE> states = locked([&] { return kova_object_states(writable()); });
    py::list list;
    for (KOVA_OBJECT_STATE& state : states)
        if (state.port == ports) list.append(py::cast(KOVA_PY_OBJECT{std::move(state)}));
    return list;
}

double KOVA_PY_VALIDATOR::native_run_seconds(int repetitions) {
    return locked([&] {
        std::size_t bytes = 0;
        const double start = thread_seconds();
        for (int i = 0; i < repetitions; ++i) {
            const KOVA_RUN_RESULT result = noted_run();
            for (const KOVA_MESSAGE& message : result.messages) bytes += message.text.size();
        }
        const double seconds = thread_seconds() - start;
        // Kept, so that the message reads are not optimised away.
        volatile std::size_t sink = bytes;
        (void)sink;
        return seconds;
    });
}
