// The checks that need the engine: the cycles initialisation reported, and
// the default configuration validated on a copy of the session as a user
// first sees it, each problem at the rule that reports it.
#include "lint/checks.h"

namespace {

// The check an engine message of the default run belongs to; null for
// messages another check already reports from the texts (parse errors,
// unplaced characters) or that initialisation gave (cycles).
const char* run_check(const KOVA_MESSAGE& message) {
    switch (message.kind) {
        case KOVA_DIAG_CYCLE:
        case KOVA_DIAG_PARSE_ERROR:
        case KOVA_DIAG_UNPLACED_CHARACTER:
        case KOVA_DIAG_CORRECTION: return nullptr;
        case KOVA_DIAG_UNREACHED: return "unreached";
        case KOVA_DIAG_NOT_BOOLEAN:
        case KOVA_DIAG_ARITHMETIC:
        case KOVA_DIAG_PORT_QUERY: return "default-warning";
        default: return message.severity == KOVA_SEVERITY_ERROR ? "default-config" : nullptr;
    }
}

}  // namespace

void kova_check_run(const KOVA_SESSION& session, const std::vector<KOVA_INFO*>& models, KOVA_LINT_REPORT& report) {
    for (const KOVA_MESSAGE& message : session.initialization_messages())
        if (message.kind == KOVA_DIAG_CYCLE) report.add_message("cycle", message, models);
    KOVA_SESSION copy(session);
    copy.reset_to_defaults();
    const KOVA_RUN_RESULT result = copy.run();
    for (const KOVA_MESSAGE& message : result.messages) {
        const char* check = run_check(message);
        // A condition that does not parse is never boolean: parse-error says so.
        if (!check || (message.kind == KOVA_DIAG_NOT_BOOLEAN && report.found_at("parse-error", message.location)))
            continue;
        report.add_message(check, message, models);
    }
}
