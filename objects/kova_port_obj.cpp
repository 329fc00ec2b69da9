// The validator's port copy: width, value objects and the legal-value
// array, all owned by the port.
#include "objects/kova_port_obj.h"

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

NUVO_UINTEGER* new_unknown(int width) {
    auto* value = new NUVO_UINTEGER(0, width);
    value->force_x();
    return value;
}

NUVO_UINTEGER* copy_of(const NUVO_UINTEGER* value) { return value ? new NUVO_UINTEGER(*value) : nullptr; }

}  // namespace

KOVA_PORT_OBJ::KOVA_PORT_OBJ(const KOVA_OBJ_INFO* model_object) : KOVA_OBJ_INFO(model_object) {}

KOVA_PORT_OBJ::KOVA_PORT_OBJ(const KOVA_PORT_OBJ& other)
    : KOVA_OBJ_INFO(other),
      m_current_usage_state(other.m_current_usage_state),
      m_alt_usage_state(other.m_alt_usage_state),
      m_current_port_width(other.m_current_port_width) {
    copy_values_from(other);
}

KOVA_PORT_OBJ& KOVA_PORT_OBJ::operator=(const KOVA_PORT_OBJ& other) {
    if (this != &other) {
        KOVA_OBJ_INFO::operator=(other);
        m_current_usage_state = other.m_current_usage_state;
        m_alt_usage_state = other.m_alt_usage_state;
        m_current_port_width = other.m_current_port_width;
        release_values();
        release_value_array();
        copy_values_from(other);
    }
    return *this;
}

KOVA_PORT_OBJ::~KOVA_PORT_OBJ() {
    release_values();
    release_value_array();
}

void KOVA_PORT_OBJ::copy_values_from(const KOVA_PORT_OBJ& other) {
    m_current_port_value = copy_of(other.m_current_port_value);
    m_min_port_value = copy_of(other.m_min_port_value);
    m_max_port_value = copy_of(other.m_max_port_value);
    if (!other.m_port_value_array) return;
    std::size_t count = 0;
    while (other.m_port_value_array[count]) ++count;
    m_port_value_array = new NUVO_UINTEGER*[count + 1];
    for (std::size_t i = 0; i < count; ++i) m_port_value_array[i] = copy_of(other.m_port_value_array[i]);
    m_port_value_array[count] = nullptr;
}

void KOVA_PORT_OBJ::release_values() {
    delete m_current_port_value;
    delete m_min_port_value;
    delete m_max_port_value;
    m_current_port_value = m_min_port_value = m_max_port_value = nullptr;
}

void KOVA_PORT_OBJ::release_value_array() {
    if (!m_port_value_array) return;
    for (NUVO_UINTEGER** entry = m_port_value_array; *entry; ++entry) delete *entry;
    delete[] m_port_value_array;
    m_port_value_array = nullptr;
}

bool KOVA_PORT_OBJ::is_port_used() const {
    return m_current_usage_state == KOVA_USAGE_USED || m_current_usage_state == KOVA_USAGE_CONSTANT;
}

void KOVA_PORT_OBJ::set_current_port_width(int width) {
    release_values();
    m_current_port_width = width;
    m_current_port_value = new_unknown(width);
    m_min_port_value = new_unknown(width);
    m_max_port_value = new_unknown(width);
}

void KOVA_PORT_OBJ::reset_current_port_width() {
    release_values();
    m_current_port_width = -1;
}

uint32_t KOVA_PORT_OBJ::get_current_port_value_as_integer() const { return value_as_integer(m_current_port_value); }
uint32_t KOVA_PORT_OBJ::get_min_port_value_as_integer() const { return value_as_integer(m_min_port_value); }
uint32_t KOVA_PORT_OBJ::get_max_port_value_as_integer() const { return value_as_integer(m_max_port_value); }

std::string KOVA_PORT_OBJ::get_current_port_value_as_string(int radix) const {
    return value_as_string(m_current_port_value, radix, m_current_port_width);
}
std::string KOVA_PORT_OBJ::get_min_port_value_as_string(int radix) const {
    return value_as_string(m_min_port_value, radix, m_current_port_width);
}
std::string KOVA_PORT_OBJ::get_max_port_value_as_string(int radix) const {
    return value_as_string(m_max_port_value, radix, m_current_port_width);
}

void KOVA_PORT_OBJ::set_current_port_value(const std::string& text, int radix) {
    load_text(m_current_port_value, text, radix, m_current_port_width);
}
void KOVA_PORT_OBJ::set_min_port_value(const std::string& text, int radix) {
    load_text(m_min_port_value, text, radix, m_current_port_width);
}
void KOVA_PORT_OBJ::set_max_port_value(const std::string& text, int radix) {
    load_text(m_max_port_value, text, radix, m_current_port_width);
}

void KOVA_PORT_OBJ::set_current_port_value(int value) { load_number(m_current_port_value, value); }
void KOVA_PORT_OBJ::set_min_port_value(int value) { load_number(m_min_port_value, value); }
void KOVA_PORT_OBJ::set_max_port_value(int value) { load_number(m_max_port_value, value); }

void KOVA_PORT_OBJ::set_current_port_value(const NUVO_UINTEGER& value) {
    if (!m_current_port_value) return;
    *m_current_port_value = value;
    m_min_port_value->force_x();
    m_max_port_value->force_x();
}

void KOVA_PORT_OBJ::set_min_port_value(const NUVO_UINTEGER& value) {
    if (m_min_port_value) *m_min_port_value = value;
}

void KOVA_PORT_OBJ::set_max_port_value(const NUVO_UINTEGER& value) {
    if (m_max_port_value) *m_max_port_value = value;
}

void KOVA_PORT_OBJ::reset_port_values() {
    if (!m_current_port_value) return;
    m_current_port_value->force_x();
    m_min_port_value->force_x();
    m_max_port_value->force_x();
}

void KOVA_PORT_OBJ::set_port_value_array(NUVO_UINTEGER** array) {
    if (array == m_port_value_array) return;
    release_value_array();
    m_port_value_array = array;
}
