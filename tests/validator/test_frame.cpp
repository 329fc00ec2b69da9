// Validator frame: initialisation, merging of sub-models, the port and
// parameter lists, copies, and the resets of usage and alternate state.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// A model with one of each kind the lists care about.
class Frame : public ::testing::Test {
protected:
    void SetUp() override { add_basic_objects(v); }
    static void add_basic_objects(VALIDATOR_PROBE& model) {
        model.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "8|16", "8");
        model.add_object("STYLE", KOVA_OBJ_STRING_PARAMETER, "FAST|SMALL", "");
        model.add_object("OTHER", KOVA_OBJ_OTHER_PARAMETER);
        model.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH + 1");
        model.add_object("din", KOVA_OBJ_INPUT_PORT)->set_port_width("WIDTH");
        model.add_object("dout", KOVA_OBJ_OUTPUT_PORT);
    }
    // WIDTH's copy with its alternate value set, and its state as
    // "alternate value/alternate usage/current usage".
    KOVA_PARAMETER_OBJ* width(const std::string& alt, int alt_state, int current_state) {
        KOVA_PARAMETER_OBJ* copy = v.get_parameter_object("WIDTH");
        copy->m_alt_value = alt;
        copy->m_alt_usage_state = alt_state;
        copy->m_current_usage_state = current_state;
        return copy;
    }
    std::string width_state() {
        const KOVA_PARAMETER_OBJ* copy = v.get_parameter_object("WIDTH");
        return copy->m_alt_value + "/" + kova_get_usage_state_as_string(copy->m_alt_usage_state) + "/" +
               kova_get_usage_state_as_string(copy->m_current_usage_state);
    }
    // din's "width value usage" (value "-" when it has none) and WIDTH's state.
    std::string din_and_width() {
        const NUVO_UINTEGER* value = v.get_current_port_value("din");
        return std::to_string(v.get_current_port_width("din")) + " " + (!value ? "-" : value->is_x() ? "X" : "set") +
               " " + kova_get_usage_state_as_string(v.get_port_object("din")->m_current_usage_state) + " " +
               width_state();
    }
    VALIDATOR_PROBE v;
};

}  // namespace

TEST(FrameConstruction, LoadsOnlyWhatIsGiven) {
    // No file given: nothing read; a missing file: the reader's complaint, nothing more.
    VALIDATOR_PROBE empty, missing(temp_folder() + "/absent.xml", "/lib");
    for (const VALIDATOR_PROBE* v : {&empty, &missing})
        EXPECT_EQ(v->get_xml_lib_dir() + "|" + v->get_function_name() + "|" +
                      std::to_string(v->get_error_messages().size()) + "|" + std::to_string(v->get_kova_obj_count()),
                  v == &empty ? "|probe|0|0" : "/lib|probe|1|0");
}

TEST_F(Frame, InitialisationBuildsCopiesForPortsAndIntegerAndStringParameters) {
    v.initialize_validator();
    EXPECT_EQ(v.get_parameter_list().size() * 10 + v.get_port_list().size(), 22u);
    EXPECT_NE(v.get_parameter_object("width"), nullptr);
    for (const char* name : {"OTHER", "H"}) EXPECT_EQ(v.get_parameter_object(name), nullptr) << name;
    EXPECT_EQ(v.get_port_object("DIN")->get_port_width(), "WIDTH");
    for (const char* name : {"din", "nosuch"}) EXPECT_FALSE(v.check_port_is_used(name)) << name;
    EXPECT_FALSE(v.check_parameter_is_used("WIDTH"));
    EXPECT_EQ(width_state(), "/NONE/UNUSED");
    KOVA_PORT_OBJ* din = v.get_port_object("din");
    v.read_parameter_and_port_list_from_obj_list();  // building again keeps existing copies
    EXPECT_EQ(v.get_port_object("din"), din);
}

TEST_F(Frame, SubModelConditionsJoinWizardMapsVectorsAndRules) {
    VALIDATOR_PROBE model;
    model.add_rule("P", KOVA_OBJ_INTEGER_PARAMETER, "A", "1");
    auto sub = std::make_unique<KOVA_INFO>();
    sub->set_info_condition("X");
    KOVA_WIZARD_MAP with_rule("with"), without_rule("without");
    with_rule.set_condition_rule(std::make_unique<KOVA_RULE_ELEMENT>("v", "Y", "alt", KOVA_RULE_LEGAL_VALUES));
    sub->add_wizard_map("with", &with_rule);
    sub->add_wizard_map("without", &without_rule);
    KOVA_VECTOR_OBJ vector("vec");
    sub->add_vector_object("vec", &vector);
    KOVA_RULE_ELEMENT extra("2", "B", "", KOVA_RULE_CONDITION), bare("3", "", "", KOVA_RULE_CONDITION);
    KOVA_OBJ_INFO* merged = sub->add_kova_obj("p", KOVA_OBJ_INTEGER_PARAMETER);
    merged->add_rule(&extra);
    merged->add_rule(&bare);  // a rule without a condition takes the sub-model's alone
    sub->add_kova_obj("Q", KOVA_OBJ_INPUT_PORT)->add_rule(&extra);
    model.add_sub_info(std::move(sub));
    model.initialize_validator();

    auto text = [](const KOVA_RULE_ELEMENT* rule) {
        return rule->get_condition() + "|" + rule->get_value() + "|" + rule->get_alt_value() + "|" +
               std::to_string(rule->rule_type);
    };
    EXPECT_EQ(text(model.get_wizard_map("with")->condition_rule()), "(Y) and (X)|v|alt|1");
    EXPECT_EQ(text(model.get_wizard_map("without")->condition_rule()), "X|||2");
    EXPECT_EQ(model.get_vector_object("vec")->condition_rule()->get_condition(), "X");
    auto rules = model.get_kova_obj("P")->rule_snapshot();  // validator object kept, sub rules added
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(text(rules[0]) + " " + text(rules[1]) + " " + text(rules[2]), "A|1||2 (B) and (X)|2||2 X|3||2");
    ASSERT_NE(model.get_kova_obj("Q"), nullptr);  // new objects are taken over
    EXPECT_NE(model.get_port_object("Q"), nullptr);
}

TEST_F(Frame, CopiesOwnTheirObjects) {
    auto original = std::make_unique<VALIDATOR_PROBE>();
    add_basic_objects(*original);
    original->initialize_validator();
    original->set_integer_parameter_value("WIDTH", 16);
    original->m_fn_macro_list.add_entry("f(a)", std::make_unique<KOVA_FN_MACRO>("f(a)", "a + 1"));

    VALIDATOR_PROBE copy(*original), assigned;
    assigned = *original;
    VALIDATOR_PROBE& same = assigned;
    assigned = same;  // self-assignment keeps everything
    for (VALIDATOR_PROBE* each : {&copy, &assigned})
        EXPECT_NE(each->get_parameter_object("WIDTH"), original->get_parameter_object("WIDTH"));
    original.reset();  // each object is released by its own validator only

    for (VALIDATOR_PROBE* each : {&copy, &assigned}) {
        EXPECT_EQ(each->get_integer_parameter_value("WIDTH"), 16);
        EXPECT_EQ(each->get_port_list().size(), 2u);
        ASSERT_NE(each->m_fn_macro_list.find_entry("F(A)"), nullptr);
        EXPECT_EQ(static_cast<KOVA_FN_MACRO*>(each->m_fn_macro_list.find_entry("f(a)"))->get_value(), "a + 1");
    }
}

// Handed-in lists are owned once whatever the caller passes. Evaluations
// remember where each name's copy is; a copy handed in later must still be
// the one they read.
TEST_F(Frame, HandedInListsAreOwnedOnceAndReadByLaterEvaluations) {
    v.initialize_validator();
    v.set_integer_parameter_value("WIDTH", 16);
    v.run_validator();  // a run resets port values
    v.set_current_port_width("din", 8);
    v.set_current_port_value("din", 5);
    EXPECT_EQ(v.evaluate_expression("WIDTH + din", PARSER_MODE_EVALUATE), "21");
    KOVA_OBJ_INFO model("NEW", KOVA_OBJ_INTEGER_PARAMETER), port_model("p", KOVA_OBJ_INPUT_PORT);
    KOVA_OBJ_MAP handed, wrong_kind, ports;
    handed.add_entry("NEW", new KOVA_PARAMETER_OBJ(&model));
    auto* width = new KOVA_PARAMETER_OBJ(v.get_kova_obj("WIDTH"));
    width->set_current_value("32");
    handed.add_entry("width", width);  // displaces and releases the old copy
    v.set_parameter_list(handed);
    v.set_parameter_list(v.get_parameter_list());  // the validator's own objects: nothing changes
    KOVA_PORT_OBJ foreign(&port_model);
    wrong_kind.add_entry("p", &foreign);
    v.set_parameter_list(wrong_kind);  // a port is never taken as a parameter
    EXPECT_EQ(v.get_parameter_list().size(), 3u);
    EXPECT_EQ(v.get_parameter_object("NEW"), handed.find_entry("NEW"));
    EXPECT_EQ(v.get_parameter_object("WIDTH"), width);
    EXPECT_EQ(v.get_parameter_object("p"), nullptr);
    auto* din = new KOVA_PORT_OBJ(v.get_kova_obj("din"));
    din->set_current_port_width(8);
    din->set_current_port_value(7);
    ports.add_entry("DIN", din);
    v.set_port_list(ports);
    EXPECT_EQ(v.evaluate_expression("WIDTH + din", PARSER_MODE_EVALUATE), "39");
    v.run_validator();  // the run's own walks find the new copies too
    EXPECT_EQ(v.evaluate_expression("H", PARSER_MODE_EVALUATE), "33");
}

TEST_F(Frame, DefaultStateUsesModelUsageAndDefaults) {
    v.get_kova_obj("WIDTH")->default_usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("STYLE")->usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("STYLE")->default_index = 1;
    v.get_kova_obj("din")->default_usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("din")->usage_state = KOVA_USAGE_UNUSED;  // usage_state wins over the default
    v.get_kova_obj("dout")->usage_state = KOVA_USAGE_USED;
    v.initialize_validator();
    v.set_all_ports_and_parameters_to_default_state();
    EXPECT_EQ(v.get_parameter_object("WIDTH")->get_current_value() +
                  v.get_parameter_object("STYLE")->get_current_value(),
              "8SMALL");
    EXPECT_EQ(std::to_string(v.check_parameter_is_used("WIDTH")) + std::to_string(v.check_port_is_used("din")) +
                  std::to_string(v.check_port_is_used("dout")), "101");
}

TEST_F(Frame, ResetsClearStateAsFarAsAsked) {
    v.initialize_validator();
    v.get_kova_obj("H")->set_current_value("9");
    v.set_port_usage_state("din", KOVA_USAGE_USED);
    v.set_current_port_width("din", 8);
    v.set_current_port_value("din", 5);
    width("8|16", KOVA_USAGE_USED, KOVA_USAGE_UNUSED);
    v.post_error_message("old");
    v.reset_validator(false);
    EXPECT_EQ(std::to_string(v.get_error_messages().size()) + v.get_kova_obj("H")->get_current_value(), "0");
    EXPECT_EQ(din_and_width(), "8 X USED /NONE/UNUSED");
    v.reset_validator(true);
    EXPECT_EQ(din_and_width(), "-1 - NONE /NONE/NONE");

    // Resets of one element leave the caller's walk alone.
    KOVA_PARAMETER_OBJ* copy = width("8", KOVA_USAGE_USED, KOVA_USAGE_USED);
    v.get_kova_obj("WIDTH")->set_current_value("8");

    v.reset_kova_obj_map();
    EXPECT_EQ(v.get_next_kova_obj()->get_name(), "WIDTH");
    v.reset_alt_state_on_element("width");
    v.reset_alt_state_on_element("nosuch");
    EXPECT_EQ(v.get_next_kova_obj()->get_name(), "STYLE");  // the walk was not advanced
    EXPECT_EQ(width_state(), "/NONE/USED");

    copy->m_alt_value = "8";
    v.reset_current_state_on_element("WIDTH");
    EXPECT_EQ(width_state(), "8/NONE/NONE");
    EXPECT_EQ(v.get_kova_obj("WIDTH")->get_current_value(), "");
}
