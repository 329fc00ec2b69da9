// The plain result objects of the module: a message, a run's result, a
// repair, a port or parameter, a port's legal values and a wizard map's
// object. Each holds the shared layer's own record and converts its texts
// when a field is read, so that a run hands back its messages without
// converting texts nobody reads. Message and Result compare by value and
// pickle; their to_dict() is the shared layer's JSON document, converted.
#ifndef KOVA_PY_RECORDS_H
#define KOVA_PY_RECORDS_H

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

#include "session/fix.h"

#include "session/message.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/session.h"
#include "session/wizard_queries.h"

namespace py = pybind11;

struct KOVA_PY_MESSAGE {
    KOVA_MESSAGE message;
    std::string fallback_file;  // named in the compiler form when the message has no file
};

// The validate document's own members for one run (ports and parameters
// as the run left them, session/answers.h), built when first asked for:
// a run hands back its Result without building them. Until then it keeps
// the session the run left, which the validator shares until it changes
// it (python/py_validator.h: writable()); building copies it and lets it
// go. The copy and the letting go happen under the validator's handover
// lock, which the validator takes before it changes a session, so every
// read of a shared session comes before any change to it, even when the
// Result is gone by then. One object serves every copy of a Result; its
// own lock lets one thread build.
class KOVA_PY_RUN_OBJECTS {
public:
    KOVA_PY_RUN_OBJECTS(std::shared_ptr<const KOVA_SESSION> ran, std::shared_ptr<std::mutex> handover)
        : m_handover(std::move(handover)), m_ran(std::move(ran)) {}
    explicit KOVA_PY_RUN_OBJECTS(nlohmann::json members) : m_members(std::move(members)) {}

    // The members, built on the first call (with the GIL let go); never
    // changed after.
    const nlohmann::json& members();
    // Whether it still keeps that session, unbuilt. The caller holds the
    // handover lock.
    bool keeps(const KOVA_SESSION* session) const { return m_ran.get() == session; }

private:
    std::mutex m_mutex;                        // held while building
    std::shared_ptr<std::mutex> m_handover;    // the validator's
    std::shared_ptr<const KOVA_SESSION> m_ran;  // guarded by *m_handover; until built
    std::optional<nlohmann::json> m_members;
};

struct KOVA_PY_RESULT {
    bool valid = false;
    std::string description;  // as the validator was loaded from it
    py::list messages;        // of KOVA_PY_MESSAGE
    std::shared_ptr<KOVA_PY_RUN_OBJECTS> objects;
};

struct KOVA_PY_REPAIR {
    KOVA_FIX_RESULT result;
};

struct KOVA_PY_OBJECT {
    KOVA_OBJECT_STATE state;
};

struct KOVA_PY_RANGE {
    KOVA_PORT_RANGE range;
};

struct KOVA_PY_MAP_ENTRY {
    KOVA_MAP_ENTRY entry;
};

// A list of Message objects; the messages are moved into them. Their
// compiler form names fallback_file where a message has no file, as the
// kova tool names the description.
py::list kova_py_messages(KOVA_MESSAGES messages, const std::string& fallback_file);

// The messages in compiler form, one per line, without the last line end
// (file names missing from a message are fallback_file).
std::string kova_messages_text(const KOVA_MESSAGES& messages, const std::string& fallback_file);

// The Python objects of a JSON document (dicts, lists, str, int, bool,
// None). It runs Python code (json is imported), so never under a
// validator's lock.
py::object kova_py_json(const nlohmann::json& document);

// Registers Message, Result, Repair, ObjectState, PortRange and MapEntry.
void kova_bind_records(py::module_& module);

#endif
