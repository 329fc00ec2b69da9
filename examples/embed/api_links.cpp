// Every function that the installed headers declare and a host may call:
// the free functions are called, and the address of every public and
// protected member function is taken (kept where the optimiser cannot drop
// it), so that a declaration that neither library exports fails the link
// of this program. scripts/check-install builds it against the installed
// package. A function added to an installed header belongs here too.
#include "api_links.h"

#include <string>

#include "expr/kova_tokens.h"
#include "expr/syntax_tree.h"
#include "stimulus/force_command.h"
#include "host/kova_atoi.h"
#include "host/kova_info.h"
#include "host/kova_owned_map.h"
#include "host/nuvo_int.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"
#include "validator/kova_string_map.h"

namespace {

// Stores a function's address in a volatile object, so the reference stays.
template <typename POINTER>
void keep(POINTER pointer) {
    [[maybe_unused]] static POINTER volatile kept;
    kept = pointer;
}

// Protected members, reached as a host's derived class reaches them.
struct KOVA_INFO_HOST : KOVA_INFO {
    static void keep_protected() {
        keep(static_cast<void (KOVA_INFO_HOST::*)(KOVA_INFO&) noexcept>(&KOVA_INFO_HOST::swap_model));
    }
};

struct VALIDATOR_HOST : KOVA_RULES_VALIDATOR {
    static void keep_protected() {
        keep(static_cast<bool (VALIDATOR_HOST::*)(const std::string&) const>(&VALIDATOR_HOST::is_reserved_keyword));
        keep(static_cast<void (VALIDATOR_HOST::*)()>(&VALIDATOR_HOST::append_sub_infos));
        keep(static_cast<void (VALIDATOR_HOST::*)(KOVA_INFO*)>(&VALIDATOR_HOST::add_sub_info_objects_to_validator));
        keep(static_cast<void (VALIDATOR_HOST::*)()>(&VALIDATOR_HOST::read_parameter_and_port_list_from_obj_list));
        keep(static_cast<std::string (VALIDATOR_HOST::*)(const std::string&)>(&VALIDATOR_HOST::get_stimulus_value));
        keep(static_cast<void (VALIDATOR_HOST::*)(KOVA_OBJ_INFO*, KOVA_PARAMETER_OBJ*, KOVA_PORT_OBJ*,
                                                  const std::string&)>(&VALIDATOR_HOST::set_value_on_object));
        keep(static_cast<void (VALIDATOR_HOST::*)()>(&VALIDATOR_HOST::create_dependency_list));
        keep(static_cast<int (VALIDATOR_HOST::*)(KOVA_OBJ_INFO*, KOVA_NAME_MAP&)>(
            &VALIDATOR_HOST::get_element_position));
        keep(static_cast<int (VALIDATOR_HOST::*)(const std::string&, KOVA_NAME_MAP&, const std::string&)>(
            &VALIDATOR_HOST::process_string_for_position_count));
        keep(static_cast<void (VALIDATOR_HOST::*)(KOVA_MACRO_DEPENDENCY_MAP&, KOVA_ORDERED_NAME_MAP&,
                                                  const std::string&)>(
            &VALIDATOR_HOST::update_macro_dependency_map_from_string));
        keep(static_cast<bool (VALIDATOR_HOST::*)(KOVA_OBJ_INFO*, KOVA_PARAMETER_OBJ*, KOVA_PORT_OBJ*)>(
            &VALIDATOR_HOST::check_value_consistency_on_object));
        keep(static_cast<bool (VALIDATOR_HOST::*)(KOVA_PORT_OBJ*, const NUVO_UINTEGER&)>(
            &VALIDATOR_HOST::set_min_port_value));
        keep(static_cast<bool (VALIDATOR_HOST::*)(KOVA_PORT_OBJ*, const NUVO_UINTEGER&)>(
            &VALIDATOR_HOST::set_max_port_value));
        keep(static_cast<bool (VALIDATOR_HOST::*)(KOVA_PORT_OBJ*, const KOVA_RULE_ELEMENT&)>(
            &VALIDATOR_HOST::apply_port_value_rule));
        keep(static_cast<bool (VALIDATOR_HOST::*)(KOVA_PORT_OBJ*, const NUVO_UINTEGER&)>(
            &VALIDATOR_HOST::narrow_port_to_value));
    }
};

void keep_public_members() {
    // KOVA_OBJ
    keep(static_cast<KOVA_OBJ& (KOVA_OBJ::*)(const KOVA_OBJ&)>(&KOVA_OBJ::operator=));
    // HASH_C_STRING
    keep(static_cast<std::size_t (HASH_C_STRING::*)(const std::string&) const>(&HASH_C_STRING::operator()));
    // EQUAL_C_STRING
    keep(static_cast<bool (EQUAL_C_STRING::*)(const std::string&, const std::string&) const>(
        &EQUAL_C_STRING::operator()));
    // LESS_C_STRING
    keep(static_cast<bool (LESS_C_STRING::*)(const char*, const char*) const>(&LESS_C_STRING::operator()));
    keep(
        static_cast<bool (LESS_C_STRING::*)(const std::string&, const std::string&) const>(&LESS_C_STRING::operator()));
    // KOVA_NAME_MAP
    keep(static_cast<KOVA_NAME_MAP& (KOVA_NAME_MAP::*)(const KOVA_NAME_MAP&)>(&KOVA_NAME_MAP::operator=));
    keep(static_cast<KOVA_NAME_MAP& (KOVA_NAME_MAP::*)(KOVA_NAME_MAP &&) noexcept>(&KOVA_NAME_MAP::operator=));
    keep(static_cast<void (KOVA_NAME_MAP::*)(KOVA_NAME_MAP&) noexcept>(&KOVA_NAME_MAP::swap));
    keep(static_cast<bool (KOVA_NAME_MAP::*)(const std::string&) const>(&KOVA_NAME_MAP::contains));
    keep(static_cast<const std::string* (KOVA_NAME_MAP::*)(const std::string&) const>(&KOVA_NAME_MAP::find));
    keep(static_cast<bool (KOVA_NAME_MAP::*)(const std::string&, const std::string&)>(&KOVA_NAME_MAP::insert));
    keep(static_cast<void (KOVA_NAME_MAP::*)(const std::string&, const std::string&)>(&KOVA_NAME_MAP::set));
    keep(static_cast<bool (KOVA_NAME_MAP::*)(const std::string&)>(&KOVA_NAME_MAP::erase));
    keep(static_cast<void (KOVA_NAME_MAP::*)()>(&KOVA_NAME_MAP::clear));
    keep(static_cast<std::size_t (KOVA_NAME_MAP::*)() const>(&KOVA_NAME_MAP::size));
    keep(static_cast<bool (KOVA_NAME_MAP::*)() const>(&KOVA_NAME_MAP::empty));
    keep(static_cast<KOVA_NAME_MAP::const_iterator (KOVA_NAME_MAP::*)() const>(&KOVA_NAME_MAP::begin));
    keep(static_cast<KOVA_NAME_MAP::const_iterator (KOVA_NAME_MAP::*)() const>(&KOVA_NAME_MAP::end));
    keep(static_cast<void (KOVA_NAME_MAP::*)(std::size_t)>(&KOVA_NAME_MAP::truncate));
    // KOVA_MAP_MEMO
    keep(static_cast<KOVA_MAP_MEMO& (KOVA_MAP_MEMO::*)(const KOVA_MAP_MEMO&)>(&KOVA_MAP_MEMO::operator=));
    keep(static_cast<void (KOVA_MAP_MEMO::*)()>(&KOVA_MAP_MEMO::clear));
    // KOVA_OBJ_MAP
    keep(static_cast<KOVA_OBJ_MAP& (KOVA_OBJ_MAP::*)(const KOVA_OBJ_MAP&)>(&KOVA_OBJ_MAP::operator=));
    keep(static_cast<void (KOVA_OBJ_MAP::*)(KOVA_OBJ_MAP&) noexcept>(&KOVA_OBJ_MAP::swap));
    keep(static_cast<KOVA_OBJ* (KOVA_OBJ_MAP::*)(const std::string&, KOVA_OBJ*)>(&KOVA_OBJ_MAP::add_entry));
    keep(static_cast<KOVA_OBJ* (KOVA_OBJ_MAP::*)(const std::string&) const>(&KOVA_OBJ_MAP::find_entry));
    keep(static_cast<KOVA_OBJ* (KOVA_OBJ_MAP::*)(const std::string&, KOVA_MAP_MEMO&) const>(
        &KOVA_OBJ_MAP::find_remembered));
    keep(static_cast<void (KOVA_OBJ_MAP::*)()>(&KOVA_OBJ_MAP::reset_iterator));
    keep(static_cast<KOVA_OBJ* (KOVA_OBJ_MAP::*)(std::string&)>(&KOVA_OBJ_MAP::get_next_entry));
    keep(static_cast<std::size_t (KOVA_OBJ_MAP::*)() const>(&KOVA_OBJ_MAP::size));
    keep(static_cast<bool (KOVA_OBJ_MAP::*)() const>(&KOVA_OBJ_MAP::empty));
    keep(static_cast<const std::vector<std::pair<std::string, KOVA_OBJ*>>& (KOVA_OBJ_MAP::*)() const>(
        &KOVA_OBJ_MAP::entries));
    keep(static_cast<bool (KOVA_OBJ_MAP::*)(const KOVA_OBJ*) const>(&KOVA_OBJ_MAP::holds_pointer));
    keep(static_cast<void (KOVA_OBJ_MAP::*)() noexcept>(&KOVA_OBJ_MAP::clear));
    // KOVA_OBJ_LIST
    keep(static_cast<KOVA_OBJ_LIST& (KOVA_OBJ_LIST::*)(const KOVA_OBJ_LIST&)>(&KOVA_OBJ_LIST::operator=));
    keep(static_cast<void (KOVA_OBJ_LIST::*)(KOVA_OBJ_LIST&) noexcept>(&KOVA_OBJ_LIST::swap));
    keep(static_cast<void (KOVA_OBJ_LIST::*)(KOVA_OBJ*)>(&KOVA_OBJ_LIST::append_entry));
    keep(static_cast<void (KOVA_OBJ_LIST::*)()>(&KOVA_OBJ_LIST::reset_list_iterator));
    keep(static_cast<KOVA_OBJ* (KOVA_OBJ_LIST::*)()>(&KOVA_OBJ_LIST::get_next_list_entry));
    keep(static_cast<std::size_t (KOVA_OBJ_LIST::*)() const>(&KOVA_OBJ_LIST::size));
    keep(static_cast<const std::vector<KOVA_OBJ*>& (KOVA_OBJ_LIST::*)() const>(&KOVA_OBJ_LIST::entries));
    keep(static_cast<void (KOVA_OBJ_LIST::*)() noexcept>(&KOVA_OBJ_LIST::clear));
    // KOVA_NAME_INDEX
    keep(static_cast<void (KOVA_NAME_INDEX::*)(const std::string&)>(&KOVA_NAME_INDEX::append));
    keep(static_cast<void (KOVA_NAME_INDEX::*)(std::size_t)>(&KOVA_NAME_INDEX::truncate));
    keep(static_cast<void (KOVA_NAME_INDEX::*)(std::size_t)>(&KOVA_NAME_INDEX::erase));
    keep(static_cast<void (KOVA_NAME_INDEX::*)()>(&KOVA_NAME_INDEX::clear));
    keep(static_cast<void (KOVA_NAME_INDEX::*)(std::size_t)>(&KOVA_NAME_INDEX::reserve));
    keep(static_cast<std::size_t (KOVA_NAME_INDEX::*)() const>(&KOVA_NAME_INDEX::size));
    // KOVA_RULE_ELEMENT
    keep(static_cast<const std::string& (KOVA_RULE_ELEMENT::*)() const>(&KOVA_RULE_ELEMENT::get_condition));
    keep(static_cast<const std::string& (KOVA_RULE_ELEMENT::*)() const>(&KOVA_RULE_ELEMENT::get_value));
    keep(static_cast<const std::string& (KOVA_RULE_ELEMENT::*)() const>(&KOVA_RULE_ELEMENT::get_alt_value));
    keep(static_cast<void (KOVA_RULE_ELEMENT::*)(const std::string&)>(&KOVA_RULE_ELEMENT::set_condition));
    keep(static_cast<bool (KOVA_RULE_ELEMENT::*)() const>(&KOVA_RULE_ELEMENT::is_port_value_rule));
    // KOVA_RULE_VIEW
    keep(static_cast<std::size_t (KOVA_RULE_VIEW::*)() const>(&KOVA_RULE_VIEW::size));
    keep(static_cast<bool (KOVA_RULE_VIEW::*)() const>(&KOVA_RULE_VIEW::empty));
    keep(static_cast<const KOVA_RULE_ELEMENT* (KOVA_RULE_VIEW::*)(std::size_t) const>(&KOVA_RULE_VIEW::operator[]));
    keep(static_cast<const KOVA_RULE_ELEMENT* (KOVA_RULE_VIEW::*)(std::size_t) const>(&KOVA_RULE_VIEW::at));
    keep(static_cast<KOVA_RULE_VIEW::iterator (KOVA_RULE_VIEW::*)() const>(&KOVA_RULE_VIEW::begin));
    keep(static_cast<KOVA_RULE_VIEW::iterator (KOVA_RULE_VIEW::*)() const>(&KOVA_RULE_VIEW::end));
    // KOVA_OBJ_INFO
    keep(static_cast<KOVA_OBJ_INFO& (KOVA_OBJ_INFO::*)(const KOVA_OBJ_INFO&)>(&KOVA_OBJ_INFO::operator=));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_name));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_value));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_default_value));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_current_value));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_port_width));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_port_width2d));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_arguments));
    keep(static_cast<const std::string& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_initial_vec_state));
    keep(static_cast<bool (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::is_port));
    keep(static_cast<bool (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::is_parameter));
    keep(static_cast<int (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_effective_usage_state));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_name));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_value));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_default_value));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_current_value));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_port_width));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_port_width2d));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_arguments));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::set_initial_vec_state));
    keep(static_cast<void (KOVA_OBJ_INFO::*)()>(&KOVA_OBJ_INFO::reset_rule_list));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_OBJ_INFO::*)()>(&KOVA_OBJ_INFO::get_next_rule_element));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const KOVA_RULE_ELEMENT*)>(&KOVA_OBJ_INFO::add_rule));
    keep(static_cast<void (KOVA_OBJ_INFO::*)(const std::string&)>(&KOVA_OBJ_INFO::append_rule_list_with_condition));
    keep(static_cast<std::vector<KOVA_RULE_ELEMENT*> (KOVA_OBJ_INFO::*)()>(&KOVA_OBJ_INFO::rule_snapshot));
    keep(static_cast<KOVA_RULE_VIEW (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::rule_view));
    keep(static_cast<std::size_t (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::get_rule_count));
    keep(static_cast<KOVA_MAP_MEMO& (KOVA_OBJ_INFO::*)() const>(&KOVA_OBJ_INFO::name_memo));
    // KOVA_OBJ_COLLECTION
    keep(static_cast<KOVA_OBJ_COLLECTION& (KOVA_OBJ_COLLECTION::*)(const KOVA_OBJ_COLLECTION&)>(
        &KOVA_OBJ_COLLECTION::operator=));
    keep(static_cast<void (KOVA_OBJ_COLLECTION::*)(KOVA_OBJ_COLLECTION&) noexcept>(&KOVA_OBJ_COLLECTION::swap));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_OBJ_COLLECTION::*)(const std::string&) const>(&KOVA_OBJ_COLLECTION::find));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_OBJ_COLLECTION::*)(const std::string&, int)>(&KOVA_OBJ_COLLECTION::append));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_OBJ_COLLECTION::*)(const KOVA_OBJ_INFO&)>(&KOVA_OBJ_COLLECTION::update));
    keep(static_cast<void (KOVA_OBJ_COLLECTION::*)()>(&KOVA_OBJ_COLLECTION::reset));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_OBJ_COLLECTION::*)()>(&KOVA_OBJ_COLLECTION::next));
    keep(static_cast<std::size_t (KOVA_OBJ_COLLECTION::*)() const>(&KOVA_OBJ_COLLECTION::size));
    keep(static_cast<std::vector<KOVA_OBJ_INFO*> (KOVA_OBJ_COLLECTION::*)() const>(&KOVA_OBJ_COLLECTION::snapshot));
    // KOVA_DATA_COLLECTION_MAP
    keep(static_cast<KOVA_DATA_COLLECTION_MAP& (KOVA_DATA_COLLECTION_MAP::*)(const KOVA_DATA_COLLECTION_MAP&)>(
        &KOVA_DATA_COLLECTION_MAP::operator=));
    keep(static_cast<void (KOVA_DATA_COLLECTION_MAP::*)(KOVA_DATA_COLLECTION_MAP&) noexcept>(
        &KOVA_DATA_COLLECTION_MAP::swap));
    keep(
        static_cast<const std::string& (KOVA_DATA_COLLECTION_MAP::*)() const>(&KOVA_DATA_COLLECTION_MAP::get_map_name));
    keep(static_cast<void (KOVA_DATA_COLLECTION_MAP::*)()>(&KOVA_DATA_COLLECTION_MAP::reset_kova_obj_map));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_DATA_COLLECTION_MAP::*)()>(&KOVA_DATA_COLLECTION_MAP::get_next_kova_obj));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_DATA_COLLECTION_MAP::*)(const std::string&) const>(
        &KOVA_DATA_COLLECTION_MAP::get_kova_obj));
    keep(static_cast<std::size_t (KOVA_DATA_COLLECTION_MAP::*)() const>(&KOVA_DATA_COLLECTION_MAP::get_kova_obj_count));
    keep(static_cast<std::vector<KOVA_OBJ_INFO*> (KOVA_DATA_COLLECTION_MAP::*)() const>(
        &KOVA_DATA_COLLECTION_MAP::get_kova_obj_snapshot));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_DATA_COLLECTION_MAP::*)(const std::string&, int)>(
        &KOVA_DATA_COLLECTION_MAP::add_kova_object));
    // KOVA_WIZARD_MAP
    keep(static_cast<KOVA_WIZARD_MAP& (KOVA_WIZARD_MAP::*)(const KOVA_WIZARD_MAP&)>(&KOVA_WIZARD_MAP::operator=));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_WIZARD_MAP::*)() const>(&KOVA_WIZARD_MAP::condition_rule));
    keep(static_cast<void (KOVA_WIZARD_MAP::*)(std::unique_ptr<KOVA_RULE_ELEMENT>)>(
        &KOVA_WIZARD_MAP::set_condition_rule));
    // KOVA_VECTOR_OBJ
    keep(static_cast<KOVA_VECTOR_OBJ& (KOVA_VECTOR_OBJ::*)(const KOVA_VECTOR_OBJ&)>(&KOVA_VECTOR_OBJ::operator=));
    keep(static_cast<const std::string& (KOVA_VECTOR_OBJ::*)() const>(&KOVA_VECTOR_OBJ::get_vector_name));
    keep(static_cast<void (KOVA_VECTOR_OBJ::*)()>(&KOVA_VECTOR_OBJ::reset_vector_stimulus));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_VECTOR_OBJ::*)()>(&KOVA_VECTOR_OBJ::get_next_vector_stimulus));
    keep(static_cast<void (KOVA_VECTOR_OBJ::*)(const KOVA_RULE_ELEMENT&)>(&KOVA_VECTOR_OBJ::add_vector_stimulus));
    keep(static_cast<std::size_t (KOVA_VECTOR_OBJ::*)() const>(&KOVA_VECTOR_OBJ::get_stimulus_count));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_VECTOR_OBJ::*)() const>(&KOVA_VECTOR_OBJ::condition_rule));
    keep(static_cast<void (KOVA_VECTOR_OBJ::*)(std::unique_ptr<KOVA_RULE_ELEMENT>)>(
        &KOVA_VECTOR_OBJ::set_condition_rule));
    // KOVA_INFO
    keep(static_cast<KOVA_INFO& (KOVA_INFO::*)(const KOVA_INFO&)>(&KOVA_INFO::operator=));
    keep(static_cast<bool (KOVA_INFO::*)(const std::string&)>(&KOVA_INFO::set_xml_lib_dir));
    keep(static_cast<const std::string& (KOVA_INFO::*)() const>(&KOVA_INFO::get_xml_lib_dir));
    keep(static_cast<bool (KOVA_INFO::*)(const std::string&, const std::string&)>(&KOVA_INFO::set_function_name));
    keep(static_cast<const std::string& (KOVA_INFO::*)() const>(&KOVA_INFO::get_function_name));
    keep(static_cast<const std::string& (KOVA_INFO::*)() const>(&KOVA_INFO::get_info_condition));
    keep(static_cast<void (KOVA_INFO::*)(const std::string&)>(&KOVA_INFO::set_info_condition));
    keep(static_cast<const std::string& (KOVA_INFO::*)() const>(&KOVA_INFO::get_vhdl_library));
    keep(static_cast<void (KOVA_INFO::*)(const std::string&)>(&KOVA_INFO::set_vhdl_library));
    keep(static_cast<const std::string& (KOVA_INFO::*)() const>(&KOVA_INFO::get_source_file));
    keep(static_cast<bool (KOVA_INFO::*)(const std::string&, const KOVA_INFO*)>(&KOVA_INFO::process_xml_file));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_kova_obj_map));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_kova_obj));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_INFO::*)(const std::string&) const>(&KOVA_INFO::get_kova_obj));
    keep(static_cast<int (KOVA_INFO::*)() const>(&KOVA_INFO::get_kova_obj_count));
    keep(static_cast<std::vector<KOVA_OBJ_INFO*> (KOVA_INFO::*)() const>(&KOVA_INFO::get_kova_obj_snapshot));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_INFO::*)(const std::string&, int)>(&KOVA_INFO::add_kova_obj));
    keep(static_cast<KOVA_OBJ_INFO* (KOVA_INFO::*)(const KOVA_OBJ_INFO*)>(&KOVA_INFO::update_kova_obj));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_sub_info_map));
    keep(static_cast<KOVA_INFO* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_sub_info));
    keep(static_cast<KOVA_INFO* (KOVA_INFO::*)(std::unique_ptr<KOVA_INFO>)>(&KOVA_INFO::add_sub_info));
    keep(static_cast<std::size_t (KOVA_INFO::*)() const>(&KOVA_INFO::get_sub_info_count));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_wizard_map));
    keep(static_cast<KOVA_WIZARD_MAP* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_wizard_map));
    keep(static_cast<KOVA_WIZARD_MAP* (KOVA_INFO::*)(const std::string&) const>(&KOVA_INFO::get_wizard_map));
    keep(static_cast<KOVA_WIZARD_MAP* (KOVA_INFO::*)(const std::string&, const KOVA_WIZARD_MAP*)>(
        &KOVA_INFO::add_wizard_map));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_vector_map));
    keep(static_cast<KOVA_VECTOR_OBJ* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_vector_obj));
    keep(static_cast<KOVA_VECTOR_OBJ* (KOVA_INFO::*)(const std::string&) const>(&KOVA_INFO::get_vector_object));
    keep(static_cast<KOVA_VECTOR_OBJ* (KOVA_INFO::*)(const std::string&, const KOVA_VECTOR_OBJ*)>(
        &KOVA_INFO::add_vector_object));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_fn_rule_list));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_fn_rule_element));
    keep(static_cast<void (KOVA_INFO::*)(const KOVA_RULE_ELEMENT&)>(&KOVA_INFO::add_fn_rule));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::reset_msg_list));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_INFO::*)()>(&KOVA_INFO::get_next_msg));
    keep(static_cast<void (KOVA_INFO::*)(const KOVA_RULE_ELEMENT&)>(&KOVA_INFO::add_msg));
    keep(static_cast<std::vector<KOVA_RULE_ELEMENT*> (KOVA_INFO::*)() const>(&KOVA_INFO::get_fn_rule_snapshot));
    keep(static_cast<std::vector<KOVA_RULE_ELEMENT*> (KOVA_INFO::*)() const>(&KOVA_INFO::get_msg_snapshot));
    keep(static_cast<void (KOVA_INFO::*)(const std::string&)>(&KOVA_INFO::post_error_message));
    keep(static_cast<void (KOVA_INFO::*)(const std::string&, KOVA_SEVERITY, KOVA_DIAGNOSTIC_KIND)>(
        &KOVA_INFO::post_error_message));
    keep(static_cast<void (KOVA_INFO::*)(const std::string&, const KOVA_SOURCE_LOCATION&, std::size_t)>(
        &KOVA_INFO::post_located_error));
    keep(static_cast<void (KOVA_INFO::*)()>(&KOVA_INFO::clear_error_messages));
    keep(static_cast<const std::vector<std::string>& (KOVA_INFO::*)() const>(&KOVA_INFO::get_error_messages));
    keep(static_cast<const std::vector<KOVA_DIAGNOSTIC>& (KOVA_INFO::*)() const>(&KOVA_INFO::get_diagnostics));
    keep(static_cast<void (KOVA_INFO::*)(KOVA_DIAGNOSTIC)>(&KOVA_INFO::file_diagnostic));
    keep(static_cast<const KOVA_MESSAGE_ORIGIN& (KOVA_INFO::*)() const>(&KOVA_INFO::get_message_origin));
    keep(static_cast<void (KOVA_INFO::*)(const KOVA_MESSAGE_ORIGIN&)>(&KOVA_INFO::set_message_origin));
    keep(static_cast<const KOVA_SOURCE_TABLE* (KOVA_INFO::*)() const>(&KOVA_INFO::get_source_table));
    keep(static_cast<void (KOVA_INFO::*)(std::shared_ptr<const KOVA_SOURCE_TABLE>)>(&KOVA_INFO::set_source_table));
    keep(static_cast<KOVA_SOURCE_LOCATION (KOVA_INFO::*)(uint32_t, KOVA_SOURCE_FIELD, bool) const>(&KOVA_INFO::locate));
    keep(static_cast<const std::string& (KOVA_INFO::*)(uint32_t, KOVA_SOURCE_FIELD) const>(&KOVA_INFO::written_text));
    // NUVO_UINTEGER
    keep(static_cast<NUVO_UINTEGER& (NUVO_UINTEGER::*)(const NUVO_UINTEGER&)>(&NUVO_UINTEGER::operator=));
    keep(static_cast<NUVO_UINTEGER& (NUVO_UINTEGER::*)(uint32_t)>(&NUVO_UINTEGER::operator=));
    keep(static_cast<void (NUVO_UINTEGER::*)(const NUVO_UINTEGER&) noexcept>(&NUVO_UINTEGER::assign_keeping_width));
    keep(static_cast<int (NUVO_UINTEGER::*)() const>(&NUVO_UINTEGER::width));
    keep(static_cast<bool (NUVO_UINTEGER::*)() const>(&NUVO_UINTEGER::is_x));
    keep(static_cast<void (NUVO_UINTEGER::*)()>(&NUVO_UINTEGER::force_x));
    keep(static_cast<bool (NUVO_UINTEGER::*)(const std::string&)>(&NUVO_UINTEGER::set_value_from_bin_string));
    keep(static_cast<const char* (NUVO_UINTEGER::*)() const>(&NUVO_UINTEGER::as_bin_string));
    keep(static_cast<uint32_t (NUVO_UINTEGER::*)() const>(&NUVO_UINTEGER::uint));
    keep(static_cast<bool (NUVO_UINTEGER::*)(const NUVO_UINTEGER&) const>(&NUVO_UINTEGER::operator>));
    keep(static_cast<bool (NUVO_UINTEGER::*)(const NUVO_UINTEGER&) const>(&NUVO_UINTEGER::operator<));
    keep(static_cast<bool (NUVO_UINTEGER::*)(const NUVO_UINTEGER&) const>(&NUVO_UINTEGER::operator==));
    // QEL_TOKEN_READER
    keep(static_cast<bool (QEL_TOKEN_READER::*)() const>(&QEL_TOKEN_READER::empty));
    keep(static_cast<std::string (QEL_TOKEN_READER::*)()>(&QEL_TOKEN_READER::next));
    keep(static_cast<std::string (QEL_TOKEN_READER::*)(std::string&)>(&QEL_TOKEN_READER::next));
    keep(static_cast<std::string (QEL_TOKEN_READER::*)() const>(&QEL_TOKEN_READER::rest));
    // KOVA_SOURCE_TABLE
    keep(static_cast<uint32_t (KOVA_SOURCE_TABLE::*)(const std::string&)>(&KOVA_SOURCE_TABLE::add_record));
    keep(static_cast<void (KOVA_SOURCE_TABLE::*)(uint32_t, KOVA_SOURCE_FIELD, uint32_t, uint32_t)>(
        &KOVA_SOURCE_TABLE::set));
    keep(static_cast<KOVA_SOURCE_LOCATION (KOVA_SOURCE_TABLE::*)(uint32_t, KOVA_SOURCE_FIELD, bool) const>(
        &KOVA_SOURCE_TABLE::locate));
    keep(static_cast<const std::string& (KOVA_SOURCE_TABLE::*)(uint32_t) const>(&KOVA_SOURCE_TABLE::file_of));
    keep(static_cast<void (KOVA_SOURCE_TABLE::*)(uint32_t, KOVA_SOURCE_FIELD, const std::string&)>(
        &KOVA_SOURCE_TABLE::set_text));
    keep(static_cast<const std::string& (KOVA_SOURCE_TABLE::*)(uint32_t, KOVA_SOURCE_FIELD) const>(
        &KOVA_SOURCE_TABLE::text));
    keep(static_cast<void (KOVA_SOURCE_TABLE::*)(uint32_t, const std::string&)>(&KOVA_SOURCE_TABLE::set_lint_ignore));
    keep(static_cast<const std::string& (KOVA_SOURCE_TABLE::*)(uint32_t) const>(&KOVA_SOURCE_TABLE::lint_ignore));
    // KOVA_SYNTAX_READER
    keep(static_cast<const KOVA_SYNTAX_TREE& (KOVA_SYNTAX_READER::*)(const std::string&)>(&KOVA_SYNTAX_READER::read));
    keep(static_cast<std::size_t (KOVA_SOURCE_TABLE::*)() const>(&KOVA_SOURCE_TABLE::size));
    // KOVA_PARAMETER_OBJ
    keep(static_cast<KOVA_PARAMETER_OBJ& (KOVA_PARAMETER_OBJ::*)(const KOVA_PARAMETER_OBJ&)>(
        &KOVA_PARAMETER_OBJ::operator=));
    keep(static_cast<int (KOVA_PARAMETER_OBJ::*)() const>(&KOVA_PARAMETER_OBJ::get_current_usage_state));
    keep(static_cast<void (KOVA_PARAMETER_OBJ::*)(int)>(&KOVA_PARAMETER_OBJ::set_current_usage_state));
    keep(static_cast<int (KOVA_PARAMETER_OBJ::*)() const>(&KOVA_PARAMETER_OBJ::get_alt_usage_state));
    keep(static_cast<void (KOVA_PARAMETER_OBJ::*)(int)>(&KOVA_PARAMETER_OBJ::set_alt_usage_state));
    keep(static_cast<bool (KOVA_PARAMETER_OBJ::*)() const>(&KOVA_PARAMETER_OBJ::is_parameter_used));
    keep(static_cast<const std::string& (KOVA_PARAMETER_OBJ::*)() const>(&KOVA_PARAMETER_OBJ::get_alt_value));
    keep(static_cast<void (KOVA_PARAMETER_OBJ::*)(const std::string&)>(&KOVA_PARAMETER_OBJ::set_alt_value));
    keep(static_cast<std::string (KOVA_PARAMETER_OBJ::*)() const>(&KOVA_PARAMETER_OBJ::get_actual_default_value));
    // KOVA_PORT_OBJ
    keep(static_cast<KOVA_PORT_OBJ& (KOVA_PORT_OBJ::*)(const KOVA_PORT_OBJ&)>(&KOVA_PORT_OBJ::operator=));
    keep(static_cast<int (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_current_usage_state));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_current_usage_state));
    keep(static_cast<int (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_alt_usage_state));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_alt_usage_state));
    keep(static_cast<bool (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::is_port_used));
    keep(static_cast<int (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_current_port_width));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_current_port_width));
    keep(static_cast<void (KOVA_PORT_OBJ::*)()>(&KOVA_PORT_OBJ::reset_current_port_width));
    keep(static_cast<NUVO_UINTEGER* (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_current_port_value));
    keep(static_cast<NUVO_UINTEGER* (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_min_port_value));
    keep(static_cast<NUVO_UINTEGER* (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_max_port_value));
    keep(static_cast<uint32_t (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_current_port_value_as_integer));
    keep(static_cast<uint32_t (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_min_port_value_as_integer));
    keep(static_cast<uint32_t (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_max_port_value_as_integer));
    keep(static_cast<std::string (KOVA_PORT_OBJ::*)(int) const>(&KOVA_PORT_OBJ::get_current_port_value_as_string));
    keep(static_cast<std::string (KOVA_PORT_OBJ::*)(int) const>(&KOVA_PORT_OBJ::get_min_port_value_as_string));
    keep(static_cast<std::string (KOVA_PORT_OBJ::*)(int) const>(&KOVA_PORT_OBJ::get_max_port_value_as_string));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const std::string&, int)>(&KOVA_PORT_OBJ::set_current_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const std::string&, int)>(&KOVA_PORT_OBJ::set_min_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const std::string&, int)>(&KOVA_PORT_OBJ::set_max_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_current_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_min_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(int)>(&KOVA_PORT_OBJ::set_max_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const NUVO_UINTEGER&)>(&KOVA_PORT_OBJ::set_current_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const NUVO_UINTEGER&)>(&KOVA_PORT_OBJ::set_min_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(const NUVO_UINTEGER&)>(&KOVA_PORT_OBJ::set_max_port_value));
    keep(static_cast<void (KOVA_PORT_OBJ::*)()>(&KOVA_PORT_OBJ::reset_port_values));
    keep(static_cast<NUVO_UINTEGER** (KOVA_PORT_OBJ::*)() const>(&KOVA_PORT_OBJ::get_port_value_array));
    keep(static_cast<void (KOVA_PORT_OBJ::*)(NUVO_UINTEGER**)>(&KOVA_PORT_OBJ::set_port_value_array));
    // KOVA_FN_MACRO
    keep(static_cast<KOVA_FN_MACRO& (KOVA_FN_MACRO::*)(const KOVA_FN_MACRO&)>(&KOVA_FN_MACRO::operator=));
    keep(static_cast<const std::string& (KOVA_FN_MACRO::*)() const>(&KOVA_FN_MACRO::get_name));
    keep(static_cast<const std::string& (KOVA_FN_MACRO::*)() const>(&KOVA_FN_MACRO::get_value));
    keep(static_cast<const std::string& (KOVA_FN_MACRO::*)() const>(&KOVA_FN_MACRO::get_evaluated_value));
    keep(static_cast<void (KOVA_FN_MACRO::*)(std::string)>(&KOVA_FN_MACRO::set_evaluated_value));
    keep(static_cast<void (KOVA_FN_MACRO::*)(int)>(&KOVA_FN_MACRO::set_dependency_position));
    keep(static_cast<int (KOVA_FN_MACRO::*)() const>(&KOVA_FN_MACRO::get_dependency_position));
    // KOVA_RULES_VALIDATOR
    keep(static_cast<KOVA_RULES_VALIDATOR& (KOVA_RULES_VALIDATOR::*)(const KOVA_RULES_VALIDATOR&)>(
        &KOVA_RULES_VALIDATOR::operator=));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::initialize_validator));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::run_validator));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::run_validator_on_element));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::run_validator_on_assoc_elements));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::run_validator_on_fn_rules));
    keep(static_cast<int (KOVA_RULES_VALIDATOR::*)() const>(&KOVA_RULES_VALIDATOR::get_deciding_fn_rule));
    keep(static_cast<KOVA_RULE_RESULT (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO&, const KOVA_RULE_ELEMENT&)>(
        &KOVA_RULES_VALIDATOR::evaluate_rule));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(std::ostream*)>(&KOVA_RULES_VALIDATOR::set_scanner_output));
    keep(static_cast<std::ostream* (KOVA_RULES_VALIDATOR::*)() const>(&KOVA_RULES_VALIDATOR::get_scanner_output));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::evaluate_port_widths));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::is_port_width_parameter));
    keep(static_cast<KOVA_PORT_OBJ* (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::determine_port_value_validity));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::initialize_msgs));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::process_external_messages));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::clear_external_messages));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::reset_external_message_list));
    keep(static_cast<KOVA_RULE_ELEMENT* (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::get_next_external_message));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::get_simulation_library));
    keep(static_cast<int (KOVA_RULES_VALIDATOR::*)(const std::string&, KOVA_NAME_MAP&)>(
        &KOVA_RULES_VALIDATOR::create_fn_macros));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(&KOVA_RULES_VALIDATOR::initialize_fn_rules));
    keep(static_cast<KOVA_MACRO_DEPENDENCY_MAP (KOVA_RULES_VALIDATOR::*)()>(
        &KOVA_RULES_VALIDATOR::create_macro_dependency_map));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(KOVA_OBJ_MAP)>(&KOVA_RULES_VALIDATOR::set_parameter_list));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(KOVA_OBJ_MAP)>(&KOVA_RULES_VALIDATOR::set_port_list));
    keep(static_cast<KOVA_OBJ_MAP (KOVA_RULES_VALIDATOR::*)() const>(&KOVA_RULES_VALIDATOR::get_parameter_list));
    keep(static_cast<KOVA_OBJ_MAP (KOVA_RULES_VALIDATOR::*)() const>(&KOVA_RULES_VALIDATOR::get_port_list));
    keep(static_cast<KOVA_PARAMETER_OBJ* (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_parameter_object));
    keep(static_cast<KOVA_PORT_OBJ* (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_port_object));
    keep(static_cast<KOVA_PARAMETER_OBJ* (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO&)>(
        &KOVA_RULES_VALIDATOR::parameter_copy_of));
    keep(static_cast<KOVA_PORT_OBJ* (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO&)>(
        &KOVA_RULES_VALIDATOR::port_copy_of));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::check_parameter_is_used));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::check_port_is_used));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(
        &KOVA_RULES_VALIDATOR::set_all_ports_and_parameters_to_unused_state));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)()>(
        &KOVA_RULES_VALIDATOR::set_all_ports_and_parameters_to_default_state));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(bool)>(&KOVA_RULES_VALIDATOR::reset_validator));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::reset_alt_state_on_element));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::reset_current_state_on_element));
    keep(static_cast<int (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_integer_parameter_value));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_string_parameter_value));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_hidden_parameter_value));
    keep(static_cast<int (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO&)>(
        &KOVA_RULES_VALIDATOR::integer_parameter_value_of));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO&)>(
        &KOVA_RULES_VALIDATOR::string_parameter_value_of));
    keep(static_cast<std::string (*)(const KOVA_OBJ_INFO&)>(&KOVA_RULES_VALIDATOR::hidden_parameter_value_of));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&)>(
        &KOVA_RULES_VALIDATOR::set_parameter_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&)>(
        &KOVA_RULES_VALIDATOR::set_string_parameter_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_integer_parameter_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_parameter_usage_state));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_port_usage_state));
    keep(static_cast<NUVO_UINTEGER* (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_current_port_value));
    keep(static_cast<uint32_t (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_current_port_value_as_integer));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, int) const>(
        &KOVA_RULES_VALIDATOR::get_current_port_value_as_string));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_current_port_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_current_port_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, const NUVO_UINTEGER&)>(
        &KOVA_RULES_VALIDATOR::set_current_port_value));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&, int)>(
        &KOVA_RULES_VALIDATOR::set_current_port_width));
    keep(static_cast<int (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_current_port_width));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, KOVA_RULES_VALIDATOR_PARSER_MODE)>(
        &KOVA_RULES_VALIDATOR::evaluate_expression));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, bool)>(
        &KOVA_RULES_VALIDATOR::evaluate_value_expression));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::evaluate_cmd_expression));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&)>(&KOVA_RULES_VALIDATOR::add_cmd_to_list));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(const std::string&)>(&KOVA_RULES_VALIDATOR::remove_cmd_from_list));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&) const>(
        &KOVA_RULES_VALIDATOR::substitute_macro_arguments));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&)>(
        &KOVA_RULES_VALIDATOR::evaluate_function_macro));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&, bool)>(
        &KOVA_RULES_VALIDATOR::get_macro_value));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(const std::string&, const std::string&) const>(
        &KOVA_RULES_VALIDATOR::has_macro_instance));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(KOVA_WIZARD_MAP&)>(&KOVA_RULES_VALIDATOR::evaluate_wizard_map));
    keep(static_cast<void (KOVA_RULES_VALIDATOR::*)(KOVA_OBJ_INFO*)>(&KOVA_RULES_VALIDATOR::evaluate_wizard_obj));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(KOVA_VECTOR_OBJ*, const std::string&)>(
        &KOVA_RULES_VALIDATOR::kova_stimulus_exists));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(std::string, int, std::string&, std::string&)>(
        &KOVA_RULES_VALIDATOR::kova_get_transition_at_time));
    keep(static_cast<bool (KOVA_RULES_VALIDATOR::*)(KOVA_VECTOR_OBJ*, int, std::string&, std::string&)>(
        &KOVA_RULES_VALIDATOR::kova_get_vector_transition));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&)>(
        &KOVA_RULES_VALIDATOR::get_obj_initial_vec_state));
    keep(static_cast<KOVA_NAME_MAP (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_ports_and_parameters_used_in_expression));
    keep(static_cast<KOVA_NAME_MAP (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_ports_and_parameters_impacting_obj));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const KOVA_OBJ_INFO*) const>(
        &KOVA_RULES_VALIDATOR::get_dependency_error_message_for_obj));
    keep(static_cast<std::string (KOVA_RULES_VALIDATOR::*)(const std::string&) const>(
        &KOVA_RULES_VALIDATOR::get_dependency_error_message_for_condition));
}

// The syntax reader and its two writers on a text whose shape is known.
bool syntax_answers() {
    KOVA_SYNTAX_READER reader;
    const KOVA_SYNTAX_TREE& tree = reader.read("A * 2 < B");
    return tree.parsed() && kova_syntax_text(tree, tree.root) == "A * (2 < B)" &&
           std::string(kova_operator_text(KOVA_OP_LESS)) == "<" &&
           kova_read_force_head("force -bin DIN 1 0").signal == "DIN" && kova_element_delimiters().size() == 15;
}

// Each exported free function, called on a case whose answer is known.
bool free_functions_answer() {
    std::string tokens = "a+b", rest = "x,y", delimiter, digits;
    KOVA_NAME_MAP copied;
    KOVA_NAME_MAP source;
    source.insert("k", "v");
    copy_string_map(source, copied);
    return kova_get_element_token(tokens) == "a" && kova_substitute_string("a+ab", "a", "c") == "c+ab" &&
           kova_token_is_in_list("1|2|3", "2") && kova_token_is_in_range("1-8", "8") && copied.find("K") &&
           *copied.find("K") == "v" && kova_atoi(" 42x") == 42 && kova_atoi(std::string("-7")) == -7 &&
           kova_equal_nocase("Ab", "aB") && to_lower_case("AbC") == "abc" && trim_left("  x") == "x" &&
           kova_get_usage_state_as_string(KOVA_USAGE_USED) == "USED" &&
           kova_get_rule_type_word(KOVA_RULE_FN_SET) == "fn_set" &&
           kova_and_conditions("a", "b") == "(a) and (b)" && qel_get_token(rest, ",") == "x" &&
           qel_get_token_with_delimiter(rest, ",", delimiter) == "y" && qel_get_token_at_index("p|q", 1) == "q" &&
           qel_int_to_string(255, 16) == "FF" &&
           qel_radix_conversion("300", digits, QEL_RADIX_UNSIGNED_DECIMAL, QEL_RADIX_BINARY, 8) &&
           digits == "00101100" &&
           qel_radix_conversion_fixed_point("1.5", digits, QEL_RADIX_FIXED_POINT, QEL_RADIX_BINARY, "4,1") &&
           digits == "0011" && qel_convert_numeric_string_to_binary_format("0x5", digits) && digits == "101" &&
           std::string(kova_severity_name(KOVA_SEVERITY_ERROR)) != "" &&
           std::string(kova_diagnostic_kind_name(KOVA_DIAG_OTHER)) != "" && syntax_answers();
}

// Every class made, copied and destroyed through its constructors; the
// virtual members, whose addresses name no symbol, called by name.
bool objects_answer() {
    KOVA_OBJ object;
    KOVA_OBJ_MAP map(4), map_copy(map);
    map.KOVA_OBJ_MAP::add_entry("o", &object);
    map.KOVA_OBJ_MAP::reset_iterator();
    std::string key;
    const bool walked = map.KOVA_OBJ_MAP::get_next_entry(key) == &object && key == "o";
    KOVA_OBJ_LIST list, list_copy(list);
    KOVA_NAME_INDEX index;
    KOVA_RULE_ELEMENT rule("1", "", "", KOVA_RULE_CONDITION), rule_copy(rule);
    KOVA_OBJ_INFO info("P", KOVA_OBJ_INTEGER_PARAMETER), info_from(&info), info_copy(info);
    KOVA_OBJ_COLLECTION collection, collection_copy(collection);
    KOVA_DATA_COLLECTION_MAP data("d"), data_copy(data);
    KOVA_WIZARD_MAP wizard("w"), wizard_copy(wizard);
    KOVA_VECTOR_OBJ vector("v"), vector_copy(vector);
    KOVA_INFO model, model_copy(model);
    NUVO_UINTEGER value(5, 8), value_copy(value);
    QEL_TOKEN_READER reader("a,b", ",");
    KOVA_SOURCE_TABLE sources;
    KOVA_PARAMETER_OBJ parameter(&info), parameter_copy(parameter);
    KOVA_OBJ_INFO port_model("p", KOVA_OBJ_INPUT_PORT);
    KOVA_PORT_OBJ port(&port_model), port_copy(port);
    KOVA_FN_MACRO macro("f(a)", "a"), macro_copy(macro);
    KOVA_RULES_VALIDATOR validator("api", "", ""), validator_copy(validator);
    return walked && map.KOVA_OBJ_MAP::find_entry("O") == &object && value_copy.uint() == 5 && reader.next() == "a" &&
           macro_copy.get_value() == "a";
}

}  // namespace

bool kova_api_links() {
    keep_public_members();
    KOVA_INFO_HOST::keep_protected();
    VALIDATOR_HOST::keep_protected();
    return free_functions_answer() && objects_answer();
}
