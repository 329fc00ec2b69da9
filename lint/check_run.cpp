// The checks that need the engine: the cycles initialisation reported,
// each loop once and written out, and the default configuration validated
// on a copy of the session as a user first sees it, each problem at the
// rule that reports it.
#include <set>

#include "lint/checks.h"
#include "lint/dependency_loops.h"

namespace {

// The engine's message of a loop rewritten: the loop from the owner of the
// text that closes it (where the message is) round to it again, and the
// text of each other object that reads the next as a related place.
void describe_loop(KOVA_MESSAGE& message, const std::vector<KOVA_LOOP_STEP>& path, KOVA_LINT_REPORT& report) {
    std::string loop = path.back().object;
    for (const KOVA_LOOP_STEP& step : path) loop += " -> " + step.object;
    message.text = "cyclical dependency: " + loop + " (each object reads the next)";
    for (std::size_t at = 0; at + 1 < path.size(); ++at)
        message.related.push_back(
            {report.locate(path[at].place), path[at].object,
             path[at].object + " is part of the loop: it reads " + path[at + 1].object + " here"});
}

// One finding per loop: a message of a loop already reported (from another
// of its objects) is left out; one whose loop cannot be traced is relayed
// as the engine wrote it.
void check_cycles(const KOVA_SESSION& session, const std::vector<KOVA_INFO*>& models, KOVA_LINT_REPORT& report) {
    std::set<std::string> loops;
    for (const KOVA_MESSAGE& message : session.initialization_messages()) {
        if (message.kind != KOVA_DIAG_CYCLE) continue;
        KOVA_MESSAGE finding = message;
        std::string from, to;
        std::vector<KOVA_LOOP_STEP> path;
        if (kova_cycle_ends(message.text, from, to)) path = kova_dependency_path(models, from, to);
        if (!path.empty()) {
            if (!loops.insert(kova_loop_key(path)).second) continue;
            describe_loop(finding, path, report);
        }
        report.add_message("cycle", std::move(finding), models);
    }
}

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
    check_cycles(session, models, report);
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
