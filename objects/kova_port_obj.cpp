// The validator's port copy: width, value objects and the legal-value
// array, all owned by the port and all of the port's width.
//
// Every change that allocates builds the new values aside first and puts
// them in place only once nothing is left that can fail.
#include "objects/kova_port_obj.h"

#include <utility>

#include "host/qel_util.h"

namespace {

std::string value_as_string(const NUVO_UINTEGER* value, int radix, int width) {
    if (!value) return "";
    std::string result;
    qel_radix_conversion(value->as_bin_string(), result, QEL_RADIX_BINARY, radix, width);
    return result;
}

uint32_t value_as_integer(const NUVO_UINTEGER* value) { return value ? value->uint() : 0xFFFFFFFFu; }

// Loads a number text of the given radix; a text that does not convert
// leaves the value as it was.
void load_text(NUVO_UINTEGER* value, const std::string& text, int radix, int width) {
    std::string digits;
    if (value && qel_radix_conversion(text, digits, radix, QEL_RADIX_BINARY, width))
        value->set_value_from_bin_string(digits);
}

void load_number(NUVO_UINTEGER* value, int number) {
    if (value) *value = static_cast<uint32_t>(number);
}

void load_value(NUVO_UINTEGER* value, const NUVO_UINTEGER& source) {
    if (value) value->assign_keeping_width(source);
}

std::unique_ptr<NUVO_UINTEGER> new_unknown(int width) {
    auto value = std::make_unique<NUVO_UINTEGER>(0, width);
    value->force_x();
    return value;
}

// A copy of value at width; of its own width when width is negative.
std::unique_ptr<NUVO_UINTEGER> copy_at_width(const NUVO_UINTEGER* value, int width) {
    if (!value) return nullptr;
    if (width < 0) return std::make_unique<NUVO_UINTEGER>(*value);
    auto copy = std::make_unique<NUVO_UINTEGER>(0, width);
    copy->assign_keeping_width(*value);
    return copy;
}

std::size_t entry_count(NUVO_UINTEGER* const* array) {
    std::size_t count = 0;
    while (array[count]) ++count;
    return count;
}

}  // namespace

void KOVA_PORT_OBJ::VALUE_ARRAY_RELEASE::operator()(NUVO_UINTEGER** array) const {
    for (NUVO_UINTEGER** entry = array; *entry; ++entry) delete *entry;
    delete[] array;
}

// Entries are null until copied, so a copy that fails half-way releases
// exactly the entries made so far.
KOVA_PORT_OBJ::VALUE_ARRAY KOVA_PORT_OBJ::copy_of_array(NUVO_UINTEGER* const* array, int width) {
    if (!array) return nullptr;
    const std::size_t count = entry_count(array);
    VALUE_ARRAY copy(new NUVO_UINTEGER*[count + 1]());
    for (std::size_t i = 0; i < count; ++i) copy[i] = copy_at_width(array[i], width).release();
    return copy;
}

KOVA_PORT_OBJ::KOVA_PORT_OBJ(const KOVA_OBJ_INFO* model_object) : KOVA_OBJ_INFO(model_object) {}

KOVA_PORT_OBJ::KOVA_PORT_OBJ(const KOVA_PORT_OBJ& other)
    : KOVA_OBJ_INFO(other),
      m_current_usage_state(other.m_current_usage_state),
      m_alt_usage_state(other.m_alt_usage_state),
      m_current_port_width(other.m_current_port_width),
      m_current_port_value(copy_at_width(other.m_current_port_value.get(), -1)),
      m_min_port_value(copy_at_width(other.m_min_port_value.get(), -1)),
      m_max_port_value(copy_at_width(other.m_max_port_value.get(), -1)),
      m_port_value_array(copy_of_array(other.m_port_value_array.get(), -1)) {}

KOVA_PORT_OBJ& KOVA_PORT_OBJ::operator=(const KOVA_PORT_OBJ& other) {
    if (this == &other) return *this;
    auto current = copy_at_width(other.m_current_port_value.get(), -1);
    auto min = copy_at_width(other.m_min_port_value.get(), -1);
    auto max = copy_at_width(other.m_max_port_value.get(), -1);
    VALUE_ARRAY array = copy_of_array(other.m_port_value_array.get(), -1);
    KOVA_OBJ_INFO::operator=(other);  // the last step that can fail; it changes nothing when it does
    m_current_usage_state = other.m_current_usage_state;
    m_alt_usage_state = other.m_alt_usage_state;
    m_current_port_width = other.m_current_port_width;
    m_current_port_value = std::move(current);
    m_min_port_value = std::move(min);
    m_max_port_value = std::move(max);
    m_port_value_array = std::move(array);
    return *this;
}

KOVA_PORT_OBJ::~KOVA_PORT_OBJ() = default;

bool KOVA_PORT_OBJ::is_port_used() const {
    return m_current_usage_state == KOVA_USAGE_USED || m_current_usage_state == KOVA_USAGE_CONSTANT;
}

void KOVA_PORT_OBJ::set_current_port_width(int width) {
    auto current = new_unknown(width);
    auto min = new_unknown(width);
    auto max = new_unknown(width);
    VALUE_ARRAY array = copy_of_array(m_port_value_array.get(), width);
    m_current_port_width = width;
    m_current_port_value = std::move(current);
    m_min_port_value = std::move(min);
    m_max_port_value = std::move(max);
    m_port_value_array = std::move(array);
}

void KOVA_PORT_OBJ::reset_current_port_width() {
    m_current_port_value.reset();
    m_min_port_value.reset();
    m_max_port_value.reset();
    m_current_port_width = -1;
}

uint32_t KOVA_PORT_OBJ::get_current_port_value_as_integer() const {
    return value_as_integer(m_current_port_value.get());
}
uint32_t KOVA_PORT_OBJ::get_min_port_value_as_integer() const { return value_as_integer(m_min_port_value.get()); }
uint32_t KOVA_PORT_OBJ::get_max_port_value_as_integer() const { return value_as_integer(m_max_port_value.get()); }

std::string KOVA_PORT_OBJ::get_current_port_value_as_string(int radix) const {
    return value_as_string(m_current_port_value.get(), radix, m_current_port_width);
}
std::string KOVA_PORT_OBJ::get_min_port_value_as_string(int radix) const {
    return value_as_string(m_min_port_value.get(), radix, m_current_port_width);
}
std::string KOVA_PORT_OBJ::get_max_port_value_as_string(int radix) const {
    return value_as_string(m_max_port_value.get(), radix, m_current_port_width);
}

void KOVA_PORT_OBJ::set_current_port_value(const std::string& text, int radix) {
    load_text(m_current_port_value.get(), text, radix, m_current_port_width);
}
void KOVA_PORT_OBJ::set_min_port_value(const std::string& text, int radix) {
    load_text(m_min_port_value.get(), text, radix, m_current_port_width);
}
void KOVA_PORT_OBJ::set_max_port_value(const std::string& text, int radix) {
    load_text(m_max_port_value.get(), text, radix, m_current_port_width);
}

void KOVA_PORT_OBJ::set_current_port_value(int value) { load_number(m_current_port_value.get(), value); }
void KOVA_PORT_OBJ::set_min_port_value(int value) { load_number(m_min_port_value.get(), value); }
void KOVA_PORT_OBJ::set_max_port_value(int value) { load_number(m_max_port_value.get(), value); }

void KOVA_PORT_OBJ::set_current_port_value(const NUVO_UINTEGER& value) {
    if (!m_current_port_value) return;
    m_current_port_value->assign_keeping_width(value);
    m_min_port_value->force_x();
    m_max_port_value->force_x();
}

void KOVA_PORT_OBJ::set_min_port_value(const NUVO_UINTEGER& value) { load_value(m_min_port_value.get(), value); }
void KOVA_PORT_OBJ::set_max_port_value(const NUVO_UINTEGER& value) { load_value(m_max_port_value.get(), value); }

void KOVA_PORT_OBJ::reset_port_values() {
    if (!m_current_port_value) return;
    m_current_port_value->force_x();
    m_min_port_value->force_x();
    m_max_port_value->force_x();
}

void KOVA_PORT_OBJ::set_port_value_array(NUVO_UINTEGER** array) {
    if (array == m_port_value_array.get()) return;
    VALUE_ARRAY handed(array);
    if (handed && m_current_port_width >= 0) {
        // Entries of another width are replaced by copies at the port's.
        for (NUVO_UINTEGER** entry = handed.get(); *entry; ++entry) {
            if ((*entry)->width() == m_current_port_value->width()) continue;
            std::unique_ptr<NUVO_UINTEGER> fitted = copy_at_width(*entry, m_current_port_width);
            delete *entry;
            *entry = fitted.release();
        }
    }
    m_port_value_array = std::move(handed);
}
