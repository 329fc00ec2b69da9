// How the validator, the wizard maps, the stimulus vectors and the
// external messages read the result of a condition: "true" and "false" in
// any letter case; any other result is not boolean. (Inside an
// evaluation, the grammar's own operators compare exactly; see
// phrase_values.cpp.)
#ifndef KOVA_TRUTH_H
#define KOVA_TRUTH_H

#include <string>

#include "host/kova_name_index.h"

inline bool kova_is_true(const std::string& result) { return kova_equal_nocase(result, "true"); }
inline bool kova_is_false(const std::string& result) { return kova_equal_nocase(result, "false"); }
// Whether a condition's result is either of the two.
inline bool kova_is_boolean(const std::string& result) { return kova_is_true(result) || kova_is_false(result); }

#endif
