// What a wizard shows beside the validation: the message rules that apply,
// the simulation libraries, one or every wizard map and the values a stimulus vector
// drives. Each query clears the engine's message list first and hands
// back what it posted. The kova subcommands of the same names and the
// Python module answer through these.
#ifndef KOVA_WIZARD_QUERIES_H
#define KOVA_WIZARD_QUERIES_H

#include <string>
#include <vector>

#include "session/help_texts.h"
#include "session/session.h"

// The texts of the message rules that apply to the current state, in the
// description's order. The validator's list of them is emptied first, so
// asking twice gives the same list.
std::vector<std::string> kova_wizard_messages(KOVA_SESSION& session, KOVA_MESSAGES& messages);

struct KOVA_SIMULATION_LIBRARIES {
    std::string text;                // each name followed by ";"
    std::vector<std::string> names;  // the same, one by one
};

// The engine runs the validator to answer; messages holds only what
// evaluating the library entries posted, not that run's repeat of the
// caller's run.
KOVA_SIMULATION_LIBRARIES kova_simulation_libraries(KOVA_SESSION& session, KOVA_MESSAGES& messages);

// One object of an evaluated wizard map.
struct KOVA_MAP_ENTRY {
    std::string kind;    // kova_object_kind_name
    std::string name;
    std::string value;
    std::string usage;   // USED, UNUSED, ...
    std::string source;  // "map" (its own object), "parameter" or "port" (filled in)
};

struct KOVA_WIZARD_MAP_RESULT {
    std::string map;  // as the description names it
    KOVA_HELP help;   // the map's label and help text
    std::vector<KOVA_MAP_ENTRY> entries;
};

// The named map evaluated under the current state; false when there is
// no map of that name.
bool kova_evaluate_wizard_map(KOVA_SESSION& session, const std::string& name, KOVA_WIZARD_MAP_RESULT& result,
                              KOVA_MESSAGES& messages);

// Every map evaluated under the current state, in the description's
// order; each entry is what kova_evaluate_wizard_map gives for that map,
// and messages are those of all of them.
std::vector<KOVA_WIZARD_MAP_RESULT> kova_evaluate_wizard_maps(KOVA_SESSION& session, KOVA_MESSAGES& messages);

struct KOVA_TRANSITION {
    std::string signal, value;
};

struct KOVA_STIMULUS_RESULT {
    std::string vector;  // as the description names it
    std::vector<KOVA_TRANSITION> transitions;
};

// What the named vector drives at time, in record order; false when there
// is no vector of that name.
bool kova_stimulus_at(KOVA_SESSION& session, const std::string& name, int time, KOVA_STIMULUS_RESULT& result,
                      KOVA_MESSAGES& messages);

#endif
