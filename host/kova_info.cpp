// The host model: objects, rules, maps, vectors, sub-models and the error
// list. Every record is owned by value; copies are deep.
#include "host/kova_info.h"

#include <atomic>

#include "host/kova_atoi.h"

namespace {

template <typename T>
std::vector<std::unique_ptr<T>> deep_copy(const std::vector<std::unique_ptr<T>>& source) {
    std::vector<std::unique_ptr<T>> copy;
    copy.reserve(source.size());
    for (const auto& item : source) copy.push_back(std::make_unique<T>(*item));
    return copy;
}

template <typename T>
std::unique_ptr<T> copy_or_null(const std::unique_ptr<T>& source) {
    return source ? std::make_unique<T>(*source) : nullptr;
}

template <typename T>
T* next_of(const std::vector<std::unique_ptr<T>>& items, std::size_t& cursor) {
    return cursor < items.size() ? items[cursor++].get() : nullptr;
}

template <typename T>
std::vector<T*> pointers_of(const std::vector<std::unique_ptr<T>>& items) {
    std::vector<T*> pointers;
    pointers.reserve(items.size());
    for (const auto& item : items) pointers.push_back(item.get());
    return pointers;
}

// Finds the record whose name (as given by name_of) equals name, ignoring case.
template <typename T, typename NameOf>
T* find_named(const std::vector<std::unique_ptr<T>>& items, const std::string& name, NameOf name_of) {
    for (const auto& item : items)
        if (kova_equal_nocase(name_of(*item), name)) return item.get();
    return nullptr;
}

// Stores a copy of record under its name: an existing record of that name
// is overwritten in place, so pointers to it stay valid.
template <typename T, typename NameOf>
T* store_named(std::vector<std::unique_ptr<T>>& items, const T& record, const std::string& name,
               NameOf name_of) {
    if (T* existing = find_named(items, name, name_of)) {
        if (existing != &record) *existing = record;
        return existing;
    }
    items.push_back(std::make_unique<T>(record));
    return items.back().get();
}

}  // namespace

std::string kova_get_usage_state_as_string(int state) {
    switch (state) {
    case KOVA_USAGE_UNUSED: return "UNUSED";
    case KOVA_USAGE_USED: return "USED";
    case KOVA_USAGE_CONSTANT: return "CONSTANT";
    case KOVA_USAGE_NONE: return "NONE";
    default: return "UNKNOWN";
    }
}

std::string kova_and_conditions(const std::string& old_condition, const std::string& extra) {
    if (extra.empty()) return old_condition;
    if (old_condition.empty()) return extra;
    return "(" + old_condition + ") and (" + extra + ")";
}

// KOVA_RULE_ELEMENT

KOVA_RULE_ELEMENT::KOVA_RULE_ELEMENT(const std::string& value, const std::string& condition,
                                     const std::string& alt_value, int type)
    : rule_type(type), m_value(value), m_condition(condition), m_alt_value(alt_value) {}

KOVA_RULE_ELEMENT::~KOVA_RULE_ELEMENT() = default;

// KOVA_OBJ_INFO

KOVA_OBJ_INFO::KOVA_OBJ_INFO(const std::string& name, int type) : obj_type(type), m_name(name) {}

KOVA_OBJ_INFO::KOVA_OBJ_INFO(const KOVA_OBJ_INFO* other) : KOVA_OBJ_INFO(other ? *other : KOVA_OBJ_INFO()) {}

KOVA_OBJ_INFO::KOVA_OBJ_INFO(const KOVA_OBJ_INFO& other)
    : KOVA_OBJ(other),
      obj_type(other.obj_type),
      evaluation_position(other.evaluation_position),
      silent_correction(other.silent_correction),
      m_integer_reading(other.m_integer_reading),
      m_current_value(other.m_current_value),
      default_index(other.default_index),
      usage_state(other.usage_state),
      default_usage_state(other.default_usage_state),
      wizard_kind(other.wizard_kind),
      m_name(other.m_name),
      m_value(other.m_value),
      m_default_value(other.m_default_value),
      m_extra(copy_or_null(other.m_extra)),
      m_rules(!other.m_rules || !other.m_rules_handed_out ? other.m_rules
                                                          : std::make_shared<RULE_LIST>(deep_copy(*other.m_rules))) {}

KOVA_OBJ_INFO& KOVA_OBJ_INFO::operator=(const KOVA_OBJ_INFO& other) {
    if (this != &other) {
        KOVA_OBJ_INFO copy(other);
        KOVA_OBJ::operator=(copy);
        obj_type = copy.obj_type;
        default_index = copy.default_index;
        usage_state = copy.usage_state;
        default_usage_state = copy.default_usage_state;
        evaluation_position = copy.evaluation_position;
        wizard_kind = copy.wizard_kind;
        silent_correction = copy.silent_correction;
        m_name = std::move(copy.m_name);
        m_name_memo.clear();
        m_value = std::move(copy.m_value);
        m_default_value = std::move(copy.m_default_value);
        m_current_value = std::move(copy.m_current_value);
        m_integer_reading = copy.m_integer_reading;
        m_extra = std::move(copy.m_extra);
        m_rules = std::move(copy.m_rules);
        m_rules_handed_out = false;
        m_rule_cursor = 0;
    }
    return *this;
}

KOVA_OBJ_INFO::~KOVA_OBJ_INFO() = default;

const std::string KOVA_OBJ_INFO::s_no_text;

void KOVA_OBJ_INFO::set_extra(std::string EXTRA_TEXTS::*text, const std::string& value) {
    if (!m_extra) {
        if (value.empty()) return;
        m_extra = std::make_unique<EXTRA_TEXTS>();
    }
    (*m_extra).*text = value;
}

void KOVA_OBJ_INFO::refresh_integer_reading() {
    if (!m_current_value.empty())
        m_integer_reading = kova_atoi(m_current_value);
    else
        m_integer_reading = m_default_value.empty() ? -1 : kova_atoi(m_default_value);
}

KOVA_OBJ_INFO::RULE_LIST& KOVA_OBJ_INFO::own_rules(bool hand_out) {
    if (!m_rules) {
        m_rules = std::make_shared<RULE_LIST>();
    } else if (m_rules.use_count() > 1) {
        m_rules = std::make_shared<RULE_LIST>(deep_copy(*m_rules));
    } else {
        // The sole holder: pairs with the release in which the last other
        // holder (maybe in another thread) let the list go, so its reads
        // of the list come before the changes this object makes now.
        std::atomic_thread_fence(std::memory_order_acquire);
    }
    if (hand_out) m_rules_handed_out = true;
    return *m_rules;
}

void KOVA_OBJ_INFO::reset_rule_list() { m_rule_cursor = 0; }

KOVA_RULE_ELEMENT* KOVA_OBJ_INFO::get_next_rule_element() {
    if (m_rule_cursor >= get_rule_count()) return nullptr;
    return next_of(own_rules(true), m_rule_cursor);
}

void KOVA_OBJ_INFO::add_rule(const KOVA_RULE_ELEMENT* rule) {
    if (rule) own_rules(false).push_back(std::make_unique<KOVA_RULE_ELEMENT>(*rule));
}

void KOVA_OBJ_INFO::add_rule(std::unique_ptr<KOVA_RULE_ELEMENT> rule) {
    if (rule) own_rules(false).push_back(std::move(rule));
}

void KOVA_OBJ_INFO::append_rule_list_with_condition(const std::string& condition) {
    if (condition.empty() || !m_rules) return;
    for (auto& rule : own_rules(false)) rule->set_condition(kova_and_conditions(rule->get_condition(), condition));
}

std::vector<KOVA_RULE_ELEMENT*> KOVA_OBJ_INFO::rule_snapshot() {
    if (!m_rules) return {};
    return pointers_of(own_rules(true));
}

// KOVA_OBJ_COLLECTION

KOVA_OBJ_COLLECTION::KOVA_OBJ_COLLECTION(const KOVA_OBJ_COLLECTION& other)
    : m_objects(deep_copy(other.m_objects)), m_index(other.m_index) {}

KOVA_OBJ_COLLECTION& KOVA_OBJ_COLLECTION::operator=(const KOVA_OBJ_COLLECTION& other) {
    if (this != &other) {
        KOVA_OBJ_COLLECTION copy(other);
        swap(copy);
        m_cursor = 0;
    }
    return *this;
}

void KOVA_OBJ_COLLECTION::swap(KOVA_OBJ_COLLECTION& other) noexcept {
    m_objects.swap(other.m_objects);
    std::swap(m_index, other.m_index);
    std::swap(m_cursor, other.m_cursor);
    m_generation = next_generation();
    other.m_generation = next_generation();
}

uint64_t KOVA_OBJ_COLLECTION::next_generation() {
    static std::atomic<uint64_t> count{0};
    return ++count;
}

KOVA_OBJ_COLLECTION::~KOVA_OBJ_COLLECTION() = default;

std::size_t KOVA_OBJ_COLLECTION::position_of(const std::string& name) const {
    return m_index.find(name, [this](std::size_t position) -> const std::string& {
        return m_objects[position]->get_name();
    });
}

KOVA_OBJ_INFO* KOVA_OBJ_COLLECTION::find(const std::string& name) const {
    const std::size_t position = position_of(name);
    return position == KOVA_NAME_INDEX::NONE ? nullptr : m_objects[position].get();
}

KOVA_OBJ_INFO* KOVA_OBJ_COLLECTION::append(const std::string& name, int type) {
    if (name.empty() || find(name)) return nullptr;
    m_objects.push_back(std::make_unique<KOVA_OBJ_INFO>(name, type));
    m_index.append_stored(name, [this] { m_objects.pop_back(); });
    m_generation = next_generation();
    return m_objects.back().get();
}

KOVA_OBJ_INFO* KOVA_OBJ_COLLECTION::update(const KOVA_OBJ_INFO& object) {
    if (KOVA_OBJ_INFO* existing = find(object.get_name())) {
        if (existing != &object) *existing = object;
        return existing;
    }
    if (object.get_name().empty()) return nullptr;
    m_objects.push_back(std::make_unique<KOVA_OBJ_INFO>(object));
    m_index.append_stored(object.get_name(), [this] { m_objects.pop_back(); });
    m_generation = next_generation();
    return m_objects.back().get();
}

KOVA_OBJ_INFO* KOVA_OBJ_COLLECTION::next() { return next_of(m_objects, m_cursor); }

std::vector<KOVA_OBJ_INFO*> KOVA_OBJ_COLLECTION::snapshot() const { return pointers_of(m_objects); }

// KOVA_DATA_COLLECTION_MAP, KOVA_WIZARD_MAP, KOVA_VECTOR_OBJ

KOVA_DATA_COLLECTION_MAP::KOVA_DATA_COLLECTION_MAP(const std::string& name) : m_name(name) {}

KOVA_DATA_COLLECTION_MAP& KOVA_DATA_COLLECTION_MAP::operator=(const KOVA_DATA_COLLECTION_MAP& other) {
    if (this != &other) {
        KOVA_DATA_COLLECTION_MAP copy(other);
        swap(copy);
    }
    return *this;
}

KOVA_DATA_COLLECTION_MAP::~KOVA_DATA_COLLECTION_MAP() = default;

void KOVA_DATA_COLLECTION_MAP::swap(KOVA_DATA_COLLECTION_MAP& other) noexcept {
    std::swap(source_id, other.source_id);
    m_name.swap(other.m_name);
    m_objects.swap(other.m_objects);
}

KOVA_OBJ_INFO* KOVA_DATA_COLLECTION_MAP::add_kova_object(const std::string& name, int type) {
    if (KOVA_OBJ_INFO* existing = m_objects.find(name)) return existing;
    return m_objects.append(name, type);
}

KOVA_WIZARD_MAP::KOVA_WIZARD_MAP(const std::string& name) : KOVA_DATA_COLLECTION_MAP(name) {}

KOVA_WIZARD_MAP::KOVA_WIZARD_MAP(const KOVA_WIZARD_MAP& other)
    : KOVA_DATA_COLLECTION_MAP(other),
      add_all_parameters(other.add_all_parameters),
      add_used_ports(other.add_used_ports),
      m_condition_rule(copy_or_null(other.m_condition_rule)) {}

KOVA_WIZARD_MAP& KOVA_WIZARD_MAP::operator=(const KOVA_WIZARD_MAP& other) {
    if (this != &other) {
        KOVA_WIZARD_MAP copy(other);
        KOVA_DATA_COLLECTION_MAP::swap(copy);
        add_all_parameters = copy.add_all_parameters;
        add_used_ports = copy.add_used_ports;
        m_condition_rule = std::move(copy.m_condition_rule);
    }
    return *this;
}

KOVA_WIZARD_MAP::~KOVA_WIZARD_MAP() = default;

KOVA_VECTOR_OBJ::KOVA_VECTOR_OBJ(const std::string& name) : m_name(name) {}

KOVA_VECTOR_OBJ::KOVA_VECTOR_OBJ(const KOVA_VECTOR_OBJ& other)
    : KOVA_OBJ(other),
      m_name(other.m_name),
      m_stimulus(deep_copy(other.m_stimulus)),
      m_condition_rule(copy_or_null(other.m_condition_rule)) {}

KOVA_VECTOR_OBJ& KOVA_VECTOR_OBJ::operator=(const KOVA_VECTOR_OBJ& other) {
    if (this != &other) {
        KOVA_VECTOR_OBJ copy(other);
        KOVA_OBJ::operator=(copy);
        m_name.swap(copy.m_name);
        m_stimulus.swap(copy.m_stimulus);
        m_cursor = 0;
        m_condition_rule = std::move(copy.m_condition_rule);
    }
    return *this;
}

KOVA_VECTOR_OBJ::~KOVA_VECTOR_OBJ() = default;

KOVA_RULE_ELEMENT* KOVA_VECTOR_OBJ::get_next_vector_stimulus() { return next_of(m_stimulus, m_cursor); }

void KOVA_VECTOR_OBJ::add_vector_stimulus(const KOVA_RULE_ELEMENT& record) {
    m_stimulus.push_back(std::make_unique<KOVA_RULE_ELEMENT>(record));
}

// KOVA_INFO

KOVA_INFO::KOVA_INFO() = default;

KOVA_INFO::KOVA_INFO(const KOVA_INFO& other)
    : KOVA_OBJ(other),
      m_xml_lib_dir(other.m_xml_lib_dir),
      m_function_name(other.m_function_name),
      m_info_condition(other.m_info_condition),
      m_vhdl_library(other.m_vhdl_library),
      m_source_file(other.m_source_file),
      m_objects(other.m_objects),
      m_sub_infos(deep_copy(other.m_sub_infos)),
      m_wizard_maps(deep_copy(other.m_wizard_maps)),
      m_vectors(deep_copy(other.m_vectors)),
      m_fn_rules(deep_copy(other.m_fn_rules)),
      m_msgs(deep_copy(other.m_msgs)),
      m_errors(other.m_errors),
      m_diagnostics(other.m_diagnostics),
      m_sources(other.m_sources) {}

KOVA_INFO& KOVA_INFO::operator=(const KOVA_INFO& other) {
    if (this != &other) {
        KOVA_INFO copy(other);
        swap_model(copy);
        m_origin = KOVA_MESSAGE_ORIGIN();
        m_sub_cursor = m_wizard_cursor = m_vector_cursor = m_fn_cursor = m_msg_cursor = 0;
    }
    return *this;
}

void KOVA_INFO::swap_model(KOVA_INFO& other) noexcept {
    using std::swap;
    swap(source_id, other.source_id);
    m_xml_lib_dir.swap(other.m_xml_lib_dir);
    m_function_name.swap(other.m_function_name);
    m_info_condition.swap(other.m_info_condition);
    m_vhdl_library.swap(other.m_vhdl_library);
    m_source_file.swap(other.m_source_file);
    m_objects.swap(other.m_objects);
    m_sub_infos.swap(other.m_sub_infos);
    m_wizard_maps.swap(other.m_wizard_maps);
    m_vectors.swap(other.m_vectors);
    m_fn_rules.swap(other.m_fn_rules);
    m_msgs.swap(other.m_msgs);
    m_errors.swap(other.m_errors);
    m_diagnostics.swap(other.m_diagnostics);
    swap(m_origin, other.m_origin);
    m_sources.swap(other.m_sources);
    swap(m_sub_cursor, other.m_sub_cursor);
    swap(m_wizard_cursor, other.m_wizard_cursor);
    swap(m_vector_cursor, other.m_vector_cursor);
    swap(m_fn_cursor, other.m_fn_cursor);
    swap(m_msg_cursor, other.m_msg_cursor);
}

KOVA_INFO::~KOVA_INFO() = default;

bool KOVA_INFO::set_xml_lib_dir(const std::string& dir) {
    m_xml_lib_dir = dir;
    return true;
}

bool KOVA_INFO::set_function_name(const std::string& name, const std::string&) {
    m_function_name = name;
    return true;
}

KOVA_OBJ_INFO* KOVA_INFO::update_kova_obj(const KOVA_OBJ_INFO* object) {
    return object ? m_objects.update(*object) : nullptr;
}

KOVA_INFO* KOVA_INFO::get_next_sub_info() { return next_of(m_sub_infos, m_sub_cursor); }

KOVA_INFO* KOVA_INFO::add_sub_info(std::unique_ptr<KOVA_INFO> sub) {
    if (!sub) return nullptr;
    m_sub_infos.push_back(std::move(sub));
    return m_sub_infos.back().get();
}

namespace {
const std::string& map_name(const KOVA_WIZARD_MAP& map) { return map.get_map_name(); }
const std::string& vector_name(const KOVA_VECTOR_OBJ& vector) { return vector.get_vector_name(); }
}  // namespace

KOVA_WIZARD_MAP* KOVA_INFO::get_next_wizard_map() { return next_of(m_wizard_maps, m_wizard_cursor); }

KOVA_WIZARD_MAP* KOVA_INFO::get_wizard_map(const std::string& name) const {
    return find_named(m_wizard_maps, name, map_name);
}

KOVA_WIZARD_MAP* KOVA_INFO::add_wizard_map(const std::string& name, const KOVA_WIZARD_MAP* map) {
    return map ? store_named(m_wizard_maps, *map, name, map_name) : nullptr;
}

KOVA_VECTOR_OBJ* KOVA_INFO::get_next_vector_obj() { return next_of(m_vectors, m_vector_cursor); }

KOVA_VECTOR_OBJ* KOVA_INFO::get_vector_object(const std::string& name) const {
    return find_named(m_vectors, name, vector_name);
}

KOVA_VECTOR_OBJ* KOVA_INFO::add_vector_object(const std::string& name, const KOVA_VECTOR_OBJ* vector) {
    return vector ? store_named(m_vectors, *vector, name, vector_name) : nullptr;
}

KOVA_RULE_ELEMENT* KOVA_INFO::get_next_fn_rule_element() { return next_of(m_fn_rules, m_fn_cursor); }

void KOVA_INFO::add_fn_rule(const KOVA_RULE_ELEMENT& rule) {
    m_fn_rules.push_back(std::make_unique<KOVA_RULE_ELEMENT>(rule));
}

KOVA_RULE_ELEMENT* KOVA_INFO::get_next_msg() { return next_of(m_msgs, m_msg_cursor); }

void KOVA_INFO::add_msg(const KOVA_RULE_ELEMENT& rule) { m_msgs.push_back(std::make_unique<KOVA_RULE_ELEMENT>(rule)); }

std::vector<KOVA_RULE_ELEMENT*> KOVA_INFO::get_fn_rule_snapshot() const { return pointers_of(m_fn_rules); }

std::vector<KOVA_RULE_ELEMENT*> KOVA_INFO::get_msg_snapshot() const { return pointers_of(m_msgs); }

void KOVA_INFO::post_error_message(const std::string& text) {
    post_error_message(text, KOVA_SEVERITY_ERROR, KOVA_DIAG_OTHER);
}

void KOVA_INFO::post_error_message(const std::string& text, KOVA_SEVERITY severity, KOVA_DIAGNOSTIC_KIND kind) {
    KOVA_DIAGNOSTIC record;
    record.severity = severity;
    record.kind = kind;
    record.text = text;
    record.message_index = static_cast<int>(m_errors.size());
    m_errors.push_back(text);
    try {
        file_diagnostic(std::move(record));
    } catch (...) {
        // The list and the records stay in step: no text without its record.
        m_errors.pop_back();
        throw;
    }
}

void KOVA_INFO::post_located_error(const std::string& text, const KOVA_SOURCE_LOCATION& place,
                                   std::size_t problem_at) {
    post_error_message(text, KOVA_SEVERITY_ERROR, KOVA_DIAG_LOAD);
    KOVA_DIAGNOSTIC& record = m_diagnostics.back();
    record.location = place;
    if (problem_at <= text.size()) record.text = text.substr(problem_at);
}

void KOVA_INFO::file_diagnostic(KOVA_DIAGNOSTIC record) {
    if (record.object.empty() && m_origin.object) record.object = *m_origin.object;
    if (record.rule_index < 0) record.rule_index = m_origin.rule_index;
    if (record.source_id == 0) {
        record.source_id = m_origin.source_id;
        record.field = m_origin.field;
    }
    m_diagnostics.push_back(std::move(record));
}

void KOVA_INFO::clear_error_messages() {
    m_errors.clear();
    m_diagnostics.clear();
}

KOVA_SOURCE_LOCATION KOVA_INFO::locate(uint32_t source_id, KOVA_SOURCE_FIELD field, bool fall_back) const {
    return m_sources ? m_sources->locate(source_id, field, fall_back) : KOVA_SOURCE_LOCATION();
}

const std::string& KOVA_INFO::written_text(uint32_t source_id, KOVA_SOURCE_FIELD field) const {
    static const std::string none;
    return m_sources ? m_sources->text(source_id, field) : none;
}
