// The names of severities and diagnostic kinds as front ends print them.
#include "host/diagnostic.h"

const char* kova_severity_name(KOVA_SEVERITY severity) {
    switch (severity) {
    case KOVA_SEVERITY_ERROR: return "error";
    case KOVA_SEVERITY_WARNING: return "warning";
    case KOVA_SEVERITY_NOTE: return "note";
    }
    return "error";
}

const char* kova_diagnostic_kind_name(KOVA_DIAGNOSTIC_KIND kind) {
    static const char* const names[KOVA_DIAG_KIND_COUNT] = {
        "other",       "check-failed", "value-conflict", "usage-conflict",       "function-rule",
        "parse-error", "not-boolean",  "arithmetic",     "port-query",           "cycle",
        "unreached",   "unplaced-character", "correction", "setting",            "load",
        "lint",        "reads"};
    return kind < KOVA_DIAG_KIND_COUNT ? names[kind] : "other";
}
