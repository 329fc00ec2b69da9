// The source table: a record per element the reader made, each with its
// file and the place of every field it gave.
#include "host/source_table.h"

uint32_t KOVA_SOURCE_TABLE::add_record(const std::string& file) {
    // Records of one file come together, so only the last file is compared.
    if (m_files.empty() || m_files.back() != file) m_files.push_back(file);
    RECORD record;
    record.file = static_cast<uint32_t>(m_files.size() - 1);
    m_records.push_back(record);
    return static_cast<uint32_t>(m_records.size());
}

void KOVA_SOURCE_TABLE::set(uint32_t id, KOVA_SOURCE_FIELD field, uint32_t line, uint32_t column) {
    if (id == 0 || id > m_records.size() || field >= KOVA_FIELD_COUNT) return;
    m_records[id - 1].fields[field] = {line, column};
}

const std::string& KOVA_SOURCE_TABLE::file_of(uint32_t id) const {
    static const std::string none;
    if (id == 0 || id > m_records.size()) return none;
    return m_files[m_records[id - 1].file];
}

KOVA_SOURCE_LOCATION KOVA_SOURCE_TABLE::locate(uint32_t id, KOVA_SOURCE_FIELD field, bool fall_back) const {
    KOVA_SOURCE_LOCATION location;
    if (id == 0 || id > m_records.size() || field >= KOVA_FIELD_COUNT) return location;
    const RECORD& record = m_records[id - 1];
    location.file = m_files[record.file];
    POSITION position = record.fields[field];
    if (position.line == 0 && fall_back) position = record.fields[KOVA_FIELD_ELEMENT];
    location.line = position.line;
    location.column = position.column;
    return location;
}

void KOVA_SOURCE_TABLE::set_lint_ignore(uint32_t id, const std::string& names) {
    if (id != 0 && id <= m_records.size()) m_lint_ignore[id] = names;
}

const std::string& KOVA_SOURCE_TABLE::lint_ignore(uint32_t id) const {
    static const std::string none;
    const auto found = m_lint_ignore.find(id);
    return found == m_lint_ignore.end() ? none : found->second;
}
