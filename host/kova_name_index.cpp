// The flat lookup index of the host containers. Each change builds what it
// allocates before it touches the index, so a failed allocation changes
// nothing.
#include "host/kova_name_index.h"

namespace {

// The smallest power of two that is at least twice count, and at least 8.
std::size_t slots_for(std::size_t count) {
    std::size_t slots = 8;
    while (slots < 2 * count) slots *= 2;
    return slots;
}

}  // namespace

void KOVA_NAME_INDEX::place(std::vector<uint64_t>& slots, std::size_t hash, std::size_t position) noexcept {
    const uint64_t spread = spread_hash(hash);
    std::size_t slot = home(spread, slots.size());
    while (slots[slot] != 0) slot = (slot + 1) & (slots.size() - 1);
    slots[slot] = (spread & 0xFFFFFFFF00000000ull) | static_cast<uint32_t>(position + 1);
}

std::vector<uint64_t> KOVA_NAME_INDEX::table_for(std::size_t count, std::size_t slot_count) const {
    std::vector<uint64_t> slots(slot_count, 0);
    for (std::size_t position = 0; position < count; ++position) place(slots, m_hashes[position], position);
    return slots;
}

void KOVA_NAME_INDEX::append(const std::string& key) {
    const std::size_t hash = HASH_C_STRING()(key);
    const std::size_t position = m_hashes.size();
    if (m_slots.size() < 2 * (position + 1)) {
        std::vector<uint64_t> slots = table_for(position, slots_for(position + 1));
        m_hashes.push_back(hash);  // the last step that can fail
        place(slots, hash, position);
        m_slots.swap(slots);
    } else {
        m_hashes.push_back(hash);
        place(m_slots, hash, position);
    }
}

void KOVA_NAME_INDEX::truncate(std::size_t count) {
    if (count >= m_hashes.size()) return;
    std::vector<uint64_t> slots = table_for(count, m_slots.size());
    m_hashes.resize(count);
    m_slots.swap(slots);
}

void KOVA_NAME_INDEX::erase(std::size_t position) {
    if (position >= m_hashes.size()) return;
    std::vector<uint64_t> slots(m_slots.size(), 0);
    m_hashes.erase(m_hashes.begin() + static_cast<std::ptrdiff_t>(position));
    for (std::size_t at = 0; at < m_hashes.size(); ++at) place(slots, m_hashes[at], at);
    m_slots.swap(slots);
}

void KOVA_NAME_INDEX::clear() {
    m_hashes.clear();
    m_slots.clear();
}

void KOVA_NAME_INDEX::reserve(std::size_t count) {
    if (m_slots.size() < 2 * count) {
        std::vector<uint64_t> slots = table_for(m_hashes.size(), slots_for(count));
        m_hashes.reserve(count);
        m_slots.swap(slots);
    } else {
        m_hashes.reserve(count);
    }
}
