// The origins that the validator's records name: an object and one of its
// fields, or a rule of an object (or of the function or message rules)
// and one of the rule's fields. Each points at the name it is given, which
// must outlive the origin.
#ifndef KOVA_MESSAGE_ORIGIN_H
#define KOVA_MESSAGE_ORIGIN_H

#include <string>

#include "host/kova_info.h"

using KOVA_MODEL_ORIGIN_SCOPE = KOVA_ORIGIN_SCOPE<KOVA_INFO>;

inline KOVA_MESSAGE_ORIGIN kova_object_origin(const std::string& name, const KOVA_OBJ& record,
                                              KOVA_SOURCE_FIELD field) {
    return {&name, -1, record.source_id, field};
}

// object may be null for the function and message rules.
inline KOVA_MESSAGE_ORIGIN kova_rule_origin(const std::string* object, int index, const KOVA_RULE_ELEMENT& rule,
                                            KOVA_SOURCE_FIELD field) {
    return {object, index, rule.source_id, field};
}

#endif
