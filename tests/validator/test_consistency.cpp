// The consistency check of one parameter or port: conflicts between the
// current and the alternate state, their messages and silent correction.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

class PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::check_value_consistency_on_object;
};

const int USED = KOVA_USAGE_USED, UNUSED = KOVA_USAGE_UNUSED, NONE = KOVA_USAGE_NONE;

std::string value_conflict(const char* value, const char* legal) {
    return std::string("Parameter P has been assigned the value ") + value +
           " which is incompatible with the current settings of W(8). The legal value (or range) is " + legal;
}

}  // namespace

// P (or the input port p when port is set; the rule of either names W,
// set to 8) with its current and alternate value and state: whether the
// check passes, the message it posts ("" for none) and P's current value,
// or p's usage state, afterwards.
TEST(Consistency, ParameterAndPortCases) {
    const std::string port_conflict = "Port p is being set to the state USED which is incompatible with the current "
                                      "settings of W(8). The legal state is UNUSED";
    const struct {
        const char* current; int current_state; const char* alt; int alt_state;
        bool silent, passes; std::string message; const char* corrected; bool port = false;
    } cases[] = {
        {"5", USED, "", NONE, false, true, "", "5"},           {"", USED, "8", USED, false, true, "", ""},
        {"abc", USED, "ABC", USED, false, true, "", "abc"},    {"2", USED, "1|2|4", USED, false, true, "", "2"},
        {"3", USED, "1|2|4", USED, false, false, value_conflict("3", "1|2|4"), "3"},
        {"3", USED, "1|2|4", USED, true, true, "", "4"},       {"15", USED, "0-15", USED, false, true, "", "15"},
        {"16", USED, "0-15", USED, true, true, "", "15"},      {"7", NONE, "7", USED, false, true, "", "7"},
        {"UNUSED", NONE, "7", UNUSED, false, true, "", "UNUSED"},
        {"7", UNUSED, "UNUSED", UNUSED, false, true, "", "7"},
        {"7", UNUSED, "7", USED, false, false,
         "Parameter P is being set to the state UNUSED which is incompatible with the current settings of W(8). "
         "The legal state is USED",
         "7"},
        {"7", UNUSED, "7|9", USED, true, true, "", "9"},
        {"UNUSED", UNUSED, "1|UNUSED", USED, false, true, "", "UNUSED"},
        // a value conflict suppresses the state test: one message only
        {"3", UNUSED, "1|2", USED, false, false, value_conflict("3", "1|2"), "3"},
        // A port used against the alternate state UNUSED: a message, or silently the alternate state.
        {"", USED, "", UNUSED, false, false, port_conflict, "USED", true},
        {"", USED, "", UNUSED, true, true, "", "UNUSED", true}, {"", USED, "", USED, false, true, "", "USED", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.current) + " against " + c.alt + (c.silent ? ", silent" : ""));
        PROBE v;
        v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER);
        KOVA_OBJ_INFO* model = v.add_rule(c.port ? "p" : "P", c.port ? KOVA_OBJ_INPUT_PORT : KOVA_OBJ_INTEGER_PARAMETER,
                                          "W == 8");
        model->silent_correction = c.silent;
        v.initialize_validator();
        v.set_parameter_value("W", "8");
        v.set_parameter_usage_state("W", USED);
        KOVA_PARAMETER_OBJ* p = v.get_parameter_object("P");
        KOVA_PORT_OBJ* port = v.get_port_object("p");
        if (p) {
            p->set_current_value(c.current);
            p->m_current_usage_state = c.current_state;
            p->m_alt_value = c.alt;
            p->m_alt_usage_state = c.alt_state;
        } else {
            port->m_current_usage_state = c.current_state;
            port->m_alt_usage_state = c.alt_state;
        }
        EXPECT_EQ(v.check_value_consistency_on_object(model, p, port), c.passes);
        EXPECT_EQ(v.get_error_messages(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        EXPECT_EQ(p ? p->get_current_value() : kova_get_usage_state_as_string(port->m_current_usage_state),
                  c.corrected);
    }
    EXPECT_TRUE(PROBE().check_value_consistency_on_object(nullptr, nullptr, nullptr));  // no objects: passes
}
