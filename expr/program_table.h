// Where a validator finds the compiled form of a rule text.
//
// KOVA_PROGRAM_TABLE holds the programs of a model's own texts, compiled
// once when the validator is initialised, one per distinct text however
// many objects share it. It is never changed once built, so the copies of
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
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "expr/program.h"
#include "host/kova_info.h"

// Laid flat so that finding and running a program touches little memory:
// each program is one block of 16-byte units, a header (step count,
// depth, text length), the steps, then the text itself and the steps'
// texts as characters; a slot table of (hash bits, block) finds a block
// from one slot.
class KOVA_PROGRAM_TABLE {
public:
    // The programs of texts (empty texts are left out).
    explicit KOVA_PROGRAM_TABLE(const std::vector<std::string>& texts);
    // The hash of a text under which both this table and a
    // KOVA_PROGRAM_CACHE look it up, so an evaluation hashes its text once.
    static std::size_t hash_of(std::string_view text);
    // Sets program to text's and answers true; false when text is not one
    // of the model's texts. hash is hash_of(text).
    bool find(std::string_view text, std::size_t hash, KOVA_PROGRAM_VIEW& program) const;
    std::size_t size() const { return m_count; }
    // How many distinct names the programs read: a name step's number is
    // from 1 to this.
    std::size_t name_count() const { return m_name_count; }

private:
    struct HEADER {
        uint32_t count, depth, text_length, spare;
    };
    static_assert(sizeof(HEADER) == sizeof(KOVA_STEP), "a header fills one unit");

    void add_block(const std::string& text, const KOVA_PROGRAM& program,
                   std::unordered_map<std::string, int32_t>& names);
    void index_block(std::size_t hash, uint32_t block);

    std::vector<KOVA_STEP> m_units;
    // Each empty (0) or the block's first unit + 1 in the low 32 bits and
    // the high 32 bits of the text's hash above; linear probing.
    std::vector<uint64_t> m_slots;
    std::size_t m_count = 0;
    std::size_t m_name_count = 0;
};

class KOVA_PROGRAM_CACHE {
public:
    static constexpr std::size_t HOST_PROGRAMS = 1024;

    // text's program, compiled now when the cache has none; hash is
    // KOVA_PROGRAM_TABLE::hash_of(text).
    const KOVA_PROGRAM& program_of(std::string_view text, std::size_t hash);
    KOVA_SYNTAX_READER& reader() { return m_reader; }

    // model.get_kova_obj(name), for a name text of a program whose
    // number in the validator's table is number (0 for none).
    const KOVA_OBJ_INFO* object_named(const KOVA_INFO& model, const char* name, int32_t number);
    // Forgets every name remembered.
    void forget_names();

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

private:
    struct NAME_MEMO {
        const char* name = nullptr;
        const KOVA_OBJ_INFO* object = nullptr;
    };
    static constexpr std::size_t NAME_SLOTS = 512;  // a power of two

    KOVA_SYNTAX_READER m_reader;
    // Direct-mapped by the name's address; an empty slot has no name.
    std::unique_ptr<NAME_MEMO[]> m_names = std::make_unique<NAME_MEMO[]>(NAME_SLOTS);
    // By a table name's number - 1: its object, or UNKNOWN before it is
    // looked up.
    std::vector<const KOVA_OBJ_INFO*> m_numbered;
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
    void index_held(std::size_t hash, std::size_t index);
    // Invariant: the number of RUNs alive on this cache.
    std::size_t m_running = 0;
};

#endif
