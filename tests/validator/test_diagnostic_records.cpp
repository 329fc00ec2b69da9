// The graded records the engine files beside its error list: each names
// the severity, the kind, the object and the rule it came from, so that
// two objects with the same condition text are told apart.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

void add_rule(KOVA_OBJ_INFO* object, const std::string& condition, const std::string& value,
              const std::string& alt, int type) {
    KOVA_RULE_ELEMENT rule(value, condition, alt, type);
    object->add_rule(&rule);
}

struct EXPECTED {
    const char* text_start;
    KOVA_SEVERITY severity;
    KOVA_DIAGNOSTIC_KIND kind;
    const char* object;
    int rule_index;
    KOVA_SOURCE_FIELD field;
};

void expect_records(const KOVA_INFO& model, const std::vector<EXPECTED>& expected) {
    const std::vector<KOVA_DIAGNOSTIC>& records = model.get_diagnostics();
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const KOVA_DIAGNOSTIC& record = records[i];
        const EXPECTED& want = expected[i];
        EXPECT_EQ(record.text.rfind(want.text_start, 0), 0u) << i << ": " << record.text;
        EXPECT_EQ(record.severity, want.severity) << i;
        EXPECT_EQ(record.kind, want.kind) << i << ": " << kova_diagnostic_kind_name(record.kind);
        EXPECT_EQ(record.object, want.object) << i;
        EXPECT_EQ(record.rule_index, want.rule_index) << i;
        EXPECT_EQ(record.field, want.field) << i;
        if (record.message_index >= 0) {
            EXPECT_EQ(model.get_error_messages()[record.message_index], record.text);
        }
    }
}

TEST(DiagnosticRecords, EachMessageNamesItsObjectRuleAndGrade) {
    VALIDATOR_PROBE v;
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    KOVA_OBJ_INFO* a = v.add_object("A", KOVA_OBJ_INTEGER_PARAMETER, "", "1");
    KOVA_OBJ_INFO* b = v.add_object("B", KOVA_OBJ_INTEGER_PARAMETER, "", "1");
    add_rule(a, "W gt 8", "", "", KOVA_RULE_CONDITION);                  // A's rule 0 fails
    add_rule(b, "", "1|2", "", KOVA_RULE_LEGAL_VALUES);                  // B's rule 0 holds
    add_rule(b, "W gt 8", "", "", KOVA_RULE_CONDITION);                  // B's rule 1, same text
    KOVA_OBJ_INFO* c = v.add_object("C", KOVA_OBJ_INTEGER_PARAMETER, "", "5");
    add_rule(c, "W == 8", "2|3", "", KOVA_RULE_LEGAL_VALUES);            // C's value conflicts
    add_rule(c, "W / 0 == 1", "", "", KOVA_RULE_CONDITION);              // division by zero
    add_rule(c, "(W", "", "", KOVA_RULE_CONDITION);                      // does not parse
    add_rule(c, "W ; 8", "", "", KOVA_RULE_CONDITION);                   // unplaced ";"
    KOVA_OBJ_INFO* p = v.add_object("p", KOVA_OBJ_INPUT_PORT);
    add_rule(p, "W == 8", "UNUSED", "", KOVA_RULE_CONDITION);            // p's state conflicts
    for (const char* name : {"W", "A", "B", "C"}) v.get_kova_obj(name)->default_usage_state = KOVA_USAGE_USED;
    v.initialize_validator();
    std::ostringstream unplaced;
    v.set_scanner_output(&unplaced);
    v.set_all_ports_and_parameters_to_default_state();
    v.set_parameter_value("C", "5");
    v.set_port_usage_state("p", KOVA_USAGE_USED);
    EXPECT_FALSE(v.run_validator());
    EXPECT_EQ(unplaced.str(), ";");
    expect_records(v, {
        {"Ports and parameters W(8) should satisfy the condition W gt 8", KOVA_SEVERITY_ERROR,
         KOVA_DIAG_CHECK_FAILED, "A", 0, KOVA_FIELD_CONDITION},
        {"Ports and parameters W(8) should satisfy the condition W gt 8", KOVA_SEVERITY_ERROR,
         KOVA_DIAG_CHECK_FAILED, "B", 1, KOVA_FIELD_CONDITION},
        {"Error : Division by zero", KOVA_SEVERITY_WARNING, KOVA_DIAG_ARITHMETIC, "C", 1, KOVA_FIELD_CONDITION},
        {"Condition W / 0 == 1 of object C", KOVA_SEVERITY_WARNING, KOVA_DIAG_NOT_BOOLEAN, "C", 1,
         KOVA_FIELD_CONDITION},
        {"parse error", KOVA_SEVERITY_WARNING, KOVA_DIAG_PARSE_ERROR, "C", 2, KOVA_FIELD_CONDITION},
        {"Condition (W of object C", KOVA_SEVERITY_WARNING, KOVA_DIAG_NOT_BOOLEAN, "C", 2, KOVA_FIELD_CONDITION},
        {"parse error", KOVA_SEVERITY_WARNING, KOVA_DIAG_PARSE_ERROR, "C", 3, KOVA_FIELD_CONDITION},
        {"The characters \";\" of W ; 8", KOVA_SEVERITY_WARNING, KOVA_DIAG_UNPLACED_CHARACTER, "C", 3,
         KOVA_FIELD_CONDITION},
        {"Condition W ; 8 of object C", KOVA_SEVERITY_WARNING, KOVA_DIAG_NOT_BOOLEAN, "C", 3, KOVA_FIELD_CONDITION},
        {"Parameter C has been assigned the value 5", KOVA_SEVERITY_ERROR, KOVA_DIAG_VALUE_CONFLICT, "C", 0,
         KOVA_FIELD_VALUE},
        {"Port p is being set to the state USED", KOVA_SEVERITY_ERROR, KOVA_DIAG_USAGE_CONFLICT, "p", 0,
         KOVA_FIELD_VALUE},
    });
}

TEST(DiagnosticRecords, CyclesAndUnreachedObjectsAreWarnings) {
    VALIDATOR_PROBE v;
    v.add_object("H1", KOVA_OBJ_HIDDEN_PARAMETER, "H2 + 1");
    v.add_object("H2", KOVA_OBJ_HIDDEN_PARAMETER, "H1 + 1");
    v.initialize_validator();
    expect_records(v, {{"Cyclical dependency in string H1 + 1 because of object H1", KOVA_SEVERITY_WARNING,
                        KOVA_DIAG_CYCLE, "H2", -1, KOVA_FIELD_VALUE}});
    v.clear_error_messages();
    EXPECT_TRUE(v.get_diagnostics().empty());
    // The run makes a pass for every level up to the count of objects: an
    // object at that level is still validated, one beyond it is not.
    v.get_kova_obj("H2")->evaluation_position = 2;
    v.run_validator();
    expect_records(v, {});
    v.get_kova_obj("H2")->evaluation_position = 3;
    v.run_validator();
    expect_records(v, {{"Some objects dont have the correct settings", KOVA_SEVERITY_WARNING, KOVA_DIAG_UNREACHED,
                        "", -1, KOVA_FIELD_ELEMENT}});
}

}  // namespace
