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
            {"WIDTH", KOVA_OBJ_INTEGER_PARAMETER, ""},       {"X", KOVA_OBJ_INTEGER_PARAMETER, ""},
            {"T", KOVA_OBJ_OTHER_PARAMETER, "text"},         {"H", KOVA_OBJ_HIDDEN_PARAMETER, "1 + 2"},
            {"M", KOVA_OBJ_FN_MACRO, "2 + 3"},               {"p", KOVA_OBJ_INPUT_PORT, ""},
            {"v", KOVA_OBJ_OUTPUT_PORT, ""},                 {"big", KOVA_OBJ_INOUT_PORT, ""}};
        for (const auto& o : objects) validator.add_object(o.name, o.type, o.value);
        validator.initialize_validator();
        validator.add_object("q", KOVA_OBJ_INPUT_PORT);  // a port of the model the validator holds no copy of
        for (const auto& [name, value] : {std::pair{"STYLE", "ABC"}, {"ACCENT", "\xE9"}, {"WIDTH", "8"}, {"X", "0"}})
            validator.set_parameter_value(name, value);
        validator.set_current_port_width("v", 8);
        validator.set_current_port_value("v", 5);
        validator.set_current_port_width("big", 32);
        validator.set_current_port_value("big", "80000000", QEL_RADIX_HEXADECIMAL);
    }

    VALIDATOR_PROBE validator;
};

}  // namespace

// Only the refreshing mode evaluates a macro's body. A macro call with the
// formal arguments is the macro itself; any other call without an instance
// reads as the call text, arguments joined by ",".
TEST_F(NameResolution, ParameterPortAndMacroValues) {
    validator.add_object("G", KOVA_OBJ_FN_MACRO, "x + y")->set_arguments("x,y");
    expect_evaluations(validator, {{"STYLE == abc", "true"}, {"style", "ABC"}, {"ACCENT str_gt z", "true"},
                                   {"WIDTH", "8"}, {"ceil_log(WIDTH)", "3"},
                                   {"X == 0 ? 1 : 10 / X", "1", {division_message("X == 0 ? 1 : 10 / X")}},
                                   {"T", ""}, {"H", "1 + 2"}, {"M", "2 + 3"}, {"G(x, y)", "x + y"},
                                   {"G(y , x)", "g(y,x)"}, {"nothing(a)", ""}, {"p", "-1"}, {"port(p)", "-1"},
                                   {"v", "5"}, {"port(V)", "5"}, {"big", "-2147483648"}, {"q", "0"}, {"port(q)", "0"},
                                   {"port(nothing)", "0"}});
    expect_evaluations(validator, {{"STYLE", "\"ABC\""}, {"WIDTH", "8"}, {"P", "p"}, {"port(P)", "P"}},
                       PARSER_MODE_TEXT);
    expect_evaluations(validator, {{"WIDTH", "8"}, {"M", "5"}}, PARSER_MODE_REFRESH_MACROS);
}

TEST_F(NameResolution, NamesWithoutAnObject) {
    expect_evaluations(validator, {{"plain", "plain"}, {"m_function_name", "probe"}, {"M_FUNCTION_NAME", "probe"},
                                   {"M_Function_Name", "probe"}});
    expect_evaluations(validator, {{"plain", "\"plain\""}, {"m_function_name", "probe"}}, PARSER_MODE_TEXT);
    validator.add_object("m_function_name", KOVA_OBJ_HIDDEN_PARAMETER, "own");
    expect_evaluations(validator, {{"M_FUNCTION_NAME", "own"}});
}

TEST_F(NameResolution, UsedAndConstantQueries) {
    validator.set_port_usage_state("p", KOVA_USAGE_USED);
    validator.set_port_usage_state("v", KOVA_USAGE_CONSTANT);
    validator.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    validator.set_parameter_usage_state("STYLE", KOVA_USAGE_CONSTANT);
    expect_evaluations(validator, {{"used(P)", "true"}, {"is_used(v)", "true"}, {"used(big)", "false"},
                                   {"used(WIDTH)", "true"}, {"used(STYLE)", "false"}, {"used(T)", "false"},
                                   {"used(H)", "false"}, {"used(M)", "false"}, {"used(q)", "false"},
                                   {"used(nothing)", "false"}, {"is_constant(v)", "true"}, {"is_constant(p)", "false"},
                                   {"is_constant(STYLE)", "false"}, {"is_constant(q)", "false"},
                                   {"is_constant(nothing)", "false"}});
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
