// Name maps of the dependency queries and ordering: copying one into
// another, and merging one into another while leaving out given names.
#ifndef KOVA_DEPENDENCY_QUERY_H
#define KOVA_DEPENDENCY_QUERY_H

#include <string>

#include "host/kova_stl.h"
#include "objects/kova_rules_export.h"

// Every entry of source into destination: an entry of the same key there
// takes the source's value; other destination entries stay.
KOVA_RULES_API void copy_string_map(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination);

// Every key of source, in its order, that destination lacks and that
// equals none of the "|"-separated excluded names, added mapped to itself.
// Existing destination entries never change.
void merge_string_map_excluding(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination, const std::string& excluded);

#endif
