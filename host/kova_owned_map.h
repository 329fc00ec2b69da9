// KOVA_OWNED_MAP: a string-keyed map that owns objects of one type T (a
// KOVA_OBJ), for holders that hand out plain pointers and plain
// KOVA_OBJ_MAP views of what they own.
//
// Invariants: every entry is a T owned by this map alone (so the one
// static_cast below is sound); m_owned[i] owns the object of entry i of
// m_view, in walk order.
//
// Exceptions (only std::bad_alloc): every operation gives the strong
// guarantee; an object handed in by unique_ptr is released when adding it
// fails, and adopt takes over nothing when it fails.
#ifndef KOVA_OWNED_MAP_H
#define KOVA_OWNED_MAP_H

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kova_stl.h"

template <typename T>
class KOVA_OWNED_MAP {
public:
    using ENTRIES = std::vector<std::pair<std::string, KOVA_OBJ*>>;

    explicit KOVA_OWNED_MAP(std::size_t capacity_hint = 20) : m_view(capacity_hint) { m_owned.reserve(capacity_hint); }
    // A deep copy: copies of every object, under the same keys, in order.
    KOVA_OWNED_MAP(const KOVA_OWNED_MAP& other) : m_view(other.size()) {
        m_owned.reserve(other.size());
        for (const auto& entry : other.entries()) add_entry(entry.first, std::make_unique<T>(*as_t(entry.second)));
    }
    KOVA_OWNED_MAP& operator=(const KOVA_OWNED_MAP& other) {
        if (this != &other) {
            KOVA_OWNED_MAP copy(other);
            swap(copy);
        }
        return *this;
    }
    ~KOVA_OWNED_MAP() = default;
    void swap(KOVA_OWNED_MAP& other) noexcept {
        m_view.swap(other.m_view);
        m_owned.swap(other.m_owned);
    }

    T* find_entry(const std::string& key) const { return as_t(m_view.find_entry(key)); }
    T* find_remembered(const std::string& key, KOVA_MAP_MEMO& memo) const {
        return as_t(m_view.find_remembered(key, memo));
    }

    // Adds key -> object, or replaces the object held under key (releasing
    // it); answers the object now held.
    T* add_entry(const std::string& key, std::unique_ptr<T> object) {
        T* added = object.get();
        if (KOVA_OBJ* present = m_view.find_entry(key)) {
            std::unique_ptr<T>& slot = m_owned[position_of(present)];
            m_view.add_entry(key, added);  // a replacement: allocates nothing
            slot = std::move(object);
            return added;
        }
        m_owned.push_back(std::move(object));
        try {
            m_view.add_entry(key, added);
        } catch (...) {
            m_owned.pop_back();
            throw;
        }
        return added;
    }

    // Takes over each object of handed that this map does not hold yet
    // (the first time it is named), under its key: a new key is appended,
    // a key already present has its object replaced and released.
    // Everything that can fail is done before anything is taken over.
    void adopt(const std::vector<std::pair<std::string, T*>>& handed) {
        KOVA_OBJ_MAP view(m_view);
        for (const auto& entry : handed)
            if (entry.second && !view.holds_pointer(entry.second)) view.add_entry(entry.first, entry.second);
        std::vector<std::unique_ptr<T>> owned;
        owned.reserve(view.size());
        std::vector<T*> released;
        released.reserve(m_owned.size());
        for (const auto& held : m_owned)
            if (!view.holds_pointer(held.get())) released.push_back(held.get());
        // Nothing below allocates: every object goes to owned or is deleted.
        for (auto& held : m_owned) static_cast<void>(held.release());
        for (const auto& entry : view.entries()) owned.emplace_back(as_t(entry.second));
        for (T* object : released) delete object;
        m_owned.swap(owned);
        m_view.swap(view);
    }

    bool holds_pointer(const KOVA_OBJ* object) const { return m_view.holds_pointer(object); }
    std::size_t size() const { return m_view.size(); }
    bool empty() const { return m_view.empty(); }
    // The entries in walk order; each object is a T.
    const ENTRIES& entries() const { return m_view.entries(); }

    // The objects in walk order, as T pointers, for range-for walks.
    class OBJECTS {
    public:
        class iterator {
        public:
            explicit iterator(typename ENTRIES::const_iterator at) : m_at(at) {}
            T* operator*() const { return as_t(m_at->second); }
            iterator& operator++() {
                ++m_at;
                return *this;
            }
            bool operator!=(const iterator& other) const { return m_at != other.m_at; }

        private:
            typename ENTRIES::const_iterator m_at;
        };
        // Views entries, which must be a map's own (never a temporary).
        explicit OBJECTS(const ENTRIES& entries) : m_entries(entries) {}
        explicit OBJECTS(const ENTRIES&& entries) = delete;
        iterator begin() const { return iterator(m_entries.begin()); }
        iterator end() const { return iterator(m_entries.end()); }

    private:
        const ENTRIES& m_entries;
    };
    OBJECTS objects() const { return OBJECTS(m_view.entries()); }
    // The map as plain pointers, which stay owned by this map.
    const KOVA_OBJ_MAP& view() const { return m_view; }
    void clear() noexcept {
        m_view.clear();
        m_owned.clear();
    }

private:
    static T* as_t(KOVA_OBJ* object) { return static_cast<T*>(object); }
    std::size_t position_of(const KOVA_OBJ* object) const {
        std::size_t position = 0;
        while (m_owned[position].get() != object) ++position;
        return position;
    }

    KOVA_OBJ_MAP m_view;
    std::vector<std::unique_ptr<T>> m_owned;
};

#endif
