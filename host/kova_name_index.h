// The lookup index of the host's string-keyed containers: finds the
// position of a key in an insertion-ordered sequence of entries, without
// regard to ASCII letter case, in a flat open-addressing table.
//
// The index keeps, per position, the HASH_C_STRING of the key stored there,
// and a table of slots, each empty (0) or holding a position + 1 in its low
// 32 bits and the high 32 bits of the key's spread hash above them. The
// keys themselves stay in the container, which find() reads through a
// function from position to key. Against a node-based hash map this needs
// no allocation per key, and a probe reads one slot, and the entry only
// when the hash bits in the slot match.
//
// Invariants: the slot count is 0 or a power of two at least twice the
// number of positions; every position 0 .. size() - 1 has exactly one slot,
// reached by linear probing from the home slot of its hash.
//
// Exceptions (only std::bad_alloc): every change either completes or
// leaves the index as it was (strong guarantee); a new slot table is built
// aside and swapped in, so a failure never leaves the index one position
// longer or shorter than its container.
#ifndef KOVA_NAME_INDEX_H
#define KOVA_NAME_INDEX_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kova_host_export.h"

// Equality of two texts with A-Z folded to a-z.
KOVA_HOST_API bool kova_equal_nocase(const std::string& a, const std::string& b);

// Hash of string-keyed hash maps: h = h * 17 + folded byte (as signed char).
struct KOVA_HOST_API HASH_C_STRING {
    std::size_t operator()(const std::string& key) const;
};

class KOVA_HOST_API KOVA_NAME_INDEX {
public:
    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

    // The position whose key equals key, or NONE; key_at(position) gives
    // the key the container holds at a position.
    template <typename KEY_AT>
    std::size_t find(const std::string& key, KEY_AT key_at) const {
        if (m_slots.empty()) return NONE;
        const uint64_t spread = spread_hash(HASH_C_STRING()(key));
        for (std::size_t slot = home(spread, m_slots.size());; slot = (slot + 1) & (m_slots.size() - 1)) {
            const uint64_t held = m_slots[slot];
            if (held == 0) return NONE;
            const std::size_t position = static_cast<uint32_t>(held) - 1;
            if ((held >> 32) == (spread >> 32) && kova_equal_nocase(key_at(position), key)) return position;
        }
    }

    // Indexes key at the next position, size(); the caller has made sure
    // that no position holds an equal key.
    void append(const std::string& key);
    // The same, for a key the container has just stored at that position:
    // when indexing fails, undo() takes the entry back out and the failure
    // goes on to the caller, so container and index stay in step.
    template <typename UNDO>
    void append_stored(const std::string& key, UNDO undo) {
        try {
            append(key);
        } catch (...) {
            undo();
            throw;
        }
    }
    // Forgets the positions from count on.
    void truncate(std::size_t count);
    // Forgets one position; the positions after it move down by one.
    void erase(std::size_t position);
    void clear();
    void reserve(std::size_t count);
    std::size_t size() const { return m_hashes.size(); }

private:
    // HASH_C_STRING leaves similar names with nearby hashes; multiplying by
    // an odd constant spreads them over all bits.
    static uint64_t spread_hash(std::size_t hash) { return static_cast<uint64_t>(hash) * 0x9E3779B97F4A7C15ull; }
    static std::size_t home(uint64_t spread, std::size_t slot_count) {
        return static_cast<std::size_t>(spread >> 32) & (slot_count - 1);
    }
    // Puts a position with hash into the first free slot of slots from its
    // home slot on.
    static void place(std::vector<uint64_t>& slots, std::size_t hash, std::size_t position) noexcept;
    // A table of slot_count slots (made first, so that it is the one step
    // that can fail) that gives each of the first count positions its slot.
    std::vector<uint64_t> table_for(std::size_t count, std::size_t slot_count) const;

    std::vector<std::size_t> m_hashes;
    std::vector<uint64_t> m_slots;
};

#endif
