// Where the description reader says a model's texts were written: every
// way of writing a field that moves its line or byte column, each kind of
// record the reader makes, and records that must keep pointing into the
// load's table through the copies a validator makes and the sub-models it
// merges. tests/data/places.xml and places_part.xml hold the cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/kova_info.h"
#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"
#include "support/test_support.h"

namespace {

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "file-tail:line:column" when the file ends with tail, else the whole place.
std::string place(const KOVA_SOURCE_LOCATION& at, const std::string& tail) {
    const std::string file = ends_with(at.file, tail) ? tail : at.file;
    return file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

std::string errors_of(const KOVA_INFO& model) {
    std::string all;
    for (const std::string& message : model.get_error_messages()) all += message + "\n";
    return all;
}

// The records a row may name.
enum class PICK { OBJECT, RULE, FN_RULE, MESSAGE, MAP, MAP_CONDITION, MAP_OBJECT, VECTOR, VECTOR_CONDITION, STIMULUS };

// The record: owner is the object, map or vector by name, index the rule,
// map object or stimulus record (and function or message rule) by place.
const KOVA_OBJ* pick(KOVA_INFO& model, PICK what, const std::string& owner, std::size_t index) {
    switch (what) {
    case PICK::OBJECT: return model.get_kova_obj(owner);
    case PICK::RULE: return model.get_kova_obj(owner)->rule_view().at(index);
    case PICK::FN_RULE: return model.get_fn_rule_snapshot().at(index);
    case PICK::MESSAGE: return model.get_msg_snapshot().at(index);
    case PICK::MAP: return model.get_wizard_map(owner);
    case PICK::MAP_CONDITION: return model.get_wizard_map(owner)->condition_rule();
    case PICK::MAP_OBJECT: return model.get_wizard_map(owner)->get_kova_obj_snapshot().at(index);
    case PICK::VECTOR: return model.get_vector_object(owner);
    case PICK::VECTOR_CONDITION: return model.get_vector_object(owner)->condition_rule();
    case PICK::STIMULUS: {
        KOVA_VECTOR_OBJ* vector = model.get_vector_object(owner);
        vector->reset_vector_stimulus();
        for (std::size_t skipped = 0; skipped < index; ++skipped) vector->get_next_vector_stimulus();
        return vector->get_next_vector_stimulus();
    }
    }
    return nullptr;
}

TEST(SourceLocations, EveryFieldIsPlacedAtItsFirstCharacter) {
    struct ROW {
        const char* what;
        bool in_sub_model;  // the record is in the included file's sub-model
        PICK pick;
        const char* owner;
        std::size_t index;
        KOVA_SOURCE_FIELD field;
        const char* expected;  // file tail:line:column
    };
    const ROW rows[] = {
        // Attributes: blanks around "=", both quotes, ">" and the other quote inside a value.
        {"start tag", false, PICK::OBJECT, "WIDTH", 0, KOVA_FIELD_ELEMENT, "/places.xml:4:3"},
        {"blanks around =", false, PICK::OBJECT, "WIDTH", 0, KOVA_FIELD_NAME, "/places.xml:4:19"},
        {"single quotes", false, PICK::OBJECT, "WIDTH", 0, KOVA_FIELD_TYPE, "/places.xml:4:32"},
        {"last attribute", false, PICK::OBJECT, "WIDTH", 0, KOVA_FIELD_DEFAULT, "/places.xml:4:63"},
        {"> and \" in a value", false, PICK::OBJECT, "RANGE", 0, KOVA_FIELD_VALUE, "/places.xml:5:46"},
        {"after > in a value", false, PICK::OBJECT, "RANGE", 0, KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
        {"field not given", false, PICK::OBJECT, "RANGE", 0, KOVA_FIELD_WIDTH, "/places.xml:5:3"},
        // A start tag over three lines, "=" ending a line.
        {"multi-line tag", false, PICK::RULE, "RANGE", 0, KOVA_FIELD_ELEMENT, "/places.xml:6:5"},
        {"multi-line type", false, PICK::RULE, "RANGE", 0, KOVA_FIELD_TYPE, "/places.xml:6:17"},
        {"value after =-newline", false, PICK::RULE, "RANGE", 0, KOVA_FIELD_CONDITION, "/places.xml:8:14"},
        {"third line", false, PICK::RULE, "RANGE", 0, KOVA_FIELD_ALT_VALUE, "/places.xml:8:39"},
        {"third line, last", false, PICK::RULE, "RANGE", 0, KOVA_FIELD_VALUE, "/places.xml:8:49"},
        // Field elements: leading line break and blanks, CDATA, a reference to a line break.
        {"arguments", false, PICK::OBJECT, "BYTES", 0, KOVA_FIELD_ARGUMENTS, "/places.xml:10:48"},
        {"leading blanks", false, PICK::OBJECT, "BYTES", 0, KOVA_FIELD_VALUE, "/places.xml:12:7"},
        {"CDATA", false, PICK::RULE, "BYTES", 0, KOVA_FIELD_CONDITION, "/places.xml:14:31"},
        {"&#10; then a blank", false, PICK::RULE, "BYTES", 0, KOVA_FIELD_VALUE, "/places.xml:14:82"},
        // A two-byte character earlier on the line counts two columns.
        {"after a UTF-8 name", false, PICK::OBJECT, "D\xC3\x89PTH", 0, KOVA_FIELD_TYPE, "/places.xml:16:31"},
        {"later on that line", false, PICK::OBJECT, "D\xC3\x89PTH", 0, KOVA_FIELD_DEFAULT, "/places.xml:16:49"},
        {"width", false, PICK::OBJECT, "dout", 0, KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"width2d", false, PICK::OBJECT, "dout", 0, KOVA_FIELD_WIDTH2D, "/places.xml:17:57"},
        {"initial vector state", false, PICK::OBJECT, "dout", 0, KOVA_FIELD_INITIAL_VEC_STATE, "/places.xml:17:82"},
        // Each kind of record.
        {"function rule", false, PICK::FN_RULE, "", 0, KOVA_FIELD_CONDITION, "/places.xml:18:43"},
        {"message", false, PICK::MESSAGE, "", 0, KOVA_FIELD_VALUE, "/places.xml:19:19"},
        {"wizard map", false, PICK::MAP, "generics", 0, KOVA_FIELD_NAME, "/places.xml:20:21"},
        {"map condition", false, PICK::MAP_CONDITION, "generics", 0, KOVA_FIELD_CONDITION, "/places.xml:21:32"},
        {"map object", false, PICK::MAP_OBJECT, "generics", 0, KOVA_FIELD_VALUE, "/places.xml:22:50"},
        {"vector", false, PICK::VECTOR, "burst", 0, KOVA_FIELD_ELEMENT, "/places.xml:24:3"},
        {"stimulus record", false, PICK::STIMULUS, "burst", 0, KOVA_FIELD_VALUE, "/places.xml:25:45"},
        // The included file's records name that file.
        {"included object", true, PICK::OBJECT, "WIDE", 0, KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"included rule", true, PICK::RULE, "WIDTH", 0, KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"included vector", true, PICK::VECTOR_CONDITION, "wide_burst", 0, KOVA_FIELD_CONDITION,
         "/places_part.xml:9:32"},
    };
    KOVA_INFO model;
    ASSERT_TRUE(model.process_xml_file(test_data("places.xml"), nullptr)) << errors_of(model);
    KOVA_INFO* sub = model.get_next_sub_info();
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(model.get_source_table(), nullptr);
    EXPECT_EQ(sub->get_source_table(), model.get_source_table());
    for (const ROW& row : rows) {
        KOVA_INFO& owner = row.in_sub_model ? *sub : model;
        const KOVA_OBJ* record = pick(owner, row.pick, row.owner, row.index);
        ASSERT_NE(record, nullptr) << row.what;
        const std::string expected = row.expected;
        const std::string tail = expected.substr(0, expected.find(':'));
        EXPECT_EQ(place(owner.locate(record->source_id, row.field), tail), expected) << row.what;
    }
}

// The validator merges the sub-model and keeps copies of its ports and
// parameters; a copy of the validator copies all of that again. Each of
// those records still points at its place.
TEST(SourceLocations, MergedAndCopiedRecordsStillLocate) {
    VALIDATOR_PROBE original(test_data("places.xml"));
    ASSERT_NE(original.get_source_table(), nullptr) << errors_of(original);
    original.initialize_validator();
    const VALIDATOR_PROBE copy(original);
    struct ROW {
        const char* what;
        const KOVA_OBJ* record;
        KOVA_SOURCE_FIELD field;
        const char* expected;
    };
    const KOVA_OBJ_INFO* width = copy.get_kova_obj("WIDTH");
    const KOVA_VECTOR_OBJ* merged_vector = copy.get_vector_object("wide_burst");
    ASSERT_TRUE(width && merged_vector);
    const ROW rows[] = {
        {"merged object", copy.get_kova_obj("WIDE"), KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"rule merged into an object", width->rule_view().at(0), KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"merged vector condition", merged_vector->condition_rule(), KOVA_FIELD_CONDITION, "/places_part.xml:9:32"},
        {"port copy", copy.get_port_object("dout"), KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"parameter copy", copy.get_parameter_object("RANGE"), KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
    };
    for (const ROW& row : rows) {
        ASSERT_NE(row.record, nullptr) << row.what;
        const std::string expected = row.expected;
        const std::string tail = expected.substr(0, expected.find(':'));
        EXPECT_EQ(place(copy.locate(row.record->source_id, row.field), tail), expected) << row.what;
    }
}

}  // namespace
