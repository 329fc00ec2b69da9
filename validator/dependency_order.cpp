// Dependency levels: every model object's evaluation_position and every
// macro instance's dependency position, so that the validation run meets
// each object after the objects its texts mention.
//
// An object's level lies above the levels of the objects and instances
// its texts (rule alternate values, conditions and values, then the value
// of a hidden parameter or macro) mention. The in-progress map holds the
// names on the current path; a name in the map whose object has no
// position yet lies on the current path: meeting it again is a cycle,
// reported and then ignored. The dependency walk (dependency_walk.h)
// follows the chains without recursing.
#include "validator/kova_rules_validator.h"

#include "validator/dependency_walk.h"

void KOVA_RULES_VALIDATOR::create_dependency_list() { KOVA_DEPENDENCY_WALK::order_model(*this); }

int KOVA_RULES_VALIDATOR::get_element_position(KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress) {
    return KOVA_DEPENDENCY_WALK::object_level(*this, object, in_progress);
}

int KOVA_RULES_VALIDATOR::process_string_for_position_count(const std::string& text, KOVA_NAME_MAP& in_progress,
                                                            const std::string& owner) {
    return KOVA_DEPENDENCY_WALK::text_level(*this, text, in_progress, owner);
}
