// The shared programs of a model's texts and a validator's own cache.
#include "expr/program_table.h"

#include <utility>


KOVA_PROGRAM_TABLE::KOVA_PROGRAM_TABLE(const std::vector<std::string>& texts) {
    KOVA_SYNTAX_READER reader;
    m_programs.reserve(texts.size());
    for (const std::string& text : texts) {
        if (text.empty() || m_programs.count(text)) continue;
        m_programs.emplace(text, KOVA_PROGRAM::compile(reader, text));
    }
}

const KOVA_PROGRAM* KOVA_PROGRAM_TABLE::find(const std::string& text) const {
    const auto found = m_programs.find(text);
    return found == m_programs.end() ? nullptr : &found->second;
}

const KOVA_PROGRAM& KOVA_PROGRAM_CACHE::program_of(const std::string& text) {
    const auto found = m_programs.find(text);
    if (found != m_programs.end()) return found->second;
    if (m_programs.size() >= HOST_PROGRAMS && m_running == 0) {
        m_programs.clear();
        forget_names();
    }
    return m_programs.emplace(text, KOVA_PROGRAM::compile(m_reader, text)).first->second;
}

void KOVA_PROGRAM_CACHE::forget_names() {
    for (std::size_t slot = 0; slot < NAME_SLOTS; ++slot) m_names[slot] = NAME_MEMO();
}

const KOVA_OBJ_INFO* KOVA_PROGRAM_CACHE::object_named(const KOVA_INFO& model, const char* name) {
    if (model.get_kova_obj_generation() != m_names_generation) {
        forget_names();
        m_names_generation = model.get_kova_obj_generation();
    }
    const uintptr_t address = reinterpret_cast<uintptr_t>(name);
    NAME_MEMO& memo = m_names[static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> 55) & (NAME_SLOTS - 1)];
    if (memo.name != name) {
        memo.object = model.get_kova_obj(name);
        memo.name = name;
    }
    return memo.object;
}
