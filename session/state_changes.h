// The object states a page already holds, and the states of a session
// that differ from them. kova serve's page has every object's state from
// the model document (the description's defaults after a derive), read
// once with it (kova_page_model); after a
// change the refresh sends only the objects whose state is not that one,
// so a change at 10,000 objects sends the few it moved.
#ifndef KOVA_STATE_CHANGES_H
#define KOVA_STATE_CHANGES_H

#include <vector>

#include <nlohmann/json.hpp>

#include "session/object_states.h"
#include "session/session.h"

// Invariant: states and widths have one entry per port, parameter and
// hidden parameter, in the description's order (as kova_object_states
// lists them with hidden parameters).
struct KOVA_STATE_BASELINE {
    std::vector<KOVA_OBJECT_STATE> states;
    std::vector<int> widths;  // each state's port width, -1 where there is none or it is unknown
};

// The states and widths of session as it is now: those the model
// document gives (session/page_model.h) and those a refresh compares.
KOVA_STATE_BASELINE kova_read_states(KOVA_SESSION& session);

// The states of session as it is now (after its run) that differ from
// baseline in any member of the state shape, each in that shape
// (kova_object_state_json), in the description's order.
nlohmann::json kova_changed_states_json(KOVA_SESSION& session, const KOVA_STATE_BASELINE& baseline);

#endif
