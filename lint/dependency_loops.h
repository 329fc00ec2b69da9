// The loop of a cyclical dependency the engine reported: its message
// names one object of the loop (the one met again) and the owner of the
// text that met it; the rest of the loop is the way from the first back to
// the owner through the names each object's texts read, as the engine's
// dependency walk reads them (element tokens of each rule's alternate
// value, condition and value and of the object's own value).
#ifndef KOVA_LINT_DEPENDENCY_LOOPS_H
#define KOVA_LINT_DEPENDENCY_LOOPS_H

#include <string>
#include <vector>

#include "lint/texts.h"

struct KOVA_LOOP_STEP {
    std::string object;     // the object's name as its declaration writes it
    KOVA_LINT_PLACE place;  // its text that reads the next object; no model for the last step
};

// The objects from from to to, each read by a text of the one before, the
// fewest there are, looked up in models (a work list, breadth first, so
// no walk recurses along the model); empty when to cannot be reached.
std::vector<KOVA_LOOP_STEP> kova_dependency_path(const std::vector<KOVA_INFO*>& models, const std::string& from,
                                                 const std::string& to);

// The objects of "... because of object FROM while creating dependency
// list for TO", the engine's message of a cycle (TO without the arguments
// of a macro instance); false for another text.
bool kova_cycle_ends(const std::string& message, std::string& from, std::string& to);

// The same text for every rotation of a loop's objects (names in lower
// case, from the least): two messages of one loop give one key.
std::string kova_loop_key(const std::vector<KOVA_LOOP_STEP>& loop);

#endif
