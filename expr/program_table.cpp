// The shared programs of a model's texts and a validator's own cache.
#include "expr/program_table.h"

#include "expr/token_utils.h"
#include "expr/usage_words.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>


namespace {

std::size_t table_units_for(std::size_t bytes) { return (bytes + sizeof(KOVA_STEP) - 1) / sizeof(KOVA_STEP); }

// Where a name's place is recorded for a name that is not written as its
// token in the text: its number is kept but it is not matched.
constexpr uint32_t UNMATCHED_NAME = 0xFFFFFFFFu;

// The first slot to probe for hash among count slots: 32 well-mixed bits
// of the hash scaled to the count (whatever the width of std::size_t).
std::size_t first_slot(std::size_t hash, std::size_t count) {
    const uint64_t mixed = (static_cast<uint64_t>(hash) * 0x9E3779B97F4A7C15ull) >> 32;
    return static_cast<std::size_t>((mixed * static_cast<uint64_t>(count)) >> 32);
}

// The high 32 bits of a 64-bit hash (0 where std::size_t is narrower),
// kept in a cache slot beside its index.
uint64_t high_hash_bits(std::size_t hash) { return static_cast<uint64_t>(hash) >> 32; }

uint32_t read_word(const char* at) {
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// An open-addressing index from a key's hash to its number (from 1), for
// the builder, which knows how to compare a number's key with the key
// looked up (same) and how to add the key when it is new (add). Kept
// at most half full; linear probing.
class FLAT_INDEX {
public:
    template <typename SAME, typename ADD>
    uint32_t find_or_add(std::size_t hash, SAME same, ADD add) {
        if (2 * (m_used + 1) > m_slots.size()) grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            SLOT& held = m_slots[slot];
            if (held.number == 0) {
                held = {hash, add()};
                ++m_used;
                return held.number;
            }
            if (held.hash == hash && same(held.number)) return held.number;
        }
    }

private:
    struct SLOT {
        std::size_t hash = 0;
        uint32_t number = 0;  // 0: empty
    };
    void grow() {
        std::vector<SLOT> old(std::max<std::size_t>(64, 2 * m_slots.size()));
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const SLOT& held : old) {
            if (held.number == 0) continue;
            std::size_t slot = held.hash & mask;
            while (m_slots[slot].number != 0) slot = (slot + 1) & mask;
            m_slots[slot] = held;
        }
    }
    std::vector<SLOT> m_slots;  // a power of two
    std::size_t m_used = 0;
};

}  // namespace

// Builds the table's blocks, entries and names, text by text. The maps
// from a shape's block (its bytes, the same for every text of the shape)
// and from a name text to where the table keeps them live only while the
// table is built.
class KOVA_PROGRAM_TABLE::BUILDER {
public:
    explicit BUILDER(KOVA_PROGRAM_TABLE& table) : m_table(table) {}

    // Adds text's entry; answers its offset in m_entries.
    uint32_t add(std::string_view view) {
        const std::string text(view);
        std::vector<uint32_t> token_at;
        const KOVA_PROGRAM program = KOVA_PROGRAM::compile(m_reader, text, &token_at);
        std::vector<std::string> names;
        const uint32_t entry = static_cast<uint32_t>(m_table.m_entries.size());
        m_table.m_entries.push_back(block_unit(shape_of(text, program, token_at, names)));
        for (const std::string& name : names) m_table.m_entries.push_back(number_of(name));
        return entry;
    }

private:
    // The bytes of the block of text's shape; names gets the text of each
    // name step, in step order, and a macro call's arguments and instance
    // name. A name is matched where it is written as its token (token_at);
    // one that is not keeps its number unmatched, the rest of the text
    // then being fixed characters. A call's arguments are matched when
    // written between its parentheses exactly as the grammar joins them;
    // its instance name, made from the call, is never matched.
    std::string shape_of(const std::string& text, const KOVA_PROGRAM& program, const std::vector<uint32_t>& token_at,
                         std::vector<std::string>& names) {
        std::vector<KOVA_STEP> steps;
        std::vector<uint32_t> places;
        std::string fixed, chars;
        std::size_t cursor = 0, tokens = 0;
        const auto add_text = [&chars](const char* piece) {
            const std::size_t offset = chars.size();
            chars.append(piece).push_back('\0');
            return static_cast<uint32_t>(offset);
        };
        for (KOVA_STEP step : program.steps()) {
            switch (step.kind) {
                case KOVA_SYN_NAME: {
                    const std::string name = program.text_at(step.text);
                    const std::size_t at = token_at[tokens++];
                    uint32_t place = UNMATCHED_NAME;
                    if (at >= cursor && at <= text.size() && text.compare(at, name.size(), name) == 0) {
                        fixed.append(text, cursor, at - cursor);
                        place = static_cast<uint32_t>(fixed.size());
                        cursor = at + name.size();
                    }
                    places.push_back(place);
                    // A fused name step keeps its integer operand.
                    step.text = static_cast<uint32_t>(names.size());
                    if (step.spare != KOVA_FUSED_NAME_BINARY) step.number = 0;
                    names.push_back(name);
                    break;
                }
                case KOVA_SYN_MACRO_CALL: {
                    const std::string macro = program.text_at(step.text), arguments = program.text_at(step.call);
                    const char* instance = program.text_at(static_cast<uint32_t>(step.number));
                    const std::size_t at = token_at[tokens++], first = at + macro.size() + 1;
                    step.text = add_text(macro.c_str());
                    if (at >= cursor && first + arguments.size() < text.size() && text.compare(at, macro.size(), macro) == 0 &&
                        text[first - 1] == '(' && text.compare(first, arguments.size(), arguments) == 0 &&
                        text[first + arguments.size()] == ')') {
                        fixed.append(text, cursor, first - cursor);
                        places.push_back(static_cast<uint32_t>(fixed.size()));
                        places.push_back(UNMATCHED_NAME);
                        cursor = first + arguments.size();
                        step.spare = 1;
                        step.call = static_cast<uint32_t>(names.size());
                        step.number = static_cast<int32_t>(names.size() + 1);
                        names.push_back(arguments);
                        names.push_back(instance);
                        break;
                    }
                    step.number = static_cast<int32_t>(add_text(instance));
                    step.call = add_text(arguments.c_str());
                    break;
                }
                case KOVA_SYN_STRING:
                case KOVA_SYN_DOTTED:
                case KOVA_SYN_QUERY: step.text = add_text(program.text_at(step.text)); break;
                default: break;
            }
            steps.push_back(step);
        }
        fixed.append(text, cursor, std::string::npos);
        const HEADER header{static_cast<uint32_t>(steps.size()), static_cast<uint32_t>(program.depth()),
                            static_cast<uint32_t>(fixed.size()), static_cast<uint32_t>(places.size())};
        std::string block(reinterpret_cast<const char*>(&header), sizeof header);
        block.append(reinterpret_cast<const char*>(steps.data()), steps.size() * sizeof(KOVA_STEP));
        block.append(reinterpret_cast<const char*>(places.data()), places.size() * sizeof(uint32_t));
        return block.append(fixed).append(chars);
    }

    // The first unit of the block of these bytes, added when new. A
    // shape is told by its bytes and their length.
    uint32_t block_unit(const std::string& block) {
        std::vector<KOVA_STEP>& units = m_table.m_units;
        const auto same = [&](uint32_t shape) {
            const auto& [first, length] = m_shapes[shape - 1];
            return length == block.size() && std::memcmp(&units[first], block.data(), length) == 0;
        };
        const auto add = [&] {
            const std::size_t first = units.size();
            units.resize(first + table_units_for(block.size()));
            std::memcpy(static_cast<void*>(&units[first]), block.data(), block.size());
            m_shapes.emplace_back(static_cast<uint32_t>(first), block.size());
            ++m_table.m_shape_count;
            return static_cast<uint32_t>(m_shapes.size());
        };
        return m_shapes[m_block_index.find_or_add(hash_of(block), same, add) - 1].first;
    }

    // The number of a name text, given the next one when new.
    uint32_t number_of(const std::string& name) {
        const std::string& chars = m_table.m_name_chars;
        const std::vector<uint32_t>& name_at = m_table.m_name_at;
        const auto same = [&](uint32_t number) {
            const uint32_t start = name_at[number - 1];
            return name_at[number] - start - 1 == name.size() && chars.compare(start, name.size(), name) == 0;
        };
        const auto add = [&] {
            m_table.m_name_chars.append(name).push_back('\0');
            m_table.m_name_at.push_back(static_cast<uint32_t>(m_table.m_name_chars.size()));
            return static_cast<uint32_t>(m_table.m_name_at.size() - 1);
        };
        return m_name_index.find_or_add(hash_of(name), same, add);
    }

    KOVA_PROGRAM_TABLE& m_table;
    KOVA_SYNTAX_READER m_reader;
    // Each shape's first unit and its block's length in bytes.
    std::vector<std::pair<uint32_t, std::size_t>> m_shapes;
    FLAT_INDEX m_block_index;  // to a shape's number, from 1
    FLAT_INDEX m_name_index;   // to a name's number
};

namespace {

std::atomic<uint64_t> table_serials{0};

std::vector<std::string_view> views_of(const std::vector<std::string>& texts) {
    return std::vector<std::string_view>(texts.begin(), texts.end());
}

}  // namespace

KOVA_PROGRAM_TABLE::KOVA_PROGRAM_TABLE(const std::vector<std::string>& texts) : KOVA_PROGRAM_TABLE(views_of(texts)) {}

// A text met again is found among the entries made so far, by its hash,
// and matched against its entry as find matches it.
KOVA_PROGRAM_TABLE::KOVA_PROGRAM_TABLE(const std::vector<std::string_view>& texts) : m_serial(++table_serials) {
    std::vector<std::pair<std::size_t, uint32_t>> added;  // (hash, entry)
    {
        BUILDER builder(*this);
        FLAT_INDEX seen;  // to an entry's offset + 1
        std::vector<uint32_t> shared;
        for (const std::string_view text : texts) {
            if (text.empty()) continue;
            const std::size_t hash = hash_of(text);
            const uint32_t at = seen.find_or_add(
                hash, [&](uint32_t at) { return matches(text, &m_entries[at - 1]); },
                [&] {
                    added.emplace_back(hash, builder.add(text));
                    return added.back().second + 1;
                });
            if (at != added.back().second + 1) shared.push_back(at - 1);
        }
        m_shared.assign(m_entries.size(), false);
        for (const uint32_t entry : shared) m_shared[entry] = true;
    }
    m_count = added.size();
    m_units.shrink_to_fit();
    m_name_chars.shrink_to_fit();
    m_name_at.shrink_to_fit();
    lay_slots(added);
}

void KOVA_PROGRAM_TABLE::lay_slots(const std::vector<std::pair<std::size_t, uint32_t>>& added) {
    // Two slots for each three texts or fewer keeps the probes short.
    m_slots.assign(m_count + m_count / 2 + 1, 0);
    for (const auto& [hash, entry] : added) {
        std::size_t slot = first_slot(hash, m_slots.size());
        while (m_slots[slot] != 0) slot = slot + 1 == m_slots.size() ? 0 : slot + 1;
        m_slots[slot] = entry + 1;
    }
    // A block's first unit, a name's number and a slot's entry + 1 are at
    // most these sizes.
    constexpr std::size_t SHORT = 0xFFFF;
    if (m_units.size() > SHORT || m_name_at.size() > SHORT || m_entries.size() >= SHORT) {
        m_entries.shrink_to_fit();
        return;
    }
    m_short_entries.assign(m_entries.begin(), m_entries.end());
    m_short_slots.assign(m_slots.begin(), m_slots.end());
    std::vector<uint32_t>().swap(m_entries);
    std::vector<uint32_t>().swap(m_slots);
}

// Whether text is the text of entry: its shape's fixed characters with
// the entry's names put in their places.
template <typename WORD>
bool KOVA_PROGRAM_TABLE::matches(std::string_view text, const WORD* entry) const {
    const KOVA_STEP* block = &m_units[entry[0]];
    HEADER header;
    std::memcpy(&header, block, sizeof header);
    const char* places = reinterpret_cast<const char*>(block + 1 + header.count);
    const char* fixed = places + header.names * sizeof(uint32_t);
    const char* given = text.data();
    std::size_t left = text.size();
    uint32_t done = 0;  // fixed characters matched so far
    const auto take = [&given, &left](const char* piece, std::size_t length) {
        if (left < length || std::memcmp(given, piece, length) != 0) return false;
        given += length;
        left -= length;
        return true;
    };
    for (uint32_t index = 0; index < header.names; ++index) {
        const uint32_t place = read_word(places + index * sizeof(uint32_t));
        if (place == UNMATCHED_NAME) continue;
        const uint32_t number = entry[1 + index];
        const uint32_t start = m_name_at[number - 1];
        if (!take(fixed + done, place - done) || !take(m_name_chars.data() + start, m_name_at[number] - start - 1))
            return false;
        done = place;
    }
    return take(fixed + done, header.fixed_length - done) && left == 0;
}

template <typename WORD>
KOVA_PROGRAM_VIEW KOVA_PROGRAM_TABLE::view_of(const WORD* entry) const {
    const KOVA_STEP* block = &m_units[entry[0]];
    HEADER header;
    std::memcpy(&header, block, sizeof header);
    const char* chars = reinterpret_cast<const char*>(block + 1 + header.count) + header.names * sizeof(uint32_t) +
                        header.fixed_length;
    KOVA_PROGRAM_VIEW view{block + 1, header.count, header.depth, chars};
    if constexpr (sizeof(WORD) == sizeof(uint16_t))
        view.short_names = entry + 1;
    else
        view.names = entry + 1;
    view.name_chars = m_name_chars.data();
    view.name_at = m_name_at.data();
    return view;
}

template <typename WORD>
bool KOVA_PROGRAM_TABLE::find_in(const std::vector<WORD>& slots, const WORD* entries, std::string_view text,
                                 std::size_t hash, KOVA_PROGRAM_VIEW& program, uint32_t* at) const {
    for (std::size_t slot = first_slot(hash, slots.size());;
         slot = slot + 1 == slots.size() ? 0 : slot + 1) {
        const WORD held = slots[slot];
        if (held == 0) return false;
        if (!matches(text, entries + held - 1)) continue;
        program = view_of(entries + held - 1);
        if (at) *at = held;
        return true;
    }
}

// Entries follow one another: a block's first unit, then as many name
// numbers as the block's header counts names.
template <typename WORD>
bool KOVA_PROGRAM_TABLE::find_near_in(const WORD* entries, std::size_t size, std::string_view text, uint32_t& at,
                                      KOVA_PROGRAM_VIEW& program) const {
    std::size_t offset = at - 1;
    for (int tried = 0; tried <= NEAR && offset < size; ++tried) {
        const WORD* entry = entries + offset;
        if (matches(text, entry)) {
            program = view_of(entry);
            at = static_cast<uint32_t>(offset + 1);
            return true;
        }
        HEADER header;
        std::memcpy(&header, &m_units[entry[0]], sizeof header);
        offset += 1 + header.names;
    }
    return false;
}

// Eight bytes at a time, each word mixed in by a multiply; the tail is
// read as one shorter word. Texts are short (most under 64 bytes), so
// this costs a few cycles per word where a byte loop costs one per byte.
std::size_t KOVA_PROGRAM_TABLE::hash_of(std::string_view text) {
    constexpr uint64_t K = 0x9E3779B97F4A7C15ull;
    uint64_t hash = static_cast<uint64_t>(text.size()) * K;
    const char* at = text.data();
    std::size_t left = text.size();
    const auto mix = [&hash](const char* from, std::size_t count) {
        uint64_t word = 0;
        std::memcpy(&word, from, count);
        hash = (hash ^ word) * K;
        hash ^= hash >> 29;
    };
    for (; left >= 8; at += 8, left -= 8) mix(at, 8);
    if (left > 0) mix(at, left);
    hash = (hash ^ (hash >> 32)) * K;
    return static_cast<std::size_t>(hash ^ (hash >> 31));
}

bool KOVA_PROGRAM_TABLE::find(std::string_view text, std::size_t hash, KOVA_PROGRAM_VIEW& program,
                              uint32_t* at) const {
    if (m_count == 0) return false;
    if (!m_short_slots.empty()) return find_in(m_short_slots, m_short_entries.data(), text, hash, program, at);
    return find_in(m_slots, m_entries.data(), text, hash, program, at);
}

bool KOVA_PROGRAM_TABLE::find_near(std::string_view text, uint32_t& at, KOVA_PROGRAM_VIEW& program) const {
    if (at == 0) return false;
    if (!m_short_slots.empty()) return find_near_in(m_short_entries.data(), m_short_entries.size(), text, at, program);
    return find_near_in(m_entries.data(), m_entries.size(), text, at, program);
}

const KOVA_PROGRAM_CACHE::HELD& KOVA_PROGRAM_CACHE::held_of(std::string_view text, std::size_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask; !m_slots.empty(); slot = (slot + 1) & mask) {
        const uint64_t held = m_slots[slot];
        if (held == 0) break;
        if ((held >> 32) != high_hash_bits(hash)) continue;
        const HELD& entry = *m_held[static_cast<uint32_t>(held) - 1];
        if (entry.text == text) return entry;
    }
    if (m_held.size() >= HOST_PROGRAMS && m_running == 0) {
        forget_recent();
        m_held.clear();
        m_slots.assign(m_slots.size(), 0);
        forget_names();
    }
    if (!m_reader) m_reader = std::make_unique<KOVA_SYNTAX_READER>();
    std::string owned(text);
    KOVA_PROGRAM program = KOVA_PROGRAM::compile(*m_reader, owned);
    m_held.push_back(std::make_unique<HELD>(HELD{hash, std::move(owned), std::move(program)}));
    if (2 * m_held.size() <= m_slots.size()) {
        index_held(hash, m_held.size() - 1);
    } else {
        m_slots.assign(std::max<std::size_t>(16, 2 * m_slots.size()), 0);
        for (std::size_t index = 0; index < m_held.size(); ++index) index_held(m_held[index]->hash, index);
    }
    return *m_held.back();
}

KOVA_PROGRAM_CACHE::RECENT& KOVA_PROGRAM_CACHE::recent_slot(const char* data) {
    return m_recent[slot_of(reinterpret_cast<uintptr_t>(data), 4)];
}

void KOVA_PROGRAM_CACHE::forget_recent() {
    for (RECENT& recent : m_recent) recent = RECENT();
    m_short.reset();
    m_lists.reset();
    m_cursor = 0;
}

// A text met again from the same place whose held program or kept bytes
// (find checks those) no longer match: its table entry, matched again; a
// table text found so is kept as bytes, which are cheaper to compare than
// matching it with the table.
bool KOVA_PROGRAM_CACHE::answer_recent(const KOVA_PROGRAM_TABLE* table, RECENT& recent, std::string_view text,
                                       KOVA_PROGRAM_VIEW& program) {
    if (recent.data != text.data() || recent.size != text.size()) return false;
    uint32_t at = recent.entry;
    if (!table || at == 0 || !table->find_near(text, at, program)) return false;
    if (!table->shared(at)) m_cursor = at;
    recent.entry = at;
    recent.bytes.assign(text);
    recent.program = program;
    recent.kept = true;
    return true;
}

// The table's entries near the cursor, then the text's hash; the cursor
// follows a text of one place in the model, which says where the run is,
// while a text that several places share is laid out where the first of
// them is and leaves the cursor where the run is.
// hash is set here when the near entries miss, so that a text found in
// neither is hashed once.
bool KOVA_PROGRAM_CACHE::find_in_table(const KOVA_PROGRAM_TABLE& table, std::string_view text,
                                       std::optional<std::size_t>& hash, KOVA_PROGRAM_VIEW& program, uint32_t& at) {
    at = m_cursor;
    if (table.find_near(text, at, program)) {
        m_cursor = at;
        return true;
    }
    hash = KOVA_PROGRAM_TABLE::hash_of(text);
    if (!table.find(text, *hash, program, &at)) return false;
    if (!table.shared(at)) m_cursor = at;
    return true;
}

void KOVA_PROGRAM_CACHE::forget_if_table_changed(const KOVA_PROGRAM_TABLE* table) {
    const uint64_t serial = table ? table->serial() : 0;
    if (serial != m_memo_serial) {
        forget_recent();
        m_memo_serial = serial;
    }
}

KOVA_PROGRAM_VIEW KOVA_PROGRAM_CACHE::find_elsewhere(const KOVA_PROGRAM_TABLE* table, std::string_view text) {
    forget_if_table_changed(table);
    RECENT& recent = recent_slot(text.data());
    KOVA_PROGRAM_VIEW program;
    if (answer_recent(table, recent, text, program)) return program;
    // A short text by its bytes.
    uint64_t bytes = 0;
    SHORT_TEXT* short_text = nullptr;
    if (text.size() <= sizeof bytes) {
        std::memcpy(&bytes, text.data(), text.size());
        if (!m_short) m_short = std::make_unique<SHORT_TEXT[]>(SHORT_SLOTS);
        short_text = &m_short[slot_of(bytes ^ text.size(), 5)];
        if (short_text->size == text.size() && short_text->bytes == bytes) return short_text->program;
    }
    std::optional<std::size_t> hash;
    uint32_t at = 0;
    if (table && find_in_table(*table, text, hash, program, at)) {
        recent.remember(text, at, nullptr);
        if (short_text) *short_text = {bytes, text.size(), program};
        return program;
    }
    const HELD& held = held_of(text, hash ? *hash : KOVA_PROGRAM_TABLE::hash_of(text));
    recent.remember(text, 0, &held);
    // held_of may have emptied the cache, and this memo with it.
    if (short_text && m_short) *short_text = {bytes, text.size(), held.program.view()};
    return held.program.view();
}

void KOVA_PROGRAM_CACHE::index_held(std::size_t hash, std::size_t index) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (m_slots[slot] != 0) continue;
        m_slots[slot] = (high_hash_bits(hash) << 32) | (static_cast<uint64_t>(index) + 1);
        return;
    }
}

const char KOVA_PROGRAM_CACHE::s_unknown_mark = 0;

void KOVA_PROGRAM_CACHE::forget_names() {
    m_names.reset();
    m_numbered.clear();
}

void KOVA_PROGRAM_CACHE::use_table_names(std::size_t count) {
    forget_names();
    forget_recent();
    m_table_names = count;
}

const KOVA_OBJ_INFO* KOVA_PROGRAM_CACHE::look_up_name(const KOVA_INFO& model, const char* name, int32_t number) {
    if (model.get_kova_obj_generation() != m_names_generation) {
        forget_names();
        m_names_generation = model.get_kova_obj_generation();
    }
    if (number > 0) {
        const std::size_t index = static_cast<std::size_t>(number) - 1;
        if (index >= m_numbered.size()) {
            m_numbered.resize(std::max(index + 1, m_table_names), unknown_object());
            m_numbered.shrink_to_fit();
        }
        const KOVA_OBJ_INFO*& object = m_numbered[index];
        if (object == unknown_object()) object = model.get_kova_obj(name);
        return object;
    }
    if (!m_names) m_names = std::make_unique<NAME_MEMO[]>(NAME_SLOTS);
    NAME_MEMO& memo = m_names[name_slot(name)];
    if (memo.name != name) {
        memo.object = model.get_kova_obj(name);
        memo.name = name;
    }
    return memo.object;
}

// The list's items, split and found once while the list is met again at
// the same place with the same bytes. Called with a RUN alive, so the
// items' programs found here stay while the caller runs them.
const std::vector<KOVA_PROGRAM_CACHE::LIST_ITEM>& KOVA_PROGRAM_CACHE::find_list(const KOVA_PROGRAM_TABLE* table,
                                                                                std::string_view list) {
    forget_if_table_changed(table);
    if (!m_lists) m_lists = std::make_unique<RECENT_LIST[]>(LIST_SLOTS);
    RECENT_LIST& recent = m_lists[slot_of(reinterpret_cast<uintptr_t>(list.data()), 4)];
    if (recent.data == list.data() && recent.size == list.size() &&
        std::memcmp(recent.bytes.data(), list.data(), list.size()) == 0)
        return recent.items;
    recent.data = nullptr;
    recent.items.clear();
    kova_for_each_list_item(list, [&](std::string_view item) {
        LIST_ITEM entry;
        entry.at = static_cast<uint32_t>(item.data() - list.data());
        entry.size = static_cast<uint32_t>(item.size());
        entry.as_written = kova_value_taken_as_written(item);
        if (!entry.as_written) entry.program = find(table, item);
        recent.items.push_back(entry);
    });
    recent.bytes.assign(list);
    recent.size = list.size();
    recent.data = list.data();
    return recent.items;
}

KOVA_PROGRAM_CACHE::LIST_RUN::LIST_RUN(KOVA_PROGRAM_CACHE& cache, const KOVA_PROGRAM_TABLE* table,
                                       std::string_view list)
    : m_cache(cache) {
    if (cache.m_listing) return;
    ++cache.m_running;
    cache.m_listing = true;
    try {
        m_items = &cache.find_list(table, list);
    } catch (...) {
        cache.m_listing = false;
        --cache.m_running;
        throw;
    }
}

KOVA_PROGRAM_CACHE::LIST_RUN::~LIST_RUN() {
    if (!m_items) return;
    m_cache.m_listing = false;
    --m_cache.m_running;
}
