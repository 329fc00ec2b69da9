// The shared programs of a model's texts and a validator's own cache.
#include "expr/program_table.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_set>
#include <utility>


namespace {

std::size_t units_for(std::size_t bytes) { return (bytes + sizeof(KOVA_STEP) - 1) / sizeof(KOVA_STEP); }

}  // namespace

KOVA_PROGRAM_TABLE::KOVA_PROGRAM_TABLE(const std::vector<std::string>& texts) {
    KOVA_SYNTAX_READER reader;
    std::unordered_set<std::string_view> seen;
    std::unordered_map<std::string, int32_t> names;
    std::vector<uint32_t> blocks;
    std::vector<std::size_t> hashes;
    for (const std::string& text : texts) {
        if (text.empty() || !seen.insert(text).second) continue;
        blocks.push_back(static_cast<uint32_t>(m_units.size()));
        hashes.push_back(hash_of(text));
        add_block(text, KOVA_PROGRAM::compile(reader, text), names);
    }
    m_name_count = names.size();
    m_units.shrink_to_fit();
    m_count = blocks.size();
    std::size_t slots = 16;
    while (slots < 2 * m_count) slots *= 2;
    m_slots.assign(slots, 0);
    for (std::size_t index = 0; index < m_count; ++index) index_block(hashes[index], blocks[index]);
}

void KOVA_PROGRAM_TABLE::add_block(const std::string& text, const KOVA_PROGRAM& program,
                                   std::unordered_map<std::string, int32_t>& names) {
    const KOVA_PROGRAM_VIEW view = program.view();
    HEADER header{view.count, view.depth, static_cast<uint32_t>(text.size()), 0};
    KOVA_STEP unit{};
    std::memcpy(static_cast<void*>(&unit), &header, sizeof unit);
    m_units.push_back(unit);
    for (uint32_t index = 0; index < view.count; ++index) {
        KOVA_STEP step = view.steps[index];
        // Every spelling of a name gets its number, the first time it is met.
        if (step.kind == KOVA_SYN_NAME)
            step.number = names.emplace(view.text_at(step.text), static_cast<int32_t>(names.size() + 1)).first->second;
        m_units.push_back(step);
    }
    // The text, a NUL, then the steps' texts, whose offsets count from
    // just after that NUL.
    std::string chars = text;
    chars.push_back('\0');
    chars += program.chars();
    const std::size_t first = m_units.size();
    m_units.resize(first + units_for(chars.size()));
    std::memcpy(static_cast<void*>(&m_units[first]), chars.data(), chars.size());
}

void KOVA_PROGRAM_TABLE::index_block(std::size_t hash, uint32_t block) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (m_slots[slot] != 0) continue;
        m_slots[slot] = (static_cast<uint64_t>(hash >> 32) << 32) | (static_cast<uint64_t>(block) + 1);
        return;
    }
}

std::size_t KOVA_PROGRAM_TABLE::hash_of(std::string_view text) { return std::hash<std::string_view>()(text); }

bool KOVA_PROGRAM_TABLE::find(std::string_view text, std::size_t hash, KOVA_PROGRAM_VIEW& program) const {
    if (m_slots.empty()) return false;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint64_t held = m_slots[slot];
        if (held == 0) return false;
        if ((held >> 32) != static_cast<uint64_t>(hash >> 32)) continue;
        const KOVA_STEP* block = &m_units[static_cast<uint32_t>(held) - 1];
        HEADER header;
        std::memcpy(&header, block, sizeof header);
        const char* chars = reinterpret_cast<const char*>(block + 1 + header.count);
        if (header.text_length != text.size() || std::memcmp(chars, text.data(), text.size()) != 0) continue;
        program = {block + 1, header.count, header.depth, chars + text.size() + 1};
        return true;
    }
}

const KOVA_PROGRAM& KOVA_PROGRAM_CACHE::program_of(std::string_view text, std::size_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask; !m_slots.empty(); slot = (slot + 1) & mask) {
        const uint64_t held = m_slots[slot];
        if (held == 0) break;
        if ((held >> 32) != static_cast<uint64_t>(hash >> 32)) continue;
        const HELD& entry = *m_held[static_cast<uint32_t>(held) - 1];
        if (entry.text == text) return entry.program;
    }
    if (m_held.size() >= HOST_PROGRAMS && m_running == 0) {
        m_held.clear();
        m_slots.assign(m_slots.size(), 0);
        forget_names();
    }
    std::string owned(text);
    KOVA_PROGRAM program = KOVA_PROGRAM::compile(m_reader, owned);
    m_held.push_back(std::make_unique<HELD>(HELD{hash, std::move(owned), std::move(program)}));
    if (2 * m_held.size() <= m_slots.size()) {
        index_held(hash, m_held.size() - 1);
    } else {
        m_slots.assign(std::max<std::size_t>(16, 2 * m_slots.size()), 0);
        for (std::size_t index = 0; index < m_held.size(); ++index) index_held(m_held[index]->hash, index);
    }
    return m_held.back()->program;
}

void KOVA_PROGRAM_CACHE::index_held(std::size_t hash, std::size_t index) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (m_slots[slot] != 0) continue;
        m_slots[slot] = (static_cast<uint64_t>(hash >> 32) << 32) | (static_cast<uint64_t>(index) + 1);
        return;
    }
}

namespace {

// The mark of a numbered name not looked up yet: an address no object has.
const KOVA_OBJ_INFO* unknown_object() {
    static const char mark = 0;
    return reinterpret_cast<const KOVA_OBJ_INFO*>(&mark);
}

}  // namespace

void KOVA_PROGRAM_CACHE::forget_names() {
    for (std::size_t slot = 0; slot < NAME_SLOTS; ++slot) m_names[slot] = NAME_MEMO();
    m_numbered.clear();
}

const KOVA_OBJ_INFO* KOVA_PROGRAM_CACHE::object_named(const KOVA_INFO& model, const char* name, int32_t number) {
    if (model.get_kova_obj_generation() != m_names_generation) {
        forget_names();
        m_names_generation = model.get_kova_obj_generation();
    }
    if (number > 0) {
        const std::size_t index = static_cast<std::size_t>(number) - 1;
        if (index >= m_numbered.size()) m_numbered.resize(index + 1, unknown_object());
        const KOVA_OBJ_INFO*& object = m_numbered[index];
        if (object == unknown_object()) object = model.get_kova_obj(name);
        return object;
    }
    const uintptr_t address = reinterpret_cast<uintptr_t>(name);
    NAME_MEMO& memo = m_names[static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> 55) & (NAME_SLOTS - 1)];
    if (memo.name != name) {
        memo.object = model.get_kova_obj(name);
        memo.name = name;
    }
    return memo.object;
}
