// The Validator's operations: each locks, asks the shared layer and
// converts the answer.
#include "python/py_validator.h"

#include <ctime>

#include "python/texts.h"
#include "session/expression_queries.h"
#include "session/minimal_settings.h"
#include "session/object_states.h"
#include "session/port_queries.h"
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
    PyErr_SetObject(type.ptr(), kova_py_text(text).ptr());
    throw py::error_already_set();
}

KOVA_PY_VALIDATOR::KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, py::handle load_error) {
    KOVA_MESSAGES problems;
    m_session = KOVA_SESSION::open(options, problems);
    if (m_session) return;
    const py::object error = load_error(kova_py_text(kova_messages_text(problems, options.description)));
    error.attr("messages") = kova_py_messages(problems, options.description);
    PyErr_SetObject(load_error.ptr(), error.ptr());
    throw py::error_already_set();
}

KOVA_PY_VALIDATOR::KOVA_PY_VALIDATOR(const KOVA_PY_VALIDATOR& other) {
    std::lock_guard<std::mutex> lock(other.m_mutex);
    m_session = std::make_unique<KOVA_SESSION>(*other.m_session);
}

bool KOVA_PY_VALIDATOR::apply_all_or_nothing(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    auto candidate = std::make_unique<KOVA_SESSION>(*m_session);
    if (!candidate->apply(settings, problems)) return false;
    m_session = std::move(candidate);
    return true;
}

void KOVA_PY_VALIDATOR::set(const std::string& name, const std::string& value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    KOVA_MESSAGES problems;
    if (apply_all_or_nothing({{name, value, "", 0}}, problems)) return;
    const bool known = kova_is_setting_name(m_session->validator(), name);
    kova_py_raise(known ? PyExc_ValueError : PyExc_KeyError, plain_texts(errors_of(problems)));
}

py::list KOVA_PY_VALIDATOR::load_settings(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<KOVA_SETTING> settings;
    KOVA_MESSAGES problems;
    if (!kova_read_settings_file(path, settings, problems) || !apply_all_or_nothing(settings, problems))
        kova_py_raise(PyExc_ValueError, kova_messages_text(errors_of(problems), path));
    return kova_py_messages(std::move(problems), path);
}

void KOVA_PY_VALIDATOR::save_settings(const std::string& path, bool minimal) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string error;
    if (!kova_save_session_settings(*m_session, path, minimal, error))
        kova_py_raise(PyExc_OSError, "cannot save the settings to " + path + ": " + error);
}

KOVA_PY_RESULT KOVA_PY_VALIDATOR::run() {
    KOVA_RUN_RESULT result;
    {
        // The lock is taken without the GIL and let go before the GIL is
        // taken back, so no thread holds one while waiting for the other.
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(m_mutex);
        result = m_session->run();
    }
    KOVA_PY_RESULT converted;
    converted.valid = result.valid;
    converted.messages = kova_py_messages(std::move(result.messages), description());
    return converted;
}

void KOVA_PY_VALIDATOR::keep(KOVA_MESSAGES messages) { m_last_messages = std::move(messages); }

py::str KOVA_PY_VALIDATOR::eval(const std::string& text, const std::string& mode_name) {
    KOVA_RULES_VALIDATOR_PARSER_MODE mode;
    const std::string problem = kova_parser_mode_named(mode_name, mode);
    if (!problem.empty()) kova_py_raise(PyExc_ValueError, problem);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_EVALUATION evaluation = kova_evaluate(*m_session, text, mode);
    keep(evaluation.messages);
    if (!evaluation.parsed) kova_py_raise(PyExc_ValueError, kova_messages_text(evaluation.messages, description()));
    return kova_py_text(evaluation.result);
}

py::list KOVA_PY_VALIDATOR::deps(const std::string& text) {
    // Which names rules read does not depend on the settings: no run.
    std::lock_guard<std::mutex> lock(m_mutex);
    KOVA_DEPENDENCIES dependencies;
    if (!kova_object_dependencies(*m_session, text, dependencies))
        dependencies = kova_expression_dependencies(*m_session, text);
    keep({});
    return kova_py_texts(dependencies.names);
}

py::dict KOVA_PY_VALIDATOR::widths() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    py::dict widths;
    for (const KOVA_PORT_WIDTH& port : kova_port_widths(*m_session, messages))
        widths[kova_py_text(port.port)] = port.width >= 0 ? py::object(py::int_(port.width)) : py::object(py::none());
    keep(std::move(messages));
    return widths;
}

KOVA_PY_RANGE KOVA_PY_VALIDATOR::ranges(const std::string& port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    KOVA_PY_RANGE range;
    const bool found = kova_port_range(*m_session, port, range.range, messages);
    keep(std::move(messages));
    if (!found) kova_py_raise(PyExc_KeyError, "no port is named " + port);
    return range;
}

py::list KOVA_PY_VALIDATOR::wizard_messages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    const std::vector<std::string> shown = kova_wizard_messages(*m_session, messages);
    keep(std::move(messages));
    return kova_py_texts(shown);
}

py::list KOVA_PY_VALIDATOR::simulation_libraries() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    const KOVA_SIMULATION_LIBRARIES libraries = kova_simulation_libraries(*m_session, messages);
    keep(std::move(messages));
    return kova_py_texts(libraries.names);
}

py::list KOVA_PY_VALIDATOR::wizard_map(const std::string& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    KOVA_WIZARD_MAP_RESULT map;
    const bool found = kova_evaluate_wizard_map(*m_session, name, map, messages);
    keep(std::move(messages));
    if (!found) kova_py_raise(PyExc_KeyError, "no wizard map is named " + name);
    py::list entries;
    for (KOVA_MAP_ENTRY& entry : map.entries) entries.append(py::cast(KOVA_PY_MAP_ENTRY{std::move(entry)}));
    return entries;
}

py::list KOVA_PY_VALIDATOR::stimulus(const std::string& vector, int time) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session->derive();
    KOVA_MESSAGES messages;
    KOVA_STIMULUS_RESULT stimulus;
    const bool found = kova_stimulus_at(*m_session, vector, time, stimulus, messages);
    keep(std::move(messages));
    if (!found) kova_py_raise(PyExc_KeyError, "no stimulus vector is named " + vector);
    py::list transitions;
    for (const KOVA_TRANSITION& transition : stimulus.transitions)
        transitions.append(py::make_tuple(kova_py_text(transition.signal), kova_py_text(transition.value)));
    return transitions;
}

py::list KOVA_PY_VALIDATOR::last_messages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return kova_py_messages(m_last_messages, description());
}

py::list KOVA_PY_VALIDATOR::objects(bool ports) {
    std::lock_guard<std::mutex> lock(m_mutex);
    py::list list;
    for (KOVA_OBJECT_STATE& state : kova_object_states(m_session->validator()))
        if (state.port == ports) list.append(py::cast(KOVA_PY_OBJECT{std::move(state)}));
    return list;
}

double KOVA_PY_VALIDATOR::native_run_seconds(int repetitions) {
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> lock(m_mutex);
    std::size_t bytes = 0;
    const double start = thread_seconds();
    for (int i = 0; i < repetitions; ++i) {
        const KOVA_RUN_RESULT result = m_session->run();
        for (const KOVA_MESSAGE& message : result.messages) bytes += message.text.size();
    }
    const double seconds = thread_seconds() - start;
    // Kept, so that the message reads are not optimised away.
    volatile std::size_t sink = bytes;
    (void)sink;
    return seconds;
}
