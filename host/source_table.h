// Where the texts of a model were written. The description reader files
// one record for every object, rule, wizard map and vector it makes, with
// the file and, for each field the element gives, the line and the column
// of the field's first character: inside an attribute's quotes, or the
// first character of a field element's text. Records and the objects that
// carry their ids are copied together, so a copy of a model, a validator
// copy and a merged sub-model all point into the same table, which never
// changes once the reader has finished.
//
// Lines and columns count from 1; columns count bytes. 0 means unknown.
#ifndef KOVA_SOURCE_TABLE_H
#define KOVA_SOURCE_TABLE_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kova_host_export.h"

// The fields of an element that a location may point at.
enum KOVA_SOURCE_FIELD : uint8_t {
    KOVA_FIELD_ELEMENT = 0,      // the "<" of the element's start tag
    KOVA_FIELD_NAME,
    KOVA_FIELD_VALUE,            // an object's value text or a rule's value
    KOVA_FIELD_CONDITION,        // a rule's condition
    KOVA_FIELD_ALT_VALUE,        // a rule's alternate value
    KOVA_FIELD_DEFAULT,          // an object's default value
    KOVA_FIELD_DEFAULT_INDEX,
    KOVA_FIELD_WIDTH,            // a port's width
    KOVA_FIELD_WIDTH2D,
    KOVA_FIELD_ARGUMENTS,        // a macro's formal arguments
    KOVA_FIELD_INITIAL_VEC_STATE,
    KOVA_FIELD_TYPE,             // a rule's type or an object's kind
    KOVA_FIELD_LIBRARY,          // a model's simulation library text
    KOVA_FIELD_LINT_IGNORE,      // the checks kova lint leaves out
    KOVA_FIELD_HELP,             // an object's, map's or vector's help paragraph
    KOVA_FIELD_LABEL,            // its short title
    KOVA_FIELD_PREVIOUS_NAMES,   // the names a port or parameter had in earlier versions
    KOVA_FIELD_COUNT
};

// A place in a description file; line 0 when unknown.
struct KOVA_SOURCE_LOCATION {
    std::string file;
    uint32_t line = 0;
    uint32_t column = 0;
    bool known() const { return line != 0; }
};

class KOVA_HOST_API KOVA_SOURCE_TABLE {
public:
    // A new record for an element of file (a path as the reader names it);
    // ids start at 1, so 0 always means "no record".
    uint32_t add_record(const std::string& file);
    void set(uint32_t id, KOVA_SOURCE_FIELD field, uint32_t line, uint32_t column);

    // The field's place; where the field has none, the element's place
    // when fall_back is set, else an unknown place in the record's file.
    // Unknown altogether for id 0 or an id the table does not hold.
    KOVA_SOURCE_LOCATION locate(uint32_t id, KOVA_SOURCE_FIELD field, bool fall_back = true) const;
    // The file of a record; "" for an id the table does not hold.
    const std::string& file_of(uint32_t id) const;
    std::size_t size() const { return m_records.size(); }

    // The texts of a record that the engine never reads, only the front
    // ends: its element's lint_ignore, help, label and previous_names
    // fields, as written;
    // "" for a field not given, any other field, or an id the table does
    // not hold.
    void set_text(uint32_t id, KOVA_SOURCE_FIELD field, const std::string& text);
    // Whether set_text keeps the texts of field.
    static bool keeps_text(KOVA_SOURCE_FIELD field);
    const std::string& text(uint32_t id, KOVA_SOURCE_FIELD field) const;
    // The names of the checks that kova lint leaves out for a record.
    void set_lint_ignore(uint32_t id, const std::string& names) { set_text(id, KOVA_FIELD_LINT_IGNORE, names); }
    const std::string& lint_ignore(uint32_t id) const { return text(id, KOVA_FIELD_LINT_IGNORE); }

private:
    // The places of all records end to end, each record's together:
    // record i owns m_places[m_records[i].first, m_records[i + 1].first).
    // An element gives a few of the fields, so this keeps a large
    // description's table small (the reader sets a record's places right
    // after adding it, so they are appended at the end).
    struct PLACE {
        uint32_t line = 0, column = 0;
        KOVA_SOURCE_FIELD field = KOVA_FIELD_ELEMENT;
    };
    struct RECORD {
        uint32_t file = 0;
        uint32_t first = 0;
    };
    // The record's places, [begin, end) in m_places.
    std::size_t places_end(uint32_t id) const;
    const PLACE* find_place(uint32_t id, KOVA_SOURCE_FIELD field) const;

    std::vector<std::string> m_files;
    std::vector<RECORD> m_records;
    std::vector<PLACE> m_places;
    // Keyed by record and field; few records have any.
    std::map<std::pair<uint32_t, KOVA_SOURCE_FIELD>, std::string> m_texts;
};

#endif
