// What a wizard asks about ports once the settings are applied: the width
// of every port, and the legal values of one or of every port. The engine's messages of
// each query are handed back with its answer. `kova widths`, `kova
// ranges` and the Python module answer through these.
#ifndef KOVA_PORT_QUERIES_H
#define KOVA_PORT_QUERIES_H

#include <string>
#include <vector>

#include "session/session.h"

struct KOVA_PORT_WIDTH {
    std::string port;
    int width = -1;          // -1 where the expression gives no width
    std::string expression;  // the width expression of the description
};

// Every port's width under the current state, in the port list's order.
std::vector<KOVA_PORT_WIDTH> kova_port_widths(KOVA_SESSION& session, KOVA_MESSAGES& messages);

struct KOVA_PORT_RANGE {
    std::string port;          // as the description names it
    int width = -1;
    std::string lower, upper;  // in decimal, "X" digits where unknown
    bool listed = false;       // whether the rules give an explicit value list
    std::vector<std::string> values;  // that list, in decimal
};

// The legal values of a port under the current state; false when no port
// has that name.
bool kova_port_range(KOVA_SESSION& session, const std::string& name, KOVA_PORT_RANGE& range,
                     KOVA_MESSAGES& messages);

// The legal values of every port under the current state, in the port
// list's order; each entry is what kova_port_range gives for that port.
std::vector<KOVA_PORT_RANGE> kova_port_ranges(KOVA_SESSION& session, KOVA_MESSAGES& messages);

#endif
