// The description reader: reads a description file (XML, the format of
// docs/description-format.md), with every file it includes, into a model.
// File I/O and XML parsing happen here and nowhere else.
//
// Invariant: a model is only ever replaced as a whole. The reader fills a
// fresh KOVA_INFO, sub-models included, and process_xml_file adopts it only
// when nothing failed, so a bad file never leaves a half-read model behind.
// Every failure is one message that names the file and, where there is
// one, the line.
//
// Every object, rule, wizard map and vector the reader makes carries the id
// of a record in the load's one source table (source_table.h), which names
// the file it is written in and the place of its start tag and of each
// field it gives; the loaded model and all its sub-models share the table.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "host/file_overlay.h"
#include "host/kova_info.h"
#include "host/kova_stl.h"
#include "host/source_positions.h"
#include "host/source_table.h"
#include "host/xml_text_check.h"

// The reader's access to the model fields that have no public setter.
class KOVA_DESCRIPTION_READER {
public:
    static void set_source_file(KOVA_INFO& model, const std::string& path) { model.m_source_file = path; }

    // Gives model and every sub-model below it the table of their load.
    static void share_sources(KOVA_INFO& model, const std::shared_ptr<const KOVA_SOURCE_TABLE>& table) {
        model.set_source_table(table);
        for (std::unique_ptr<KOVA_INFO>& sub : model.m_sub_infos) share_sources(*sub, table);
    }

    // Moves every sub-model out of model, in order.
    static std::vector<std::unique_ptr<KOVA_INFO>> take_sub_infos(KOVA_INFO& model) {
        std::vector<std::unique_ptr<KOVA_INFO>> subs = std::move(model.m_sub_infos);
        model.m_sub_infos.clear();
        model.m_sub_cursor = 0;
        return subs;
    }
};

namespace {

namespace fs = std::filesystem;

// A problem that ends the reading; its text is the whole message, which
// starts with the place (file, and line where known) unless problem_at is 0.
struct DESCRIPTION_ERROR {
    std::string text;
    KOVA_SOURCE_LOCATION place;
    std::size_t problem_at = 0;
};

// A problem whose text names the file itself.
DESCRIPTION_ERROR unplaced_error(const std::string& text) {
    DESCRIPTION_ERROR error;
    error.text = text;
    return error;
}

// A problem of a whole file: "path: problem".
DESCRIPTION_ERROR file_error(const std::string& path, const std::string& problem) {
    DESCRIPTION_ERROR error;
    error.text = path + ": " + problem;
    error.place.file = path;
    error.problem_at = path.size() + 2;
    return error;
}

using NAMES = std::initializer_list<std::string_view>;

// The entry of names equal to name; null when there is none. The entries
// are views of literals, so the answer outlives the list.
const std::string_view* entry_of(NAMES names, std::string_view name) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? nullptr : found;
}

// The white space that trimming removes and that XML itself knows.
constexpr const char* k_blanks = " \t\n\r";

std::string trimmed(std::string_view text) { return std::string(trim(text, k_blanks)); }

std::string in_quotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string tag(std::string_view name) { return "<" + std::string(name) + ">"; }

// The whole text as a 32-bit number: an optional "-" and decimal digits.
std::optional<int> parse_int(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// The canonical path of a file, so that two spellings of one file compare
// equal when include cycles are looked for.
std::string file_identity(const std::string& path) {
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

// A word of a coded field and the number it stands for.
struct NAMED_CODE {
    std::string_view name;
    int code;
};

// The words a coded field accepts; each may also be written as its number.
struct CODE_TABLE {
    std::string_view what;
    const NAMED_CODE* begin;
    const NAMED_CODE* end;
};

constexpr NAMED_CODE k_kind_words[] = {
    {"hidden", KOVA_OBJ_HIDDEN_PARAMETER},    {"in", KOVA_OBJ_INPUT_PORT},
    {"out", KOVA_OBJ_OUTPUT_PORT},            {"inout", KOVA_OBJ_INOUT_PORT},
    {"integer", KOVA_OBJ_INTEGER_PARAMETER},  {"string", KOVA_OBJ_STRING_PARAMETER},
    {"other", KOVA_OBJ_OTHER_PARAMETER},      {"macro", KOVA_OBJ_FN_MACRO}};
constexpr NAMED_CODE k_rule_type_words[] = {
    {"command", KOVA_RULE_CMD_CONDITION},   {"legal_values", KOVA_RULE_LEGAL_VALUES},
    {"condition", KOVA_RULE_CONDITION},     {"constant_legal_values", KOVA_RULE_CONSTANT_LEGAL_VALUES},
    {"fn_clear", KOVA_RULE_FN_CLEAR},       {"fn_set", KOVA_RULE_FN_SET},
    {"port_value", KOVA_RULE_PORT_VALUE},   {"port_value_list", KOVA_RULE_PORT_VALUE_LIST}};
constexpr NAMED_CODE k_usage_words[] = {
    {"UNUSED", KOVA_USAGE_UNUSED}, {"USED", KOVA_USAGE_USED},
    {"CONSTANT", KOVA_USAGE_CONSTANT}, {"NONE", KOVA_USAGE_NONE}};
constexpr NAMED_CODE k_truth_words[] = {{"false", 0}, {"true", 1}};

constexpr CODE_TABLE k_object_kinds{"object kind", std::begin(k_kind_words), std::end(k_kind_words)};
constexpr CODE_TABLE k_rule_types{"rule type", std::begin(k_rule_type_words), std::end(k_rule_type_words)};
constexpr CODE_TABLE k_usage_states{"usage state", std::begin(k_usage_words), std::end(k_usage_words)};
constexpr CODE_TABLE k_truth_values{"truth value", std::begin(k_truth_words), std::end(k_truth_words)};

// The code of a word (any letter case) or of a number the table holds.
std::optional<int> decode(const CODE_TABLE& table, std::string_view text) {
    const std::string word = trimmed(text);
    const std::optional<int> number = parse_int(word);
    for (const NAMED_CODE* entry = table.begin; entry != table.end; ++entry)
        if (kova_equal_nocase(word, std::string(entry->name)) || number == entry->code) return entry->code;
    return std::nullopt;
}

// "a, b or c, or one of the numbers 0, 1, 2" for a message.
std::string accepted_words(const CODE_TABLE& table) {
    std::string words, numbers;
    for (const NAMED_CODE* entry = table.begin; entry != table.end; ++entry) {
        const char* separator = entry == table.begin ? "" : entry + 1 == table.end ? " or " : ", ";
        words += separator + std::string(entry->name);
        numbers += separator + std::to_string(entry->code);
    }
    return words + ", or one of the numbers " + numbers;
}

// The source table field a field of an element goes to: the reader's field
// names, with an object's kind and a rule's type both KOVA_FIELD_TYPE.
// Fields without an entry (usage states, truth values) are placed at their
// element.
struct SOURCE_FIELD_NAME {
    std::string_view name;
    KOVA_SOURCE_FIELD field;
};

constexpr SOURCE_FIELD_NAME k_source_fields[] = {
    {"name", KOVA_FIELD_NAME},           {"value", KOVA_FIELD_VALUE},
    {"condition", KOVA_FIELD_CONDITION}, {"alt_value", KOVA_FIELD_ALT_VALUE},
    {"default", KOVA_FIELD_DEFAULT},     {"default_index", KOVA_FIELD_DEFAULT_INDEX},
    {"width", KOVA_FIELD_WIDTH},         {"width2d", KOVA_FIELD_WIDTH2D},
    {"arguments", KOVA_FIELD_ARGUMENTS}, {"initial_vector_state", KOVA_FIELD_INITIAL_VEC_STATE},
    {"type", KOVA_FIELD_TYPE},           {"kind", KOVA_FIELD_TYPE},
    {"library", KOVA_FIELD_LIBRARY},     {"lint_ignore", KOVA_FIELD_LINT_IGNORE},
    {"help", KOVA_FIELD_HELP},           {"label", KOVA_FIELD_LABEL},
    {"previous_names", KOVA_FIELD_PREVIOUS_NAMES}};

std::optional<KOVA_SOURCE_FIELD> source_field(std::string_view name) {
    for (const SOURCE_FIELD_NAME& entry : k_source_fields)
        if (entry.name == name) return entry.field;
    return std::nullopt;
}

// One description file: its path as the reader names it, its text (kept
// for line numbers and source places) and its parsed tree with the one top
// element. It files the source records of its elements in the load's table.
class DESCRIPTION_FILE {
public:
    DESCRIPTION_FILE(const std::string& path, KOVA_SOURCE_TABLE& sources);
    const std::string& path() const { return m_path; }
    pugi::xml_node root() const { return m_root; }
    // "path:line" of the line where node starts; for text, where its
    // first non-blank character is.
    std::string position(pugi::xml_node node) const;
    // The offset position() names; -1 where the parser gave none.
    std::ptrdiff_t node_offset(pugi::xml_node node) const;
    [[noreturn]] void fail(pugi::xml_node node, const std::string& problem) const {
        fail_at(node_offset(node), problem);
    }
    // The same for an offset in the text (-1: the file as a whole).
    [[noreturn]] void fail_at(std::ptrdiff_t offset, const std::string& problem) const {
        DESCRIPTION_ERROR error;
        error.text = position_of(offset) + ": ";
        error.problem_at = error.text.size();
        error.text += problem;
        error.place.file = m_path;
        if (offset >= 0) {
            const auto place = m_lines.place_of(static_cast<std::size_t>(offset));
            error.place.line = static_cast<uint32_t>(place.line);
            error.place.column = static_cast<uint32_t>(place.column);
        }
        throw error;
    }

    // Offsets in the text; -1 where the parser gave none.
    // The "<" of an element's start tag.
    std::ptrdiff_t tag_start(pugi::xml_node element) const;
    // The first character inside the quotes of each attribute value of an
    // element, in the order of node.attributes(); empty where unknown. The
    // answer is the file's one scratch list, valid until the next call.
    const std::vector<std::size_t>& attribute_starts(pugi::xml_node element) const;
    // The first character of a field element's trimmed text; its start tag
    // when the text is blank.
    std::ptrdiff_t text_start(pugi::xml_node field) const;

    // A new source record naming this file.
    uint32_t new_record() const { return m_sources.add_record(m_path); }
    // Keeps a text that only the front ends read (lint_ignore, help, label,
    // previous_names).
    void keep_text(uint32_t id, KOVA_SOURCE_FIELD field, std::string_view text) const {
        if (KOVA_SOURCE_TABLE::keeps_text(field)) m_sources.set_text(id, field, std::string(text));
    }
    // Places a field of a record at an offset; nothing for -1.
    void place(uint32_t id, KOVA_SOURCE_FIELD field, std::ptrdiff_t offset) const;

private:
    std::string position_of(std::ptrdiff_t offset) const;
    // Splits m_text into lines and parses it.
    void parse_text();
    void find_root();

    std::string m_path, m_text;
    TEXT_LINES m_lines{""};
    KOVA_SOURCE_TABLE& m_sources;
    pugi::xml_document m_document;
    pugi::xml_node m_root;
    mutable std::vector<std::size_t> m_attribute_starts;  // attribute_starts' scratch
};

DESCRIPTION_FILE::DESCRIPTION_FILE(const std::string& path, KOVA_SOURCE_TABLE& sources)
    : m_path(path), m_sources(sources) {
    // An editor's buffer stands in for the file (host/file_overlay.h).
    if (kova_file_overlay(path, m_text)) {
        parse_text();
        return;
    }
    // Only regular files are opened: opening a pipe would wait for a writer.
    std::error_code ignored;
    std::ifstream in;
    if (fs::is_regular_file(path, ignored)) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        const char* reason = fs::exists(path, ignored) ? "not a readable file" : "no such file";
        throw unplaced_error("cannot open the description file " + in_quotes(path) + ": " + reason);
    }
    // One read of the whole file into a string of its size: a character
    // iterator costs about a tenth of reading a large description.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        m_text.resize(static_cast<std::size_t>(size));
        in.read(m_text.data(), size);
        m_text.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw unplaced_error("cannot read the description file " + in_quotes(path));
    parse_text();
}

void DESCRIPTION_FILE::parse_text() {
    m_lines = TEXT_LINES(m_text);
    if (const std::optional<XML_TEXT_PROBLEM> found = find_xml_text_problem(m_text))
        fail_at(static_cast<std::ptrdiff_t>(found->offset), found->problem);
    // pugixml parses a copy of the text laid out as the text itself, so
    // node offsets count in m_text.
    pugi::xml_parse_result parsed = m_document.load_buffer(m_text.data(), m_text.size());
    if (!parsed)
        fail_at(parsed.offset, std::string("malformed XML: ") + parsed.description());
    find_root();
}

std::ptrdiff_t DESCRIPTION_FILE::node_offset(pugi::xml_node node) const {
    std::ptrdiff_t offset = node.offset_debug();
    if (offset >= 0 && node.type() == pugi::node_pcdata) {
        std::size_t first = m_text.find_first_not_of(k_blanks, static_cast<std::size_t>(offset));
        if (first != std::string::npos) offset = static_cast<std::ptrdiff_t>(first);
    }
    return offset;
}

std::string DESCRIPTION_FILE::position(pugi::xml_node node) const { return position_of(node_offset(node)); }

std::string DESCRIPTION_FILE::position_of(std::ptrdiff_t offset) const {
    if (offset < 0) return m_path;
    return m_path + ":" + std::to_string(m_lines.place_of(static_cast<std::size_t>(offset)).line);
}

std::ptrdiff_t DESCRIPTION_FILE::tag_start(pugi::xml_node element) const {
    // The parser gives the offset of the element's name, right after "<".
    const std::ptrdiff_t name = element.offset_debug();
    if (name < 1 || name > static_cast<std::ptrdiff_t>(m_text.size()) || m_text[name - 1] != '<') return -1;
    return name - 1;
}

const std::vector<std::size_t>& DESCRIPTION_FILE::attribute_starts(pugi::xml_node element) const {
    std::vector<std::size_t>& starts = m_attribute_starts;
    starts.clear();
    const std::ptrdiff_t tag = tag_start(element);
    if (tag >= 0) attribute_value_offsets(m_text, static_cast<std::size_t>(tag), starts);
    // The parser has the same attributes in the same order; should the
    // scan ever disagree, no attribute is placed rather than a wrong one.
    const auto attributes = element.attributes();
    if (starts.size() != static_cast<std::size_t>(std::distance(attributes.begin(), attributes.end())))
        starts.clear();
    return starts;
}

std::ptrdiff_t DESCRIPTION_FILE::text_start(pugi::xml_node field) const {
    for (pugi::xml_node part : field.children()) {
        const bool data = part.type() == pugi::node_pcdata;
        if ((!data && part.type() != pugi::node_cdata) || trimmed(part.value()).empty()) continue;
        // The parser gives the offset of the part's first character (inside
        // "<![CDATA[" for a CDATA section); references are text in CDATA.
        const std::ptrdiff_t offset = part.offset_debug();
        if (offset < 0) return -1;
        return static_cast<std::ptrdiff_t>(skip_text_blanks(m_text, static_cast<std::size_t>(offset), data));
    }
    return tag_start(field);
}

void DESCRIPTION_FILE::place(uint32_t id, KOVA_SOURCE_FIELD field, std::ptrdiff_t offset) const {
    if (offset < 0) return;
    const TEXT_PLACE at = m_lines.place_of(static_cast<std::size_t>(offset));
    m_sources.set(id, field, at.line, at.column);
}

void DESCRIPTION_FILE::find_root() {
    for (pugi::xml_node node : m_document.children()) {
        if (node.type() != pugi::node_element) continue;
        if (m_root) fail(node, "a description has one top element, " + tag("model"));
        m_root = node;
    }
    if (std::string_view(m_root.name()) != "model")
        fail(m_root, "the top element must be " + tag("model") + ", not " + tag(m_root.name()));
}

// The namespace of XML Schema's instance attributes. The top element may
// declare it and point an editor at the schema of the format with its
// noNamespaceSchemaLocation attribute; the reader ignores both.
constexpr std::string_view k_schema_instance = "http://www.w3.org/2001/XMLSchema-instance";

bool is_schema_reference(pugi::xml_node element, pugi::xml_attribute attribute) {
    if (element.parent().type() != pugi::node_document) return false;
    const std::string_view name = attribute.name();
    if (name.rfind("xmlns:", 0) == 0) return attribute.value() == k_schema_instance;
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos || name.substr(colon + 1) != "noNamespaceSchemaLocation") return false;
    const std::string declaration = "xmlns:" + std::string(name.substr(0, colon));
    return element.attribute(declaration.c_str()).value() == k_schema_instance;
}

// The content of one element, checked against the names it accepts: its
// fields, each written as an attribute or as a child element that holds
// only text, and its structural children, kept in document order.
class ELEMENT {
public:
    ELEMENT(const DESCRIPTION_FILE& file, pugi::xml_node node, NAMES fields, NAMES children);
    // The element keeps file, which must outlive it.
    ELEMENT(const DESCRIPTION_FILE&& file, pugi::xml_node node, NAMES fields, NAMES children) = delete;

    // The field's text as written; none when the element does not give it.
    std::optional<std::string_view> find(std::string_view name) const;
    // The field's text; "" when absent.
    std::string text(std::string_view name) const;
    // A field that must be given and must not be blank, trimmed.
    std::string required_word(std::string_view name) const;
    // A coded field; fallback when absent (a field without a fallback must be given).
    int code(std::string_view name, const CODE_TABLE& table, std::optional<int> fallback) const;
    bool truth(std::string_view name) const { return code(name, k_truth_values, 0) != 0; }
    // A number of at least minimum; fallback when absent.
    int number(std::string_view name, int fallback, int minimum) const;

    // Fails when the element gives any of names, which it may not where it
    // stands (where: "an object of a <wizard_map>").
    void refuse(NAMES names, const std::string& where) const;

    const std::vector<pugi::xml_node>& children() const { return m_children; }
    [[noreturn]] void fail(const std::string& problem) const { m_file.fail(m_node, problem); }

    // A new source record for this element: its file, its start tag and
    // every field it gives that the table has a place for, and the texts
    // of its lint_ignore, help, label and previous_names fields.
    uint32_t record() const;

private:
    // The name is a view of a literal of the accepted names; the text a
    // view of the parsed document's attribute value, or of a text held in
    // m_joined, so both live as long as the element.
    struct FIELD {
        std::string_view name, text;
        pugi::xml_node at;
        std::ptrdiff_t offset;  // where the text starts in the file; -1 unknown
    };
    const FIELD* field(std::string_view name) const;
    const FIELD& required(std::string_view name) const;
    void add_child(pugi::xml_node child, NAMES fields, NAMES children);
    void add_field(std::string_view name, std::string_view text, pugi::xml_node at, std::ptrdiff_t offset);
    std::string field_text(pugi::xml_node node) const;

    const DESCRIPTION_FILE& m_file;
    pugi::xml_node m_node;
    std::vector<FIELD> m_fields;
    std::vector<pugi::xml_node> m_children;
    // The texts of fields written as elements, joined from their parts;
    // each on the heap, so that the views of them stay valid.
    std::vector<std::unique_ptr<std::string>> m_joined;
};

ELEMENT::ELEMENT(const DESCRIPTION_FILE& file, pugi::xml_node node, NAMES fields, NAMES children)
    : m_file(file), m_node(node) {
    const std::vector<std::size_t>& starts = file.attribute_starts(node);
    // Room for the usual few fields at once rather than growing one by one.
    m_fields.reserve(std::max<std::size_t>(starts.size(), 4));
    std::size_t index = 0;
    for (pugi::xml_attribute attribute : node.attributes()) {
        if (is_schema_reference(node, attribute)) {
            ++index;
            continue;
        }
        const std::string_view* name = entry_of(fields, attribute.name());
        if (!name) fail("unknown attribute " + in_quotes(attribute.name()) + " on " + tag(node.name()));
        const std::ptrdiff_t offset = index < starts.size() ? static_cast<std::ptrdiff_t>(starts[index]) : -1;
        add_field(*name, attribute.value(), node, offset);
        ++index;
    }
    for (pugi::xml_node child : node.children()) add_child(child, fields, children);
}

void ELEMENT::add_child(pugi::xml_node child, NAMES fields, NAMES children) {
    switch (child.type()) {
    case pugi::node_element:
        if (entry_of(children, child.name())) {
            m_children.push_back(child);
        } else if (const std::string_view* name = entry_of(fields, child.name())) {
            m_joined.push_back(std::make_unique<std::string>(field_text(child)));
            add_field(*name, *m_joined.back(), child, m_file.text_start(child));
        } else {
            m_file.fail(child, "unknown element " + tag(child.name()) + " in " + tag(m_node.name()));
        }
        return;
    case pugi::node_pcdata:
    case pugi::node_cdata:
        if (!trimmed(child.value()).empty()) m_file.fail(child, "unexpected text in " + tag(m_node.name()));
        return;
    default:  // comments and processing instructions carry nothing
        return;
    }
}

void ELEMENT::add_field(std::string_view name, std::string_view text, pugi::xml_node at, std::ptrdiff_t offset) {
    if (field(name)) m_file.fail(at, in_quotes(name) + " of " + tag(m_node.name()) + " is given twice");
    m_fields.push_back({name, text, at, offset});
}

uint32_t ELEMENT::record() const {
    const uint32_t id = m_file.new_record();
    m_file.place(id, KOVA_FIELD_ELEMENT, m_file.tag_start(m_node));
    for (const FIELD& each : m_fields)
        if (const std::optional<KOVA_SOURCE_FIELD> target = source_field(each.name)) {
            m_file.place(id, *target, each.offset);
            m_file.keep_text(id, *target, each.text);
        }
    return id;
}

// A field written as an element: its text and CDATA sections joined, with
// the blanks at both ends removed.
std::string ELEMENT::field_text(pugi::xml_node node) const {
    if (node.first_attribute())
        m_file.fail(node, tag(node.name()) + " takes no attributes; it holds the text of the field");
    std::string text;
    for (pugi::xml_node part : node.children()) {
        if (part.type() == pugi::node_element)
            m_file.fail(part, tag(node.name()) + " holds text only, not " + tag(part.name()));
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) text += part.value();
    }
    return trimmed(text);
}

const ELEMENT::FIELD* ELEMENT::field(std::string_view name) const {
    for (const FIELD& candidate : m_fields)
        if (candidate.name == name) return &candidate;
    return nullptr;
}

const ELEMENT::FIELD& ELEMENT::required(std::string_view name) const {
    const FIELD* found = field(name);
    if (!found) fail(tag(m_node.name()) + " needs " + in_quotes(name));
    return *found;
}

std::optional<std::string_view> ELEMENT::find(std::string_view name) const {
    const FIELD* found = field(name);
    if (!found) return std::nullopt;
    return found->text;
}

std::string ELEMENT::text(std::string_view name) const {
    const FIELD* found = field(name);
    return found ? std::string(found->text) : std::string();
}

std::string ELEMENT::required_word(std::string_view name) const {
    const FIELD& found = required(name);
    std::string word = trimmed(found.text);
    if (word.empty()) m_file.fail(found.at, in_quotes(name) + " of " + tag(m_node.name()) + " is empty");
    return word;
}

void ELEMENT::refuse(NAMES names, const std::string& where) const {
    for (std::string_view name : names)
        if (const FIELD* found = field(name)) m_file.fail(found->at, where + " takes no " + in_quotes(name));
}

int ELEMENT::code(std::string_view name, const CODE_TABLE& table, std::optional<int> fallback) const {
    if (fallback && !field(name)) return *fallback;
    const FIELD& found = required(name);
    std::optional<int> value = decode(table, found.text);
    if (!value)
        m_file.fail(found.at, "unknown " + std::string(table.what) + " " + in_quotes(found.text) + " for " +
                                  in_quotes(name) + " (expected " + accepted_words(table) + ")");
    return *value;
}

int ELEMENT::number(std::string_view name, int fallback, int minimum) const {
    const FIELD* found = field(name);
    if (!found) return fallback;
    std::optional<int> value = parse_int(trimmed(found->text));
    if (!value || *value < minimum)
        m_file.fail(found->at, "bad number " + in_quotes(found->text) + " for " + in_quotes(name) + " (expected " +
                                   std::to_string(minimum) + " or more)");
    return *value;
}

void require_new_name(const DESCRIPTION_FILE& file, pugi::xml_node node, bool taken, std::string_view what,
                      const std::string& name) {
    if (taken) file.fail(node, "duplicate " + std::string(what) + " name " + in_quotes(name));
}

// A rule-shaped element: rules, function rules, message rules, condition
// rules and stimulus records. A type without a fallback must be given.
std::unique_ptr<KOVA_RULE_ELEMENT> read_rule(const DESCRIPTION_FILE& file, pugi::xml_node node,
                                             std::optional<int> fallback_type) {
    ELEMENT rule(file, node, {"type", "condition", "value", "alt_value"}, {});
    const int type = rule.code("type", k_rule_types, fallback_type);
    auto made = std::make_unique<KOVA_RULE_ELEMENT>(rule.text("value"), rule.text("condition"),
                                                    rule.text("alt_value"), type);
    made->source_id = rule.record();
    return made;
}

// An object element, checked against the fields and children it accepts;
// with in_map set an object of a wizard map, whose objects take no help,
// label or previous names: no front end shows them, and no settings file
// sets them.
ELEMENT object_element(const DESCRIPTION_FILE& file, pugi::xml_node node, bool in_map) {
    ELEMENT element(file, node,
                    {"name", "kind", "value", "default", "default_index", "usage_state", "default_usage_state",
                     "width", "width2d", "arguments", "initial_vector_state", "silent_correction",
                     "lint_ignore", "help", "label", "previous_names"},
                    {"rule"});
    if (in_map) element.refuse({"help", "label", "previous_names"}, "an object of a " + tag("wizard_map"));
    return element;
}

int object_kind(const ELEMENT& element) { return element.code("kind", k_object_kinds, std::nullopt); }

// The fields and rules of an object element, read into object, which has
// the element's name and kind.
void fill_object(const DESCRIPTION_FILE& file, const ELEMENT& element, KOVA_OBJ_INFO& object) {
    object.source_id = element.record();
    object.set_value(element.text("value"));
    object.set_default_value(element.text("default"));
    object.default_index = element.number("default_index", -1, -1);
    object.usage_state = element.code("usage_state", k_usage_states, KOVA_USAGE_NONE);
    object.default_usage_state = element.code("default_usage_state", k_usage_states, KOVA_USAGE_NONE);
    object.set_port_width(element.text("width"));
    object.set_port_width2d(element.text("width2d"));
    object.set_arguments(element.text("arguments"));
    object.set_initial_vec_state(element.text("initial_vector_state"));
    object.silent_correction = element.truth("silent_correction");
    for (pugi::xml_node child : element.children()) object.add_rule(read_rule(file, child, KOVA_RULE_CONDITION));
}

// An object of a wizard map, read whole.
KOVA_OBJ_INFO read_map_object(const DESCRIPTION_FILE& file, pugi::xml_node node) {
    const ELEMENT element = object_element(file, node, true);
    const std::string name = element.required_word("name");
    KOVA_OBJ_INFO object(name, object_kind(element));
    fill_object(file, element, object);
    return object;
}

// An object of the model, read straight into the model's new object. A
// name already taken is refused once the element is read (into a scratch
// object), so that the element's own faults are reported first.
void read_model_object(const DESCRIPTION_FILE& file, pugi::xml_node node, KOVA_INFO& model) {
    const ELEMENT element = object_element(file, node, false);
    const std::string name = element.required_word("name");
    const int kind = object_kind(element);
    if (KOVA_OBJ_INFO* object = model.add_kova_obj(name, kind)) {
        fill_object(file, element, *object);
        return;
    }
    KOVA_OBJ_INFO scratch(name, kind);
    fill_object(file, element, scratch);
    require_new_name(file, node, true, "object", name);
}

// Wizard maps and vectors hold at most one condition rule.
template <typename OWNER>
void read_condition_rule(const DESCRIPTION_FILE& file, pugi::xml_node node, OWNER& owner) {
    if (owner.condition_rule())
        file.fail(node, tag(node.parent().name()) + " has more than one " + tag(node.name()));
    owner.set_condition_rule(read_rule(file, node, KOVA_RULE_CONDITION));
}

KOVA_WIZARD_MAP read_wizard_map(const DESCRIPTION_FILE& file, pugi::xml_node node) {
    ELEMENT element(file, node, {"name", "add_all_parameters", "add_used_ports", "help", "label"},
                    {"condition_rule", "object"});
    KOVA_WIZARD_MAP map(element.required_word("name"));
    map.source_id = element.record();
    map.add_all_parameters = element.truth("add_all_parameters");
    map.add_used_ports = element.truth("add_used_ports");
    for (pugi::xml_node child : element.children()) {
        if (std::string_view(child.name()) == "condition_rule") {
            read_condition_rule(file, child, map);
            continue;
        }
        KOVA_OBJ_INFO object = read_map_object(file, child);
        require_new_name(file, child, map.get_kova_obj(object.get_name()) != nullptr, "object", object.get_name());
        if (KOVA_OBJ_INFO* slot = map.add_kova_object(object.get_name(), object.obj_type)) *slot = object;
    }
    return map;
}

KOVA_VECTOR_OBJ read_vector(const DESCRIPTION_FILE& file, pugi::xml_node node) {
    ELEMENT element(file, node, {"name", "help", "label"}, {"condition_rule", "stimulus"});
    KOVA_VECTOR_OBJ vector(element.required_word("name"));
    vector.source_id = element.record();
    for (pugi::xml_node child : element.children()) {
        if (std::string_view(child.name()) == "condition_rule")
            read_condition_rule(file, child, vector);
        else
            vector.add_vector_stimulus(*read_rule(file, child, KOVA_RULE_CONDITION));
    }
    return vector;
}

// Bounds on the files one load reads. A file may include another several
// times side by side, so without them a few small files that include each
// other in layers would make a load take time, memory and sub-models
// exponential in the number of layers; nesting also takes stack.
constexpr std::size_t k_most_files_read = 1000;  // in one load, the top file included
constexpr std::size_t k_deepest_nesting = 50;    // files being read at once

// Reads a description file and the files it includes. It keeps the chain
// of files being read (canonical paths, outermost first) to refuse include
// cycles; every included file, however deep, becomes a direct sub-model
// of the model being read, because merging takes direct sub-models only.
class MODEL_READER {
public:
    MODEL_READER(std::string lib_dir, std::vector<std::string> open_files, KOVA_SOURCE_TABLE& sources)
        : m_lib_dir(std::move(lib_dir)), m_open_files(std::move(open_files)), m_sources(sources) {}

    // Fills model, a fresh one, from the file at path.
    void read(const std::string& path, KOVA_INFO& model);

private:
    void read_child(const DESCRIPTION_FILE& file, pugi::xml_node node, KOVA_INFO& model);
    void read_include(const DESCRIPTION_FILE& file, pugi::xml_node node, KOVA_INFO& model);
    std::string locate(const ELEMENT& include, const DESCRIPTION_FILE& file, const std::string& name) const;

    std::string m_lib_dir;
    std::vector<std::string> m_open_files;
    KOVA_SOURCE_TABLE& m_sources;  // the records of every file of the load
    std::size_t m_files_read = 0;
};

void MODEL_READER::read(const std::string& path, KOVA_INFO& model) {
    const std::string identity = file_identity(path);
    if (std::find(m_open_files.begin(), m_open_files.end(), identity) != m_open_files.end())
        throw file_error(path, "include cycle: the file is already being read");
    if (m_open_files.size() >= k_deepest_nesting)
        throw file_error(path, "includes nested more than " + std::to_string(k_deepest_nesting) +
                                " files deep");
    if (++m_files_read > k_most_files_read)
        throw file_error(path, "more than " + std::to_string(k_most_files_read) +
                                " files included in one description");
    DESCRIPTION_FILE file(path, m_sources);
    ELEMENT root(file, file.root(), {"function", "condition", "library", "lint_ignore"},
                 {"object", "include", "function_rule", "message", "wizard_map", "vector"});
    KOVA_DESCRIPTION_READER::set_source_file(model, path);
    model.source_id = root.record();
    if (const std::optional<std::string_view> name = root.find("function"))
        model.set_function_name(trimmed(*name), "");
    model.set_info_condition(root.text("condition"));
    model.set_vhdl_library(root.text("library"));
    m_open_files.push_back(identity);
    for (pugi::xml_node child : root.children()) read_child(file, child, model);
    m_open_files.pop_back();
}

void MODEL_READER::read_child(const DESCRIPTION_FILE& file, pugi::xml_node node, KOVA_INFO& model) {
    const std::string_view name = node.name();
    if (name == "object") {
        read_model_object(file, node, model);
    } else if (name == "include") {
        read_include(file, node, model);
    } else if (name == "function_rule") {
        model.add_fn_rule(*read_rule(file, node, std::nullopt));
    } else if (name == "message") {
        model.add_msg(*read_rule(file, node, KOVA_RULE_CONDITION));
    } else if (name == "wizard_map") {
        KOVA_WIZARD_MAP map = read_wizard_map(file, node);
        require_new_name(file, node, model.get_wizard_map(map.get_map_name()) != nullptr, "wizard map",
                         map.get_map_name());
        model.add_wizard_map(map.get_map_name(), &map);
    } else {
        KOVA_VECTOR_OBJ vector = read_vector(file, node);
        require_new_name(file, node, model.get_vector_object(vector.get_vector_name()) != nullptr, "vector",
                         vector.get_vector_name());
        model.add_vector_object(vector.get_vector_name(), &vector);
    }
}

// The sub-model's condition is its file's condition and the include's
// condition joined; the sub-models it includes itself follow it, each with
// the sub-model's condition joined in front of its own.
void MODEL_READER::read_include(const DESCRIPTION_FILE& file, pugi::xml_node node, KOVA_INFO& model) {
    ELEMENT include(file, node, {"file", "condition"}, {});
    const std::string path = locate(include, file, include.required_word("file"));
    auto sub = std::make_unique<KOVA_INFO>();
    sub->set_xml_lib_dir(m_lib_dir);
    try {
        read(path, *sub);
    } catch (DESCRIPTION_ERROR& error) {
        error.text += "; included from " + file.position(node);
        throw;
    }
    const std::string condition = kova_and_conditions(sub->get_info_condition(), include.text("condition"));
    sub->set_info_condition(condition);
    std::vector<std::unique_ptr<KOVA_INFO>> nested = KOVA_DESCRIPTION_READER::take_sub_infos(*sub);
    model.add_sub_info(std::move(sub));
    for (std::unique_ptr<KOVA_INFO>& inner : nested) {
        inner->set_info_condition(kova_and_conditions(condition, inner->get_info_condition()));
        model.add_sub_info(std::move(inner));
    }
}

// An included file is looked up in the library directory first, then
// beside the including file; an absolute name is taken as it is.
std::string MODEL_READER::locate(const ELEMENT& include, const DESCRIPTION_FILE& file,
                                 const std::string& name) const {
    const fs::path wanted(name);
    std::vector<fs::path> places;
    if (wanted.is_absolute()) {
        places.push_back(wanted);
    } else {
        if (!m_lib_dir.empty()) places.push_back(fs::path(m_lib_dir) / wanted);
        places.push_back(fs::path(file.path()).parent_path() / wanted);
    }
    std::error_code ignored;
    std::string buffer;
    for (const fs::path& place : places)
        if (fs::is_regular_file(place, ignored) || kova_file_overlay(place.string(), buffer))
            return place.lexically_normal().string();
    std::string looked;
    for (const fs::path& place : places) looked += (looked.empty() ? "" : " and ") + place.string();
    include.fail("included file " + in_quotes(name) + " not found (looked for " + looked + ")");
}

}  // namespace

std::string kova_get_rule_type_word(int rule_type) {
    for (const NAMED_CODE& entry : k_rule_type_words)
        if (entry.code == rule_type) return std::string(entry.name);
    return std::to_string(rule_type);
}

bool KOVA_INFO::process_xml_file(const std::string& path, const KOVA_INFO* parent) {
    std::vector<std::string> open_files;
    if (parent && !parent->get_source_file().empty()) open_files.push_back(file_identity(parent->get_source_file()));
    KOVA_INFO loaded;
    loaded.m_xml_lib_dir = m_xml_lib_dir;
    // One table for the whole load, included files too, so that the ids of
    // a sub-model's records still hold once the validator merges it.
    auto sources = std::make_shared<KOVA_SOURCE_TABLE>();
    try {
        MODEL_READER(m_xml_lib_dir, std::move(open_files), *sources).read(path, loaded);
    } catch (const DESCRIPTION_ERROR& error) {
        KOVA_SOURCE_LOCATION place = error.place;
        if (place.file.empty()) place.file = path;
        post_located_error(error.text, place, error.problem_at);
        return false;
    } catch (const std::exception& error) {
        post_error_message("cannot read the description file " + in_quotes(path) + ": " + error.what());
        return false;
    }
    // The settings of this model stay; the file's function name serves
    // only a model that has none.
    if (!m_function_name.empty()) loaded.m_function_name = m_function_name;
    loaded.m_errors = m_errors;
    loaded.m_diagnostics = m_diagnostics;
    KOVA_DESCRIPTION_READER::share_sources(loaded, sources);
    // What assigning loaded would leave, without copying the model it
    // holds: the swap hands this model's old contents to loaded, which
    // drops them.
    swap_model(loaded);
    m_origin = KOVA_MESSAGE_ORIGIN();
    m_sub_cursor = m_wizard_cursor = m_vector_cursor = m_fn_cursor = m_msg_cursor = 0;
    return true;
}
