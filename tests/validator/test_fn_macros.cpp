// Argument substitution, the value of a macro call, the value of a macro
// object, and the records of macro bodies that fail, which name the
// instance or object that was being evaluated. (A macro refreshed in the
// middle of an outer evaluation: tests/expr/test_entry_points.cpp.)
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "validator/message_origin.h"
#include "support/test_support.h"

namespace {

// Whether an object origin can be made from a name of type NAME: a name
// made for the call (a temporary) must select the deleted overload, so
// that an origin never points at a name gone before its records are filed.
template <typename NAME, typename = void>
struct ORIGIN_TAKES : std::false_type {};
template <typename NAME>
struct ORIGIN_TAKES<NAME, std::void_t<decltype(kova_object_origin(std::declval<NAME>(), std::declval<const KOVA_OBJ&>(),
                                                                  KOVA_FIELD_VALUE))>> : std::true_type {};
static_assert(ORIGIN_TAKES<const std::string&>::value && ORIGIN_TAKES<std::string&>::value);
static_assert(!ORIGIN_TAKES<std::string>::value && !ORIGIN_TAKES<std::string&&>::value &&
              !ORIGIN_TAKES<const std::string&&>::value && !ORIGIN_TAKES<const char*>::value);
// An instance's name is its own, so it may name an origin.
static_assert(ORIGIN_TAKES<decltype(std::declval<const KOVA_FN_MACRO&>().get_name())>::value);

}  // namespace

TEST(FnMacros, SubstitutionAppliesPairsInArgumentOrder) {
    const char* const cases[][4] = {
        // body, formals, actuals, result
        {"x+y", "x,y", "x,y", "x+y"},   {"x+y", "X,Y", "x,y", "x+y"},
        {"x+y", "x,y", "y", "y+y"},     // the first pair alone ...
        {"x+y", "x,y", "y,x", "x+x"},   // ... then the second turns y back into x
        {"x*x+xx", "x", "w", "w*w+xx"}, {"x+y", "x,y", "a", "a+y"}, {"x+y", "x", "a,b", "a+y"},
        {"x+y", "x, y", "a,,b", "a+b"}, {"x+y", "x,y", ",b", "x+b"},
    };
    for (const auto& c : cases) {
        VALIDATOR_PROBE validator;
        validator.add_macro("M", c[0], c[1]);
        EXPECT_EQ(validator.substitute_macro_arguments("m", c[2]), c[3]) << c[0] << " / " << c[1] << " / " << c[2];
    }
    VALIDATOR_PROBE validator;
    validator.add_object("P", KOVA_OBJ_INTEGER_PARAMETER, "x+y")->set_arguments("x");
    EXPECT_EQ(validator.substitute_macro_arguments("P", "a"), "");
    EXPECT_EQ(validator.substitute_macro_arguments("Q", "a"), "");
}

TEST(FnMacros, CallValueComesFromInstanceOrMacroOrCallText) {
    VALIDATOR_PROBE validator;
    KOVA_OBJ_INFO* twice = validator.add_macro("Twice", "x+y", "x,y");
    auto instance = std::make_unique<KOVA_FN_MACRO>("twice(a,b)", "a+b");
    instance->set_evaluated_value("7");
    const std::string name = instance->get_name();
    validator.m_fn_macro_list.add_entry(name, std::move(instance));

    const char* const cases[][3] = {
        {"Twice", "a,b", "7"},           // the instance under the lower-case call text
        {"Q", "a", ""},                  // no model object of that name
        {"Twice", "p,q", "twice(p,q)"},  // a call never seen when instances were made
        {"TWICE", "P,Q", "twice(p,q)"},  // ... is the whole call text in lower case
        {"Twice", "X,Y", "x+y"},         // formals equal actuals: the macro's body ...
    };
    for (const auto& c : cases) EXPECT_EQ(validator.evaluate_function_macro(c[0], c[1]), c[2]) << c[0] << c[1];
    twice->set_current_value("5");
    EXPECT_EQ(validator.evaluate_function_macro("Twice", "x,y"), "5");  // ... or its current value
}

TEST(FnMacros, MacroValueEvaluatesOnlyWhenAsked) {
    VALIDATOR_PROBE validator;
    KOVA_OBJ_INFO* sum = validator.add_macro("Sum", "3 + 4");
    validator.add_macro("Broken", "1 +");
    validator.add_object("P", KOVA_OBJ_INTEGER_PARAMETER, "3 + 4");

    EXPECT_EQ(validator.get_macro_value("Sum", false), "3 + 4");
    EXPECT_EQ(validator.get_macro_value("sum", true), "7");
    EXPECT_EQ(sum->get_current_value(), "7");
    EXPECT_EQ(validator.get_macro_value("Sum", false), "7");
    EXPECT_EQ(validator.get_macro_value("P", true), "");
    EXPECT_EQ(validator.get_macro_value("Q", true), "");
    EXPECT_TRUE(validator.get_error_messages().empty());
    // A body that evaluates to nothing leaves the body as the value.
    EXPECT_EQ(validator.get_macro_value("Broken", true), "1 +");
    EXPECT_EQ(validator.get_error_messages(), std::vector<std::string>{"parse error while parsing 1 +"});
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
        // The records a path filed, each cut to the length of the expected one.
        auto expect_records = [&](const KOVA_INFO& model, const char* path) {
            std::vector<std::string> records;
            for (const KOVA_DIAGNOSTIC& record : model.get_diagnostics()) {
                const std::size_t i = records.size();
                records.push_back(record_text(record).substr(0, i < c.records.size() ? c.records[i].size() : std::string::npos));
            }
            EXPECT_EQ(records, c.records) << c.body << " in " << path;
        };
        std::unique_ptr<VALIDATOR_PROBE> v = loaded();
        v->run_validator();
        expect_records(*v, "a run");
        v = loaded();
        v->run_validator_on_assoc_elements(user);
        v->run_validator_on_element(user);
        expect_records(*v, "a query");
        v = loaded();
        KOVA_RULES_VALIDATOR copy(*v);
        v.reset();
        copy.run_validator();
        expect_records(copy, "a copy");
    }
}
