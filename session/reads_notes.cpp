// Notes naming the settings a failed check reads through derived values.
#include "session/reads_notes.h"

#include <algorithm>
#include <string>
#include <vector>

#include "session/dependency_tree.h"

namespace {

// The check rule a check-failed message names; null for any other message.
const KOVA_RULE_ELEMENT* failed_check(const KOVA_RULES_VALIDATOR& validator, const KOVA_MESSAGE& message) {
    if (message.kind != KOVA_DIAG_CHECK_FAILED || message.rule_index < 0) return nullptr;
    const KOVA_OBJ_INFO* object = validator.get_kova_obj(message.object);
    if (!object || static_cast<std::size_t>(message.rule_index) >= object->get_rule_count()) return nullptr;
    return object->rule_view()[message.rule_index];
}

// The texts joined by ", ".
std::string joined(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& part : texts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

// "reads A=1, B=2 through H, m(B)": the settings below the derived nodes
// the condition names, in the trees' depth-first order, each once, and
// those derived nodes that reach a setting, in the condition's order.
// "" when no derived node of the condition reaches a setting.
std::string reads_text(KOVA_DEPENDENCY_GRAPH& graph, const std::string& condition) {
    std::vector<std::size_t> through;
    std::vector<std::string> derived, settings;
    for (const std::size_t root : graph.add_text(condition)) {
        if (graph.nodes()[root].setting || graph.setting_nodes_below({root}).empty()) continue;
        through.push_back(root);
        derived.push_back(graph.nodes()[root].name);
    }
    if (through.empty()) return "";
    for (const std::size_t setting : graph.setting_nodes_below(through))
        settings.push_back(graph.nodes()[setting].name + "=" + graph.nodes()[setting].value);
    return "reads " + joined(settings) + " through " + joined(derived);
}

}  // namespace

KOVA_MESSAGES kova_messages_with_reads(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run) {
    const auto failed = [](const KOVA_MESSAGE& message) { return message.kind == KOVA_DIAG_CHECK_FAILED; };
    if (std::none_of(run.messages.begin(), run.messages.end(), failed)) return run.messages;
    // Evaluating a call or a macro for the trees may refresh values: on a copy.
    KOVA_SESSION copy(session);
    KOVA_DEPENDENCY_GRAPH graph(copy.validator());
    KOVA_MESSAGES messages;
    for (const KOVA_MESSAGE& message : run.messages) {
        messages.push_back(message);
        const KOVA_RULE_ELEMENT* check = failed_check(copy.validator(), message);
        const std::string text = check ? reads_text(graph, check->get_condition()) : "";
        if (text.empty()) continue;
        KOVA_MESSAGE note = kova_make_message(KOVA_SEVERITY_NOTE, KOVA_DIAG_READS, text, message.location);
        note.object = message.object;
        note.rule_index = message.rule_index;
        note.origin = message.origin;
        messages.push_back(std::move(note));
    }
    return messages;
}
