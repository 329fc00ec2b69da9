// The command list: command names that the host switches on and off,
// keyed without regard to the case of letters.
#include "validator/kova_rules_validator.h"

void KOVA_RULES_VALIDATOR::add_cmd_to_list(const std::string& name) {
    // A key keeps the spelling it was first added with; the value is the
    // latest spelling.
    m_cmd_list.set(name, name);
}

void KOVA_RULES_VALIDATOR::remove_cmd_from_list(const std::string& name) { m_cmd_list.erase(name); }
