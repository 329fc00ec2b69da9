// What names stand for: parameters, ports, hidden parameters, macros and
// names without an object; the used(), is_constant() and port() queries;
// the messages of a host failure inside a port query.
#include <gtest/gtest.h>

#include <stdexcept>
#include <type_traits>

#include "evaluation_cases.h"
#include "expr/port_query_guard.h"
#include "host/qel_util.h"

namespace {

class NameResolution : public testing::Test {
protected:
    void SetUp() override {
        const struct { const char* name; int type; const char* value; } objects[] = {
            {"STYLE", KOVA_OBJ_STRING_PARAMETER, "ABC|DEF"}, {"ACCENT", KOVA_OBJ_STRING_PARAMETER, ""},
            {"WIDTH", KOVA_OBJ_INTEGER_PARAMETER, ""},       {"H", KOVA_OBJ_HIDDEN_PARAMETER, "1 + 2"},
            {"M", KOVA_OBJ_FN_MACRO, "2 + 3"},               {"p", KOVA_OBJ_INPUT_PORT, ""},
            {"big", KOVA_OBJ_INOUT_PORT, ""}};
        for (const auto& o : objects) validator.add_object(o.name, o.type, o.value);
        validator.initialize_validator();
        validator.add_object("q", KOVA_OBJ_INPUT_PORT);  // a port of the model the validator holds no copy of
        for (const auto& [name, value] : {std::pair{"STYLE", "ABC"}, {"ACCENT", "\xE9"}, {"WIDTH", "8"}})
            validator.set_parameter_value(name, value);
        validator.set_current_port_width("big", 32);
        validator.set_current_port_value("big", "80000000", QEL_RADIX_HEXADECIMAL);
    }

    VALIDATOR_PROBE validator;
};

}  // namespace

// The examples of docs/expression-language.md (test
// expression_language_examples) show what each kind of name stands for;
// these are the cases the page leaves out. Only the refreshing mode
// evaluates a macro's body; a macro call with the formal arguments is the
// macro itself, and any other call without an instance reads as the call
// text, arguments joined by ",".
TEST_F(NameResolution, ParameterPortAndMacroValues) {
    validator.add_object("G", KOVA_OBJ_FN_MACRO, "x + y")->set_arguments("x,y");
    expect_evaluations(validator, {{"ACCENT str_gt z", "true"}, {"H", "1 + 2"}, {"M", "2 + 3"}, {"G(x, y)", "x + y"},
                                   {"G(y , x)", "g(y,x)"}, {"p", "-1"}, {"big", "-2147483648"}, {"q", "0"},
                                   {"port(q)", "0"}});
    expect_evaluations(validator, {{"P", "p"}}, PARSER_MODE_TEXT);
    expect_evaluations(validator, {{"WIDTH", "8"}, {"M", "5"}}, PARSER_MODE_REFRESH_MACROS);
}

TEST_F(NameResolution, NamesWithoutAnObject) {
    expect_evaluations(validator, {{"M_FUNCTION_NAME", "probe"}, {"M_Function_Name", "probe"}});
    expect_evaluations(validator, {{"m_function_name", "probe"}}, PARSER_MODE_TEXT);
    validator.add_object("m_function_name", KOVA_OBJ_HIDDEN_PARAMETER, "own");
    expect_evaluations(validator, {{"M_FUNCTION_NAME", "own"}});
}

TEST_F(NameResolution, UsedAndConstantQueries) {
    validator.set_parameter_usage_state("STYLE", KOVA_USAGE_CONSTANT);
    expect_evaluations(validator, {{"used(big)", "false"}, {"used(STYLE)", "false"}, {"used(M)", "false"},
                                   {"used(q)", "false"}, {"used(nothing)", "false"}, {"is_constant(STYLE)", "false"},
                                   {"is_constant(q)", "false"}, {"is_constant(nothing)", "false"}});
}

// A context views its text, so one made for the call is refused.
static_assert(std::is_constructible_v<KOVA_EVAL_CONTEXT, KOVA_RULES_VALIDATOR*, const std::string&,
                                      KOVA_RULES_VALIDATOR_PARSER_MODE>);
static_assert(!std::is_constructible_v<KOVA_EVAL_CONTEXT, KOVA_RULES_VALIDATOR*, std::string,
                                       KOVA_RULES_VALIDATOR_PARSER_MODE> &&
              !std::is_constructible_v<KOVA_EVAL_CONTEXT, KOVA_RULES_VALIDATOR*, const char*,
                                       KOVA_RULES_VALIDATOR_PARSER_MODE>);

TEST(PortQueryGuard, HostFailureIsPostedAndTheFallbackTaken) {
    VALIDATOR_PROBE validator;
    const std::string condition = "used(p) && c";
    KOVA_EVAL_CONTEXT ctx(&validator, condition, PARSER_MODE_EVALUATE);
    auto failing = []() -> int32_t { throw std::runtime_error("no model"); };
    EXPECT_FALSE(kova_guarded_port_query(ctx, KOVA_PORT_QUERY_USE, "p", false, [&] { return failing() != 0; }));
    EXPECT_EQ(kova_guarded_port_query(ctx, KOVA_PORT_QUERY_VALUE, "p", int32_t{0}, failing), 0);
    EXPECT_EQ(kova_guarded_port_query(ctx, KOVA_PORT_QUERY_VALUE, "p", int32_t{0}, [] { return int32_t{7}; }), 7);
    const std::vector<std::string> expected = {
        "Error: no model while checking port p is used, in condition used(p) && c",
        "Error: no model while getting the value of port p in condition used(p) && c"};
    EXPECT_EQ(validator.get_error_messages(), expected);
}
