// The flat lookup index of the host containers.
#include "host/kova_name_index.h"

namespace {

// The smallest power of two that is at least twice count, and at least 8.
std::size_t slots_for(std::size_t count) {
    std::size_t slots = 8;
    while (slots < 2 * count) slots *= 2;
    return slots;
}

}  // namespace

void KOVA_NAME_INDEX::place(std::size_t position) {
    const uint64_t spread = spread_hash(m_hashes[position]);
    std::size_t slot = home(spread);
    while (m_slots[slot] != 0) slot = (slot + 1) & (m_slots.size() - 1);
    m_slots[slot] = (spread & 0xFFFFFFFF00000000ull) | static_cast<uint32_t>(position + 1);
}

void KOVA_NAME_INDEX::append(const std::string& key) {
    m_hashes.push_back(HASH_C_STRING()(key));
    if (m_slots.size() < 2 * m_hashes.size())
        refill(slots_for(m_hashes.size()));
    else
        place(m_hashes.size() - 1);
}

void KOVA_NAME_INDEX::truncate(std::size_t count) {
    if (count >= m_hashes.size()) return;
    m_hashes.resize(count);
    refill(m_slots.size());
}

void KOVA_NAME_INDEX::erase(std::size_t position) {
    if (position >= m_hashes.size()) return;
    m_hashes.erase(m_hashes.begin() + static_cast<std::ptrdiff_t>(position));
    refill(m_slots.size());
}

void KOVA_NAME_INDEX::clear() {
    m_hashes.clear();
    m_slots.clear();
}

void KOVA_NAME_INDEX::reserve(std::size_t count) {
    m_hashes.reserve(count);
    if (m_slots.size() < 2 * count) refill(slots_for(count));
}

void KOVA_NAME_INDEX::refill(std::size_t slot_count) {
    m_slots.assign(slot_count, 0);
    for (std::size_t position = 0; position < m_hashes.size(); ++position) place(position);
}
