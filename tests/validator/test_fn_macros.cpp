// Argument substitution, the value of a macro call and the value of a macro
// object. (Records of faulting bodies: test_run.cpp; a macro refreshed in
// the middle of an outer evaluation: tests/expr/test_evaluation.cpp.)
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
    EXPECT_EQ(validator.substitute_macro_arguments("P", "a") + validator.substitute_macro_arguments("Q", "a"), "");
}

TEST(FnMacros, CallValueComesFromInstanceOrMacroOrCallText) {
    VALIDATOR_PROBE validator;
    KOVA_OBJ_INFO* twice = validator.add_macro("Twice", "x+y", "x,y");
    auto instance = std::make_unique<KOVA_FN_MACRO>("twice(a,b)", "a+b");
    instance->set_evaluated_value("7");
    const std::string name = instance->get_name();
    validator.m_fn_macro_list.add_entry(name, std::move(instance));

    // A call without an instance, or of no macro, reads as the examples of
    // docs/expression-language.md show.
    const char* const cases[][3] = {
        {"Twice", "a,b", "7"},    // the instance under the lower-case call text
        {"Twice", "X,Y", "x+y"},  // formals equal actuals: the macro's body ...
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

    std::string values;
    for (const auto& [name, evaluate] :
         {std::pair{"Sum", false}, {"sum", true}, {"Sum", false}, {"P", true}, {"Q", true}})
        values += validator.get_macro_value(name, evaluate) + "|";
    EXPECT_EQ(values + sum->get_current_value() + std::to_string(validator.get_error_messages().size()),
              "3 + 4|7|7|||70");
    // A body that evaluates to nothing leaves the body as the value.
    EXPECT_EQ(validator.get_macro_value("Broken", true), "1 +");
    EXPECT_EQ(validator.get_error_messages(), std::vector<std::string>{"parse error while parsing 1 +"});
}
