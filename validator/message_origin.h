// The origins that the validator's records name: an object and one of its
// fields, or a rule of an object (or of the function or message rules)
// and one of the rule's fields.
//
// An origin points at the name it is given (no copy: a run sets origins
// far more often than it files records), so the name must be the name an
// object, rule or macro instance holds, which outlives every scope that
// sets the origin. A temporary name never does: the overloads that would
// take one are deleted, so such a call does not compile, and the rule
// origin takes its name by address, which a temporary does not have.
#ifndef KOVA_MESSAGE_ORIGIN_H
#define KOVA_MESSAGE_ORIGIN_H

#include <string>

#include "host/kova_info.h"

using KOVA_MODEL_ORIGIN_SCOPE = KOVA_ORIGIN_SCOPE<KOVA_INFO>;

inline KOVA_MESSAGE_ORIGIN kova_object_origin(const std::string& name, const KOVA_OBJ& record,
                                              KOVA_SOURCE_FIELD field) {
    return {&name, -1, record.source_id, field};
}
// A name made for the call (a copy returned by value, a literal turned
// into a string) would be gone before the first record is filed.
KOVA_MESSAGE_ORIGIN kova_object_origin(const std::string&& name, const KOVA_OBJ& record,
                                       KOVA_SOURCE_FIELD field) = delete;

// object may be null for the function and message rules.
inline KOVA_MESSAGE_ORIGIN kova_rule_origin(const std::string* object, int index, const KOVA_RULE_ELEMENT& rule,
                                            KOVA_SOURCE_FIELD field) {
    return {object, index, rule.source_id, field};
}

#endif
