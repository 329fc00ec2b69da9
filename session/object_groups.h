// How the front ends group a description's ports and parameters: one group
// per wizard map in the description's order (an object in the first map
// that names it), then the parameters and the ports no map names, then the
// objects the description leaves out of the configuration (model usage
// NONE). The terminal configurator draws these groups; search matching is
// here too, so every front end finds the same objects for the same words.
#ifndef KOVA_OBJECT_GROUPS_H
#define KOVA_OBJECT_GROUPS_H

#include <cstddef>
#include <string>
#include <vector>

#include "session/object_states.h"
#include "session/wizard_queries.h"

struct KOVA_OBJECT_GROUP {
    std::string title;                 // the map's label or name, "Parameters", "Other ports", ...
    std::string map;                   // the wizard map's name; "" for the other groups
    bool out_of_configuration = false; // the group of objects with model usage NONE
    std::vector<std::size_t> members;  // indices into the states, in the description's order
};

// The title of the group of objects with model usage NONE.
extern const char* const KOVA_NOT_IN_CONFIGURATION;

// Invariant: every state lands in exactly one group; empty groups are
// left out.
std::vector<KOVA_OBJECT_GROUP> kova_object_groups(const std::vector<KOVA_OBJECT_STATE>& states,
                                                  const std::vector<KOVA_WIZARD_MAP_RESULT>& maps);

// Whether the object's name, label, current value or help text holds
// query, letter case ignored; an empty query matches nothing.
bool kova_object_matches(const KOVA_OBJECT_STATE& state, const std::string& query);

#endif
