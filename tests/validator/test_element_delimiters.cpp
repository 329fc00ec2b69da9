// Every element delimiter splits the names of a rule text written without
// blanks, both for the ports and parameters an expression uses and for the
// dependency levels of the objects whose rules name them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

std::vector<std::string> keys_of(const KOVA_NAME_MAP& names) {
    std::vector<std::string> keys;
    for (const KOVA_NAME_MAP::entry& entry : names) keys.push_back(entry.first);
    return keys;
}

void add_condition(KOVA_OBJ_INFO* object, const std::string& condition) {
    const KOVA_RULE_ELEMENT rule("", condition, "", KOVA_RULE_CONDITION);
    object->add_rule(&rule);
}

}  // namespace

// A is at level 1 (its rule names X) and B at level 0, so an object whose
// rule names A sits at level 2, one that names only B at level 1, and one
// that names neither (the text read as one unknown name) at level 0.
TEST(ElementDelimiters, EachDelimiterSplitsNamesWrittenWithoutBlanks) {
    // Written out here rather than taken from the library, so that a
    // delimiter dropped from the library's set fails its own case.
    const std::string delimiters = " (),|!\t\n+-&=/%*";
    for (const char delimiter : delimiters) {
        const std::string forward = std::string("A") + delimiter + "B";
        const std::string backward = std::string("B") + delimiter + "A";
        VALIDATOR_PROBE v;
        v.add_object("X", KOVA_OBJ_INTEGER_PARAMETER);
        add_condition(v.add_object("A", KOVA_OBJ_INTEGER_PARAMETER), "X == 1");
        v.add_object("B", KOVA_OBJ_INTEGER_PARAMETER);
        add_condition(v.add_object("FORWARD", KOVA_OBJ_INTEGER_PARAMETER), forward);
        add_condition(v.add_object("BACKWARD", KOVA_OBJ_INTEGER_PARAMETER), backward);
        v.initialize_validator();

        const int code = static_cast<unsigned char>(delimiter);
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_used_in_expression(forward)),
                  (std::vector<std::string>{"A", "B"}))
            << "delimiter " << code;
        EXPECT_EQ(keys_of(v.get_ports_and_parameters_used_in_expression(backward)),
                  (std::vector<std::string>{"B", "A"}))
            << "delimiter " << code;
        EXPECT_EQ(v.get_kova_obj("FORWARD")->evaluation_position, 2) << "delimiter " << code;
        EXPECT_EQ(v.get_kova_obj("BACKWARD")->evaluation_position, 2) << "delimiter " << code;
    }
}
