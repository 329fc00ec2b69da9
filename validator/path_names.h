// The names the dependency walk has put on its in-progress map, in the
// order they came, with a case-insensitive index over them. Names leave
// only from the end, in the reverse of the order they came, which lets
// every operation take constant time (amortised) however many names there
// are: the walk of a chain a million objects deep keeps a million names.
#ifndef KOVA_PATH_NAMES_H
#define KOVA_PATH_NAMES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class KOVA_PATH_NAMES {
public:
    // Whether a name equal to name (without regard to ASCII case) is held.
    bool contains(const std::string& name) const;
    // Appends name, which must not be held.
    void push(const std::string& name);
    // Takes out the name that came last; none when empty.
    void pop();
    std::size_t size() const { return m_names.size(); }
    // The names held, in the order they came.
    const std::vector<std::string>& names() const { return m_names; }
    void clear();

private:
    // The slot holding a name equal to name, whose spread hash is spread,
    // or the first empty slot of the probe when no such name is held.
    std::size_t find_slot(uint64_t spread, const std::string& name) const;
    void place(std::size_t index);
    void grow();

    static constexpr uint32_t EMPTY = 0;

    std::vector<std::string> m_names;
    std::vector<uint64_t> m_spreads;  // the spread hash of each name
    // Open addressing with linear probing; a slot holds the index + 1 of
    // a name, or EMPTY. Invariants: the slot count is 0 or a power of two
    // above twice the number of names; the names were placed in the order
    // they came, so the last one's probe passed only slots of names that
    // came before it, and emptying its slot when it leaves cuts no other
    // name's probe short.
    std::vector<uint32_t> m_slots;
};

#endif
