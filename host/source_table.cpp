// The source table: a record per element the reader made, each with its
// file and the place of every field it gave.
#include "host/source_table.h"

uint32_t KOVA_SOURCE_TABLE::add_record(const std::string& file) {
    // Records of one file come together, so only the last file is compared.
    if (m_files.empty() || m_files.back() != file) m_files.push_back(file);
    m_records.push_back({static_cast<uint32_t>(m_files.size() - 1), static_cast<uint32_t>(m_places.size())});
    return static_cast<uint32_t>(m_records.size());
}

std::size_t KOVA_SOURCE_TABLE::places_end(uint32_t id) const {
    return id < m_records.size() ? m_records[id].first : m_places.size();
}

const KOVA_SOURCE_TABLE::PLACE* KOVA_SOURCE_TABLE::find_place(uint32_t id, KOVA_SOURCE_FIELD field) const {
    for (std::size_t at = m_records[id - 1].first, end = places_end(id); at < end; ++at)
        if (m_places[at].field == field) return &m_places[at];
    return nullptr;
}

void KOVA_SOURCE_TABLE::set(uint32_t id, KOVA_SOURCE_FIELD field, uint32_t line, uint32_t column) {
    if (id == 0 || id > m_records.size() || field >= KOVA_FIELD_COUNT) return;
    if (const PLACE* found = find_place(id, field)) {
        PLACE& place = m_places[static_cast<std::size_t>(found - m_places.data())];
        place.line = line;
        place.column = column;
        return;
    }
    // A record other than the newest moves the places of the later ones.
    const std::size_t end = places_end(id);
    m_places.insert(m_places.begin() + static_cast<std::ptrdiff_t>(end), PLACE{line, column, field});
    for (std::size_t later = id; later < m_records.size(); ++later) ++m_records[later].first;
}

const std::string& KOVA_SOURCE_TABLE::file_of(uint32_t id) const {
    static const std::string none;
    if (id == 0 || id > m_records.size()) return none;
    return m_files[m_records[id - 1].file];
}

KOVA_SOURCE_LOCATION KOVA_SOURCE_TABLE::locate(uint32_t id, KOVA_SOURCE_FIELD field, bool fall_back) const {
    KOVA_SOURCE_LOCATION location;
    if (id == 0 || id > m_records.size() || field >= KOVA_FIELD_COUNT) return location;
    location.file = m_files[m_records[id - 1].file];
    const PLACE* place = find_place(id, field);
    if ((!place || place->line == 0) && fall_back) place = find_place(id, KOVA_FIELD_ELEMENT);
    if (place) {
        location.line = place->line;
        location.column = place->column;
    }
    return location;
}

// Only the fields that hold a text for the front ends are kept.
bool KOVA_SOURCE_TABLE::keeps_text(KOVA_SOURCE_FIELD field) {
    return field == KOVA_FIELD_LINT_IGNORE || field == KOVA_FIELD_HELP || field == KOVA_FIELD_LABEL ||
           field == KOVA_FIELD_PREVIOUS_NAMES;
}

void KOVA_SOURCE_TABLE::set_text(uint32_t id, KOVA_SOURCE_FIELD field, const std::string& text) {
    if (id != 0 && id <= m_records.size() && keeps_text(field)) m_texts[{id, field}] = text;
}

const std::string& KOVA_SOURCE_TABLE::text(uint32_t id, KOVA_SOURCE_FIELD field) const {
    static const std::string none;
    const auto found = m_texts.find({id, field});
    return found == m_texts.end() ? none : found->second;
}
