// The name-map function that the shared library exports to hosts.
// Installed; the other name-map helpers of the dependency queries are in
// validator/dependency_query.h, which is not.
#ifndef KOVA_STRING_MAP_H
#define KOVA_STRING_MAP_H

#include "host/kova_stl.h"
#include "objects/kova_rules_export.h"

// Every entry of source into destination: an entry of the same key there
// takes the source's value; other destination entries stay.
KOVA_RULES_API void copy_string_map(KOVA_NAME_MAP source, KOVA_NAME_MAP& destination);

#endif
