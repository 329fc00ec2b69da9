// Where the reader says a model's texts were written (file, line, byte
// column): each way of writing a field, each kind of record, and records a
// validator copies or merges. tests/data/places*.xml hold the cases.
#include <gtest/gtest.h>

#include "host/kova_info.h"
#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"
#include "support/test_support.h"

namespace {

std::string first_error(const KOVA_INFO& model) {
    return model.get_error_messages().empty() ? "" : model.get_error_messages()[0];
}

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Expects the field of record at expected, "file-tail:line:column", where
// the tail is the end of the file's path.
void expect_place(const KOVA_INFO& model, const KOVA_OBJ* record, KOVA_SOURCE_FIELD field, const std::string& expected,
                  const char* what) {
    ASSERT_NE(record, nullptr) << what;
    const KOVA_SOURCE_LOCATION at = model.locate(record->source_id, field);
    const std::string tail = expected.substr(0, expected.find(':'));
    const std::string file = ends_with(at.file, tail) ? tail : at.file;
    EXPECT_EQ(file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column), expected) << what;
}

// The records a row may name.
enum class PICK { OBJECT, RULE, FN_RULE, MESSAGE, MAP, MAP_CONDITION, MAP_OBJECT, VECTOR, VECTOR_CONDITION, STIMULUS };

// The record: owner is the object, map or vector by name; of rules, map
// objects and stimulus records the first is taken.
const KOVA_OBJ* pick(KOVA_INFO& model, PICK what, const std::string& owner) {
    switch (what) {
    case PICK::OBJECT: return model.get_kova_obj(owner);
    case PICK::RULE: return model.get_kova_obj(owner)->rule_view().at(0);
    case PICK::FN_RULE: return model.get_fn_rule_snapshot().at(0);
    case PICK::MESSAGE: return model.get_msg_snapshot().at(0);
    case PICK::MAP: return model.get_wizard_map(owner);
    case PICK::MAP_CONDITION: return model.get_wizard_map(owner)->condition_rule();
    case PICK::MAP_OBJECT: return model.get_wizard_map(owner)->get_kova_obj_snapshot().at(0);
    case PICK::VECTOR: return model.get_vector_object(owner);
    case PICK::VECTOR_CONDITION: return model.get_vector_object(owner)->condition_rule();
    case PICK::STIMULUS:
        model.get_vector_object(owner)->reset_vector_stimulus();
        return model.get_vector_object(owner)->get_next_vector_stimulus();
    }
    return nullptr;
}

TEST(SourceLocations, EveryFieldIsPlacedAtItsFirstCharacter) {
    // in_sub_model: the record is in the included file's sub-model.
    struct { const char* what; bool in_sub_model; PICK pick; const char* owner; KOVA_SOURCE_FIELD field;
             const char* expected; } rows[] = {
        // Attributes: blanks around "=", both quotes, ">" and the other quote inside a value.
        {"start tag", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_ELEMENT, "/places.xml:4:3"},
        {"blanks around =", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_NAME, "/places.xml:4:19"},
        {"single quotes", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_TYPE, "/places.xml:4:32"},
        {"last attribute", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_DEFAULT, "/places.xml:4:63"},
        {"> and \" in a value", false, PICK::OBJECT, "RANGE", KOVA_FIELD_VALUE, "/places.xml:5:46"},
        {"after > in a value", false, PICK::OBJECT, "RANGE", KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
        {"field not given", false, PICK::OBJECT, "RANGE", KOVA_FIELD_WIDTH, "/places.xml:5:3"},
        // A start tag over three lines, "=" ending a line.
        {"multi-line tag", false, PICK::RULE, "RANGE", KOVA_FIELD_ELEMENT, "/places.xml:6:5"},
        {"multi-line type", false, PICK::RULE, "RANGE", KOVA_FIELD_TYPE, "/places.xml:6:17"},
        {"value after =-newline", false, PICK::RULE, "RANGE", KOVA_FIELD_CONDITION, "/places.xml:8:14"},
        {"third line", false, PICK::RULE, "RANGE", KOVA_FIELD_ALT_VALUE, "/places.xml:8:39"},
        {"third line, last", false, PICK::RULE, "RANGE", KOVA_FIELD_VALUE, "/places.xml:8:49"},
        // Field elements: leading line break and blanks, CDATA, a reference to a line break.
        {"arguments", false, PICK::OBJECT, "BYTES", KOVA_FIELD_ARGUMENTS, "/places.xml:10:48"},
        {"leading blanks", false, PICK::OBJECT, "BYTES", KOVA_FIELD_VALUE, "/places.xml:12:7"},
        {"CDATA", false, PICK::RULE, "BYTES", KOVA_FIELD_CONDITION, "/places.xml:14:31"},
        {"&#10; then a blank", false, PICK::RULE, "BYTES", KOVA_FIELD_VALUE, "/places.xml:14:82"},
        // A two-byte character earlier on the line counts two columns.
        {"after a UTF-8 name", false, PICK::OBJECT, "D\xC3\x89PTH", KOVA_FIELD_TYPE, "/places.xml:16:31"},
        {"later on that line", false, PICK::OBJECT, "D\xC3\x89PTH", KOVA_FIELD_DEFAULT, "/places.xml:16:49"},
        {"width", false, PICK::OBJECT, "dout", KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"width2d", false, PICK::OBJECT, "dout", KOVA_FIELD_WIDTH2D, "/places.xml:17:57"},
        {"initial vector state", false, PICK::OBJECT, "dout", KOVA_FIELD_INITIAL_VEC_STATE, "/places.xml:17:82"},
        // Each kind of record.
        {"function rule", false, PICK::FN_RULE, "", KOVA_FIELD_CONDITION, "/places.xml:18:43"},
        {"message", false, PICK::MESSAGE, "", KOVA_FIELD_VALUE, "/places.xml:19:19"},
        {"wizard map", false, PICK::MAP, "generics", KOVA_FIELD_NAME, "/places.xml:20:21"},
        {"map condition", false, PICK::MAP_CONDITION, "generics", KOVA_FIELD_CONDITION, "/places.xml:21:32"},
        {"map object", false, PICK::MAP_OBJECT, "generics", KOVA_FIELD_VALUE, "/places.xml:22:50"},
        {"vector", false, PICK::VECTOR, "burst", KOVA_FIELD_ELEMENT, "/places.xml:24:3"},
        {"stimulus record", false, PICK::STIMULUS, "burst", KOVA_FIELD_VALUE, "/places.xml:25:45"},
        // The included file's records name that file.
        {"included object", true, PICK::OBJECT, "WIDE", KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"included rule", true, PICK::RULE, "WIDTH", KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"included vector", true, PICK::VECTOR_CONDITION, "wide_burst", KOVA_FIELD_CONDITION,
         "/places_part.xml:9:32"},
    };
    KOVA_INFO model;
    ASSERT_TRUE(model.process_xml_file(test_data("places.xml"), nullptr)) << first_error(model);
    KOVA_INFO* sub = model.get_next_sub_info();
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(model.get_source_table(), nullptr);
    EXPECT_EQ(sub->get_source_table(), model.get_source_table());
    for (const auto& row : rows) {
        KOVA_INFO& owner = row.in_sub_model ? *sub : model;
        expect_place(owner, pick(owner, row.pick, row.owner), row.field, row.expected, row.what);
    }
}

// The validator merges the sub-model and keeps copies of its ports and
// parameters; a copy of the validator copies all of that again. Each of
// those records still points at its place.
TEST(SourceLocations, MergedAndCopiedRecordsStillLocate) {
    VALIDATOR_PROBE original(test_data("places.xml"));
    ASSERT_NE(original.get_source_table(), nullptr) << first_error(original);
    original.initialize_validator();
    const VALIDATOR_PROBE copy(original);
    const KOVA_OBJ_INFO* width = copy.get_kova_obj("WIDTH");
    const KOVA_VECTOR_OBJ* merged_vector = copy.get_vector_object("wide_burst");
    ASSERT_TRUE(width && merged_vector);
    const struct { const char* what; const KOVA_OBJ* record; KOVA_SOURCE_FIELD field; const char* expected; } rows[] = {
        {"merged object", copy.get_kova_obj("WIDE"), KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"rule merged into an object", width->rule_view().at(0), KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"merged vector condition", merged_vector->condition_rule(), KOVA_FIELD_CONDITION, "/places_part.xml:9:32"},
        {"port copy", copy.get_port_object("dout"), KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"parameter copy", copy.get_parameter_object("RANGE"), KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
    };
    for (const auto& row : rows) expect_place(copy, row.record, row.field, row.expected, row.what);
}

}  // namespace
