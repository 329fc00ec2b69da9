// Generic host containers and string helpers: the base object, the
// string-keyed object map, the object list, the name map of texts, and the
// case-folding hash and orderings that every string-keyed container uses.
//
// Case folding means ASCII A to Z only; every other byte compares as is.
//
// Exceptions: the containers fail only with std::bad_alloc, and every
// operation of theirs gives the strong guarantee (on failure the container
// is as it was); swaps, clear and moves do not fail.
#ifndef KOVA_STL_H
#define KOVA_STL_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kova_host_export.h"
#include "kova_name_index.h"

// Base of everything kept in host containers.
class KOVA_HOST_API KOVA_OBJ {
public:
    KOVA_OBJ() = default;
    KOVA_OBJ(const KOVA_OBJ&) = default;
    KOVA_OBJ& operator=(const KOVA_OBJ&) = default;
    virtual ~KOVA_OBJ();

    // The record of this object in its model's source table (see
    // source_table.h); 0 for one that no description file gave. Every copy
    // and assignment of a record carries it. It sits in what would
    // otherwise be padding of objects and rules.
    uint32_t source_id = 0;
};

// The white space of trim_left, and of trim unless the caller names the
// bytes to remove: blank, tab, newline, carriage return, form feed and
// vertical tab.
inline constexpr char KOVA_WHITE_SPACE[] = " \t\n\r\f\v";

// The hexadecimal digits, upper case, by value.
inline constexpr char KOVA_HEX_DIGITS[] = "0123456789ABCDEF";

// The value of a hexadecimal digit of either case; -1 for any other byte.
constexpr int kova_hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Lower-cased and left-trimmed copies.
KOVA_HOST_API std::string to_lower_case(const std::string& text);
KOVA_HOST_API std::string trim_left(const std::string& text);
// text without the bytes of blanks at either end. A view into text, so it
// must not outlive the text it views: a string made for the call is
// refused, since the view would outlive it; a literal lives for ever.
KOVA_HOST_API std::string_view trim(std::string_view text, std::string_view blanks = KOVA_WHITE_SPACE);
inline std::string_view trim(const char* text, std::string_view blanks = KOVA_WHITE_SPACE) {
    return trim(std::string_view(text), blanks);
}
std::string_view trim(const std::string&& text, std::string_view blanks = KOVA_WHITE_SPACE) = delete;

// kova_equal_nocase and HASH_C_STRING: kova_name_index.h.

struct KOVA_HOST_API EQUAL_C_STRING {
    bool operator()(const std::string& a, const std::string& b) const {
        return kova_equal_nocase(a, b);
    }
};

// Ordering of string-keyed ordered maps: first differing folded byte
// (unsigned) decides; a prefix sorts first; a null text sorts first of all.
// A std::string is compared over its whole length, NUL bytes included, so
// that two names that kova_equal_nocase tells apart stay two keys.
struct KOVA_HOST_API LESS_C_STRING {
    bool operator()(const char* a, const char* b) const;
    bool operator()(const std::string& a, const std::string& b) const;
};

// Hash map from text to text with case-insensitive keys. Walks visit the
// entries in insertion order, so every listing built from one is stable.
// A key keeps the spelling it was first inserted with.
class KOVA_HOST_API KOVA_NAME_MAP {
public:
    using entry = std::pair<std::string, std::string>;
    using const_iterator = std::vector<entry>::const_iterator;

    KOVA_NAME_MAP() = default;
    KOVA_NAME_MAP(const KOVA_NAME_MAP& other) = default;
    KOVA_NAME_MAP(KOVA_NAME_MAP&& other) noexcept = default;
    // Copy and swap, so that a failed copy leaves this map as it was.
    KOVA_NAME_MAP& operator=(const KOVA_NAME_MAP& other);
    KOVA_NAME_MAP& operator=(KOVA_NAME_MAP&& other) noexcept = default;
    ~KOVA_NAME_MAP() = default;
    void swap(KOVA_NAME_MAP& other) noexcept;

    bool contains(const std::string& key) const;
    // The value stored under key, or null.
    const std::string* find(const std::string& key) const;
    // Inserts key -> value when key is absent; answers whether it did.
    bool insert(const std::string& key, const std::string& value);
    // Inserts key when absent, then sets its value.
    void set(const std::string& key, const std::string& value);
    // Removes the entry of key; answers whether there was one.
    bool erase(const std::string& key);
    void clear();

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

    // Removes the entries inserted after the first count, as if they had
    // never been inserted.
    void truncate(std::size_t count);

private:
    std::size_t position_of(const std::string& key) const;

    std::vector<entry> m_entries;
    KOVA_NAME_INDEX m_index;
};

class KOVA_OBJ_MAP;

// The remembered answer of one key's look-up in one KOVA_OBJ_MAP, for
// callers that look the same key up again and again. It holds the serial
// number of the map contents it was made from (see KOVA_OBJ_MAP), never
// the map's address, so a map made later at the same address cannot
// answer from it. A copy starts empty, so a memo never passes to a holder
// that did not make it.
class KOVA_MAP_MEMO {
public:
    KOVA_MAP_MEMO() = default;
    KOVA_MAP_MEMO(const KOVA_MAP_MEMO&) {}
    KOVA_MAP_MEMO& operator=(const KOVA_MAP_MEMO&) {
        clear();
        return *this;
    }
    void clear() { m_serial = 0; }

private:
    friend class KOVA_OBJ_MAP;
    std::uint64_t m_serial = 0;  // 0: empty; maps never have serial 0
    KOVA_OBJ* m_object = nullptr;
};

// String-keyed container of object pointers. Keys are matched without
// regard to case; walks follow insertion order. The map never deletes its
// entries (KOVA_OWNED_MAP, kova_owned_map.h, is the owning form). It has
// one walk cursor: reset_iterator then get_next_entry.
//
// Every map holds a serial number, drawn from one process-wide counter,
// that names the state of its entries: a new map, a copy, an assignment,
// clear and every replacement of a pointer draw a new one, and a swap
// exchanges them with the entries. A memo made under one serial number
// answers only while the map still has it.
class KOVA_HOST_API KOVA_OBJ_MAP : public KOVA_OBJ {
public:
    explicit KOVA_OBJ_MAP(std::size_t capacity_hint = 20);
    KOVA_OBJ_MAP(const KOVA_OBJ_MAP& other);
    // Copy and swap (strong guarantee).
    KOVA_OBJ_MAP& operator=(const KOVA_OBJ_MAP& other);
    ~KOVA_OBJ_MAP() override;
    // Exchanges entries, cursors and serial numbers.
    void swap(KOVA_OBJ_MAP& other) noexcept;

    // Adds key -> object. When key is already present its pointer is
    // replaced in place (the walk position of the entry stays) and the
    // pointer it held is returned, so the owner can release it; null
    // otherwise. Strong guarantee; a replacement allocates nothing.
    virtual KOVA_OBJ* add_entry(const std::string& key, KOVA_OBJ* object);
    virtual KOVA_OBJ* find_entry(const std::string& key) const;
    // This map's own answer to find_entry(key), through a memo that the
    // caller keeps for that one key. A found object is remembered until
    // the map next lets go of an object (a replaced pointer, clear,
    // assignment); a key not found is looked up afresh every time. Writes
    // the memo only: the caller must own the memo for the call.
    // The memo's answer is read in the caller: a run asks for every
    // object's copy several times, nearly always answered by the memo.
    KOVA_OBJ* find_remembered(const std::string& key, KOVA_MAP_MEMO& memo) const {
        return memo.m_serial == m_serial ? memo.m_object : find_and_remember(key, memo);
    }
    virtual void reset_iterator();
    // Next entry of the walk, writing its key; null at the end.
    virtual KOVA_OBJ* get_next_entry(std::string& key);

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    // Snapshot of the entries in walk order; does not touch the cursor.
    const std::vector<std::pair<std::string, KOVA_OBJ*>>& entries() const { return m_entries; }
    bool holds_pointer(const KOVA_OBJ* object) const;
    void clear() noexcept;

private:
    std::size_t position_of(const std::string& key) const;
    // find_remembered when the memo does not answer.
    KOVA_OBJ* find_and_remember(const std::string& key, KOVA_MAP_MEMO& memo) const;

    std::vector<std::pair<std::string, KOVA_OBJ*>> m_entries;
    KOVA_NAME_INDEX m_index;
    std::size_t m_cursor = 0;
    std::uint64_t m_serial;
};

// List of object pointers with one walk cursor. Does not delete entries.
class KOVA_HOST_API KOVA_OBJ_LIST : public KOVA_OBJ {
public:
    KOVA_OBJ_LIST() = default;
    KOVA_OBJ_LIST(const KOVA_OBJ_LIST& other);
    // Copy and swap (strong guarantee).
    KOVA_OBJ_LIST& operator=(const KOVA_OBJ_LIST& other);
    ~KOVA_OBJ_LIST() override;
    void swap(KOVA_OBJ_LIST& other) noexcept;

    void append_entry(KOVA_OBJ* object);
    void reset_list_iterator();
    KOVA_OBJ* get_next_list_entry();

    std::size_t size() const { return m_entries.size(); }
    const std::vector<KOVA_OBJ*>& entries() const { return m_entries; }
    void clear() noexcept;

private:
    std::vector<KOVA_OBJ*> m_entries;
    std::size_t m_cursor = 0;
};

#endif
