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
    if (m_programs.size() >= HOST_PROGRAMS && m_running == 0) m_programs.clear();
    return m_programs.emplace(text, KOVA_PROGRAM::compile(m_reader, text)).first->second;
}
