// Selection of message rules against the settings, the list through
// which the host reads the selected messages, and the macro instances
// that message conditions get at initialisation.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// A validator with the integer parameter W set to 8 and the given message
// rules.
void build(VALIDATOR_PROBE& v, const std::vector<KOVA_RULE_ELEMENT>& rules) {
    v.add_object("W", KOVA_OBJ_INTEGER_PARAMETER, "", "8");
    for (const KOVA_RULE_ELEMENT& rule : rules) v.add_msg(rule);
    v.initialize_validator();
}

// The values of the messages still to come in the list's iteration; each
// message carries only its text and the type of its rule.
std::vector<std::string> remaining(VALIDATOR_PROBE& v, int type = KOVA_RULE_CONDITION) {
    std::vector<std::string> values;
    while (const KOVA_RULE_ELEMENT* message = v.get_next_external_message()) {
        values.push_back(message->get_value());
        EXPECT_EQ(message->get_condition() + "|" + message->get_alt_value() + "|" + std::to_string(message->rule_type),
                  "||" + std::to_string(type));
    }
    return values;
}

std::vector<std::string> selected(VALIDATOR_PROBE& v, int type = KOVA_RULE_CONDITION) {
    v.process_external_messages();
    v.reset_external_message_list();
    return remaining(v, type);
}

using TEXTS = std::vector<std::string>;

}  // namespace

TEST(ExternalMessages, TheValueOrAltValueIsSelectedByTheCondition) {
    const struct { const char *condition, *value, *alt; TEXTS expected; int type = KOVA_RULE_CONDITION; } cases[] = {
        {"", "", "else", {}},              {"", "always", "else", {"always"}}, {"W == 8", "yes", "no", {"yes"}},
        {"W == 9", "yes", "no", {"no"}},   {"TRUE", "yes", "no", {"yes"}},     {"False", "yes", "no", {"no"}},
        {"W == 9", "yes", "", {}},         {"W == 8", "", "no", {}},           {"W + 1", "yes", "no", {}},
        {"W ==", "yes", "no", {}},         {"W == 8", "a", "b", {"a"}, KOVA_RULE_FN_SET}, {"", "c", "", {"c"}, 7},
    };
    for (const auto& c : cases) {
        VALIDATOR_PROBE v;
        build(v, {KOVA_RULE_ELEMENT(c.value, c.condition, c.alt, c.type)});
        EXPECT_EQ(selected(v, c.type), c.expected) << "'" << c.condition << "' " << c.value << "/" << c.alt;
    }
}

// Every call appends what applies then, and appending neither restarts
// the iteration nor brings back what it has passed.
TEST(ExternalMessages, EveryCallAppendsWhatAppliesThen) {
    VALIDATOR_PROBE v;
    build(v, {KOVA_RULE_ELEMENT("big", "W gt 4", "small", KOVA_RULE_CONDITION),
              KOVA_RULE_ELEMENT("note", "", "", KOVA_RULE_CONDITION)});
    EXPECT_EQ(v.get_next_external_message(), nullptr);
    EXPECT_EQ(selected(v), (TEXTS{"big", "note"}));
    v.set_parameter_value("W", "2");
    EXPECT_EQ(selected(v), (TEXTS{"big", "note", "small", "note"}));
    EXPECT_EQ(v.get_next_external_message(), nullptr);

    VALIDATOR_PROBE one;
    build(one, {KOVA_RULE_ELEMENT("one", "", "", KOVA_RULE_CONDITION)});
    one.process_external_messages();
    one.reset_external_message_list();
    ASSERT_NE(one.get_next_external_message(), nullptr);
    one.process_external_messages();
    EXPECT_EQ(remaining(one), TEXTS{"one"});
}

TEST(ExternalMessages, MacroCallsInConditionsGetInstances) {
    VALIDATOR_PROBE v;
    v.add_macro("TWICE", "x * 2", "x");
    // The run evaluates an instance in the pass for its level, which it
    // reaches only while some object sits at that level or above.
    v.add_rule("LEVEL_ONE", KOVA_OBJ_INTEGER_PARAMETER, "W gt 1", "3");
    build(v, {KOVA_RULE_ELEMENT("sixteen", "TWICE(W) == 16", "other", KOVA_RULE_CONDITION),
              KOVA_RULE_ELEMENT("none", "", "", KOVA_RULE_CONDITION)});
    ASSERT_EQ(v.m_fn_macro_list.size(), 1u);
    v.run_validator();
    EXPECT_EQ(selected(v), (TEXTS{"sixteen", "none"}));
}
