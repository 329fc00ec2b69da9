// The validation run over models built in code: rule types, check and
// assignment rules, level order, macro instances and function rules, a
// rule text of megabytes (whose token walks must stay linear in its
// length), and the graded records filed beside the error list, each naming
// the object and rule it came from, or what a faulting macro body was
// evaluated for.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "support/test_support.h"

namespace {

constexpr int INT_PARAMETER = KOVA_OBJ_INTEGER_PARAMETER;

// The records as record_text gives them, each cut to the length of the
// expected one (which ends with the start of the text); a record's message
// index names its text in the error list.
void expect_records(const KOVA_INFO& model, const std::vector<std::string>& expected, const std::string& where = "") {
    std::vector<std::string> records;
    for (const KOVA_DIAGNOSTIC& record : model.get_diagnostics()) {
        const std::size_t i = records.size();
        records.push_back(record_text(record).substr(0, i < expected.size() ? expected[i].size() : std::string::npos));
        if (record.message_index >= 0) { EXPECT_EQ(model.get_error_messages().at(record.message_index), record.text); }
    }
    EXPECT_EQ(records, expected) << where;
}

class Run : public ::testing::Test {
protected:
    // The alternate values of the parameters, or the alternate usage
    // states of the ports, named, one after the other.
    std::string alts(std::initializer_list<const char*> names) {
        std::string text;
        for (const char* name : names) {
            const KOVA_PARAMETER_OBJ* parameter = v.get_parameter_object(name);
            text += (parameter ? parameter->m_alt_value
                               : kova_get_usage_state_as_string(v.get_port_object(name)->m_alt_usage_state)) + ";";
        }
        return text;
    }
    std::vector<std::string> messages() { return v.get_error_messages(); }
    VALIDATOR_PROBE v;
};

}  // namespace

// Without objects the run evaluates only the function rules, in order:
// the last one whose condition holds decides; an empty condition is skipped.
TEST_F(Run, FunctionRulesInOrderDecideAnEmptyModel) {
    const int SET = KOVA_RULE_FN_SET, CLEAR = KOVA_RULE_FN_CLEAR;
    const struct { std::vector<std::pair<const char*, int>> rules; bool valid; } cases[] = {
        {{}, true}, {{{"1 == 1", SET}}, false}, {{{"1 == 1", SET}, {"1 == 2", CLEAR}}, true},
        {{{"1 == 2", CLEAR}, {"1 == 1", SET}, {"", CLEAR}}, false}};
    for (const auto& c : cases) {
        VALIDATOR_PROBE model;
        for (const auto& [condition, type] : c.rules) model.add_fn_rule(KOVA_RULE_ELEMENT("", condition, "", type));
        EXPECT_EQ(model.run_validator(), c.valid) << c.rules.size();
        EXPECT_TRUE(model.get_error_messages().empty());
    }
}

// Legal values, ranges and alternates (the last rule wins); constant rules
// count only for ports that are constant and may be (in_c, always); command
// conditions ask the command list.
TEST_F(Run, RuleTypesGiveTheAlternateState) {
    const int LEGAL = KOVA_RULE_LEGAL_VALUES, CONDITION = KOVA_RULE_CONDITION;
    const int CONSTANT = KOVA_RULE_CONSTANT_LEGAL_VALUES;
    const struct { const char *name, *condition, *value, *alt; int type, object_type = INT_PARAMETER; } rules[] = {
        {"L", "", "1|''|3", "", LEGAL}, {"R", "", "15", "0", LEGAL}, {"F2", "1 == 2", "5", "7", CONDITION},
        {"F1", "1 == 2", "5", "7", LEGAL}, {"T", "", "2", "", CONDITION}, {"T", "", "3 + 1", "", CONDITION},
        {"N", "2 + 2", "9", "", CONDITION}, {"P", "gen_fast", "1", "2", KOVA_RULE_CMD_CONDITION},
        {"in_c", "1 == 1", "CONSTANT", "", CONSTANT, KOVA_OBJ_INPUT_PORT},
        {"in_u", "1 == 1", "CONSTANT", "", CONSTANT, KOVA_OBJ_INPUT_PORT},
        {"out_c", "1 == 1", "CONSTANT", "", CONSTANT, KOVA_OBJ_OUTPUT_PORT},
        {"always", "", "CONSTANT", "", CONSTANT, KOVA_OBJ_OUTPUT_PORT},
    };
    for (const auto& r : rules) v.add_rule(r.name, r.object_type, r.condition, r.value, r.alt, r.type);
    v.get_kova_obj("in_c")->default_usage_state = KOVA_USAGE_CONSTANT;
    v.get_kova_obj("out_c")->usage_state = KOVA_USAGE_CONSTANT;
    v.initialize_validator();
    for (const char* name : {"L", "R", "F2", "F1", "T", "N", "P"}) v.set_parameter_usage_state(name, KOVA_USAGE_USED);
    for (const char* name : {"in_c", "in_u", "out_c", "always"}) v.set_port_usage_state(name, KOVA_USAGE_CONSTANT);
    EXPECT_TRUE(v.run_validator());
    EXPECT_EQ(alts({"L", "R", "F2", "F1", "T", "N", "P", "in_c", "in_u", "out_c", "always"}),
              "1|3;0-15;7;;4;;2;CONSTANT;NONE;NONE;CONSTANT;");
    EXPECT_EQ(messages(), std::vector<std::string>{"Condition 2 + 2 of object N with values  did not evaluate to be a "
                                                   "boolean expression, but evaluates to 4"});
    v.add_cmd_to_list("GEN_FAST");
    v.run_validator();
    EXPECT_EQ(alts({"P"}), "1;");
}

// Hidden values and macro instances are evaluated in level order. Objects
// and instances alternate levels along a chain of calls, so its levels run
// past the object count; every one of them is still run, and the check at
// its end decides; Q's value reads an instance and a hidden value. The
// function rule's call inc(Q) lies above every object and still gets its
// value, which the rule sees.
TEST_F(Run, ChainsThroughMacroCallsRunPastTheObjectCount) {
    v.add_object("W", INT_PARAMETER, "", "1");
    v.add_macro("inc", "x + 1", "x");
    for (int link = 1; link <= 10; ++link)
        v.add_object("H" + std::to_string(link), KOVA_OBJ_HIDDEN_PARAMETER,
                     "inc(" + std::string(link == 1 ? "W" : "H" + std::to_string(link - 1)) + ")");
    v.add_rule("P", INT_PARAMETER, "H10 == 11");
    v.add_object("Q", KOVA_OBJ_HIDDEN_PARAMETER, "inc(H10) * 2 + H10");
    v.add_fn_rule(KOVA_RULE_ELEMENT("", "inc(Q) == 36", "", KOVA_RULE_FN_SET));
    v.initialize_validator();
    v.set_all_ports_and_parameters_to_default_state();
    EXPECT_FALSE(v.run_validator());  // the function rule holds; P's check does too
    auto value = [&](const char* name) { return v.get_kova_obj(name)->get_current_value() + ";"; };
    EXPECT_EQ(value("Q") + value("H10") + std::to_string(messages().size()), "35;11;0");
    v.set_parameter_value("W", "2");
    EXPECT_FALSE(v.run_validator());
    EXPECT_EQ(value("Q") + value("H10"), "38;12;");
}

// Objects beyond the last pass are reported once, by a warning record.
TEST_F(Run, UnreachedPositionsAreReportedOnce) {
    v.add_object("A", INT_PARAMETER)->evaluation_position = 0;
    v.add_object("B", INT_PARAMETER)->evaluation_position = 1;
    v.add_rule("C", INT_PARAMETER, "1 == 2")->evaluation_position = 5;
    EXPECT_TRUE(v.run_validator());  // C's failing rule is never reached
    EXPECT_EQ(messages(), std::vector<std::string>{"Some objects dont have the correct settings to be validated"});
    expect_records(v, {"#-1 element warning unreached: " + messages()[0]});
    v.clear_error_messages();
    EXPECT_TRUE(v.get_diagnostics().empty());

    VALIDATOR_PROBE raised;
    raised.add_object("A", INT_PARAMETER)->evaluation_position = 0;
    raised.add_rule("B", INT_PARAMETER, "1 == 2")->evaluation_position = 2;
    EXPECT_FALSE(raised.run_validator());
    EXPECT_EQ(raised.get_error_messages().size(), 1u);
}

// A run forgets every parameter's alternate state and every port's,
// whether a pass reaches the object or not (positions past the last pass,
// or none), before its rules give it a new one.
TEST_F(Run, RunsForgetTheAlternateStateOfEveryObject) {
    v.add_rule("A", INT_PARAMETER, "", "1|2", "", KOVA_RULE_LEGAL_VALUES);
    for (const char* name : {"B", "C", "D"}) v.add_object(name, INT_PARAMETER);
    v.add_rule("in", KOVA_OBJ_INPUT_PORT, "", "CONSTANT", "", KOVA_RULE_CONSTANT_LEGAL_VALUES);
    v.add_object("out", KOVA_OBJ_OUTPUT_PORT);
    v.initialize_validator();
    const struct { const char* name; int position; } positions[] = {
        {"A", 0}, {"B", 1}, {"in", 1}, {"C", 9}, {"out", 9}, {"D", -2}};
    for (const auto& p : positions) v.get_kova_obj(p.name)->evaluation_position = p.position;
    for (const char* name : {"A", "B", "C", "D"}) v.get_parameter_object(name)->m_alt_value = "stale";
    for (const char* name : {"in", "out"}) v.get_port_object(name)->m_alt_usage_state = KOVA_USAGE_USED;
    v.run_validator();
    EXPECT_EQ(alts({"A", "B", "C", "D", "in", "out"}), "1|2;;;;CONSTANT;NONE;");
}

// A chain written deepest first, through macro instances: every level
// below P's is brought up to date in order, nothing at P's level or above.
TEST_F(Run, AssociatedElementsBringEarlierDerivedValuesUpToDate) {
    v.add_rule("P", INT_PARAMETER, "H3 gt 1");
    for (const auto& [name, value] : {std::pair{"H4", "H3 + 1"}, {"H3", "inc(H2)"}, {"H2", "H1 + 1"}, {"H1", "inc(H0)"},
                                      {"H0", "W + 1"}})  // H4 lies at P's level
        v.add_object(name, KOVA_OBJ_HIDDEN_PARAMETER, value);
    v.add_object("W", INT_PARAMETER, "", "4");
    v.add_macro("inc", "x + 1", "x");
    v.initialize_validator();
    auto values = [&] {
        std::string all;
        for (const char* name : {"H0", "H1", "H2", "H3", "H4"}) all += v.get_kova_obj(name)->get_current_value() + ";";
        return all;
    };
    EXPECT_TRUE(v.run_validator_on_assoc_elements("W"));  // level 0: nothing to do
    EXPECT_EQ(values(), ";;;;;");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("P"));
    EXPECT_EQ(values(), "5;6;7;8;;");
    // Instances that hold a value keep it: inc(H0) still answers 6.
    v.set_parameter_value("W", "10");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("P"));
    EXPECT_EQ(values(), "11;6;7;8;;");
    EXPECT_TRUE(v.run_validator_on_assoc_elements("nosuch"));
}

// A failing check rule of 2 MB: the dependency levels, the evaluation and
// the message that quotes it all walk the text once.
TEST_F(Run, MegabyteRuleTextWalkedOnce) {
    std::string condition;
    for (int i = 0; i < 200000; ++i) condition += "W == 8 && ";
    condition += "W == 9";
    v.add_object("W", INT_PARAMETER, "1-64", "8");
    const KOVA_OBJ_INFO* port = v.add_rule("p", KOVA_OBJ_INPUT_PORT, condition);
    v.initialize_validator();
    v.set_parameter_value("W", "8");
    v.set_parameter_usage_state("W", KOVA_USAGE_USED);
    v.set_port_usage_state("p", KOVA_USAGE_USED);
    EXPECT_EQ(port->evaluation_position, 1);
    EXPECT_FALSE(v.run_validator());
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Ports and parameters W(8) should satisfy the condition " + condition});
    EXPECT_EQ(v.get_dependency_error_message_for_condition(condition), "W(8)");
}

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
    v.add_rule("D", INT_PARAMETER, "");                                   // an empty condition holds
    v.add_rule("E", INT_PARAMETER, "FALSE");                              // FALSE counts as false
    v.add_rule("F", INT_PARAMETER, "W - 7");                              // 1: not boolean, no failure
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
        "E#0 condition error check-failed: Ports and parameters  should satisfy the condition FALSE",  // level 0 first
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
        "F#0 condition warning not-boolean: Condition W - 7 of object F with settings W(8) did not evaluate to be a "
        "boolean expression, but evaluates to 1",
    });
    for (const char* name : {"D", "nosuch", "F"}) EXPECT_TRUE(v.run_validator_on_element(name)) << name;
}

// A macro body that divides by zero, does not parse, or is not boolean
// where a condition calls it, met in a run, in a query that brings the
// values below an object up to date, and in a copy of the validator that
// outlives the validator it was copied from. Each record names what was
// being evaluated: the macro object, the instance (the call text in lower
// case) or the object whose rule called it.
TEST(FnMacros, FaultingBodiesNameWhatWasEvaluated) {
    const struct {
        const char* body;
        bool in_condition;  // called in a condition of P, else in the value of hidden H
        std::vector<std::string> records;
    } cases[] = {
        {"v / 0", false, {"M#-1 value warning arithmetic: Error : Division by zero in condition v / 0",
                          "m(w)#-1 value warning arithmetic: Error : Division by zero in condition W / 0"}},
        {"v +", false, {"M#-1 value warning parse-error: parse error while parsing v +",
                        "m(w)#-1 value warning parse-error: parse error while parsing W +"}},
        {"v / 0 == 1", true, {"M#-1 value warning arithmetic: Error : Division by zero in condition v / 0 == 1",
                              "m(w)#-1 value warning arithmetic: Error : Division by zero in condition W / 0 == 1",
                              "P#0 condition warning not-boolean: Condition M(W) of object P"}},
        {"v + 1", true, {"P#0 condition warning not-boolean: Condition M(W) of object P with settings W(12) did not "
                         "evaluate to be a boolean expression, but evaluates to 13"}},
    };
    for (const auto& c : cases) {
        const char* user = c.in_condition ? "P" : "H";
        auto loaded = [&] {
            auto v = std::make_unique<VALIDATOR_PROBE>();
            v->add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "12")->default_usage_state = KOVA_USAGE_USED;
            v->add_macro("M", c.body, "v");
            if (c.in_condition)
                v->add_rule(user, KOVA_OBJ_INTEGER_PARAMETER, "M(W)")->default_usage_state = KOVA_USAGE_USED;
            else
                v->add_object(user, KOVA_OBJ_HIDDEN_PARAMETER, "M(W)");
            v->initialize_validator();
            v->set_all_ports_and_parameters_to_default_state();
            return v;
        };
        std::unique_ptr<VALIDATOR_PROBE> v = loaded();
        v->run_validator();
        expect_records(*v, c.records, std::string(c.body) + " in a run");
        v = loaded();
        v->run_validator_on_assoc_elements(user);
        v->run_validator_on_element(user);
        expect_records(*v, c.records, std::string(c.body) + " in a query");
        v = loaded();
        KOVA_RULES_VALIDATOR copy(*v);
        v.reset();
        copy.run_validator();
        expect_records(copy, c.records, std::string(c.body) + " in a copy");
    }
}
