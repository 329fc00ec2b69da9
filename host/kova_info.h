// The host model of one building block: its objects (ports, parameters,
// hidden parameters, function macros), their rules, wizard maps, stimulus
// vectors, function rules, message rules, texts, sub-models and the list of
// error messages posted while working on it.
//
// Ownership: a model owns everything it holds, by value. Every operation
// that takes an object, rule, map or vector into a model stores a copy, so
// a model never shares a record with another model and each record is
// released exactly once. Pointers handed out stay valid until the record
// is replaced by assignment or the model is destroyed.
//
// Every collection has one walk cursor (reset, then get-next until null).
// Lookups by name never move a cursor.
//
// Exceptions (only std::bad_alloc): copying or assigning a model, an
// object, an object collection, a map or a vector gives the strong
// guarantee (a failed assignment leaves the target as it was); every
// other operation leaves the record valid, owning each of its records
// once, and changes at most what it was asked to change (basic
// guarantee); reading a description file answers every failure, as told
// at process_xml_file.
#ifndef KOVA_INFO_H
#define KOVA_INFO_H

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "diagnostic.h"
#include "kova_stl.h"
#include "source_table.h"

enum KOVA_OBJ_TYPE {
    KOVA_OBJ_HIDDEN_PARAMETER = 0,   // value text is an expression
    KOVA_OBJ_INPUT_PORT = 1,
    KOVA_OBJ_OUTPUT_PORT = 2,
    KOVA_OBJ_INOUT_PORT = 3,
    KOVA_OBJ_INTEGER_PARAMETER = 5,
    KOVA_OBJ_STRING_PARAMETER = 6,
    KOVA_OBJ_OTHER_PARAMETER = 7,    // a parameter without a validator copy
    KOVA_OBJ_FN_MACRO = 8            // value text is the macro body
};

enum KOVA_OBJ_USAGE_STATE {
    KOVA_USAGE_UNUSED = 0,
    KOVA_USAGE_USED = 1,
    KOVA_USAGE_CONSTANT = 3,
    KOVA_USAGE_NONE = 4
};

enum KOVA_RULE_TYPE {
    KOVA_RULE_CMD_CONDITION = 0,       // condition names a command
    KOVA_RULE_LEGAL_VALUES = 1,        // "|" list, or range with the alt value
    KOVA_RULE_CONDITION = 2,           // plain condition / assignment
    KOVA_RULE_CONSTANT_LEGAL_VALUES = 3,
    KOVA_RULE_FN_CLEAR = 4,            // function rule: failing clears the failure
    KOVA_RULE_FN_SET = 5,              // function rule: holding sets the failure
    KOVA_RULE_PORT_VALUE = 6,
    KOVA_RULE_PORT_VALUE_LIST = 7
};

// Where an object of a wizard map comes from (KOVA_OBJ_INFO::wizard_kind).
enum KOVA_WIZARD_KIND {
    KOVA_WIZARD_FROM_MAP = 0,         // written in the map; also every object outside a map
    KOVA_WIZARD_ADDED_PARAMETER = 1,  // added by the map's add_all_parameters
    KOVA_WIZARD_ADDED_PORT = 2        // added by the map's add_used_ports
};

// "UNUSED", "USED", "CONSTANT", "NONE"; "UNKNOWN" for any other number.
KOVA_HOST_API std::string kova_get_usage_state_as_string(int state);

// The word a description writes for a rule type ("legal_values",
// "condition", "fn_set", ...); the number as text for any other.
KOVA_HOST_API std::string kova_get_rule_type_word(int rule_type);

// One rule: condition, value, alternate value and type.
class KOVA_HOST_API KOVA_RULE_ELEMENT : public KOVA_OBJ {
public:
    KOVA_RULE_ELEMENT(const std::string& value, const std::string& condition,
                      const std::string& alt_value, int rule_type);
    ~KOVA_RULE_ELEMENT() override;

    const std::string& get_condition() const { return m_condition; }
    const std::string& get_value() const { return m_value; }
    const std::string& get_alt_value() const { return m_alt_value; }
    void set_condition(const std::string& condition) { m_condition = condition; }
    // Rules of the port value check (types 6 and 7), which the validation
    // run and the dependency queries pass over.
    bool is_port_value_rule() const {
        return rule_type == KOVA_RULE_PORT_VALUE || rule_type == KOVA_RULE_PORT_VALUE_LIST;
    }

    int rule_type;

private:
    std::string m_value;
    std::string m_condition;
    std::string m_alt_value;
};

// Joins a rule condition with a further condition that must hold too:
// "(" old ") and (" extra ")", or the one that is not empty.
KOVA_HOST_API std::string kova_and_conditions(const std::string& old_condition,
                                              const std::string& extra);

// A read-only view of one object's rules, in order (KOVA_OBJ_INFO::
// rule_view). It reads the object's rule list in place, never copying or
// changing it, and stays valid, as do the rule pointers it gives, until
// the object's rules are next changed (add_rule,
// append_rule_list_with_condition) or handed out to be changed
// (get_next_rule_element, rule_snapshot), or the object is assigned to or
// destroyed. Walks that only read rules use it: it costs no allocation
// and, since it changes nothing, any number of threads may read the rules
// of objects that share a list through views at once.
class KOVA_RULE_VIEW {
public:
    using LIST = std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>>;

    class iterator {
    public:
        explicit iterator(LIST::const_iterator at) : m_at(at) {}
        const KOVA_RULE_ELEMENT* operator*() const { return m_at->get(); }
        iterator& operator++() {
            ++m_at;
            return *this;
        }
        bool operator!=(const iterator& other) const { return m_at != other.m_at; }
        bool operator==(const iterator& other) const { return m_at == other.m_at; }

    private:
        LIST::const_iterator m_at;
    };

    KOVA_RULE_VIEW() = default;
    explicit KOVA_RULE_VIEW(const LIST* list) : m_list(list && !list->empty() ? list : nullptr) {}

    std::size_t size() const { return m_list ? m_list->size() : 0; }
    bool empty() const { return size() == 0; }
    const KOVA_RULE_ELEMENT* operator[](std::size_t index) const { return (*m_list)[index].get(); }
    // Throws std::out_of_range for an index at or past size().
    const KOVA_RULE_ELEMENT* at(std::size_t index) const {
        if (index >= size()) throw std::out_of_range("KOVA_RULE_VIEW::at");
        return (*this)[index];
    }
    iterator begin() const { return m_list ? iterator(m_list->begin()) : iterator(LIST::const_iterator()); }
    iterator end() const { return m_list ? iterator(m_list->end()) : iterator(LIST::const_iterator()); }

private:
    const LIST* m_list = nullptr;  // null for an object without rules
};

// One model object with its description and rules.
class KOVA_HOST_API KOVA_OBJ_INFO : public KOVA_OBJ {
public:
    KOVA_OBJ_INFO(const std::string& name = "", int type = KOVA_OBJ_HIDDEN_PARAMETER);
    explicit KOVA_OBJ_INFO(const KOVA_OBJ_INFO* other);
    KOVA_OBJ_INFO(const KOVA_OBJ_INFO& other);
    KOVA_OBJ_INFO& operator=(const KOVA_OBJ_INFO& other);
    ~KOVA_OBJ_INFO() override;

    const std::string& get_name() const { return m_name; }
    const std::string& get_value() const { return m_value; }
    const std::string& get_default_value() const { return m_default_value; }
    const std::string& get_current_value() const { return m_current_value; }
    const std::string& get_port_width() const { return extra(&EXTRA_TEXTS::port_width); }
    const std::string& get_port_width2d() const { return extra(&EXTRA_TEXTS::port_width2d); }
    const std::string& get_arguments() const { return extra(&EXTRA_TEXTS::arguments); }
    const std::string& get_initial_vec_state() const { return extra(&EXTRA_TEXTS::initial_vec_state); }
    bool is_port() const {
        return obj_type == KOVA_OBJ_INPUT_PORT || obj_type == KOVA_OBJ_OUTPUT_PORT || obj_type == KOVA_OBJ_INOUT_PORT;
    }
    // Integer, string and the third parameter kind.
    bool is_parameter() const {
        return obj_type == KOVA_OBJ_INTEGER_PARAMETER || obj_type == KOVA_OBJ_STRING_PARAMETER ||
               obj_type == KOVA_OBJ_OTHER_PARAMETER;
    }
    // Hidden parameters and function macros, whose value text is an
    // expression that gives their current value.
    bool has_expression_value() const {
        return obj_type == KOVA_OBJ_HIDDEN_PARAMETER || obj_type == KOVA_OBJ_FN_MACRO;
    }
    // usage_state, or default_usage_state while usage_state is NONE.
    int get_effective_usage_state() const {
        return usage_state == KOVA_USAGE_NONE ? default_usage_state : usage_state;
    }

    void set_name(const std::string& v) {
        m_name = v;
        m_name_memo.clear();
    }
    void set_value(const std::string& v) { m_value = v; }
    void set_default_value(const std::string& v) {
        m_default_value = v;
        refresh_integer_reading();
    }
    void set_current_value(const std::string& v) {
        m_current_value = v;
        refresh_integer_reading();
    }
    // The value as an integer parameter reads it: kova_atoi of the current
    // value, else of the default value, else -1 when both are empty. Kept
    // beside the texts so that a read converts nothing.
    int32_t integer_reading() const { return m_integer_reading; }
    void set_port_width(const std::string& v) { set_extra(&EXTRA_TEXTS::port_width, v); }
    void set_port_width2d(const std::string& v) { set_extra(&EXTRA_TEXTS::port_width2d, v); }
    void set_arguments(const std::string& v) { set_extra(&EXTRA_TEXTS::arguments, v); }
    void set_initial_vec_state(const std::string& v) { set_extra(&EXTRA_TEXTS::initial_vec_state, v); }

    // Rules, walked with the object's one rule cursor. Copies of an object
    // share its rules until one of them changes them or hands one out to
    // be changed (get_next_rule_element, rule_snapshot), which gives that
    // object rules of its own first; so every copy behaves as a deep copy.
    // A shared list is never changed, so objects that share one may be
    // read in different threads; only the functions that are not const
    // change an object's rules or their sharing.
    void reset_rule_list();
    // Hands the next rule out to be changed.
    KOVA_RULE_ELEMENT* get_next_rule_element();
    // Appends a copy of the rule.
    void add_rule(const KOVA_RULE_ELEMENT* rule);
    // The same, taking the rule itself rather than a copy.
    void add_rule(std::unique_ptr<KOVA_RULE_ELEMENT> rule);
    // Every rule's condition must also satisfy condition from now on
    // (kova_and_conditions); an empty condition changes nothing.
    void append_rule_list_with_condition(const std::string& condition);
    // The rules in order, handed out to be changed, for walks that must
    // not use the cursor; the pointers stay valid until the rules are
    // next changed or the object is assigned to or destroyed.
    std::vector<KOVA_RULE_ELEMENT*> rule_snapshot();
    // The rules in order for walks that only read them; they stay shared.
    // See KOVA_RULE_VIEW for how long the view holds.
    KOVA_RULE_VIEW rule_view() const { return KOVA_RULE_VIEW(m_rules.get()); }
    std::size_t get_rule_count() const { return m_rules ? m_rules->size() : 0; }
    // A memo for looking this object's name up in a map (find_remembered);
    // a new name, and every copy, start without one. The memo is a cache
    // that a look-up through a const object still writes: an object whose
    // memo is in use belongs to one thread at a time.
    KOVA_MAP_MEMO& name_memo() const { return m_name_memo; }

    int obj_type;
    int evaluation_position = -1;
    bool silent_correction = false;

private:
    // What a run touches of every object lies in the object's first 64
    // bytes, beside obj_type and its position: the memo of its copy and
    // the integer reading (the copy's, for a copy), which a rule's read of
    // the name needs, and the current value's length, which the reset
    // before a run asks. A run reads the objects of the level before it,
    // which at 100,000 objects have left the caches, so each further line
    // is one more miss.
    bool m_rules_handed_out = false;
    // Invariant: what the current and default values read as
    // (integer_reading), set again whenever either text changes.
    int32_t m_integer_reading = -1;
    mutable KOVA_MAP_MEMO m_name_memo;
    std::string m_current_value;

public:
    int default_index = -1;
    int usage_state = KOVA_USAGE_NONE;
    int default_usage_state = KOVA_USAGE_NONE;
    int wizard_kind = KOVA_WIZARD_FROM_MAP;

private:
    // The texts that only ports or macros have, kept apart so that the
    // other objects (and their validator copies) do not carry them; made
    // when one of them is first set to a non-empty text.
    struct EXTRA_TEXTS {
        std::string port_width, port_width2d, arguments, initial_vec_state;
    };
    // The text, or "" while there are no extra texts. Read in the caller:
    // restoring and checking a port reads its widths for every object.
    const std::string& extra(std::string EXTRA_TEXTS::*text) const { return m_extra ? (*m_extra).*text : s_no_text; }
    static const std::string s_no_text;
    void set_extra(std::string EXTRA_TEXTS::*text, const std::string& value);

    std::string m_name;
    std::string m_value, m_default_value;
    std::unique_ptr<EXTRA_TEXTS> m_extra;
    using RULE_LIST = KOVA_RULE_VIEW::LIST;
    // Rules of its own, copied from a shared list when needed; marks them
    // handed out when asked to, after which copies do not share them.
    RULE_LIST& own_rules(bool hand_out);

    // Null while there are no rules. Invariants: a list that has been
    // handed out (m_rules_handed_out) is never shared; a shared list is
    // never changed.
    std::shared_ptr<RULE_LIST> m_rules;
    void refresh_integer_reading();
    std::size_t m_rule_cursor = 0;
};

// An ordered, owning collection of model objects with case-insensitive
// lookup and one walk cursor; the common part of models and maps. The
// index finds objects by the names they hold, so an object must keep its
// name (up to letter case) while it is in a collection.
class KOVA_HOST_API KOVA_OBJ_COLLECTION {
public:
    KOVA_OBJ_COLLECTION() = default;
    KOVA_OBJ_COLLECTION(const KOVA_OBJ_COLLECTION& other);
    // Copy and swap (strong guarantee).
    KOVA_OBJ_COLLECTION& operator=(const KOVA_OBJ_COLLECTION& other);
    ~KOVA_OBJ_COLLECTION();
    void swap(KOVA_OBJ_COLLECTION& other) noexcept;

    KOVA_OBJ_INFO* find(const std::string& name) const;
    // A number that changes whenever an object joins the collection or
    // the collection changes hands (copy, assignment, swap), and that no
    // other collection state ever had: while it stays the same, a name
    // looked up before finds the same object now.
    uint64_t generation() const { return m_generation; }
    // Appends a new empty object; null when the name is taken or empty.
    KOVA_OBJ_INFO* append(const std::string& name, int type);
    // Takes a copy of object: replaces the description of the object of
    // that name, or appends the copy when there is none.
    KOVA_OBJ_INFO* update(const KOVA_OBJ_INFO& object);
    void reset() { m_cursor = 0; }
    KOVA_OBJ_INFO* next();
    std::size_t size() const { return m_objects.size(); }
    std::vector<KOVA_OBJ_INFO*> snapshot() const;

private:
    std::size_t position_of(const std::string& name) const;

    std::vector<std::unique_ptr<KOVA_OBJ_INFO>> m_objects;
    KOVA_NAME_INDEX m_index;
    std::size_t m_cursor = 0;
    uint64_t m_generation = next_generation();
    // A generation no collection has had (a process-wide count).
    static uint64_t next_generation();
};

// A named collection of objects of its own.
class KOVA_HOST_API KOVA_DATA_COLLECTION_MAP : public KOVA_OBJ {
public:
    explicit KOVA_DATA_COLLECTION_MAP(const std::string& name = "");
    KOVA_DATA_COLLECTION_MAP(const KOVA_DATA_COLLECTION_MAP& other) = default;
    // Copy and swap (strong guarantee).
    KOVA_DATA_COLLECTION_MAP& operator=(const KOVA_DATA_COLLECTION_MAP& other);
    ~KOVA_DATA_COLLECTION_MAP() override;
    void swap(KOVA_DATA_COLLECTION_MAP& other) noexcept;

    const std::string& get_map_name() const { return m_name; }
    void reset_kova_obj_map() { m_objects.reset(); }
    KOVA_OBJ_INFO* get_next_kova_obj() { return m_objects.next(); }
    KOVA_OBJ_INFO* get_kova_obj(const std::string& name) const { return m_objects.find(name); }
    std::size_t get_kova_obj_count() const { return m_objects.size(); }
    std::vector<KOVA_OBJ_INFO*> get_kova_obj_snapshot() const { return m_objects.snapshot(); }
    // A new object of that name and type; when the map already holds that
    // name, the object it holds (so a map evaluated again refreshes the
    // objects it added before). Null only for an empty name.
    KOVA_OBJ_INFO* add_kova_object(const std::string& name, int type);

private:
    std::string m_name;
    KOVA_OBJ_COLLECTION m_objects;
};

// A wizard map: a data collection with a condition and two fill flags.
class KOVA_HOST_API KOVA_WIZARD_MAP : public KOVA_DATA_COLLECTION_MAP {
public:
    explicit KOVA_WIZARD_MAP(const std::string& name = "");
    KOVA_WIZARD_MAP(const KOVA_WIZARD_MAP& other);
    KOVA_WIZARD_MAP& operator=(const KOVA_WIZARD_MAP& other);
    ~KOVA_WIZARD_MAP() override;

    // The map's condition rule, owned by the map; null when it has none.
    // Setting a new one releases the old one.
    KOVA_RULE_ELEMENT* condition_rule() const { return m_condition_rule.get(); }
    void set_condition_rule(std::unique_ptr<KOVA_RULE_ELEMENT> rule) { m_condition_rule = std::move(rule); }

    bool add_all_parameters = false;
    bool add_used_ports = false;

private:
    std::unique_ptr<KOVA_RULE_ELEMENT> m_condition_rule;
};

// A stimulus vector: stimulus records (rules) with one cursor, and a
// condition rule.
class KOVA_HOST_API KOVA_VECTOR_OBJ : public KOVA_OBJ {
public:
    explicit KOVA_VECTOR_OBJ(const std::string& name = "");
    KOVA_VECTOR_OBJ(const KOVA_VECTOR_OBJ& other);
    KOVA_VECTOR_OBJ& operator=(const KOVA_VECTOR_OBJ& other);
    ~KOVA_VECTOR_OBJ() override;

    const std::string& get_vector_name() const { return m_name; }
    void reset_vector_stimulus() { m_cursor = 0; }
    KOVA_RULE_ELEMENT* get_next_vector_stimulus();
    void add_vector_stimulus(const KOVA_RULE_ELEMENT& record);
    std::size_t get_stimulus_count() const { return m_stimulus.size(); }

    KOVA_RULE_ELEMENT* condition_rule() const { return m_condition_rule.get(); }
    void set_condition_rule(std::unique_ptr<KOVA_RULE_ELEMENT> rule) { m_condition_rule = std::move(rule); }

private:
    std::string m_name;
    std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> m_stimulus;
    std::size_t m_cursor = 0;
    std::unique_ptr<KOVA_RULE_ELEMENT> m_condition_rule;
};

// The model of one building block.
class KOVA_HOST_API KOVA_INFO : public KOVA_OBJ {
public:
    KOVA_INFO();
    KOVA_INFO(const KOVA_INFO& other);
    // Copy and swap (strong guarantee); cursors and origin start afresh.
    KOVA_INFO& operator=(const KOVA_INFO& other);
    ~KOVA_INFO() override;

    // Settings and texts.
    bool set_xml_lib_dir(const std::string& dir);
    const std::string& get_xml_lib_dir() const { return m_xml_lib_dir; }
    bool set_function_name(const std::string& name, const std::string& unused);
    const std::string& get_function_name() const { return m_function_name; }
    const std::string& get_info_condition() const { return m_info_condition; }
    void set_info_condition(const std::string& condition) { m_info_condition = condition; }
    const std::string& get_vhdl_library() const { return m_vhdl_library; }
    void set_vhdl_library(const std::string& library) { m_vhdl_library = library; }
    // The file this model was read from ("" when none).
    const std::string& get_source_file() const { return m_source_file; }

    // Reads a description file into this model (format: the description
    // reader's documentation). parent is the model that includes this one
    // as a sub-model, null for a top-level file. On any error the model is
    // left as it was, a message naming the file and line is posted, and
    // the answer is false.
    bool process_xml_file(const std::string& path, const KOVA_INFO* parent);

    // Objects.
    void reset_kova_obj_map() { m_objects.reset(); }
    KOVA_OBJ_INFO* get_next_kova_obj() { return m_objects.next(); }
    KOVA_OBJ_INFO* get_kova_obj(const std::string& name) const { return m_objects.find(name); }
    // See KOVA_OBJ_COLLECTION::generation.
    uint64_t get_kova_obj_generation() const { return m_objects.generation(); }
    int get_kova_obj_count() const { return static_cast<int>(m_objects.size()); }
    std::vector<KOVA_OBJ_INFO*> get_kova_obj_snapshot() const { return m_objects.snapshot(); }
    KOVA_OBJ_INFO* add_kova_obj(const std::string& name, int type) { return m_objects.append(name, type); }
    // Takes a copy of object into this model (replacing the description
    // of an object of the same name).
    KOVA_OBJ_INFO* update_kova_obj(const KOVA_OBJ_INFO* object);

    // Sub-models, owned by this model.
    void reset_sub_info_map() { m_sub_cursor = 0; }
    KOVA_INFO* get_next_sub_info();
    KOVA_INFO* add_sub_info(std::unique_ptr<KOVA_INFO> sub);
    std::size_t get_sub_info_count() const { return m_sub_infos.size(); }

    // Wizard maps; add_wizard_map stores a copy under name, replacing a
    // map of the same name.
    void reset_wizard_map() { m_wizard_cursor = 0; }
    KOVA_WIZARD_MAP* get_next_wizard_map();
    KOVA_WIZARD_MAP* get_wizard_map(const std::string& name) const;
    KOVA_WIZARD_MAP* add_wizard_map(const std::string& name, const KOVA_WIZARD_MAP* map);

    // Stimulus vectors; add_vector_object stores a copy as add_wizard_map.
    void reset_vector_map() { m_vector_cursor = 0; }
    KOVA_VECTOR_OBJ* get_next_vector_obj();
    KOVA_VECTOR_OBJ* get_vector_object(const std::string& name) const;
    KOVA_VECTOR_OBJ* add_vector_object(const std::string& name, const KOVA_VECTOR_OBJ* vector);

    // Function rules and message rules (copies appended in order).
    void reset_fn_rule_list() { m_fn_cursor = 0; }
    KOVA_RULE_ELEMENT* get_next_fn_rule_element();
    void add_fn_rule(const KOVA_RULE_ELEMENT& rule);
    void reset_msg_list() { m_msg_cursor = 0; }
    KOVA_RULE_ELEMENT* get_next_msg();
    void add_msg(const KOVA_RULE_ELEMENT& rule);
    std::vector<KOVA_RULE_ELEMENT*> get_fn_rule_snapshot() const;
    std::vector<KOVA_RULE_ELEMENT*> get_msg_snapshot() const;

    // The error list, in posting order. Every posted text also files a
    // graded record (get_diagnostics) naming the current origin; the plain
    // form grades the text an error of no particular kind.
    void post_error_message(const std::string& text);
    void post_error_message(const std::string& text, KOVA_SEVERITY severity, KOVA_DIAGNOSTIC_KIND kind);
    // Posts text, whose first problem_at bytes name place, and files its
    // record with place given outright and the rest of text as its text,
    // so that front ends show the place once. An error of kind load.
    void post_located_error(const std::string& text, const KOVA_SOURCE_LOCATION& place, std::size_t problem_at);
    // Clears the error list and every record.
    void clear_error_messages();
    const std::vector<std::string>& get_error_messages() const { return m_errors; }

    // Graded records, in filing order: one for each posted message, and
    // those filed without a message (file_diagnostic). Invariant: every
    // record with a message_index points at the text it was filed with
    // (a located error's record holds that text less its leading place).
    const std::vector<KOVA_DIAGNOSTIC>& get_diagnostics() const { return m_diagnostics; }
    // Files a record that has no text in the error list, from the current
    // origin (the record's object, rule and place are filled in when empty).
    void file_diagnostic(KOVA_DIAGNOSTIC record);

    // What the engine is working on, named by the records filed meanwhile;
    // KOVA_ORIGIN_SCOPE sets it for the length of a scope.
    const KOVA_MESSAGE_ORIGIN& get_message_origin() const { return m_origin; }
    void set_message_origin(const KOVA_MESSAGE_ORIGIN& origin) { m_origin = origin; }

    // Where the texts of this model were written; null for a model that
    // no description file gave. Shared by copies and sub-models of one
    // load, and never changed once the reader has filled it.
    const KOVA_SOURCE_TABLE* get_source_table() const { return m_sources.get(); }
    void set_source_table(std::shared_ptr<const KOVA_SOURCE_TABLE> table) { m_sources = std::move(table); }
    // The place of a record's field (see KOVA_SOURCE_TABLE::locate).
    KOVA_SOURCE_LOCATION locate(uint32_t source_id, KOVA_SOURCE_FIELD field, bool fall_back = true) const;
    // A text of a record that only the front ends read, such as its help
    // or label (KOVA_SOURCE_TABLE::text); "" for a model without a table.
    const std::string& written_text(uint32_t source_id, KOVA_SOURCE_FIELD field) const;

protected:
    // Exchanges the whole model, cursors and origin included, with other.
    void swap_model(KOVA_INFO& other) noexcept;

private:
    friend class KOVA_DESCRIPTION_READER;

    std::string m_xml_lib_dir, m_function_name, m_info_condition, m_vhdl_library, m_source_file;
    KOVA_OBJ_COLLECTION m_objects;
    std::vector<std::unique_ptr<KOVA_INFO>> m_sub_infos;
    std::vector<std::unique_ptr<KOVA_WIZARD_MAP>> m_wizard_maps;
    std::vector<std::unique_ptr<KOVA_VECTOR_OBJ>> m_vectors;
    std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> m_fn_rules;
    std::vector<std::unique_ptr<KOVA_RULE_ELEMENT>> m_msgs;
    std::vector<std::string> m_errors;
    std::vector<KOVA_DIAGNOSTIC> m_diagnostics;
    KOVA_MESSAGE_ORIGIN m_origin;
    std::shared_ptr<const KOVA_SOURCE_TABLE> m_sources;
    std::size_t m_sub_cursor = 0, m_wizard_cursor = 0, m_vector_cursor = 0;
    std::size_t m_fn_cursor = 0, m_msg_cursor = 0;
};

#endif
