// Generic host containers and the case-folding helpers.
#include "host/kova_stl.h"

#include <algorithm>

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

KOVA_OBJ::~KOVA_OBJ() = default;

std::string to_lower_case(const std::string& text) {
    std::string lowered(text);
    for (char& c : lowered) c = fold(c);
    return lowered;
}

std::string trim_left(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t\n\r\f\v");
    return start == std::string::npos ? std::string() : text.substr(start);
}

bool kova_equal_nocase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

std::size_t HASH_C_STRING::operator()(const std::string& key) const {
    std::size_t hash = 0;
    for (char c : key) hash = hash * 17 + static_cast<std::size_t>(static_cast<signed char>(fold(c)));
    return hash;
}

bool LESS_C_STRING::operator()(const char* a, const char* b) const {
    if (!a) return b != nullptr;
    if (!b) return false;
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(fold(*a));
        unsigned char y = static_cast<unsigned char>(fold(*b));
        if (x != y) return x < y;
        if (x == 0) return false;
    }
}

bool LESS_C_STRING::operator()(const std::string& a, const std::string& b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(fold(a[i]));
        unsigned char y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// KOVA_NAME_MAP

bool KOVA_NAME_MAP::contains(const std::string& key) const { return m_index.count(key) != 0; }

const std::string* KOVA_NAME_MAP::find(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_entries[it->second].second;
}

bool KOVA_NAME_MAP::insert(const std::string& key, const std::string& value) {
    if (contains(key)) return false;
    m_index.emplace(key, m_entries.size());
    m_entries.emplace_back(key, value);
    return true;
}

void KOVA_NAME_MAP::set(const std::string& key, const std::string& value) {
    auto it = m_index.find(key);
    if (it == m_index.end())
        insert(key, value);
    else
        m_entries[it->second].second = value;
}

bool KOVA_NAME_MAP::erase(const std::string& key) {
    auto it = m_index.find(key);
    if (it == m_index.end()) return false;
    std::size_t position = it->second;
    m_index.erase(it);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& indexed : m_index)
        if (indexed.second > position) --indexed.second;
    return true;
}

void KOVA_NAME_MAP::clear() {
    m_entries.clear();
    m_index.clear();
}

// KOVA_OBJ_MAP

KOVA_OBJ_MAP::KOVA_OBJ_MAP(std::size_t capacity_hint) {
    m_entries.reserve(capacity_hint);
    m_index.reserve(capacity_hint);
}

KOVA_OBJ_MAP::KOVA_OBJ_MAP(const KOVA_OBJ_MAP& other)
    : KOVA_OBJ(other), m_entries(other.m_entries), m_index(other.m_index) {}

KOVA_OBJ_MAP& KOVA_OBJ_MAP::operator=(const KOVA_OBJ_MAP& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_index = other.m_index;
        m_cursor = 0;
    }
    return *this;
}

KOVA_OBJ_MAP::~KOVA_OBJ_MAP() = default;

KOVA_OBJ* KOVA_OBJ_MAP::add_entry(const std::string& key, KOVA_OBJ* object) {
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        KOVA_OBJ* displaced = m_entries[it->second].second;
        m_entries[it->second].second = object;
        return displaced;
    }
    m_index.emplace(key, m_entries.size());
    m_entries.emplace_back(key, object);
    return nullptr;
}

KOVA_OBJ* KOVA_OBJ_MAP::find_entry(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : m_entries[it->second].second;
}

void KOVA_OBJ_MAP::reset_iterator() { m_cursor = 0; }

KOVA_OBJ* KOVA_OBJ_MAP::get_next_entry(std::string& key) {
    if (m_cursor >= m_entries.size()) return nullptr;
    const auto& entry = m_entries[m_cursor++];
    key = entry.first;
    return entry.second;
}

bool KOVA_OBJ_MAP::holds_pointer(const KOVA_OBJ* object) const {
    for (const auto& entry : m_entries)
        if (entry.second == object) return true;
    return false;
}

void KOVA_OBJ_MAP::clear() {
    m_entries.clear();
    m_index.clear();
    m_cursor = 0;
}

// KOVA_OBJ_LIST

KOVA_OBJ_LIST::KOVA_OBJ_LIST(const KOVA_OBJ_LIST& other) : KOVA_OBJ(other), m_entries(other.m_entries) {}

KOVA_OBJ_LIST& KOVA_OBJ_LIST::operator=(const KOVA_OBJ_LIST& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_cursor = 0;
    }
    return *this;
}

KOVA_OBJ_LIST::~KOVA_OBJ_LIST() = default;

void KOVA_OBJ_LIST::append_entry(KOVA_OBJ* object) { m_entries.push_back(object); }

void KOVA_OBJ_LIST::reset_list_iterator() { m_cursor = 0; }

KOVA_OBJ* KOVA_OBJ_LIST::get_next_list_entry() {
    return m_cursor < m_entries.size() ? m_entries[m_cursor++] : nullptr;
}

void KOVA_OBJ_LIST::clear() {
    m_entries.clear();
    m_cursor = 0;
}
