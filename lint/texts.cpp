// Gathers the evaluated texts of a description, mirroring what the engine
// evaluates: the run (object bodies, rule conditions and values, list items
// of legal-value rules), port widths and value rules, initial vector
// states, function rules, message conditions, wizard maps, vectors and the
// simulation library.
#include "lint/texts.h"

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"

namespace {

class GATHERER {
public:
    GATHERER(KOVA_INFO& model, std::vector<KOVA_LINT_TEXT>& texts) : m_model(model), m_texts(texts) {}

    void model_texts();

private:
    void add(const std::string& text, KOVA_TEXT_ROLE role, KOVA_LINT_PLACE place, bool instantiates,
             const KOVA_OBJ_INFO* macro = nullptr);
    void add_value(const std::string& text, const KOVA_LINT_PLACE& place, bool instantiates);
    void add_list(const std::string& text, const KOVA_LINT_PLACE& place, bool instantiates);
    void object_texts(const KOVA_OBJ_INFO& object, bool in_map);
    void rule_texts(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule, int index, bool in_map);
    void condition_rule(const KOVA_RULE_ELEMENT* rule);
    void library_texts();
    KOVA_LINT_PLACE place_of(const KOVA_OBJ_INFO* object, uint32_t source_id, KOVA_SOURCE_FIELD field,
                             int rule_index = -1) const {
        return {&m_model, object, rule_index, source_id, field};
    }

    KOVA_INFO& m_model;
    std::vector<KOVA_LINT_TEXT>& m_texts;
    bool m_in_map = false;  // while the texts of a wizard map are gathered
};

void GATHERER::add(const std::string& text, KOVA_TEXT_ROLE role, KOVA_LINT_PLACE place, bool instantiates,
                   const KOVA_OBJ_INFO* macro) {
    if (text.empty()) return;
    m_texts.push_back({text, role, place, instantiates, macro, m_in_map});
}

// A value text: the words the engine takes as written are not evaluated.
void GATHERER::add_value(const std::string& text, const KOVA_LINT_PLACE& place, bool instantiates) {
    if (!kova_value_taken_as_written(text)) add(text, KOVA_TEXT_VALUE, place, instantiates);
}

// A "|" list: each item is evaluated on its own.
void GATHERER::add_list(const std::string& text, const KOVA_LINT_PLACE& place, bool instantiates) {
    QEL_TOKEN_READER items(text, "|");
    while (!items.empty()) add_value(items.next(), place, instantiates);
}

void GATHERER::rule_texts(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule, int index, bool in_map) {
    const uint32_t id = rule.source_id;
    const bool instantiates = !in_map;
    if (rule.rule_type != KOVA_RULE_CMD_CONDITION)
        add(rule.get_condition(), KOVA_TEXT_CONDITION, place_of(&object, id, KOVA_FIELD_CONDITION, index),
            instantiates);
    // The run and the port ranges split a list without a lower bound into
    // items; a wizard map evaluates a rule's value as one expression.
    const bool legal = rule.rule_type == KOVA_RULE_LEGAL_VALUES || rule.rule_type == KOVA_RULE_CONSTANT_LEGAL_VALUES;
    const bool split = !in_map && rule.get_alt_value().empty() &&
                       (rule.rule_type == KOVA_RULE_LEGAL_VALUES || rule.rule_type == KOVA_RULE_PORT_VALUE_LIST);
    const KOVA_LINT_PLACE value = place_of(&object, id, KOVA_FIELD_VALUE, index);
    if (split)
        add_list(rule.get_value(), value, instantiates);
    else
        add_value(rule.get_value(), value, instantiates);
    // A legal-value rule's alternate value is a lower bound, which a map
    // never evaluates; every other rule's is its value when false.
    if (!(legal && in_map))
        add_value(rule.get_alt_value(), place_of(&object, id, KOVA_FIELD_ALT_VALUE, index), instantiates);
}

void GATHERER::object_texts(const KOVA_OBJ_INFO& object, bool in_map) {
    const uint32_t id = object.source_id;
    if (in_map && (object.is_port() || object.is_parameter()))
        add(object.get_value(), KOVA_TEXT_BODY, place_of(&object, id, KOVA_FIELD_VALUE), false);
    if (!in_map && object.has_expression_value())
        add(object.get_value(), KOVA_TEXT_BODY, place_of(&object, id, KOVA_FIELD_VALUE), true,
            object.obj_type == KOVA_OBJ_FN_MACRO ? &object : nullptr);
    if (!in_map && object.is_port()) {
        add(object.get_port_width(), KOVA_TEXT_WIDTH, place_of(&object, id, KOVA_FIELD_WIDTH), false);
        add(object.get_port_width2d(), KOVA_TEXT_WIDTH, place_of(&object, id, KOVA_FIELD_WIDTH2D), false);
    }
    if (!in_map)
        add_value(object.get_initial_vec_state(), place_of(&object, id, KOVA_FIELD_INITIAL_VEC_STATE), false);
    int index = -1;
    for (const KOVA_RULE_ELEMENT* rule : object.rule_view()) rule_texts(object, *rule, ++index, in_map);
}

void GATHERER::condition_rule(const KOVA_RULE_ELEMENT* rule) {
    if (rule) add(rule->get_condition(), KOVA_TEXT_CONDITION, place_of(nullptr, rule->source_id, KOVA_FIELD_CONDITION), false);
}

// Entries before a ";" are evaluated; the text after the last one is not.
void GATHERER::library_texts() {
    QEL_TOKEN_READER entries(m_model.get_vhdl_library(), ";");
    std::string delimiter;
    while (!entries.empty()) {
        const std::string entry = entries.next(delimiter);
        if (!entry.empty() && !delimiter.empty())
            add(entry, KOVA_TEXT_LIBRARY, place_of(nullptr, m_model.source_id, KOVA_FIELD_LIBRARY), false);
    }
}

void GATHERER::model_texts() {
    for (const KOVA_OBJ_INFO* object : m_model.get_kova_obj_snapshot()) object_texts(*object, false);
    for (const KOVA_RULE_ELEMENT* rule : m_model.get_fn_rule_snapshot())
        add(rule->get_condition(), KOVA_TEXT_CONDITION, place_of(nullptr, rule->source_id, KOVA_FIELD_CONDITION),
            true);
    for (const KOVA_RULE_ELEMENT* rule : m_model.get_msg_snapshot())
        add(rule->get_condition(), KOVA_TEXT_CONDITION, place_of(nullptr, rule->source_id, KOVA_FIELD_CONDITION),
            true);
    m_model.reset_wizard_map();
    m_in_map = true;
    while (KOVA_WIZARD_MAP* map = m_model.get_next_wizard_map()) {
        condition_rule(map->condition_rule());
        for (const KOVA_OBJ_INFO* object : map->get_kova_obj_snapshot()) object_texts(*object, true);
    }
    m_in_map = false;
    m_model.reset_vector_map();
    while (KOVA_VECTOR_OBJ* vector = m_model.get_next_vector_obj()) {
        condition_rule(vector->condition_rule());
        vector->reset_vector_stimulus();
        while (const KOVA_RULE_ELEMENT* record = vector->get_next_vector_stimulus()) {
            add(record->get_condition(), KOVA_TEXT_CONDITION,
                place_of(nullptr, record->source_id, KOVA_FIELD_CONDITION), false);
            add(record->get_value(), KOVA_TEXT_FORCE, place_of(nullptr, record->source_id, KOVA_FIELD_VALUE), false);
            add(record->get_alt_value(), KOVA_TEXT_FORCE, place_of(nullptr, record->source_id, KOVA_FIELD_ALT_VALUE),
                false);
        }
        vector->reset_vector_stimulus();
    }
    library_texts();
}

}  // namespace

bool kova_lint_is_formal(const KOVA_LINT_TEXT& text, const std::string& name) {
    if (!text.macro) return false;
    QEL_TOKEN_READER formals(text.macro->get_arguments(), ", ");
    while (!formals.empty())
        if (kova_equal_nocase(formals.next(), name)) return true;
    return false;
}

std::size_t kova_lint_token_count(const std::string& text, const std::string& delimiters) {
    std::size_t count = 0;
    QEL_TOKEN_READER tokens(text, delimiters);
    for (; !tokens.empty(); ++count) tokens.next();
    return count;
}

std::vector<KOVA_INFO*> kova_lint_models(KOVA_INFO& model) {
    std::vector<KOVA_INFO*> models{&model};
    for (std::size_t next = 0; next < models.size(); ++next) {
        models[next]->reset_sub_info_map();
        while (KOVA_INFO* sub = models[next]->get_next_sub_info()) models.push_back(sub);
    }
    return models;
}

std::vector<KOVA_LINT_TEXT> kova_lint_texts(KOVA_INFO& model) {
    std::vector<KOVA_LINT_TEXT> texts;
    for (KOVA_INFO* each : kova_lint_models(model)) GATHERER(*each, texts).model_texts();
    return texts;
}
