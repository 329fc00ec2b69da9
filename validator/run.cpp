// The validation run: clears what earlier runs derived, evaluates the
// rules of every object level by level (macro instances after the objects
// of their level), checks each object's current state against the state
// its rules derived, evaluates the function rules, and answers whether the
// configuration is valid. Every problem is posted to the error list.
//
// Walks go over snapshots of the model's objects and macro instances, so
// nothing called from inside a walk can disturb it.
#include "validator/kova_rules_validator.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "expr/truth.h"
#include "expr/usage_words.h"
#include "host/qel_util.h"
#include "validator/alt_state.h"
#include "validator/message_origin.h"
#include "validator/rule_condition.h"

namespace {

std::vector<KOVA_FN_MACRO*> macro_instances(const KOVA_OWNED_MAP<KOVA_FN_MACRO>& list) {
    std::vector<KOVA_FN_MACRO*> instances;
    instances.reserve(list.size());
    for (KOVA_FN_MACRO* instance : list.objects()) instances.push_back(instance);
    return instances;
}

// Gives a macro instance the value of its body.
void evaluate_instance(KOVA_RULES_VALIDATOR& validator, KOVA_FN_MACRO& instance) {
    const KOVA_MODEL_ORIGIN_SCOPE origin(validator, kova_object_origin(instance.get_name(), instance, KOVA_FIELD_VALUE));
    instance.set_evaluated_value(validator.evaluate_expression(instance.get_value(), PARSER_MODE_EVALUATE));
}

// Evaluates the macro instances of one level.
void evaluate_instances_at(KOVA_RULES_VALIDATOR& validator, const KOVA_OWNED_MAP<KOVA_FN_MACRO>& list, int position) {
    for (KOVA_FN_MACRO* instance : macro_instances(list))
        if (instance->get_dependency_position() == position) evaluate_instance(validator, *instance);
}

int highest_instance_position(const KOVA_OWNED_MAP<KOVA_FN_MACRO>& list) {
    int highest = -1;
    for (const KOVA_FN_MACRO* instance : macro_instances(list))
        highest = std::max(highest, instance->get_dependency_position());
    return highest;
}

// Items filed under positions 0 to last, each position's items in the
// order they were filed; items of other positions are not kept.
template <typename ITEM>
class POSITION_BUCKETS {
public:
    explicit POSITION_BUCKETS(int last) : m_last(last) {}

    void file(int position, ITEM* item) {
        if (position < 0 || position > m_last) return;
        if (static_cast<std::size_t>(position) >= m_buckets.size()) m_buckets.resize(position + 1);
        m_buckets[position].push_back(item);
    }

    // Empty for a position without items.
    std::vector<ITEM*> take(int position) {
        if (position < 0 || static_cast<std::size_t>(position) >= m_buckets.size()) return {};
        return std::move(m_buckets[position]);
    }

private:
    int m_last;
    std::vector<std::vector<ITEM*>> m_buckets;
};

// The hidden parameters and function macros of positions 0 to last, in
// the model's order.
POSITION_BUCKETS<KOVA_OBJ_INFO> valued_objects_by_position(const KOVA_INFO& model, int last) {
    POSITION_BUCKETS<KOVA_OBJ_INFO> buckets(last);
    for (KOVA_OBJ_INFO* object : model.get_kova_obj_snapshot())
        if (object->has_expression_value()) buckets.file(object->evaluation_position, object);
    return buckets;
}

// The macro instances of positions 0 to last, in the list's order.
POSITION_BUCKETS<KOVA_FN_MACRO> instances_by_position(const KOVA_OWNED_MAP<KOVA_FN_MACRO>& list, int last) {
    POSITION_BUCKETS<KOVA_FN_MACRO> buckets(last);
    for (KOVA_FN_MACRO* instance : macro_instances(list)) buckets.file(instance->get_dependency_position(), instance);
    return buckets;
}

// Asks the memory system for the lines of an object; a hint only.
void prefetch_lines(const void* address, std::size_t size) {
    const char* bytes = static_cast<const char*>(address);
    for (std::size_t offset = 0; offset < size; offset += 64) __builtin_prefetch(bytes + offset);
}

}  // namespace

// The first pass files every object by position and validates those of
// position 0 (run_first_pass); then the macro instances are filed by
// position. A position never changes once computed, and nothing a pass
// calls computes or changes one (only the first pass meets objects
// without a position, and only computing a position creates instances),
// so each later pass p visits exactly the objects and instances of
// position p in the order a walk over all of them would meet them.
bool KOVA_RULES_VALIDATOR::run_validator() {
    clear_error_messages();
    m_silent_corrections.clear();
    const int count = get_kova_obj_count();
    bool failed = false;
    int validated = 0;
    // Set once the first pass has made every instance: the highest level
    // there can be, and the objects and instances of each level above 0.
    int levels = 0;
    POSITION_BUCKETS<KOVA_OBJ_INFO> objects_at(0);
    POSITION_BUCKETS<KOVA_FN_MACRO> instances_at(0);
    auto validate = [&](KOVA_OBJ_INFO* object) {
        if (!validate_object(object)) failed = true;
        ++validated;
    };
    auto evaluate = [&](KOVA_FN_MACRO* instance) { evaluate_instance(*this, *instance); };
    int position = 0;
    while (count > 0) {
        if (position == 0) {
            std::vector<KOVA_OBJ_INFO*> later;
            run_first_pass(later, validated, failed);
            // Every level above 0 holds an object or an instance that the
            // level below it raised, so levels run up to the number of
            // objects and instances together: a chain through macro calls
            // alternates objects and instances, and goes past the object
            // count.
            levels = count + static_cast<int>(m_fn_macro_list.size());
            objects_at = POSITION_BUCKETS<KOVA_OBJ_INFO>(levels);
            instances_at = POSITION_BUCKETS<KOVA_FN_MACRO>(levels);
            for (KOVA_OBJ_INFO* object : later) objects_at.file(object->evaluation_position, object);
            for (KOVA_FN_MACRO* instance : macro_instances(m_fn_macro_list)) {
                if (instance->get_dependency_position() == 0)
                    evaluate(instance);
                else
                    instances_at.file(instance->get_dependency_position(), instance);
            }
        } else {
            const std::vector<KOVA_OBJ_INFO*> objects = objects_at.take(position);
            for (std::size_t next = 0; next < objects.size(); ++next) {
                fetch_ahead(objects, next);
                validate(objects[next]);
            }
            for (KOVA_FN_MACRO* instance : instances_at.take(position)) evaluate(instance);
        }
        ++position;
        if (validated >= count) {
            // Instances above every object's level (a macro called only in
            // function rules or message conditions) still get their value.
            for (const int last = highest_instance_position(m_fn_macro_list); position <= last; ++position)
                evaluate_instances_at(*this, m_fn_macro_list, position);
            break;
        }
        if (position > levels) {
            post_error_message("Some objects dont have the correct settings to be validated", KOVA_SEVERITY_WARNING,
                               KOVA_DIAG_UNREACHED);
            break;
        }
    }
    // A parameter's alternate state is forgotten when the parameter is
    // validated (validate_object), and read by nothing else during a run;
    // those the run did not reach, the positions from `position` on and
    // those without one, forget it now.
    if (validated < count) {
        for (KOVA_OBJ_INFO* object : get_kova_obj_snapshot()) {
            const bool reached = object->evaluation_position >= 0 && object->evaluation_position < position;
            if (!reached && object->is_parameter())
                if (KOVA_PARAMETER_OBJ* parameter = parameter_copy_of(*object)) kova_reset_alt_state(*parameter);
        }
    }
    const bool function_rules_failed = run_validator_on_fn_rules();
    return !failed && !function_rules_failed;
}

// One walk over the model forgets what the last run derived for each
// object (its current value when it has an expression value, a port's
// alternate state and port values) and files it by position: position 0
// in level_zero, the rest in later. Every reset comes before the first
// validation, since a rule may read any object. The objects of position 0
// are then validated in the model's order. While some object has no
// position yet (a run before initialisation, or an object added since),
// a second walk computes the positions as it meets the objects and
// validates each object of position 0 when it is met, since computing a
// position may post a message.
void KOVA_RULES_VALIDATOR::run_first_pass(std::vector<KOVA_OBJ_INFO*>& later, int& validated, bool& failed) {
    const std::vector<KOVA_OBJ_INFO*> objects = get_kova_obj_snapshot();
    std::vector<KOVA_OBJ_INFO*> level_zero;
    later.reserve(objects.size());
    bool positions_known = true;
    for (KOVA_OBJ_INFO* object : objects) {
        reset_object_state(*object, false, false);
        if (object->evaluation_position == -1)
            positions_known = false;
        else if (object->evaluation_position == 0)
            level_zero.push_back(object);
        else
            later.push_back(object);
    }
    if (!positions_known) {
        level_zero.clear();
        later.clear();
    }
    for (KOVA_OBJ_INFO* object : positions_known ? level_zero : objects) {
        if (object->evaluation_position == -1) {
            KOVA_NAME_MAP in_progress;
            in_progress.insert(object->get_name(), object->get_name());
            object->evaluation_position = get_element_position(object, in_progress);
        }
        if (object->evaluation_position == 0) {
            if (!validate_object(object)) failed = true;
            ++validated;
        } else {
            later.push_back(object);
        }
    }
}

// A later pass meets its objects far apart in memory, so while it
// validates objects[next] it asks for the object eight places on and for
// the copy of the one four places on, whose address the memo of its name
// gives once the object's lines are in.
void KOVA_RULES_VALIDATOR::fetch_ahead(const std::vector<KOVA_OBJ_INFO*>& objects, std::size_t next) {
    if (next + 8 < objects.size()) prefetch_lines(objects[next + 8], sizeof(KOVA_OBJ_INFO));
    if (next + 4 >= objects.size()) return;
    const KOVA_OBJ_INFO& object = *objects[next + 4];
    if (object.is_parameter()) {
        if (const KOVA_PARAMETER_OBJ* copy = parameter_copy_of(object)) prefetch_lines(copy, sizeof(KOVA_PARAMETER_OBJ));
    } else if (object.is_port()) {
        if (const KOVA_PORT_OBJ* copy = port_copy_of(object)) prefetch_lines(copy, sizeof(KOVA_PORT_OBJ));
    }
}

bool KOVA_RULES_VALIDATOR::run_validator_on_element(const std::string& name) {
    KOVA_OBJ_INFO* object = get_kova_obj(name);
    return !object || validate_object(object);
}

bool KOVA_RULES_VALIDATOR::validate_object(KOVA_OBJ_INFO* object) {
    KOVA_PARAMETER_OBJ* parameter = nullptr;
    KOVA_PORT_OBJ* port = nullptr;
    if (object->is_parameter() && (parameter = parameter_copy_of(*object))) kova_reset_alt_state(*parameter);
    if (object->is_port() && (port = port_copy_of(*object))) kova_reset_alt_state(*port, false);
    const std::string& name = object->get_name();
    const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_object_origin(name, *object, KOVA_FIELD_VALUE));
    if (object->has_expression_value())
        object->set_current_value(evaluate_expression(object->get_value(), PARSER_MODE_EVALUATE));

    m_value_rule = m_state_rule = KOVA_APPLIED_RULE();
    // Applies text from field of rule index and remembers the rule as the
    // one that decided the value or the usage state, for the messages of
    // the consistency check.
    auto apply = [&](int index, KOVA_SOURCE_FIELD field, const std::string& text) {
        set_value_on_object(object, parameter, port, text);
        if (text.empty()) return;
        m_state_rule = {index, field};
        const bool usage_word = kova_usage_word_state(text) != KOVA_USAGE_NONE;
        if (!usage_word || object->obj_type == KOVA_OBJ_STRING_PARAMETER) m_value_rule = {index, field};
    };
    bool failed = false;
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
        ++index;
        if (rule->is_port_value_rule()) continue;
        set_message_origin(kova_rule_origin(&name, index, *rule, KOVA_FIELD_CONDITION));
        const std::string result = evaluate_rule_condition(*this, *object, *rule);
        const std::string& condition = rule->get_condition();
        const bool check_rule = kova_is_check_rule(*rule);
        if (!kova_is_boolean(result)) {
            post_error_message("Condition " + condition + " of object " + name +
                                   (check_rule ? " with settings " : " with values ") +
                                   get_dependency_error_message_for_condition(condition) +
                                   " did not evaluate to be a boolean expression, but evaluates to " + result,
                               KOVA_SEVERITY_WARNING, KOVA_DIAG_NOT_BOOLEAN);
        } else if (check_rule && kova_is_false(result)) {
            failed = true;
            post_error_message("Ports and parameters " + get_dependency_error_message_for_condition(condition) +
                                   " should satisfy the condition " + condition,
                               KOVA_SEVERITY_ERROR, KOVA_DIAG_CHECK_FAILED);
        }
        const KOVA_SOURCE_FIELD field = kova_applied_field(*rule, result);
        if (field != KOVA_FIELD_ELEMENT) {
            set_message_origin(kova_rule_origin(&name, index, *rule, field));
            apply(index, field, kova_applied_text(*this, *rule, field));
        }
    }
    set_message_origin(kova_object_origin(name, *object, KOVA_FIELD_ELEMENT));
    const bool consistent = check_value_consistency_on_object(object, parameter, port);
    return consistent && !failed;
}

// Brings the derived values below the named object's level up to date:
// level by level from 0, the hidden parameters and function macros of the
// level in the model's order, then the level's macro instances that have
// no value yet, in the instance list's order. Both are filed by level in
// one walk each, which keeps the whole linear in the model's size.
// Invariant: validating an object or evaluating an instance neither
// computes nor changes a level, nor adds an object or instance, so each
// level visits exactly what a walk over all of them per level would meet,
// in the same order; whether an instance has a value is asked when its
// level comes, as that walk would.
bool KOVA_RULES_VALIDATOR::run_validator_on_assoc_elements(const std::string& name) {
    const KOVA_OBJ_INFO* target = get_kova_obj(name);
    if (!target || target->evaluation_position < 1) return true;
    const int last = target->evaluation_position - 1;
    POSITION_BUCKETS<KOVA_OBJ_INFO> objects_at = valued_objects_by_position(*this, last);
    POSITION_BUCKETS<KOVA_FN_MACRO> instances_at = instances_by_position(m_fn_macro_list, last);
    bool failed = false;
    for (int position = 0; position <= last; ++position) {
        for (KOVA_OBJ_INFO* object : objects_at.take(position))
            if (!validate_object(object)) failed = true;
        for (KOVA_FN_MACRO* instance : instances_at.take(position))
            if (instance->get_evaluated_value().empty()) evaluate_instance(*this, *instance);
    }
    return !failed;
}

bool KOVA_RULES_VALIDATOR::run_validator_on_fn_rules() {
    bool answer = false;
    m_deciding_fn_rule = -1;
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : get_fn_rule_snapshot()) {
        ++index;
        const bool set_rule = rule->rule_type == KOVA_RULE_FN_SET;
        if ((!set_rule && rule->rule_type != KOVA_RULE_FN_CLEAR) || rule->get_condition().empty()) continue;
        const KOVA_MODEL_ORIGIN_SCOPE origin(*this, kova_rule_origin(nullptr, index, *rule, KOVA_FIELD_CONDITION));
        const bool holds = kova_is_true(evaluate_expression(rule->get_condition(), PARSER_MODE_EVALUATE));
        if (set_rule == holds) {
            answer = set_rule;
            m_deciding_fn_rule = index;
        }
    }
    return answer;
}
