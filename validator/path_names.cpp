// KOVA_PATH_NAMES: a flat index with last-in, first-out removal.
#include "validator/path_names.h"

#include "host/kova_name_index.h"

namespace {

// HASH_C_STRING leaves similar names with nearby hashes; multiplying by an
// odd constant spreads them over the high bits, which pick the slot.
uint64_t spread_hash(const std::string& name) {
    return static_cast<uint64_t>(HASH_C_STRING()(name)) * 0x9E3779B97F4A7C15ull;
}

}  // namespace

std::size_t KOVA_PATH_NAMES::find_slot(uint64_t spread, const std::string& name) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(spread >> 32) & mask;; slot = (slot + 1) & mask) {
        const uint32_t held = m_slots[slot];
        if (held == EMPTY) return slot;
        if (m_spreads[held - 1] == spread && kova_equal_nocase(m_names[held - 1], name)) return slot;
    }
}

bool KOVA_PATH_NAMES::contains(const std::string& name) const {
    if (m_names.empty()) return false;
    return m_slots[find_slot(spread_hash(name), name)] != EMPTY;
}

void KOVA_PATH_NAMES::place(std::size_t index) {
    m_slots[find_slot(m_spreads[index], m_names[index])] = static_cast<uint32_t>(index + 1);
}

void KOVA_PATH_NAMES::grow() {
    m_slots.assign(m_slots.empty() ? 64 : 2 * m_slots.size(), EMPTY);
    for (std::size_t index = 0; index < m_names.size(); ++index) place(index);
}

void KOVA_PATH_NAMES::push(const std::string& name) {
    m_names.push_back(name);
    m_spreads.push_back(spread_hash(name));
    if (2 * m_names.size() >= m_slots.size())
        grow();
    else
        place(m_names.size() - 1);
}

void KOVA_PATH_NAMES::pop() {
    if (m_names.empty()) return;
    const std::size_t last = m_names.size() - 1;
    m_slots[find_slot(m_spreads[last], m_names[last])] = EMPTY;
    m_names.pop_back();
    m_spreads.pop_back();
}

void KOVA_PATH_NAMES::clear() {
    m_names.clear();
    m_spreads.clear();
    m_slots.clear();
}
