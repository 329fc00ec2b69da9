// The head of a simulator force command, "force [-option] SIGNAL ITEMS":
// read in one place for the value a command drives (force_command.cpp)
// and for the signal a vector forces (stimulus_vectors.cpp).
#ifndef KOVA_FORCE_COMMAND_H
#define KOVA_FORCE_COMMAND_H

#include <cstddef>
#include <string>

#include "objects/kova_rules_export.h"

// Words are split at single blanks, so two blanks in a row make an empty
// word.
struct KOVA_FORCE_HEAD {
    bool is_force = false;  // the first word is "force" in any letter case
    std::string option;     // the word after "force" when it starts with "-"; else ""
    std::string signal;     // the word after "force" and the option; "" when there is none
    std::size_t items = 0;  // where the item list starts in the command
};

// The head of command; only is_force is set when the command is not a
// force command.
KOVA_RULES_API KOVA_FORCE_HEAD kova_read_force_head(const std::string& command);

#endif
