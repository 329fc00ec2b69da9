// The consistency check of one parameter or port: conflicts between the
// current and the alternate state, their messages and silent correction.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

class PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::check_value_consistency_on_object;
};

struct PARAMETER_CASE {
    const char* current;
    int current_state;
    const char* alt;
    int alt_state;
    bool silent;
    bool passes;
    const char* message;    // posted message, "" for none
    const char* corrected;  // current value afterwards
};

const PARAMETER_CASE parameter_cases[] = {
    {"5", KOVA_USAGE_USED, "", KOVA_USAGE_NONE, false, true, "", "5"},
    {"", KOVA_USAGE_USED, "8", KOVA_USAGE_USED, false, true, "", ""},
    {"abc", KOVA_USAGE_USED, "ABC", KOVA_USAGE_USED, false, true, "", "abc"},
    {"2", KOVA_USAGE_USED, "1|2|4", KOVA_USAGE_USED, false, true, "", "2"},
    {"3", KOVA_USAGE_USED, "1|2|4", KOVA_USAGE_USED, false, false,
     "Parameter P has been assigned the value 3 which is incompatible with the current settings of W(8). "
     "The legal value (or range) is 1|2|4",
     "3"},
    {"3", KOVA_USAGE_USED, "1|2|4", KOVA_USAGE_USED, true, true, "", "4"},
    {"15", KOVA_USAGE_USED, "0-15", KOVA_USAGE_USED, false, true, "", "15"},
    {"16", KOVA_USAGE_USED, "0-15", KOVA_USAGE_USED, true, true, "", "15"},
    {"UNUSED", KOVA_USAGE_NONE, "7", KOVA_USAGE_UNUSED, false, true, "", "UNUSED"},
    {"7", KOVA_USAGE_UNUSED, "UNUSED", KOVA_USAGE_UNUSED, false, true, "", "7"},
    {"7", KOVA_USAGE_NONE, "7", KOVA_USAGE_USED, false, true, "", "7"},
    {"7", KOVA_USAGE_UNUSED, "7", KOVA_USAGE_USED, false, false,
     "Parameter P is being set to the state UNUSED which is incompatible with the current settings of W(8). "
     "The legal state is USED",
     "7"},
    {"7", KOVA_USAGE_UNUSED, "7|9", KOVA_USAGE_USED, true, true, "", "9"},
    {"UNUSED", KOVA_USAGE_UNUSED, "1|UNUSED", KOVA_USAGE_USED, false, true, "", "UNUSED"},
    // a value conflict suppresses the state test: one message only
    {"3", KOVA_USAGE_UNUSED, "1|2", KOVA_USAGE_USED, false, false,
     "Parameter P has been assigned the value 3 which is incompatible with the current settings of W(8). "
     "The legal value (or range) is 1|2",
     "3"},
};

}  // namespace

TEST(Consistency, ParameterCases) {
    for (const PARAMETER_CASE& c : parameter_cases) {
        PROBE v;
        v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER);
        KOVA_OBJ_INFO* model = v.add_object("P", KOVA_OBJ_INTEGER_PARAMETER);
        KOVA_RULE_ELEMENT rule("", "W == 8", "", KOVA_RULE_CONDITION);
        model->add_rule(&rule);
        model->silent_correction = c.silent;
        v.initialize_validator();
        v.set_parameter_value("W", "8");
        v.set_parameter_usage_state("W", KOVA_USAGE_USED);
        KOVA_PARAMETER_OBJ* p = v.get_parameter_object("P");
        p->set_current_value(c.current);
        p->m_current_usage_state = c.current_state;
        p->m_alt_value = c.alt;
        p->m_alt_usage_state = c.alt_state;

        SCOPED_TRACE(std::string(c.current) + " against " + c.alt);
        EXPECT_EQ(v.check_value_consistency_on_object(model, p, v.get_port_object("P")), c.passes);
        std::vector<std::string> expected;
        if (*c.message) expected.push_back(c.message);
        EXPECT_EQ(v.get_error_messages(), expected);
        EXPECT_EQ(p->get_current_value(), c.corrected);
    }
}

TEST(Consistency, PortStatesAndSilentCorrection) {
    for (bool silent : {false, true}) {
        PROBE v;
        v.add_object("EN", KOVA_OBJ_STRING_PARAMETER);
        KOVA_OBJ_INFO* model = v.add_object("p", KOVA_OBJ_INPUT_PORT);
        KOVA_RULE_ELEMENT rule("UNUSED", "EN == no", "", KOVA_RULE_CONDITION);
        model->add_rule(&rule);
        model->silent_correction = silent;
        v.initialize_validator();
        KOVA_PORT_OBJ* port = v.get_port_object("p");
        port->m_current_usage_state = KOVA_USAGE_USED;
        port->m_alt_usage_state = KOVA_USAGE_UNUSED;
        EXPECT_EQ(v.check_value_consistency_on_object(model, nullptr, port), silent);
        if (silent) {
            EXPECT_TRUE(v.get_error_messages().empty());
            EXPECT_EQ(port->m_current_usage_state, KOVA_USAGE_UNUSED);
        } else {
            EXPECT_EQ(v.get_error_messages(),
                      std::vector<std::string>{"Port p is being set to the state USED which is incompatible with the "
                                               "current settings of EN(UNUSED). The legal state is UNUSED"});
        }
    }
    PROBE v;
    EXPECT_TRUE(v.check_value_consistency_on_object(nullptr, nullptr, nullptr));
}
