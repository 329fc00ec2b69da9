// External messages: the message rules of the model that apply to the
// current settings, copied into the validator's own list for the host to
// read one by one.
//
// Invariant: every entry of m_external_msg_list is owned by the validator
// alone and has empty condition and alt value.
#include <memory>

#include "expr/truth.h"
#include "validator/kova_rules_validator.h"
#include "validator/message_origin.h"
#include "validator/rule_condition.h"

namespace {

// The text a message rule shows now: its value when it has no condition or
// the condition holds, its alt value when the condition fails, and ""
// when the condition is not boolean.
std::string selected_text(KOVA_RULES_VALIDATOR& validator, const KOVA_RULE_ELEMENT& rule) {
    const std::string result = kova_condition_result(validator, rule.get_condition());
    if (kova_is_true(result)) return rule.get_value();
    if (kova_is_false(result)) return rule.get_alt_value();
    return "";
}

}  // namespace

// Macro calls in message conditions get instances, so that the validation
// run evaluates them before the messages are selected.
void KOVA_RULES_VALIDATOR::initialize_msgs() {
    KOVA_NAME_MAP in_progress;
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : get_msg_snapshot()) {
        ++index;
        if (rule->get_condition().empty()) continue;
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_rule_origin(nullptr, index, *rule, KOVA_FIELD_CONDITION));
        create_fn_macros(rule->get_condition(), in_progress);
    }
}

void KOVA_RULES_VALIDATOR::process_external_messages() {
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : get_msg_snapshot()) {
        ++index;
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_rule_origin(nullptr, index, *rule, KOVA_FIELD_CONDITION));
        const std::string text = selected_text(*this, *rule);
        if (text.empty()) continue;
        auto message = std::make_unique<KOVA_RULE_ELEMENT>(text, "", "", rule->rule_type);
        message->source_id = rule->source_id;  // so a front end can point at the message rule
        m_external_msg_list.push_back(std::move(message));
    }
}

void KOVA_RULES_VALIDATOR::clear_external_messages() {
    m_external_msg_list.clear();
    m_external_msg_cursor = 0;
}

void KOVA_RULES_VALIDATOR::reset_external_message_list() { m_external_msg_cursor = 0; }

KOVA_RULE_ELEMENT* KOVA_RULES_VALIDATOR::get_next_external_message() {
    if (m_external_msg_cursor >= m_external_msg_list.size()) return nullptr;
    return m_external_msg_list[m_external_msg_cursor++].get();
}
