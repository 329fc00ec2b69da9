// A repair as text and as the members of the fix document.
#include "session/fix.h"
#include "session/json_document.h"

nlohmann::json kova_fix_json(const KOVA_FIX_RESULT& result) {
    nlohmann::json changes = nlohmann::json::array();
    for (const KOVA_FIX_CHANGE& change : result.changes)
        changes.push_back({{"name", kova_json_text(change.name)},
                           {"old", kova_json_text(change.old_value)},
                           {"new", kova_json_text(change.new_value)},
                           {"reason", kova_json_text(change.reason)}});
    return {{"changes", changes},
            {"runs", result.runs},
            {"gave_up", result.gave_up},
            {"gave_up_reason", result.gave_up ? kova_json_text(result.gave_up_reason) : nlohmann::json()}};
}

void kova_print_fix(const KOVA_FIX_RESULT& result, std::ostream& out) {
    for (const KOVA_FIX_CHANGE& change : result.changes)
        out << change.name << ": " << (change.old_value.empty() ? "(none)" : change.old_value) << " -> "
            << change.new_value << " (" << change.reason << ")\n";
    if (result.changes.empty() && result.valid) out << "nothing to repair\n";
    if (result.gave_up)
        out << "gave up after " << result.runs << " validation runs: " << result.gave_up_reason << "\n";
}
