// A graded record of one problem found while working on a model. The
// engine files one where it posts a message to the error list (and for a
// few events that post nothing, such as characters the scanner skipped),
// naming the object and rule it was working on, so that front ends never
// have to take message texts apart to learn where a message came from.
#ifndef KOVA_DIAGNOSTIC_H
#define KOVA_DIAGNOSTIC_H

#include <cstdint>
#include <string>

#include "source_table.h"

enum KOVA_SEVERITY : uint8_t {
    KOVA_SEVERITY_ERROR = 0,    // makes the configuration invalid
    KOVA_SEVERITY_WARNING = 1,  // worth reading; the configuration may still be valid
    KOVA_SEVERITY_NOTE = 2      // information, such as a silent correction
};

// "error", "warning", "note".
KOVA_HOST_API const char* kova_severity_name(KOVA_SEVERITY severity);

// What kind of event a record reports; stable names for front ends.
enum KOVA_DIAGNOSTIC_KIND : uint8_t {
    KOVA_DIAG_OTHER = 0,
    KOVA_DIAG_CHECK_FAILED,        // a check rule's condition is false
    KOVA_DIAG_VALUE_CONFLICT,      // a value outside what the rules allow
    KOVA_DIAG_USAGE_CONFLICT,      // a usage state the rules do not allow
    KOVA_DIAG_FUNCTION_RULE,       // the function rules fail the run
    KOVA_DIAG_PARSE_ERROR,         // a rule text that does not parse
    KOVA_DIAG_NOT_BOOLEAN,         // a condition that is neither true nor false
    KOVA_DIAG_ARITHMETIC,          // division by zero
    KOVA_DIAG_PORT_QUERY,          // a port query the host could not answer
    KOVA_DIAG_CYCLE,               // a cyclical dependency
    KOVA_DIAG_UNREACHED,           // objects the run could not reach
    KOVA_DIAG_UNPLACED_CHARACTER,  // characters the scanner skipped
    KOVA_DIAG_CORRECTION,          // a value the run corrected silently
    KOVA_DIAG_SETTING,             // a problem with a user setting
    KOVA_DIAG_LOAD,                // a description that cannot be read
    KOVA_DIAG_LINT,                // a finding of kova lint with no engine kind
    KOVA_DIAG_READS,               // the settings a failed check reads through derived values
    KOVA_DIAG_KIND_COUNT
};

// "check-failed", "value-conflict", ...; "other" for KOVA_DIAG_OTHER.
KOVA_HOST_API const char* kova_diagnostic_kind_name(KOVA_DIAGNOSTIC_KIND kind);

struct KOVA_DIAGNOSTIC {
    KOVA_SEVERITY severity = KOVA_SEVERITY_WARNING;
    KOVA_DIAGNOSTIC_KIND kind = KOVA_DIAG_OTHER;
    std::string text;        // exactly as posted
    std::string object;      // the port, parameter or macro; "" for none
    int rule_index = -1;     // the rule's place in the object's rule list (or
                             // in the function or message rules); -1 for none
    uint32_t source_id = 0;  // the source record of the rule, or of the object
    KOVA_SOURCE_FIELD field = KOVA_FIELD_ELEMENT;  // the field of that record
    int message_index = -1;  // the text's place in the error list; -1 when
                             // the record has no message there
    KOVA_SOURCE_LOCATION location;  // a place given outright, for problems
                                    // that no source record names (a file
                                    // that does not parse); else unknown
};

// What the engine is working on: the object (by name; null for none), the
// rule (its place in the object's rule list, -1 for none) and the source
// record and field of the text being evaluated. The pointed-to name must
// outlive the origin; KOVA_ORIGIN_SCOPE keeps that so.
struct KOVA_MESSAGE_ORIGIN {
    const std::string* object = nullptr;
    int rule_index = -1;
    uint32_t source_id = 0;
    KOVA_SOURCE_FIELD field = KOVA_FIELD_ELEMENT;
};

// Sets the origin of a model for the length of a scope and restores the
// one before it, so that a nested evaluation (a macro refreshed inside a
// condition) names itself and the outer one is named again after it.
template <typename MODEL>
class KOVA_ORIGIN_SCOPE {
public:
    KOVA_ORIGIN_SCOPE(MODEL& model, const KOVA_MESSAGE_ORIGIN& origin)
        : m_model(model), m_saved(model.get_message_origin()) {
        model.set_message_origin(origin);
    }
    ~KOVA_ORIGIN_SCOPE() { m_model.set_message_origin(m_saved); }
    KOVA_ORIGIN_SCOPE(const KOVA_ORIGIN_SCOPE&) = delete;
    KOVA_ORIGIN_SCOPE& operator=(const KOVA_ORIGIN_SCOPE&) = delete;

private:
    MODEL& m_model;
    KOVA_MESSAGE_ORIGIN m_saved;
};

#endif
