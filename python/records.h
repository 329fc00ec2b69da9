// The plain result objects of the module: a message, a run's result, a
// port or parameter, a port's legal values and a wizard map's object.
// Each holds the shared layer's own record and converts its texts when a
// field is read, so that a run hands back its messages without converting
// texts nobody reads.
#ifndef KOVA_PY_RECORDS_H
#define KOVA_PY_RECORDS_H

#include <pybind11/pybind11.h>

#include "session/message.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/wizard_queries.h"

namespace py = pybind11;

struct KOVA_PY_MESSAGE {
    KOVA_MESSAGE message;
    std::string fallback_file;  // named in the compiler form when the message has no file
};

struct KOVA_PY_RESULT {
    bool valid = false;
    py::list messages;  // of KOVA_PY_MESSAGE
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

// Registers Message, Result, ObjectState, PortRange and MapEntry.
void kova_bind_records(py::module_& module);

#endif
