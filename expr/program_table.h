// Where a validator finds the compiled form of a rule text.
//
// KOVA_PROGRAM_TABLE holds the programs of a model's own texts, compiled
// once when the validator is initialised: one program per shape (texts
// that differ only in their names), however many texts and objects share
// it. It is never changed once built, so the copies of
// a validator share it (a shared_ptr to a const table) and read it from
// several threads at once.
//
// KOVA_PROGRAM_CACHE is one validator's own: it reads texts into trees
// (its syntax reader) and keeps the programs of the other texts that
// validator evaluates, such as the texts a host passes in, up to
// HOST_PROGRAMS of them. It empties itself when full, but never while one
// of its programs is running (a nested evaluation), so a running program
// is never released.
//
// It also remembers which model object each name of a program stands for,
// keyed by where the program keeps the name: a name text stays at its
// address, holding the same name, until its program is released, which
// happens only when the cache empties or the validator's table is
// replaced (forget_names). The memo holds only while the model's objects
// are the ones looked up (KOVA_INFO::get_kova_obj_generation).
#ifndef KOVA_PROGRAM_TABLE_H
#define KOVA_PROGRAM_TABLE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expr/program.h"
#include "host/kova_info.h"

// Texts that differ only in their names ("B3 * 4", "C7_1 * 4") share one
// program, their shape's: a block of 16-byte units holding a header (step
// count, depth, fixed length, name count), the steps, where each name
// goes in the fixed characters, the fixed characters (the text less its
// names) and the steps' own texts. A name step's text is the index of its
// name in the text. Each distinct text keeps only an entry: its shape's
// block and the numbers of its names, whose texts the table keeps once
// each. A text is found by its hash in a slot table of entries and then
// matched byte for byte against its shape's fixed characters and its
// names, so the text itself is not kept again and a hash collision never
// runs another text's program.
class KOVA_PROGRAM_TABLE {
public:
    // The programs of texts (empty texts are left out).
    explicit KOVA_PROGRAM_TABLE(const std::vector<std::string>& texts);
    // The same from views of texts, which must stay put while the table
    // is built.
    explicit KOVA_PROGRAM_TABLE(const std::vector<std::string_view>& texts);
    // The hash of a text under which both this table and a
    // KOVA_PROGRAM_CACHE look it up, so an evaluation hashes its text once.
    static std::size_t hash_of(std::string_view text);
    // Sets program to text's and answers true; false when text is not one
    // of the model's texts. hash is hash_of(text). With at, also sets *at
    // to the text's entry (its offset + 1).
    bool find(std::string_view text, std::size_t hash, KOVA_PROGRAM_VIEW& program, uint32_t* at = nullptr) const;
    // Texts are laid out in the order they were given, which is the order
    // a validation run evaluates them (KOVA_RULES_VALIDATOR::
    // compile_model_texts), so the next text an evaluation looks up is
    // most often the entry found last or one of the few after it.
    // Looks text up among the entry at (an entry's offset + 1, as find
    // sets it; 0 for none) and the NEAR entries after it, without hashing;
    // on finding it sets program, and at to its entry.
    static constexpr int NEAR = 3;
    bool find_near(std::string_view text, uint32_t& at, KOVA_PROGRAM_VIEW& program) const;
    // Whether the text of entry at (as find sets it) was given more than
    // once: one that several places of the model share.
    bool shared(uint32_t at) const { return at != 0 && at <= m_shared.size() && m_shared[at - 1]; }
    // A number no other table of this process has: a validator's memo of
    // entries holds only for the table it was made with.
    uint64_t serial() const { return m_serial; }
    // How many distinct texts, and how many shapes they have.
    std::size_t size() const { return m_count; }
    std::size_t shape_count() const { return m_shape_count; }
    // How many distinct names the programs read: a name's number is from
    // 1 to this.
    std::size_t name_count() const { return m_name_at.size() - 1; }

private:
    struct HEADER {
        uint32_t count, depth, fixed_length, names;
    };
    static_assert(sizeof(HEADER) == sizeof(KOVA_STEP), "a header fills one unit");
    class BUILDER;

    // Lays out the slots of the entries added (their texts' hashes and
    // offsets), then narrows the entries and slots when they fit.
    void lay_slots(const std::vector<std::pair<std::size_t, uint32_t>>& added);
    template <typename WORD>
    bool find_in(const std::vector<WORD>& slots, const WORD* entries, std::string_view text, std::size_t hash,
                 KOVA_PROGRAM_VIEW& program, uint32_t* at) const;
    template <typename WORD>
    bool find_near_in(const WORD* entries, std::size_t size, std::string_view text, uint32_t& at,
                      KOVA_PROGRAM_VIEW& program) const;
    template <typename WORD>
    bool matches(std::string_view text, const WORD* entry) const;
    template <typename WORD>
    KOVA_PROGRAM_VIEW view_of(const WORD* entry) const;

    // The shapes' blocks.
    std::vector<KOVA_STEP> m_units;
    // Each text's entry: its shape's first unit, then one number per name
    // step of the shape, in step order. Invariant: when every word of the
    // entries and slots fits 16 bits they are kept in m_short_entries and
    // m_short_slots, and m_entries and m_slots are empty.
    std::vector<uint32_t> m_entries;
    std::vector<uint16_t> m_short_entries;
    // Each distinct name once, followed by a NUL; name number n starts at
    // m_name_at[n - 1], and m_name_at ends with the end of m_name_chars.
    std::string m_name_chars;
    std::vector<uint32_t> m_name_at{0};
    // Each empty (0) or an entry's offset + 1; linear probing from the
    // slot the text's hash gives.
    std::vector<uint32_t> m_slots;
    std::vector<uint16_t> m_short_slots;
    std::size_t m_count = 0;
    std::size_t m_shape_count = 0;
    uint64_t m_serial = 0;
    // By entry offset: whether that entry's text was given more than once.
    std::vector<bool> m_shared;
};

class KOVA_PROGRAM_CACHE {
public:
    static constexpr std::size_t HOST_PROGRAMS = 1024;

    // text's program found through the table, or else through this cache,
    // compiled now when neither has it. table may be null. The last texts
    // looked up are remembered by their address and length, each checked
    // against its program's text when met again, and the table's entries
    // are tried near the last one found before its text is hashed: an
    // evaluation of a text just evaluated, or of the text a run evaluates
    // next, hashes nothing.
    // The answer for a text met again from the same place with the same
    // bytes is read inline; the rest goes to find_elsewhere.
    KOVA_PROGRAM_VIEW find(const KOVA_PROGRAM_TABLE* table, std::string_view text) {
        if ((table ? table->serial() : 0) == m_memo_serial) {
            const RECENT& recent = m_recent[slot_of(reinterpret_cast<uintptr_t>(text.data()), 4)];
            if (recent.data == text.data() && recent.size == text.size() &&
                (recent.held ? recent.held->text == text
                             : recent.kept && std::memcmp(recent.bytes.data(), text.data(), text.size()) == 0))
                return recent.program;
        }
        return find_elsewhere(table, text);
    }

    // model.get_kova_obj(name), for a name text of a program whose
    // number in the validator's table is number (0 for none). The memo's
    // answer is read in the caller; a name not remembered yet is looked up.
    const KOVA_OBJ_INFO* object_named(const KOVA_INFO& model, const char* name, int32_t number) {
        if (model.get_kova_obj_generation() == m_names_generation) {
            if (number > 0 && static_cast<std::size_t>(number) <= m_numbered.size()) {
                const KOVA_OBJ_INFO* object = m_numbered[static_cast<std::size_t>(number) - 1];
                if (object != unknown_object()) return object;
            } else if (number <= 0 && m_names) {
                const NAME_MEMO& memo = m_names[name_slot(name)];
                if (memo.name == name) return memo.object;
            }
        }
        return look_up_name(model, name, number);
    }
    // Forgets every name remembered.
    void forget_names();
    // Forgets every name remembered, for a table whose names are numbered
    // from 1 to count.
    void use_table_names(std::size_t count);

    // One item of a "|"-separated list text: where it lies in the list,
    // and how it is evaluated: taken as written (kova_value_taken_as_written)
    // or by its program, found as find finds it (interpreted() when the
    // item must be parsed).
    struct LIST_ITEM {
        uint32_t at = 0;
        uint32_t size = 0;
        bool as_written = false;
        KOVA_PROGRAM_VIEW program;
    };
    class LIST_RUN;

    // Counts the programs running, while a RUN lives.
    class RUN {
    public:
        explicit RUN(KOVA_PROGRAM_CACHE& cache) : m_cache(cache) { ++m_cache.m_running; }
        RUN(const RUN&) = delete;
        RUN& operator=(const RUN&) = delete;
        ~RUN() { --m_cache.m_running; }

    private:
        KOVA_PROGRAM_CACHE& m_cache;
    };

    // The items of a list text while one of its evaluations lives: the
    // list's split and its items' programs are remembered, by the list's
    // address, length and bytes, so a list evaluated again finds all its
    // items at once. Holds a RUN, so no program is released meanwhile.
    // A list evaluated while another runs (a nested evaluation) gets no
    // items (null): it goes item by item, and the running list's items
    // are never replaced under it.
    class LIST_RUN {
    public:
        LIST_RUN(KOVA_PROGRAM_CACHE& cache, const KOVA_PROGRAM_TABLE* table, std::string_view list);
        LIST_RUN(const LIST_RUN&) = delete;
        LIST_RUN& operator=(const LIST_RUN&) = delete;
        ~LIST_RUN();
        const std::vector<LIST_ITEM>* items() const { return m_items; }

    private:
        KOVA_PROGRAM_CACHE& m_cache;
        const std::vector<LIST_ITEM>* m_items = nullptr;
    };

private:
    struct NAME_MEMO {
        const char* name = nullptr;
        const KOVA_OBJ_INFO* object = nullptr;
    };
    static constexpr std::size_t NAME_SLOTS = 512;  // 2^9
    // The slot of key among 2^bits slots: the top bits of its product
    // with a large odd constant, which spreads addresses and short texts.
    static std::size_t slot_of(uint64_t key, unsigned bits) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - bits));
    }
    // A name's slot in m_names (512 slots), by its address.
    static std::size_t name_slot(const char* name) { return slot_of(reinterpret_cast<uintptr_t>(name), 9); }

    // The mark of a numbered name not looked up yet: an address no object
    // has.
    static const KOVA_OBJ_INFO* unknown_object() { return reinterpret_cast<const KOVA_OBJ_INFO*>(&s_unknown_mark); }
    static const char s_unknown_mark;
    const KOVA_OBJ_INFO* look_up_name(const KOVA_INFO& model, const char* name, int32_t number);

    // Both made when first needed: a validator whose texts are all in its
    // table reads no text and has no names without a number.
    std::unique_ptr<KOVA_SYNTAX_READER> m_reader;
    // Direct-mapped by the name's address; an empty slot has no name.
    std::unique_ptr<NAME_MEMO[]> m_names;
    // By a table name's number - 1: its object, or UNKNOWN before it is
    // looked up. Sized once to the table's name count.
    std::vector<const KOVA_OBJ_INFO*> m_numbered;
    std::size_t m_table_names = 0;
    // The model generation the remembered names were looked up in.
    uint64_t m_names_generation = 0;
    struct HELD {
        std::size_t hash;  // KOVA_PROGRAM_TABLE::hash_of(text)
        std::string text;
        KOVA_PROGRAM program;
    };
    // The programs held, each in a block of its own, so a program stays
    // where it is while others are added.
    std::vector<std::unique_ptr<HELD>> m_held;
    // Finds a program from its text's hash: each slot empty (0) or the
    // high 32 bits of the hash above the index in m_held + 1; linear
    // probing. Invariant: a power of two, at least twice m_held's size.
    std::vector<uint64_t> m_slots;
    // text's program held, compiled now when the cache has none; hash is
    // KOVA_PROGRAM_TABLE::hash_of(text).
    const HELD& held_of(std::string_view text, std::size_t hash);
    void index_held(std::size_t hash, std::size_t index);
    // Invariant: the number of RUNs alive on this cache.
    std::size_t m_running = 0;

    // A text looked up lately: where it lay and its length, and its
    // table entry (offset + 1) or else its held program.
    // A table text met again from the same place also keeps its bytes and
    // program (kept), so that later look-ups compare bytes only.
    struct RECENT {
        const char* data = nullptr;
        std::size_t size = 0;
        uint32_t entry = 0;
        const HELD* held = nullptr;
        bool kept = false;
        std::string bytes;  // its storage is reused from text to text
        KOVA_PROGRAM_VIEW program;
        void remember(std::string_view text, uint32_t at, const HELD* program_held) {
            data = text.data();
            size = text.size();
            entry = at;
            held = program_held;
            kept = false;
            if (held) program = held->program.view();
        }
    };
    static constexpr std::size_t RECENT_SLOTS = 16;  // 2^4
    // A text of at most 8 bytes, as its bytes (zero beyond its length),
    // and its program: a short text ("1", "fast") that many places share
    // is found by its bytes, without matching it against the table.
    struct SHORT_TEXT {
        uint64_t bytes = 0;
        std::size_t size = 0;  // 0: empty slot
        KOVA_PROGRAM_VIEW program;
    };
    static constexpr std::size_t SHORT_SLOTS = 32;  // 2^5
    // Invariant: every program is of the table of serial m_memo_serial or
    // held in m_held.
    std::unique_ptr<SHORT_TEXT[]> m_short;
    // Direct-mapped by the text's address. Invariant: every entry is of
    // the table of serial m_memo_serial, and every held program is in
    // m_held.
    RECENT m_recent[RECENT_SLOTS];
    // A list text evaluated lately: where it lay, its length and bytes,
    // and its items. Direct-mapped by the list's address; made on first
    // use. Invariant: as m_recent's, and no slot changes while m_listing.
    struct RECENT_LIST {
        const char* data = nullptr;
        std::size_t size = 0;
        std::string bytes;
        std::vector<LIST_ITEM> items;
    };
    static constexpr std::size_t LIST_SLOTS = 16;  // 2^4
    std::unique_ptr<RECENT_LIST[]> m_lists;
    // True while a LIST_RUN holds a list's items.
    bool m_listing = false;
    const std::vector<LIST_ITEM>& find_list(const KOVA_PROGRAM_TABLE* table, std::string_view list);
    void forget_if_table_changed(const KOVA_PROGRAM_TABLE* table);
    // The entry (offset + 1) where the run is: the last found near it, or
    // by its hash when no other place shares its text; 0 for none.
    uint32_t m_cursor = 0;
    uint64_t m_memo_serial = 0;
    void forget_recent();
    RECENT& recent_slot(const char* data);
    KOVA_PROGRAM_VIEW find_elsewhere(const KOVA_PROGRAM_TABLE* table, std::string_view text);
    bool answer_recent(const KOVA_PROGRAM_TABLE* table, RECENT& recent, std::string_view text,
                       KOVA_PROGRAM_VIEW& program);
    bool find_in_table(const KOVA_PROGRAM_TABLE& table, std::string_view text, std::optional<std::size_t>& hash,
                       KOVA_PROGRAM_VIEW& program, uint32_t& at);
};

#endif
