// KOVA_RULES_VALIDATOR: the model of one building block (it derives from
// the host model) together with the validator's own state: a copy of every
// port and parameter with current and alternate state, the command list,
// the function-macro instances and the external messages.
//
// The member functions are implemented one concern per file in validator/,
// expr/ and stimulus/.
//
// Ownership: the validator owns every object it holds (by value or by
// std::unique_ptr); the raw pointers its functions hand out stay owned by
// it and valid until that object is replaced or the validator destroyed.
//
// Exceptions: a failure to allocate (std::bad_alloc) is the only exception
// the validator's own code raises, and every public operation lets it
// through with at least the basic guarantee: the validator stays valid
// and destructible, owns each of its objects exactly once and leaks
// nothing, though a failed run or initialisation may leave its states
// part-way (run, reset or initialise again). Copy construction and
// assignment give the strong guarantee: a failed assignment leaves the
// target as it was. Loading (the constructor with a description file,
// process_xml_file) leaves the model as it was when it fails: it answers
// with a posted message (and false), or lets std::bad_alloc through.
//
// Threads: one validator is used by one thread at a time, const member
// functions included (look-ups write the objects' name memos, walks move
// cursors). Validators copied from one loaded validator share nothing
// mutable: each copy has its own objects, values, macro instances,
// messages, maps, vectors, name memos and scanners. What copies share is
// read-only: rule lists (never changed while shared; an object that
// changes its rules first takes a list of its own, see KOVA_OBJ_INFO) and
// the source table (never changed once loaded). So copies run in parallel
// threads with no lock, and several threads may copy one validator at once
// while nothing changes it. The one exception is the scanner output stream
// (set_scanner_output), which copies keep: give each copy its own stream,
// or none, before running copies in parallel.
#ifndef KOVA_RULES_VALIDATOR_H
#define KOVA_RULES_VALIDATOR_H

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/kova_info.h"
#include "host/kova_owned_map.h"
#include "host/kova_stl.h"
#include "host/nuvo_int.h"
#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"
#include "objects/kova_rules_export.h"
#include "validator/kova_fn_macro.h"

// Names ordered without regard to case, each mapped to itself.
using KOVA_ORDERED_NAME_MAP = std::map<std::string, std::string, LESS_C_STRING>;
// For each function-macro object, the parameters its rules and body use.
using KOVA_MACRO_DEPENDENCY_MAP = std::map<std::string, KOVA_ORDERED_NAME_MAP, LESS_C_STRING>;

class KOVA_SCANNER_POOL;
class KOVA_PROGRAM_TABLE;
class KOVA_PROGRAM_CACHE;
class KOVA_MACRO_CALL_MEMO;

// What one rule of an object gives under the current values, read as the
// validation run reads it (KOVA_RULES_VALIDATOR::evaluate_rule).
struct KOVA_RULE_RESULT {
    std::string condition;  // the condition's result; "true" for an empty condition
    int truth = -1;         // 1 when it holds, 0 when it fails, -1 when it is neither
    // KOVA_FIELD_VALUE or KOVA_FIELD_ALT_VALUE for the field the rule
    // applies; KOVA_FIELD_ELEMENT when it applies nothing (a check rule,
    // a port value rule, a condition that fails without an alt value).
    KOVA_SOURCE_FIELD applied_field = KOVA_FIELD_ELEMENT;
    std::string applied;    // the text applied, evaluated ("" for none)
};

enum KOVA_RULES_VALIDATOR_PARSER_MODE : int32_t {
    PARSER_MODE_EVALUATE = 0,
    PARSER_MODE_REFRESH_MACROS = 1,  // a bare macro name is re-evaluated first
    PARSER_MODE_TEXT = 2             // operators render as canonical text
};

class KOVA_RULES_API KOVA_RULES_VALIDATOR : public KOVA_INFO {
public:
    // Loads the model: the library directory and the description file are
    // used only when not empty. Call initialize_validator next.
    KOVA_RULES_VALIDATOR(const std::string& function_name, const std::string& description_file,
                         const std::string& library_dir);
    // A copy owns copies of every port, parameter, macro instance and
    // external message of the original. Assignment copies first and then
    // swaps the copy in, so a failed assignment leaves this validator as
    // it was (strong guarantee).
    KOVA_RULES_VALIDATOR(const KOVA_RULES_VALIDATOR& other);
    KOVA_RULES_VALIDATOR& operator=(const KOVA_RULES_VALIDATOR& other);
    ~KOVA_RULES_VALIDATOR() override;

    // Merges sub-models, builds the port and parameter copies and sets
    // every usage state to UNUSED.
    void initialize_validator();

    // The validation run: every object's rules level by level, the macro
    // instances at their levels, the consistency checks and the function
    // rules. True when the configuration is valid.
    bool run_validator();
    bool run_validator_on_element(const std::string& name);
    bool run_validator_on_assoc_elements(const std::string& name);
    bool run_validator_on_fn_rules();
    // The function rule (its place in the model's function rules) whose
    // result last decided run_validator_on_fn_rules's answer; -1 when no
    // rule did. An addition for front ends that explain a failed run.
    int get_deciding_fn_rule() const { return m_deciding_fn_rule; }
    // An object the last run corrected silently, and the rule of its own
    // whose value (or alternate value, by field) the correction followed;
    // rule_index -1 when no rule had applied one. In the order the run
    // corrected them; an addition for front ends that say where each
    // value came from.
    struct KOVA_SILENT_CORRECTION {
        std::string object;
        int rule_index = -1;
        KOVA_SOURCE_FIELD field = KOVA_FIELD_VALUE;
    };
    const std::vector<KOVA_SILENT_CORRECTION>& get_silent_corrections() const { return m_silent_corrections; }
    // One rule of object evaluated as the run evaluates it, without
    // applying anything to the object: the condition by its rule type,
    // then the value a holding condition applies (a legal-value list with
    // its items evaluated, a range as "lower-upper") or the alt value a
    // failing one applies. Evaluating may post messages and refresh
    // macro values, so a front end that explains a run calls it on a
    // copy. An addition for such front ends.
    KOVA_RULE_RESULT evaluate_rule(const KOVA_OBJ_INFO& object, const KOVA_RULE_ELEMENT& rule);

    // Where the scanner writes characters that no token matches. By
    // default (null) they go to standard output as they are met. Given a
    // stream, each evaluation collects them, writes them to that stream
    // when it ends and files a warning record naming the rule text, so a
    // front end can keep its own standard output clean. Copies keep the
    // stream; the stream must outlive the validator or be reset to null.
    void set_scanner_output(std::ostream* output) { m_scanner_output = output; }
    std::ostream* get_scanner_output() const { return m_scanner_output; }

    // Port widths and legal port values.
    // Gives every port without a width the width its expression evaluates
    // to, with unknown current value and bounds.
    void evaluate_port_widths();
    // Whether the named integer parameter is a token of any port's width.
    bool is_port_width_parameter(const std::string& name) const;
    // Narrows the port's bounds, or replaces its value list, by the port
    // value rules of its model object; evaluates the width first when the
    // port has none. Null for an unknown port.
    KOVA_PORT_OBJ* determine_port_value_validity(const std::string& name);

    // External messages: the message rules that apply to the settings.
    void initialize_msgs();
    // Appends every message that applies now; earlier ones stay.
    void process_external_messages();
    // Empties the list of messages and puts the cursor at its start, so
    // that the next process_external_messages gives the current ones only.
    void clear_external_messages();
    void reset_external_message_list();
    // The next external message, owned by the validator; null at the end.
    KOVA_RULE_ELEMENT* get_next_external_message();

    // The library names a simulation needs, each followed by ";", after a
    // validation run.
    std::string get_simulation_library();
    // The same names from the derived settings as they stand, without a
    // run: for a caller that has just run the validator itself.
    std::string evaluate_simulation_library();

    // Macro instances made from the calls in rule texts.
    int create_fn_macros(const std::string& expression, KOVA_NAME_MAP& in_progress);
    void initialize_fn_rules();
    KOVA_MACRO_DEPENDENCY_MAP create_macro_dependency_map();

    // Port and parameter lists. The validator takes over each parameter
    // (port) copy of list, made with new, that it does not hold yet; one
    // under a name it holds replaces that copy, which is released; objects
    // of the other kind are passed over. When taking over fails, the
    // validator takes nothing and the caller keeps every object (strong
    // guarantee). The getters give plain views: the pointers stay owned by
    // the validator.
    void set_parameter_list(KOVA_OBJ_MAP list);
    void set_port_list(KOVA_OBJ_MAP list);
    KOVA_OBJ_MAP get_parameter_list() const { return m_parameter_list.view(); }
    KOVA_OBJ_MAP get_port_list() const { return m_port_list.view(); }
    KOVA_PARAMETER_OBJ* get_parameter_object(const std::string& name) const;
    KOVA_PORT_OBJ* get_port_object(const std::string& name) const;
    // The same for an object of this validator's model, through the
    // object's name memo, so that repeated runs look each name up once.
    // Not const: the memo changes, so these serve the validator's own
    // walks and evaluations only.
    // Inline: a compiled evaluation asks for a copy at every name it reads.
    KOVA_PARAMETER_OBJ* parameter_copy_of(const KOVA_OBJ_INFO& object) {
        return m_parameter_list.find_remembered(object.get_name(), object.name_memo());
    }
    KOVA_PORT_OBJ* port_copy_of(const KOVA_OBJ_INFO& object) {
        return m_port_list.find_remembered(object.get_name(), object.name_memo());
    }
    bool check_parameter_is_used(const std::string& name) const;
    bool check_port_is_used(const std::string& name) const;

    // Usage states and resets.
    void set_all_ports_and_parameters_to_unused_state();
    void set_all_ports_and_parameters_to_default_state();
    void reset_validator(bool full);
    void reset_alt_state_on_element(const std::string& name);
    void reset_current_state_on_element(const std::string& name);
    // Gives this validator, a copy of original, the state a fresh copy of
    // original has, in place (validator/state_restore.cpp): for a thread
    // that validates one configuration after another. False, with nothing
    // changed, when the two do not hold the same objects in the same order
    // or original holds error records; the caller then copies instead.
    // The model's rules, maps and vectors are not restored: a caller that
    // changed them copies instead.
    bool restore_state(const KOVA_RULES_VALIDATOR& original);

    // Parameter values by name.
    int get_integer_parameter_value(const std::string& name) const;
    std::string get_string_parameter_value(const std::string& name) const;
    std::string get_hidden_parameter_value(const std::string& name) const;
    // The same three for an object of this validator's model.
    int integer_parameter_value_of(const KOVA_OBJ_INFO& object);
    std::string string_parameter_value_of(const KOVA_OBJ_INFO& object);
    static std::string hidden_parameter_value_of(const KOVA_OBJ_INFO& object);
    void set_parameter_value(const std::string& name, const std::string& text);
    void set_string_parameter_value(const std::string& name, const std::string& text);
    void set_integer_parameter_value(const std::string& name, int value);
    void set_parameter_usage_state(const std::string& name, int state);
    void set_port_usage_state(const std::string& name, int state);

    // Port values by name.
    NUVO_UINTEGER* get_current_port_value(const std::string& name) const;
    uint32_t get_current_port_value_as_integer(const std::string& name) const;
    std::string get_current_port_value_as_string(const std::string& name, int radix) const;
    void set_current_port_value(const std::string& name, const std::string& text, int radix);
    void set_current_port_value(const std::string& name, int value);
    void set_current_port_value(const std::string& name, const NUVO_UINTEGER& value);
    void set_current_port_width(const std::string& name, int width);
    int get_current_port_width(const std::string& name) const;

    // Expression evaluation. Each text is scanned and parsed, unless
    // compiled evaluation is on (set_compiled_evaluation).
    std::string evaluate_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode);
    std::string evaluate_value_expression(const std::string& text, bool refresh);
    // The legal values of a list rule's value text: each "|"-separated
    // item evaluated as evaluate_value_expression(item, false) does, in
    // order, empty values dropped, the rest joined with "|".
    std::string evaluate_value_list(const std::string& items);
    std::string evaluate_cmd_expression(const std::string& text) const;
    // On by default. With true, a text is evaluated from its compiled
    // form (expr/program.h): the model's texts are compiled now and again
    // by each initialize_validator, other texts when first evaluated. With
    // false the table is released and every evaluation scans and parses
    // its text (the reference the compiled forms are tested against).
    // Copies keep the choice and share the table. Not to be called while
    // an evaluation of this validator runs: it may release the programs.
    void set_compiled_evaluation(bool on);

    // Command list.
    void add_cmd_to_list(const std::string& name);
    void remove_cmd_from_list(const std::string& name);

    // Function macros.
    std::string substitute_macro_arguments(const std::string& name, const std::string& actual_list) const;
    std::string evaluate_function_macro(const std::string& name, const std::string& actual_list);
    // The same, for a call whose instance name (kova_macro_instance_name)
    // the caller has made already, as a compiled rule text keeps it.
    std::string evaluate_function_macro_call(const std::string& name, const std::string& actual_list,
                                             const std::string& call);
    std::string get_macro_value(const std::string& name, bool evaluate);
    // The value of the macro instance named call (a compiled program's
    // instance-name text), or null when there is no such instance; valid
    // until the instances or their values next change.
    const std::string* macro_instance_value(const char* call);
    // Whether initialisation made an instance for the call name(actual_list);
    // a call without one reads as its own text unless substituting its
    // arguments leaves the body as it is.
    bool has_macro_instance(const std::string& name, const std::string& actual_list) const;

    // Wizard maps. Every port or parameter object of the map gets the
    // value and usage state that its value text and rules give under the
    // current settings; on request the map is then filled with every
    // parameter and every used port. Only the map's objects change.
    void evaluate_wizard_map(KOVA_WIZARD_MAP& map);
    void evaluate_wizard_obj(KOVA_OBJ_INFO* object);

    // Stimulus. A record of a vector drives its value (a force command)
    // when its condition is empty or true, its alternate value otherwise.
    // True when a record of the vector forces that signal; the vector's
    // cursor is reset first and stays after the matching record.
    bool kova_stimulus_exists(KOVA_VECTOR_OBJ* vector, const std::string& name);
    // True when the force command drives a value exactly at time; name and
    // value receive the signal and the value (in binary after "0b" for a
    // command that names a binary, hex or fixed-point radix).
    bool kova_get_transition_at_time(std::string command, int time, std::string& name, std::string& value);
    // The next record, from the vector's cursor on, that drives a value at
    // time; when none is left the cursor is reset and the answer is false.
    bool kova_get_vector_transition(KOVA_VECTOR_OBJ* vector, int time, std::string& name, std::string& value);
    // The object's initial vector state evaluated, or as written when it
    // evaluates to nothing; "" for an unknown object.
    std::string get_obj_initial_vec_state(const std::string& name);

    // Dependency queries and the texts that name them.
    // The ports and parameters an expression names, directly or through the
    // bodies of the macros it names, in order of first mention.
    KOVA_NAME_MAP get_ports_and_parameters_used_in_expression(const std::string& text) const;
    // The ports and parameters the rules of an object name, except itself.
    KOVA_NAME_MAP get_ports_and_parameters_impacting_obj(const std::string& name) const;
    // Those names with their current values or usage states, for messages.
    std::string get_dependency_error_message_for_obj(const KOVA_OBJ_INFO* object) const;
    std::string get_dependency_error_message_for_condition(const std::string& condition) const;

protected:
    bool is_reserved_keyword(const std::string& token) const;

    void append_sub_infos();
    void add_sub_info_objects_to_validator(KOVA_INFO* sub_model);
    void read_parameter_and_port_list_from_obj_list();

    // A word of a force command, or the value that it names: a function
    // macro's value, or the constant value of a port held constant.
    std::string get_stimulus_value(const std::string& token);

    // Writes a rule's value into the alternate state of the parameter or
    // port copy, or into the current value of an object that has neither.
    void set_value_on_object(KOVA_OBJ_INFO* object, KOVA_PARAMETER_OBJ* parameter, KOVA_PORT_OBJ* port,
                             const std::string& text);

    // Dependency levels of model objects and macro instances.
    // get_element_position, process_string_for_position_count and
    // create_fn_macros are defined as calling one another along the
    // model's dependencies; the dependency walk (validator/dependency_walk.h)
    // gives exactly their results without recursing.
    void create_dependency_list();
    int get_element_position(KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress);
    int process_string_for_position_count(const std::string& text, KOVA_NAME_MAP& in_progress,
                                          const std::string& owner);

    void update_macro_dependency_map_from_string(KOVA_MACRO_DEPENDENCY_MAP& result, KOVA_ORDERED_NAME_MAP& names,
                                                 const std::string& text);

    // Compares an object's current state with the state its rules derived.
    bool check_value_consistency_on_object(KOVA_OBJ_INFO* object, KOVA_PARAMETER_OBJ* parameter,
                                           KOVA_PORT_OBJ* port);

    // Narrow one bound of a port to a value: false on a conflict (a known
    // bound already beyond the known value) and for a port without a
    // width; an unknown value changes nothing.
    bool set_min_port_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value);
    bool set_max_port_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value);
    // Applies one rule to the port's legal values; false on a conflict.
    bool apply_port_value_rule(KOVA_PORT_OBJ* port, const KOVA_RULE_ELEMENT& rule);
    // Both bounds narrowed to one value; false on a conflict.
    bool narrow_port_to_value(KOVA_PORT_OBJ* port, const NUVO_UINTEGER& value);

    // The validator's own objects, each owned here alone.
    KOVA_OWNED_MAP<KOVA_PARAMETER_OBJ> m_parameter_list{20};
    KOVA_OWNED_MAP<KOVA_PORT_OBJ> m_port_list{20};
    KOVA_NAME_MAP m_cmd_list;
    KOVA_OWNED_MAP<KOVA_FN_MACRO> m_fn_macro_list{20};
    std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> m_external_msg_list;
    std::size_t m_external_msg_cursor = 0;

private:
    // The dependency walk works on m_fn_macro_list and is_reserved_keyword.
    friend class KOVA_DEPENDENCY_WALK;

    // The rule of the object being validated that last set its alternate
    // value, or its alternate usage state (-1: none); the consistency
    // check names it in its messages.
    struct KOVA_APPLIED_RULE {
        int rule_index = -1;
        KOVA_SOURCE_FIELD field = KOVA_FIELD_VALUE;
    };
    KOVA_APPLIED_RULE m_value_rule, m_state_rule;
    // The origin naming that rule, or the object when no rule applied.
    KOVA_MESSAGE_ORIGIN applied_origin(const KOVA_OBJ_INFO* object, const KOVA_APPLIED_RULE& applied) const;
    int m_deciding_fn_rule = -1;
    // Filled by the consistency check; cleared when a run starts.
    std::vector<KOVA_SILENT_CORRECTION> m_silent_corrections;
    // Notes that the consistency check corrected object, following the
    // applied rule.
    void note_silent_correction(const KOVA_OBJ_INFO& object, const KOVA_APPLIED_RULE& applied);
    std::ostream* m_scanner_output = nullptr;

    // Writes characters an evaluation could not place to the scanner
    // output and files a warning naming them and the text.
    void report_unplaced_characters(const std::string& text, const std::string& unplaced);

    // run_validator_on_element for an object already looked up.
    bool validate_object(KOVA_OBJ_INFO* object);
    // Memory hints for the objects a pass is about to validate.
    void fetch_ahead(const std::vector<KOVA_OBJ_INFO*>& objects, std::size_t next);
    // Forgets what runs derived for one object (reset_validator); a
    // parameter's alternate state only with parameters.
    void reset_object_state(KOVA_OBJ_INFO& object, bool full, bool parameters);
    // The first pass of a run (run_validator): validates the objects of
    // level 0 and files the others in later.
    void run_first_pass(std::vector<KOVA_OBJ_INFO*>& later, int& validated, bool& failed);

    // Exchanges everything but the scanners and program cache with other.
    void swap(KOVA_RULES_VALIDATOR& other) noexcept;

    // Compiles the model's texts into m_programs.
    void compile_model_texts();
    // Evaluates text by scanning and parsing it.
    std::string interpret_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode);
    // Appends text's value to out from its compiled form and answers
    // true; false, with out unchanged, when text is to be parsed instead.
    bool run_compiled(std::string_view text, KOVA_RULES_VALIDATOR_PARSER_MODE mode, std::string& out);
    // Appends the values of a list's items to joined as evaluate_value_list
    // joins them, from the items' compiled forms, and answers true; false,
    // with joined unchanged, when the list is to go item by item.
    bool run_compiled_list(const std::string& items, std::string& joined);
    // This validator's cache of programs, made on first use.
    KOVA_PROGRAM_CACHE& program_cache();
    // Appends one list item's value (evaluate_value_list) to joined,
    // after a "|" when joined is not empty; nothing for an empty value.
    void append_list_value(std::string_view item, std::string& joined);

    // The scanners of this validator's evaluations, made on first use;
    // never copied, since a scanner belongs to the evaluations of one
    // validator.
    std::unique_ptr<KOVA_SCANNER_POOL> m_scanners;
    // The compiled forms of the model's texts, shared read-only with every
    // copy; null while compiled evaluation is off.
    std::shared_ptr<const KOVA_PROGRAM_TABLE> m_programs;
    // The compiled forms of the other texts this validator evaluated, made
    // on first use and never copied (expr/program_table.h).
    std::unique_ptr<KOVA_PROGRAM_CACHE> m_program_cache;
    // Which instance each compiled macro call names, made on first use and
    // never copied (expr/macro_call_memo.h).
    std::unique_ptr<KOVA_MACRO_CALL_MEMO> m_macro_calls;
    bool m_compiled_evaluation = true;
};

#endif
