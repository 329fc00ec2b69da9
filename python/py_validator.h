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
// Thread rule: a lock serialises the operations on one validator, so one
// validator used from several threads stays consistent, and threads that
// each use their own copy run in parallel (copies share nothing mutable).
// Every operation that takes the lock lets go of the GIL first and does
// only C++ work under it (locked()); Python objects are made and
// exceptions raised after the lock is let go and the GIL taken back. So no
// thread ever holds the lock while it waits for the GIL or runs Python
// code (an import, a collection), and no thread holds the GIL while it
// waits for the lock.
#ifndef KOVA_PY_VALIDATOR_H
#define KOVA_PY_VALIDATOR_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "python/records.h"
#include "session/problem.h"
#include "session/session.h"

namespace py = pybind11;

class KOVA_PY_VALIDATOR {
public:
    // Raises LoadError (the module's class, load_error) when the
    // description cannot be read.
    KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, py::handle load_error);
    KOVA_PY_VALIDATOR(const KOVA_PY_VALIDATOR&) = delete;
    KOVA_PY_VALIDATOR& operator=(const KOVA_PY_VALIDATOR&) = delete;

    // An independent validator with this one's session as it is now.
    std::unique_ptr<KOVA_PY_VALIDATOR> copy() const;

    const std::string& description() const { return m_options.description; }
    const KOVA_LOAD_OPTIONS& options() const { return m_options; }

    // Settings. Each applies all or nothing: one that raises leaves the
    // validator as it was.
    void set(const std::string& name, const std::string& value);
    // Every setting or none: one report of every refusal.
    void set_many(const std::vector<KOVA_SETTING>& settings);
    // Every setting now held, with the file and line where a settings
    // file set it.
    std::vector<KOVA_SETTING> settings();
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
    // The port or parameter of that name; KeyError with the nearest name
    // otherwise.
    KOVA_PY_OBJECT object(const std::string& name);

    // Explanations, repairs and generated code (py_products.cpp).
    py::object explain(const std::string& name);
    KOVA_PY_REPAIR fix(const std::vector<std::string>& keep, bool dry_run);
    py::str generate(const std::string& language, bool stub, const std::string& name,
                     const std::vector<std::string>& exports);

    // A copy of the session as it is now, for work that goes on without
    // the lock (sweeps, py_sweep.cpp).
    std::unique_ptr<KOVA_SESSION> session_copy() const;
    // A settings file of an earlier version migrated (py_migrate.cpp).
    py::object migrate(const std::string& path, const std::string& save, bool repair);

    // For the benchmark: CPU seconds of this thread for repetitions runs,
    // each followed by reading every message's text, all in C++.
    double native_run_seconds(int repetitions);

private:
    KOVA_PY_VALIDATOR(const KOVA_LOAD_OPTIONS& options, std::unique_ptr<KOVA_SESSION> session);

    // Runs work, C++ only and never touching a Python object, with the GIL
    // let go and the lock held, and answers what it returns. The lock is
    // let go before the GIL is taken back, also when work throws.
    template <typename WORK>
    auto locked(WORK&& work) const -> decltype(work()) {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(m_mutex);
        return work();
    }

    // A validation run as run() answers it: each failed check followed by
    // its reads note (session/reads_notes.h). The lock must be held.
    KOVA_RUN_RESULT noted_run();
    // The session to read or change: made the validator's own first when
    // the last run's Result still keeps it (copy on write), so a run hands
    // its session to its Result without a copy unless the validator
    // changes before the Result lets it go. Only copying reads a shared
    // session. The lock must be held.
    KOVA_SESSION& writable();
    // The query's messages kept for last_messages.
    void keep(KOVA_MESSAGES messages);
    // Applies settings to a copy and swaps it in when all apply; else the
    // session's problem, and the session stays as it was.
    KOVA_PROBLEM apply_all_or_nothing(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems);

    // How it was loaded (the description's path), fixed at load: read
    // without the lock, while set() may swap m_session in another thread.
    KOVA_LOAD_OPTIONS m_options;
    // Guarded by m_mutex, like m_last_messages and m_sharer. Shared with
    // the Result of the last run while it has not built its objects;
    // never changed while shared (writable()).
    std::shared_ptr<KOVA_SESSION> m_session;
    // The objects of the last run's Result, which may keep m_session.
    std::weak_ptr<KOVA_PY_RUN_OBJECTS> m_sharer;
    // Taken while a Result copies a session it keeps and lets it go, and
    // while writable() asks whether it still does (records.h).
    std::shared_ptr<std::mutex> m_handover = std::make_shared<std::mutex>();
    mutable std::mutex m_mutex;               // held through every operation, never with the GIL
    KOVA_MESSAGES m_last_messages;
};

// Validator.sweep and its iterator of results (py_sweep.cpp).
void kova_bind_sweep(py::module_& module);

// Raises an exception of the given Python class with a text of this
// system (made safe first).
[[noreturn]] void kova_py_raise(py::handle type, const std::string& text);
// Raises the exception of a problem's kind: KeyError for a name not found,
// OSError for a file, ValueError for the others; the text is the
// problem's.
[[noreturn]] void kova_py_raise(const KOVA_PROBLEM& problem);

#endif
