// The graded records the engine files beside its error list: each names
// the severity, the kind, the object and the rule it came from, so that
// two objects with the same condition text are told apart.
#include <gtest/gtest.h>

#include <sstream>

#include "support/test_support.h"

namespace {

// The records as record_text gives them, each cut to the length of the
// expected one (which ends with the start of the text); a record's message
// index names its text in the error list.
void expect_records(const KOVA_INFO& model, const std::vector<std::string>& expected) {
    std::vector<std::string> records;
    for (const KOVA_DIAGNOSTIC& record : model.get_diagnostics()) {
        const std::size_t i = records.size();
        records.push_back(record_text(record).substr(0, i < expected.size() ? expected[i].size() : std::string::npos));
        if (record.message_index >= 0) {
            EXPECT_EQ(model.get_error_messages().at(record.message_index), record.text);
        }
    }
    EXPECT_EQ(records, expected);
}

}  // namespace

TEST(DiagnosticRecords, EachMessageNamesItsObjectRuleAndGrade) {
    VALIDATOR_PROBE v;
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    v.add_object("A", KOVA_OBJ_INTEGER_PARAMETER, "", "1");
    v.add_object("B", KOVA_OBJ_INTEGER_PARAMETER, "", "1");
    v.add_rule("A", 0, "W gt 8");                                   // A's rule 0 fails
    v.add_rule("B", 0, "", "1|2", "", KOVA_RULE_LEGAL_VALUES);       // B's rule 0 holds
    v.add_rule("B", 0, "W gt 8");                                   // B's rule 1, same text
    v.add_object("C", KOVA_OBJ_INTEGER_PARAMETER, "", "5");
    v.add_rule("C", 0, "W == 8", "2|3", "", KOVA_RULE_LEGAL_VALUES);  // C's value conflicts
    v.add_rule("C", 0, "W / 0 == 1");                               // division by zero
    v.add_rule("C", 0, "(W");                                       // does not parse
    v.add_rule("C", 0, "W ; 8");                                    // unplaced ";"
    v.add_rule("p", KOVA_OBJ_INPUT_PORT, "W == 8", "UNUSED");       // p's state conflicts
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
        "A#0 condition error check-failed: Ports and parameters W(8) should satisfy the condition W gt 8",
        "B#1 condition error check-failed: Ports and parameters W(8) should satisfy the condition W gt 8",
        "C#1 condition warning arithmetic: Error : Division by zero",
        "C#1 condition warning not-boolean: Condition W / 0 == 1 of object C",
        "C#2 condition warning parse-error: parse error",
        "C#2 condition warning not-boolean: Condition (W of object C",
        "C#3 condition warning parse-error: parse error",
        "C#3 condition warning unplaced-character: The characters \";\" of W ; 8",
        "C#3 condition warning not-boolean: Condition W ; 8 of object C",
        "C#0 value error value-conflict: Parameter C has been assigned the value 5",
        "p#0 value error usage-conflict: Port p is being set to the state USED",
    });
}
