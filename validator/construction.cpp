// Construction, copying and destruction of the validator, the
// initialisation sequence, the merging of sub-models and the port and
// parameter lists.
//
// Ownership invariant: every object in m_parameter_list, m_port_list,
// m_fn_macro_list and m_external_msg_list is owned by this validator alone
// and appears in its container exactly once; the destructor deletes each
// of them once.
#include "validator/kova_rules_validator.h"

#include <memory>

#include "expr/scanner_pool.h"

namespace {

// Whether objects of this type get a parameter copy in m_parameter_list:
// integer and string parameters; the third parameter kind has none.
bool has_parameter_copy(int type) {
    return type == KOVA_OBJ_INTEGER_PARAMETER || type == KOVA_OBJ_STRING_PARAMETER;
}

template <typename T>
void delete_map_entries(KOVA_OBJ_MAP& map) {
    for (const auto& entry : map.entries()) delete static_cast<T*>(entry.second);
    map.clear();
}

template <typename T>
void copy_map_entries(const KOVA_OBJ_MAP& source, KOVA_OBJ_MAP& target) {
    for (const auto& entry : source.entries())
        target.add_entry(entry.first, new T(*static_cast<const T*>(entry.second)));
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
      m_cmd_list(other.m_cmd_list),
      m_deciding_fn_rule(other.m_deciding_fn_rule),
      m_scanner_output(other.m_scanner_output) {
    copy_owned_objects_from(other);
}

KOVA_RULES_VALIDATOR& KOVA_RULES_VALIDATOR::operator=(const KOVA_RULES_VALIDATOR& other) {
    if (this == &other) return *this;
    KOVA_INFO::operator=(other);
    m_cmd_list = other.m_cmd_list;
    m_deciding_fn_rule = other.m_deciding_fn_rule;
    m_scanner_output = other.m_scanner_output;
    delete_owned_objects();
    copy_owned_objects_from(other);
    return *this;
}

KOVA_RULES_VALIDATOR::~KOVA_RULES_VALIDATOR() { delete_owned_objects(); }

void KOVA_RULES_VALIDATOR::copy_owned_objects_from(const KOVA_RULES_VALIDATOR& other) {
    copy_map_entries<KOVA_PARAMETER_OBJ>(other.m_parameter_list, m_parameter_list);
    copy_map_entries<KOVA_PORT_OBJ>(other.m_port_list, m_port_list);
    copy_map_entries<KOVA_FN_MACRO>(other.m_fn_macro_list, m_fn_macro_list);
    for (KOVA_OBJ* message : other.m_external_msg_list.entries())
        m_external_msg_list.append_entry(new KOVA_RULE_ELEMENT(*static_cast<KOVA_RULE_ELEMENT*>(message)));
}

void KOVA_RULES_VALIDATOR::delete_owned_objects() {
    delete_map_entries<KOVA_PORT_OBJ>(m_port_list);
    delete_map_entries<KOVA_PARAMETER_OBJ>(m_parameter_list);
    for (KOVA_OBJ* message : m_external_msg_list.entries()) delete message;
    m_external_msg_list.clear();
    delete_map_entries<KOVA_FN_MACRO>(m_fn_macro_list);
}

void KOVA_RULES_VALIDATOR::initialize_validator() {
    append_sub_infos();
    create_dependency_list();
    read_parameter_and_port_list_from_obj_list();
    set_all_ports_and_parameters_to_unused_state();
    initialize_fn_rules();
    initialize_msgs();
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

void KOVA_RULES_VALIDATOR::read_parameter_and_port_list_from_obj_list() {
    for (KOVA_OBJ_INFO* object : get_kova_obj_snapshot()) {
        const std::string& name = object->get_name();
        if (object->is_port()) {
            if (!m_port_list.find_entry(name)) m_port_list.add_entry(name, new KOVA_PORT_OBJ(object));
        } else if (has_parameter_copy(object->obj_type)) {
            if (!m_parameter_list.find_entry(name)) m_parameter_list.add_entry(name, new KOVA_PARAMETER_OBJ(object));
        }
    }
}

// Takes the objects of source into target. An object that target already
// holds is not added a second time, and an object displaced from a key is
// released, so each object stays owned exactly once.
void KOVA_RULES_VALIDATOR::sync_up_obj_lists(KOVA_OBJ_MAP source, KOVA_OBJ_MAP& target) {
    for (const auto& entry : source.entries()) {
        if (!entry.second || target.holds_pointer(entry.second)) continue;
        delete target.add_entry(entry.first, entry.second);
    }
}

void KOVA_RULES_VALIDATOR::set_parameter_list(KOVA_OBJ_MAP list) {
    KOVA_OBJ_MAP parameters;
    for (const auto& entry : list.entries())
        if (dynamic_cast<KOVA_PARAMETER_OBJ*>(entry.second)) parameters.add_entry(entry.first, entry.second);
    sync_up_obj_lists(parameters, m_parameter_list);
}

void KOVA_RULES_VALIDATOR::set_port_list(KOVA_OBJ_MAP list) {
    KOVA_OBJ_MAP ports;
    for (const auto& entry : list.entries())
        if (dynamic_cast<KOVA_PORT_OBJ*>(entry.second)) ports.add_entry(entry.first, entry.second);
    sync_up_obj_lists(ports, m_port_list);
}

KOVA_PARAMETER_OBJ* KOVA_RULES_VALIDATOR::get_parameter_object(const std::string& name) const {
    return static_cast<KOVA_PARAMETER_OBJ*>(m_parameter_list.find_entry(name));
}

KOVA_PORT_OBJ* KOVA_RULES_VALIDATOR::get_port_object(const std::string& name) const {
    return static_cast<KOVA_PORT_OBJ*>(m_port_list.find_entry(name));
}

KOVA_PARAMETER_OBJ* KOVA_RULES_VALIDATOR::parameter_copy_of(const KOVA_OBJ_INFO& object) {
    return static_cast<KOVA_PARAMETER_OBJ*>(m_parameter_list.find_remembered(object.get_name(), object.name_memo()));
}

KOVA_PORT_OBJ* KOVA_RULES_VALIDATOR::port_copy_of(const KOVA_OBJ_INFO& object) {
    return static_cast<KOVA_PORT_OBJ*>(m_port_list.find_remembered(object.get_name(), object.name_memo()));
}

bool KOVA_RULES_VALIDATOR::check_parameter_is_used(const std::string& name) const {
    const KOVA_PARAMETER_OBJ* parameter = get_parameter_object(name);
    return parameter && parameter->is_parameter_used();
}

bool KOVA_RULES_VALIDATOR::check_port_is_used(const std::string& name) const {
    const KOVA_PORT_OBJ* port = get_port_object(name);
    return port && port->is_port_used();
}
