// The compiled forms of the model's texts, made when compiled evaluation
// is switched on and at each initialisation while it is on
// (expr/program_table.h).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "expr/program_table.h"
#include "expr/token_utils.h"
#include "validator/kova_rules_validator.h"

namespace {

void add_rule_texts(const KOVA_RULE_ELEMENT& rule, std::vector<std::string>& texts) {
    texts.push_back(rule.get_condition());
    texts.push_back(rule.get_value());
    texts.push_back(rule.get_alt_value());
    // A legal-value list evaluates each of its items on its own.
    if (rule.get_value().find('|') == std::string::npos) return;
    kova_for_each_list_item(rule.get_value(), [&texts](std::string_view item) { texts.emplace_back(item); });
}

}  // namespace

// Every text the validator evaluates from its model: the values, widths
// and rule texts of its objects and the bodies of its macro instances.
void KOVA_RULES_VALIDATOR::compile_model_texts() {
    std::vector<std::string> texts;
    for (const KOVA_OBJ_INFO* object : get_kova_obj_snapshot()) {
        texts.push_back(object->get_value());
        texts.push_back(object->get_port_width());
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) add_rule_texts(*rule, texts);
    }
    for (const KOVA_FN_MACRO* instance : m_fn_macro_list.objects()) texts.push_back(instance->get_value());
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
