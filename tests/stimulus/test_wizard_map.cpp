// Wizard-map evaluation: which objects are evaluated, what value texts and
// rules of each type write, the message for a non-boolean condition, and
// the filling with parameters and used ports.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

struct RULE { int type; const char *condition, *value, *alt_value; };

// Integer parameter W set to 8, string parameter MODE, ports din (used)
// and k (constant), and a command "sim" in the command list.
class WIZARD_MAP : public ::testing::Test {
protected:
    void SetUp() override {
        validator.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "1-32");
        validator.add_object("MODE", KOVA_OBJ_STRING_PARAMETER, "up|down");
        validator.add_object("din", KOVA_OBJ_INPUT_PORT);
        validator.add_object("k", KOVA_OBJ_INPUT_PORT);
        validator.initialize_validator();
        validator.set_parameter_value("W", "8");
        validator.set_parameter_value("MODE", "down");
        validator.set_port_usage_state("din", KOVA_USAGE_USED);
        validator.set_port_usage_state("k", KOVA_USAGE_CONSTANT);
        validator.add_cmd_to_list("sim");
    }

    static std::unique_ptr<KOVA_RULE_ELEMENT> new_rule(const RULE& rule) {
        return std::make_unique<KOVA_RULE_ELEMENT>(rule.value, rule.condition, rule.alt_value, rule.type);
    }

    VALIDATOR_PROBE validator;
    KOVA_WIZARD_MAP map{"m"};
};

TEST_F(WIZARD_MAP, RulesWriteValueAndUsageState) {
    const std::string not_boolean = " of object obj did not evaluate to be a boolean expression, but evaluates to ";
    // current: "" when nothing is written; message: the first posted, "" for none.
    const struct { int object_type; RULE rule; const char *value_text, *current; int usage;
                   bool held = false; std::string message = ""; } cases[] = {  // held: constant in the model
        {KOVA_OBJ_INTEGER_PARAMETER, {2, "W == 8", "W * 2", "1"}, "", "16", KOVA_USAGE_USED},
        {KOVA_OBJ_INTEGER_PARAMETER, {2, "W == 9", "W * 2", "W"}, "", "8", KOVA_USAGE_USED},
        {KOVA_OBJ_STRING_PARAMETER, {2, "", "", ""}, "unused", "unused", KOVA_USAGE_UNUSED},
        // A list is one expression: "a||b" is the truth "true", not a|b.
        {KOVA_OBJ_INTEGER_PARAMETER, {1, "", "a||b", ""}, "", "true", KOVA_USAGE_USED},
        // False condition: the alternate value, except for legal-value rules.
        {KOVA_OBJ_INTEGER_PARAMETER, {1, "W == 9", "1", "8"}, "", "", KOVA_USAGE_NONE},
        // Rules for constant ports count only on an input port held constant
        // in the model, unless they have no condition.
        {KOVA_OBJ_INPUT_PORT, {3, "W == 8", "5", ""}, "", "", KOVA_USAGE_NONE},
        {KOVA_OBJ_INPUT_PORT, {3, "W == 8", "5", "1"}, "", "5", KOVA_USAGE_USED, true},
        {KOVA_OBJ_OUTPUT_PORT, {3, "W == 8", "5", "1"}, "", "", KOVA_USAGE_NONE, true},
        // A command condition asks the command list.
        {KOVA_OBJ_OUTPUT_PORT, {0, "SIM", "USED", "UNUSED"}, "", "USED", KOVA_USAGE_USED},
        // The value text first, then the rules; an empty result writes nothing.
        {KOVA_OBJ_INOUT_PORT, {2, "", "", "x"}, "W + 1", "9", KOVA_USAGE_USED},
        {KOVA_OBJ_INTEGER_PARAMETER, {2, "W == 8", "1 +", ""}, "W", "8", KOVA_USAGE_USED, false,
         "parse error while parsing 1 +"},
        // Port value rules are not looked at.
        {KOVA_OBJ_INPUT_PORT, {6, "3", "1", "0"}, "", "", KOVA_USAGE_NONE},
        // Only ports and parameters are evaluated.
        {KOVA_OBJ_HIDDEN_PARAMETER, {2, "", "5", ""}, "W", "", KOVA_USAGE_NONE},
        // A condition that is not boolean posts a message and writes
        // nothing; a failed check rule is not reported; a constant-port
        // rule elsewhere reads "false".
        {KOVA_OBJ_INTEGER_PARAMETER, {2, "W == 9", "", ""}, "", "", KOVA_USAGE_NONE},
        {KOVA_OBJ_INTEGER_PARAMETER, {2, "W", "1", "0"}, "", "", KOVA_USAGE_NONE, false,
         "Condition W" + not_boolean + "8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rule.condition) + " / " + c.rule.value);
        validator.clear_error_messages();
        map = KOVA_WIZARD_MAP("m");
        KOVA_OBJ_INFO* object = map.add_kova_object("obj", c.object_type);
        if (c.held) object->default_usage_state = KOVA_USAGE_CONSTANT;
        object->set_value(c.value_text);
        object->add_rule(new_rule(c.rule).get());
        validator.evaluate_wizard_obj(object);
        EXPECT_EQ(object->get_current_value(), c.current);
        EXPECT_EQ(object->usage_state, c.usage);
        const auto& messages = validator.get_error_messages();
        EXPECT_EQ(messages.empty() ? "" : messages.front(), c.message);
        EXPECT_LE(messages.size(), 1u);
    }
    validator.evaluate_wizard_obj(nullptr);
}

// The last rule that writes wins, and earlier values stay.
TEST_F(WIZARD_MAP, LastWriterWins) {
    KOVA_OBJ_INFO* object = map.add_kova_object("obj", KOVA_OBJ_INTEGER_PARAMETER);
    for (const RULE& rule : {RULE{2, "", "1", ""}, RULE{2, "W == 8", "2", ""}, RULE{2, "W == 9", "3", ""}})
        object->add_rule(new_rule(rule).get());
    for (const auto& [width, value] : {std::pair{"8", "2"}, std::pair{"9", "3"}, std::pair{"7", "1"}}) {
        validator.set_parameter_value("W", width);
        validator.evaluate_wizard_map(map);
        EXPECT_EQ(object->get_current_value(), value) << width;
    }
}

// Each object of the map: name, type, wizard kind, usage state and value.
std::string listing(const KOVA_WIZARD_MAP& map) {
    std::string text;
    for (const KOVA_OBJ_INFO* o : map.get_kova_obj_snapshot())
        text += o->get_name() + " " + std::to_string(o->obj_type) + " " + std::to_string(o->wizard_kind) + " " +
                std::to_string(o->usage_state) + " [" + o->get_current_value() + "]\n";
    return text;
}

TEST_F(WIZARD_MAP, FillsWithParametersAndUsedPortsOnly) {
    map.add_used_ports = true;
    validator.set_port_usage_state("din", KOVA_USAGE_UNUSED);
    validator.evaluate_wizard_map(map);
    EXPECT_EQ(listing(map), "");  // no used port adds no object
    validator.set_port_usage_state("din", KOVA_USAGE_USED);
    map.add_all_parameters = true;
    validator.evaluate_wizard_map(map);
    const std::string filled = "W 5 1 4 [8]\nMODE 6 1 4 [down]\ndin 1 2 1 []\n";  // not the constant port k
    EXPECT_EQ(listing(map), filled);
    // The validator's own copies are not written.
    const KOVA_OBJ_INFO* width = map.get_kova_obj("W");
    EXPECT_NE(width, validator.get_parameter_object("W"));
    EXPECT_EQ(validator.get_parameter_object("W")->wizard_kind + validator.get_port_object("din")->wizard_kind, 0);
    // Evaluated again, the map refreshes what it added in place.
    validator.set_parameter_value("W", "12");
    validator.evaluate_wizard_map(map);
    EXPECT_EQ(listing(map), "W 5 1 4 [12]" + filled.substr(filled.find('\n')));
    EXPECT_EQ(map.get_kova_obj("W"), width);
}

}  // namespace
