// Name maps of the dependency queries and ordering: copying one into
// another, and merging one into another while leaving out given names.
// Internal to the library (not installed).
#ifndef KOVA_DEPENDENCY_QUERY_H
#define KOVA_DEPENDENCY_QUERY_H

#include <string>

#include "host/kova_stl.h"
#include "validator/kova_string_map.h"

// copy_string_map: validator/kova_string_map.h (exported, installed).

// Every key of source, in its order, that destination lacks and that
// equals none of the "|"-separated excluded names, added mapped to itself.
// Existing destination entries never change.
void merge_string_map_excluding(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination, const std::string& excluded);

#endif
