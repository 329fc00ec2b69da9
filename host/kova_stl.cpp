// Generic host containers and the case-folding helpers.
#include "host/kova_stl.h"

#include <algorithm>
#include <atomic>

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Serial numbers of map states: unique in the process, never 0.
std::uint64_t next_map_serial() noexcept {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

KOVA_OBJ::~KOVA_OBJ() = default;

std::string to_lower_case(const std::string& text) {
    std::string lowered(text);
    for (char& c : lowered) c = fold(c);
    return lowered;
}

std::string trim_left(const std::string& text) {
    std::size_t start = text.find_first_not_of(KOVA_WHITE_SPACE);
    return start == std::string::npos ? std::string() : text.substr(start);
}

std::string_view trim(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
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

KOVA_NAME_MAP& KOVA_NAME_MAP::operator=(const KOVA_NAME_MAP& other) {
    if (this != &other) {
        KOVA_NAME_MAP copy(other);
        swap(copy);
    }
    return *this;
}

void KOVA_NAME_MAP::swap(KOVA_NAME_MAP& other) noexcept {
    m_entries.swap(other.m_entries);
    std::swap(m_index, other.m_index);
}

std::size_t KOVA_NAME_MAP::position_of(const std::string& key) const {
    return m_index.find(key, [this](std::size_t position) -> const std::string& { return m_entries[position].first; });
}

bool KOVA_NAME_MAP::contains(const std::string& key) const { return position_of(key) != KOVA_NAME_INDEX::NONE; }

const std::string* KOVA_NAME_MAP::find(const std::string& key) const {
    const std::size_t position = position_of(key);
    return position == KOVA_NAME_INDEX::NONE ? nullptr : &m_entries[position].second;
}

bool KOVA_NAME_MAP::insert(const std::string& key, const std::string& value) {
    if (contains(key)) return false;
    m_entries.emplace_back(key, value);
    m_index.append_stored(m_entries.back().first, [this] { m_entries.pop_back(); });
    return true;
}

void KOVA_NAME_MAP::set(const std::string& key, const std::string& value) {
    const std::size_t position = position_of(key);
    if (position == KOVA_NAME_INDEX::NONE)
        insert(key, value);
    else
        m_entries[position].second = value;
}

bool KOVA_NAME_MAP::erase(const std::string& key) {
    const std::size_t position = position_of(key);
    if (position == KOVA_NAME_INDEX::NONE) return false;
    m_index.erase(position);  // first: it is the step that can fail
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
    return true;
}

void KOVA_NAME_MAP::clear() {
    m_entries.clear();
    m_index.clear();
}

void KOVA_NAME_MAP::truncate(std::size_t count) {
    if (count >= m_entries.size()) return;
    m_index.truncate(count);  // first: it is the step that can fail
    m_entries.resize(count);
}

// KOVA_OBJ_MAP

KOVA_OBJ_MAP::KOVA_OBJ_MAP(std::size_t capacity_hint) : m_serial(next_map_serial()) {
    m_entries.reserve(capacity_hint);
    m_index.reserve(capacity_hint);
}

KOVA_OBJ_MAP::KOVA_OBJ_MAP(const KOVA_OBJ_MAP& other)
    : KOVA_OBJ(other), m_entries(other.m_entries), m_index(other.m_index), m_serial(next_map_serial()) {}

KOVA_OBJ_MAP& KOVA_OBJ_MAP::operator=(const KOVA_OBJ_MAP& other) {
    if (this != &other) {
        KOVA_OBJ_MAP copy(other);
        swap(copy);
        KOVA_OBJ::operator=(other);
        m_cursor = 0;
    }
    return *this;
}

KOVA_OBJ_MAP::~KOVA_OBJ_MAP() = default;

void KOVA_OBJ_MAP::swap(KOVA_OBJ_MAP& other) noexcept {
    m_entries.swap(other.m_entries);
    std::swap(m_index, other.m_index);
    std::swap(m_cursor, other.m_cursor);
    std::swap(m_serial, other.m_serial);
}

std::size_t KOVA_OBJ_MAP::position_of(const std::string& key) const {
    return m_index.find(key, [this](std::size_t position) -> const std::string& { return m_entries[position].first; });
}

KOVA_OBJ* KOVA_OBJ_MAP::add_entry(const std::string& key, KOVA_OBJ* object) {
    const std::size_t position = position_of(key);
    if (position != KOVA_NAME_INDEX::NONE) {
        KOVA_OBJ* displaced = m_entries[position].second;
        m_entries[position].second = object;
        m_serial = next_map_serial();
        return displaced;
    }
    m_entries.emplace_back(key, object);
    m_index.append_stored(m_entries.back().first, [this] { m_entries.pop_back(); });
    return nullptr;
}

KOVA_OBJ* KOVA_OBJ_MAP::find_entry(const std::string& key) const {
    const std::size_t position = position_of(key);
    return position == KOVA_NAME_INDEX::NONE ? nullptr : m_entries[position].second;
}

KOVA_OBJ* KOVA_OBJ_MAP::find_and_remember(const std::string& key, KOVA_MAP_MEMO& memo) const {
    const std::size_t position = position_of(key);
    if (position == KOVA_NAME_INDEX::NONE) return nullptr;
    memo.m_serial = m_serial;
    memo.m_object = m_entries[position].second;
    return memo.m_object;
}

void KOVA_OBJ_MAP::reset_iterator() { m_cursor = 0; }

KOVA_OBJ* KOVA_OBJ_MAP::get_next_entry(std::string& key) {
    if (m_cursor >= m_entries.size()) return nullptr;
    const auto& entry = m_entries[m_cursor];
    key = entry.first;  // before the cursor moves: a failed copy leaves the walk where it was
    ++m_cursor;
    return entry.second;
}

bool KOVA_OBJ_MAP::holds_pointer(const KOVA_OBJ* object) const {
    for (const auto& entry : m_entries)
        if (entry.second == object) return true;
    return false;
}

void KOVA_OBJ_MAP::clear() noexcept {
    m_entries.clear();
    m_index.clear();
    m_cursor = 0;
    m_serial = next_map_serial();
}

// KOVA_OBJ_LIST

KOVA_OBJ_LIST::KOVA_OBJ_LIST(const KOVA_OBJ_LIST& other) : KOVA_OBJ(other), m_entries(other.m_entries) {}

KOVA_OBJ_LIST& KOVA_OBJ_LIST::operator=(const KOVA_OBJ_LIST& other) {
    if (this != &other) {
        KOVA_OBJ_LIST copy(other);
        swap(copy);
        KOVA_OBJ::operator=(other);
        m_cursor = 0;
    }
    return *this;
}

KOVA_OBJ_LIST::~KOVA_OBJ_LIST() = default;

void KOVA_OBJ_LIST::swap(KOVA_OBJ_LIST& other) noexcept {
    m_entries.swap(other.m_entries);
    std::swap(m_cursor, other.m_cursor);
}

void KOVA_OBJ_LIST::append_entry(KOVA_OBJ* object) { m_entries.push_back(object); }

void KOVA_OBJ_LIST::reset_list_iterator() { m_cursor = 0; }

KOVA_OBJ* KOVA_OBJ_LIST::get_next_list_entry() {
    return m_cursor < m_entries.size() ? m_entries[m_cursor++] : nullptr;
}

void KOVA_OBJ_LIST::clear() noexcept {
    m_entries.clear();
    m_cursor = 0;
}
