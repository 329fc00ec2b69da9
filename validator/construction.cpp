// Construction, copying and destruction of the validator, the
// initialisation sequence, the merging of sub-models and the port and
// parameter lists.
//
// Ownership invariant: every object in m_parameter_list, m_port_list,
// m_fn_macro_list and m_external_msg_list is owned by that container alone
// (KOVA_OWNED_MAP, unique_ptr), so copies are deep and every object is
// released exactly once, on every path, failures included.
#include "validator/kova_rules_validator.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "expr/macro_call_memo.h"
#include "expr/program_table.h"
#include "expr/scanner_pool.h"

namespace {

// Whether objects of this type get a parameter copy in m_parameter_list:
// integer and string parameters; the third parameter kind has none.
bool has_parameter_copy(int type) {
    return type == KOVA_OBJ_INTEGER_PARAMETER || type == KOVA_OBJ_STRING_PARAMETER;
}

std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> copy_of_messages(
    const std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>>& messages) {
    std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> copy;
    copy.reserve(messages.size());
    for (const auto& message : messages) copy.push_back(std::make_unique<KOVA_RULE_ELEMENT>(*message));
    return copy;
}

// The entries of list whose objects are of type T, for adoption.
template <typename T>
std::vector<std::pair<std::string, T*>> entries_of_type(const KOVA_OBJ_MAP& list) {
    std::vector<std::pair<std::string, T*>> entries;
    for (const auto& entry : list.entries())
        if (T* object = dynamic_cast<T*>(entry.second)) entries.emplace_back(entry.first, object);
    return entries;
}

// The merged condition rule of a wizard map or vector of a sub-model; it
// keeps the source record of the rule it replaces.
std::unique_ptr<KOVA_RULE_ELEMENT> merged_condition_rule(const KOVA_RULE_ELEMENT* rule,
                                                         const std::string& sub_condition) {
    if (!rule) return std::make_unique<KOVA_RULE_ELEMENT>("", sub_condition, "", KOVA_RULE_CONDITION);
    auto merged = std::make_unique<KOVA_RULE_ELEMENT>(
        rule->get_value(), "(" + rule->get_condition() + ") and (" + sub_condition + ")", rule->get_alt_value(),
        rule->rule_type);
    merged->source_id = rule->source_id;
    return merged;
}

}  // namespace

KOVA_RULES_VALIDATOR::KOVA_RULES_VALIDATOR(const std::string& function_name, const std::string& description_file,
                                           const std::string& library_dir) {
    if (!library_dir.empty()) set_xml_lib_dir(library_dir);
    set_function_name(function_name, "");
    if (!description_file.empty()) process_xml_file(description_file, nullptr);
}

KOVA_RULES_VALIDATOR::KOVA_RULES_VALIDATOR(const KOVA_RULES_VALIDATOR& other)
    : KOVA_INFO(other),
      m_parameter_list(other.m_parameter_list),
      m_port_list(other.m_port_list),
      m_cmd_list(other.m_cmd_list),
      m_fn_macro_list(other.m_fn_macro_list),
      m_external_msg_list(copy_of_messages(other.m_external_msg_list)),
      m_external_msg_cursor(other.m_external_msg_cursor),
      m_deciding_fn_rule(other.m_deciding_fn_rule),
      m_silent_corrections(other.m_silent_corrections),
      m_scanner_output(other.m_scanner_output),
      m_programs(other.m_programs),
      m_compiled_evaluation(other.m_compiled_evaluation) {}

KOVA_RULES_VALIDATOR& KOVA_RULES_VALIDATOR::operator=(const KOVA_RULES_VALIDATOR& other) {
    if (this != &other) {
        KOVA_RULES_VALIDATOR copy(other);
        swap(copy);
    }
    return *this;
}

KOVA_RULES_VALIDATOR::~KOVA_RULES_VALIDATOR() = default;

// The scanners and the program cache stay: they belong to this validator's evaluations.
void KOVA_RULES_VALIDATOR::swap(KOVA_RULES_VALIDATOR& other) noexcept {
    using std::swap;
    swap_model(other);
    m_parameter_list.swap(other.m_parameter_list);
    m_port_list.swap(other.m_port_list);
    m_cmd_list.swap(other.m_cmd_list);
    m_fn_macro_list.swap(other.m_fn_macro_list);
    m_external_msg_list.swap(other.m_external_msg_list);
    swap(m_external_msg_cursor, other.m_external_msg_cursor);
    swap(m_value_rule, other.m_value_rule);
    swap(m_state_rule, other.m_state_rule);
    swap(m_deciding_fn_rule, other.m_deciding_fn_rule);
    m_silent_corrections.swap(other.m_silent_corrections);
    swap(m_scanner_output, other.m_scanner_output);
    swap(m_programs, other.m_programs);
    swap(m_compiled_evaluation, other.m_compiled_evaluation);
}

void KOVA_RULES_VALIDATOR::initialize_validator() {
    append_sub_infos();
    create_dependency_list();
    read_parameter_and_port_list_from_obj_list();
    set_all_ports_and_parameters_to_unused_state();
    initialize_fn_rules();
    initialize_msgs();
    if (m_compiled_evaluation) compile_model_texts();
}

void KOVA_RULES_VALIDATOR::append_sub_infos() {
    reset_sub_info_map();
    while (KOVA_INFO* sub_model = get_next_sub_info()) add_sub_info_objects_to_validator(sub_model);
}

void KOVA_RULES_VALIDATOR::add_sub_info_objects_to_validator(KOVA_INFO* sub_model) {
    if (!sub_model || sub_model == this) return;
    const std::string sub_condition = sub_model->get_info_condition();

    sub_model->reset_wizard_map();
    while (KOVA_WIZARD_MAP* map = sub_model->get_next_wizard_map()) {
        map->set_condition_rule(merged_condition_rule(map->condition_rule(), sub_condition));
        add_wizard_map(map->get_map_name(), map);
    }

    sub_model->reset_vector_map();
    while (KOVA_VECTOR_OBJ* vector = sub_model->get_next_vector_obj()) {
        vector->set_condition_rule(merged_condition_rule(vector->condition_rule(), sub_condition));
        add_vector_object(vector->get_vector_name(), vector);
    }

    for (KOVA_OBJ_INFO* object : sub_model->get_kova_obj_snapshot()) {
        KOVA_OBJ_INFO* existing = get_kova_obj(object->get_name());
        object->append_rule_list_with_condition(sub_condition);
        if (!existing) {
            update_kova_obj(object);
            continue;
        }
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) existing->add_rule(rule);
    }
}

// The copies are made in the order a validation run visits their objects,
// level by level (each level's objects in the model's order), so that the
// copies a run's pass over one level reads lie together in memory rather
// than a level's width apart; they are filed in the model's order, the
// order the lists keep. Names are unique, so whether a list holds an
// object's name does not change while the copies are made, and a list
// that starts empty (the first initialisation) holds none of them.
void KOVA_RULES_VALIDATOR::read_parameter_and_port_list_from_obj_list() {
    const std::vector<KOVA_OBJ_INFO*> objects = get_kova_obj_snapshot();
    std::vector<std::size_t> run_order(objects.size());
    for (std::size_t index = 0; index < objects.size(); ++index) run_order[index] = index;
    std::stable_sort(run_order.begin(), run_order.end(), [&objects](std::size_t a, std::size_t b) {
        return objects[a]->evaluation_position < objects[b]->evaluation_position;
    });
    std::vector<std::unique_ptr<KOVA_PORT_OBJ>> ports(objects.size());
    std::vector<std::unique_ptr<KOVA_PARAMETER_OBJ>> parameters(objects.size());
    const bool ports_held = m_port_list.size() > 0, parameters_held = m_parameter_list.size() > 0;
    for (const std::size_t index : run_order) {
        const KOVA_OBJ_INFO* object = objects[index];
        const std::string& name = object->get_name();
        if (object->is_port()) {
            if (!ports_held || !m_port_list.find_entry(name)) ports[index] = std::make_unique<KOVA_PORT_OBJ>(object);
        } else if (has_parameter_copy(object->obj_type)) {
            if (!parameters_held || !m_parameter_list.find_entry(name))
                parameters[index] = std::make_unique<KOVA_PARAMETER_OBJ>(object);
        }
    }
    for (std::size_t index = 0; index < objects.size(); ++index) {
        const std::string& name = objects[index]->get_name();
        if (ports[index]) m_port_list.add_entry(name, std::move(ports[index]));
        if (parameters[index]) m_parameter_list.add_entry(name, std::move(parameters[index]));
    }
}

void KOVA_RULES_VALIDATOR::set_parameter_list(KOVA_OBJ_MAP list) {
    m_parameter_list.adopt(entries_of_type<KOVA_PARAMETER_OBJ>(list));
}

void KOVA_RULES_VALIDATOR::set_port_list(KOVA_OBJ_MAP list) { m_port_list.adopt(entries_of_type<KOVA_PORT_OBJ>(list)); }

KOVA_PARAMETER_OBJ* KOVA_RULES_VALIDATOR::get_parameter_object(const std::string& name) const {
    return m_parameter_list.find_entry(name);
}

KOVA_PORT_OBJ* KOVA_RULES_VALIDATOR::get_port_object(const std::string& name) const {
    return m_port_list.find_entry(name);
}

bool KOVA_RULES_VALIDATOR::check_parameter_is_used(const std::string& name) const {
    const KOVA_PARAMETER_OBJ* parameter = get_parameter_object(name);
    return parameter && parameter->is_parameter_used();
}

bool KOVA_RULES_VALIDATOR::check_port_is_used(const std::string& name) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port && port->is_port_used();
}
