// The dependency walk: the levels of model objects and macro instances,
// computed with an explicit stack of frames, so that a dependency chain of
// any length is ordered in time linear in its length while the call stack
// stays a few frames deep.
//
// The walk reads the model exactly as the three mutually recursive member
// functions it stands behind would: get_element_position (an object's
// frame), process_string_for_position_count (a text's frame) and
// create_fn_macros (the frame of a text's macro calls). Each frame is the
// state of one such call, suspended where the call would have recursed,
// so levels, messages, records, instances and the in-progress map come
// out the same and in the same order.
#ifndef KOVA_DEPENDENCY_WALK_H
#define KOVA_DEPENDENCY_WALK_H

#include <string>

#include "host/kova_owned_map.h"
#include "validator/kova_fn_macro.h"
#include "host/kova_stl.h"

class KOVA_OBJ_INFO;
class KOVA_RULES_VALIDATOR;

// Each entry leaves in_progress as the recursive reading leaves it: the
// names it adds and does not take out again are added to it, in order.
class KOVA_DEPENDENCY_WALK {
public:
    // get_element_position: an object's level; the object's own position
    // is left for the caller to set.
    static int object_level(KOVA_RULES_VALIDATOR& validator, KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress);
    // process_string_for_position_count: the level a text raises its owner
    // to (owner may be empty).
    static int text_level(KOVA_RULES_VALIDATOR& validator, const std::string& text, KOVA_NAME_MAP& in_progress,
                          const std::string& owner);
    // create_fn_macros: makes the instances of the text's calls; the
    // highest position among those it made, -1 when it made none.
    static int calls_level(KOVA_RULES_VALIDATOR& validator, const std::string& expression,
                           KOVA_NAME_MAP& in_progress);

    // create_dependency_list: every object without a position gets one, in
    // the model's order, each from a fresh in-progress map holding its name.
    static void order_model(KOVA_RULES_VALIDATOR& validator);

    // The validator's members that the walk works on.
    static bool is_reserved_keyword(const KOVA_RULES_VALIDATOR& validator, const std::string& token);
    static KOVA_OWNED_MAP<KOVA_FN_MACRO>& macro_instances(KOVA_RULES_VALIDATOR& validator);
};

#endif
