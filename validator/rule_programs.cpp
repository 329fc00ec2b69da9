// The compiled forms of the model's texts, made when compiled evaluation
// is switched on and at each initialisation while it is on
// (expr/program_table.h).
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "expr/program_table.h"
#include "expr/token_utils.h"
#include "validator/kova_rules_validator.h"

namespace {

// A rule's texts in the order a run evaluates them: the condition, then a
// legal-value list's items one by one (the list itself is kept too, for
// other callers), else the value, then the alternate value.
void add_rule_texts(const KOVA_RULE_ELEMENT& rule, std::vector<std::string_view>& texts) {
    texts.push_back(rule.get_condition());
    if (rule.get_value().find('|') != std::string::npos)
        kova_for_each_list_item(rule.get_value(), [&texts](std::string_view item) { texts.push_back(item); });
    texts.push_back(rule.get_value());
    texts.push_back(rule.get_alt_value());
}

// An object's texts in the order validate_object evaluates them: its
// value, its rules, then its width, which the port checks read.
void add_object_texts(const KOVA_OBJ_INFO& object, std::vector<std::string_view>& texts) {
    texts.push_back(object.get_value());
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) add_rule_texts(*rule, texts);
    texts.push_back(object.get_port_width());
}

// Orders items stably by level, those without one (-1) last.
template <typename ITEM, typename LEVEL>
std::vector<ITEM*> by_level(std::vector<ITEM*> items, LEVEL level) {
    std::stable_sort(items.begin(), items.end(), [&level](const ITEM* left, const ITEM* right) {
        const unsigned a = static_cast<unsigned>(level(*left)), b = static_cast<unsigned>(level(*right));
        return a < b;
    });
    return items;
}

}  // namespace

// Every text the validator evaluates from its model: the values, widths
// and rule texts of its objects, the bodies of its macro instances and the
// conditions of its function rules. They are given in the order a
// validation run meets them, level by level (the levels are known once the
// dependency list is made), each level's objects in the model's order and
// then its macro instances, so that the table lays its entries out in that
// order and a run finds each text next to the one before
// (KOVA_PROGRAM_TABLE::find_near).
void KOVA_RULES_VALIDATOR::compile_model_texts() {
    std::vector<std::string_view> texts;
    const std::vector<KOVA_OBJ_INFO*> objects =
        by_level(get_kova_obj_snapshot(), [](const KOVA_OBJ_INFO& object) { return object.evaluation_position; });
    std::vector<KOVA_FN_MACRO*> listed;
    for (KOVA_FN_MACRO* instance : m_fn_macro_list.objects()) listed.push_back(instance);
    const std::vector<KOVA_FN_MACRO*> instances =
        by_level(std::move(listed), [](const KOVA_FN_MACRO& instance) { return instance.get_dependency_position(); });
    std::size_t next_instance = 0;
    for (const KOVA_OBJ_INFO* object : objects) {
        // The instances of the levels below this object's come first.
        const unsigned level = static_cast<unsigned>(object->evaluation_position);
        for (; next_instance < instances.size() &&
               static_cast<unsigned>(instances[next_instance]->get_dependency_position()) < level;
             ++next_instance)
            texts.push_back(instances[next_instance]->get_value());
        add_object_texts(*object, texts);
    }
    for (; next_instance < instances.size(); ++next_instance) texts.push_back(instances[next_instance]->get_value());
    for (const KOVA_RULE_ELEMENT* rule : get_fn_rule_snapshot()) texts.push_back(rule->get_condition());
    m_programs = std::make_shared<const KOVA_PROGRAM_TABLE>(texts);
    // The names of the table replaced may be released with it.
    if (m_program_cache) m_program_cache->use_table_names(m_programs->name_count());
}
void KOVA_RULES_VALIDATOR::set_compiled_evaluation(bool on) {
    m_compiled_evaluation = on;
    if (on) {
        compile_model_texts();
        return;
    }
    // Invariant: no table while off, so the model costs what it did
    // before texts were compiled.
    m_programs.reset();
    if (m_program_cache) m_program_cache->use_table_names(0);
}
