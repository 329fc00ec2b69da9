// The Validator of the Python module: one configuration session (the
// shared layer, session/) with the module's own rules on top of it.
//
// - Every answer comes from the shared layer's functions, so the module
//   and the kova tool compute alike; this class only converts.
// - A query (eval, widths, ranges, messages, simulation libraries, wizard
//   maps, stimulus) sees the state that a validation run of the current
//   settings leaves, as the kova subcommands do: each brings the derived
//   values up to date first (KOVA_SESSION::derive), so that what an
//   earlier query changed (a port's bounds, a map's values) never shows.
// - Errors become Python exceptions: LoadError, KeyError for a name that
//   is not known, ValueError for a setting or file that is not
//   acceptable, OSError for a save that fails; their texts are the
//   session's messages, in compiler form where they have a place.
//
// Thread rule: run() lets go of the GIL while the engine runs, so threads
// that each run their own copy run in parallel (copies share nothing
// mutable). One validator used from several threads stays consistent: a
// lock serialises its operations, taken only with the GIL released when
// the engine runs, so the lock's holder never waits for the GIL.
#ifndef KOVA_PY_VALIDATOR_H
#define KOVA_PY_VALIDATOR_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "python/records.h"
#include "session/session.h"

namespace py = pybind11;

class KOVA_PY_VALIDATOR {
public:
    // Raises LoadError (the module's class, load_error) when the
    // description cannot be read.
    KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, py::handle load_error);
    KOVA_PY_VALIDATOR(const KOVA_PY_VALIDATOR& other);
    KOVA_PY_VALIDATOR& operator=(const KOVA_PY_VALIDATOR&) = delete;

    const std::string& description() const { return m_session->description(); }

    // Settings. Each applies all or nothing: one that raises leaves the
    // validator as it was.
    void set(const std::string& name, const std::string& value);
    py::list load_settings(const std::string& path);  // the warnings, as Messages
    void save_settings(const std::string& path, bool minimal);

    KOVA_PY_RESULT run();

    // Queries.
    py::str eval(const std::string& text, const std::string& mode);
    py::list deps(const std::string& text);
    py::dict widths();
    KOVA_PY_RANGE ranges(const std::string& port);
    py::list wizard_messages();
    py::list simulation_libraries();
    py::list wizard_map(const std::string& name);
    py::list stimulus(const std::string& vector, int time);
    py::list last_messages();

    py::list objects(bool ports);

    // Explanations, repairs and generated code (py_products.cpp).
    py::object explain(const std::string& name);
    py::list fix(const std::vector<std::string>& keep, bool dry_run);
    py::str generate(const std::string& language, bool stub, const std::string& name);

    // For the benchmark: CPU seconds of this thread for repetitions runs,
    // each followed by reading every message's text, all in C++.
    double native_run_seconds(int repetitions);

private:
    // The query's messages kept for last_messages.
    void keep(KOVA_MESSAGES messages);
    // Applies settings to a copy and swaps it in when all apply.
    bool apply_all_or_nothing(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems);

    std::unique_ptr<KOVA_SESSION> m_session;
    mutable std::mutex m_mutex;  // held through every operation
    KOVA_MESSAGES m_last_messages;
};

// Raises an exception of the given Python class with a text of this
// system (made safe first).
[[noreturn]] void kova_py_raise(py::handle type, const std::string& text);

#endif
