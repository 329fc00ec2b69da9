// Validator frame: initialisation, merging of sub-models, the port and
// parameter lists, copies, and the resets of usage and alternate state.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// A model with one of each kind the lists care about.
void add_basic_objects(VALIDATOR_PROBE& v) {
    v.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "8|16", "8");
    v.add_object("STYLE", KOVA_OBJ_STRING_PARAMETER, "FAST|SMALL", "");
    v.add_object("OTHER", KOVA_OBJ_OTHER_PARAMETER);
    v.add_object("H", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH + 1");
    v.add_object("din", KOVA_OBJ_INPUT_PORT)->set_port_width("WIDTH");
    v.add_object("dout", KOVA_OBJ_OUTPUT_PORT);
}

std::unique_ptr<KOVA_INFO> sub_model(const std::string& condition) {
    auto sub = std::make_unique<KOVA_INFO>();
    sub->set_info_condition(condition);
    return sub;
}

}  // namespace

TEST(Frame, ConstructionLoadsOnlyWhatIsGiven) {
    VALIDATOR_PROBE empty("", "");
    EXPECT_EQ(empty.get_xml_lib_dir(), "");
    EXPECT_EQ(empty.get_function_name(), "probe");
    EXPECT_TRUE(empty.get_error_messages().empty());  // no file given: nothing read
    VALIDATOR_PROBE missing(temp_folder() + "/absent.xml", "/lib");
    EXPECT_EQ(missing.get_xml_lib_dir(), "/lib");
    EXPECT_EQ(missing.get_error_messages().size(), 1u);  // the reader's complaint, nothing more
    EXPECT_EQ(missing.get_kova_obj_count(), 0);
}

TEST(Frame, InitialisationBuildsCopiesForPortsAndIntegerAndStringParameters) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.initialize_validator();
    EXPECT_EQ(v.get_parameter_list().size(), 2u);
    EXPECT_EQ(v.get_port_list().size(), 2u);
    EXPECT_NE(v.get_parameter_object("width"), nullptr);
    EXPECT_EQ(v.get_parameter_object("OTHER"), nullptr);
    EXPECT_EQ(v.get_parameter_object("H"), nullptr);
    EXPECT_EQ(v.get_port_object("DIN")->get_port_width(), "WIDTH");
    EXPECT_FALSE(v.check_port_is_used("din"));
    EXPECT_FALSE(v.check_parameter_is_used("WIDTH"));
    EXPECT_EQ(v.get_parameter_object("WIDTH")->get_current_usage_state(), KOVA_USAGE_UNUSED);
    EXPECT_FALSE(v.check_port_is_used("nosuch"));

    KOVA_PORT_OBJ* din = v.get_port_object("din");
    v.read_parameter_and_port_list_from_obj_list();  // building again keeps existing copies
    EXPECT_EQ(v.get_port_object("din"), din);
}

TEST(Frame, SubModelConditionsJoinWizardMapsVectorsAndRules) {
    VALIDATOR_PROBE v;
    KOVA_OBJ_INFO* shared = v.add_object("P", KOVA_OBJ_INTEGER_PARAMETER);
    KOVA_RULE_ELEMENT own("1", "A", "", KOVA_RULE_CONDITION);
    shared->add_rule(&own);

    auto sub = sub_model("X");
    KOVA_WIZARD_MAP with_rule("with");
    with_rule.set_condition_rule(std::make_unique<KOVA_RULE_ELEMENT>("v", "Y", "alt", KOVA_RULE_LEGAL_VALUES));
    sub->add_wizard_map("with", &with_rule);
    KOVA_WIZARD_MAP without_rule("without");
    sub->add_wizard_map("without", &without_rule);
    KOVA_VECTOR_OBJ vector("vec");
    sub->add_vector_object("vec", &vector);
    KOVA_OBJ_INFO* sub_p = sub->add_kova_obj("p", KOVA_OBJ_INTEGER_PARAMETER);
    KOVA_RULE_ELEMENT extra("2", "B", "", KOVA_RULE_CONDITION);
    sub_p->add_rule(&extra);
    sub->add_kova_obj("Q", KOVA_OBJ_INPUT_PORT)->add_rule(&extra);
    v.add_sub_info(std::move(sub));
    v.initialize_validator();

    const KOVA_RULE_ELEMENT* merged = v.get_wizard_map("with")->condition_rule();
    EXPECT_EQ(merged->get_condition(), "(Y) and (X)");
    EXPECT_EQ(merged->get_value(), "v");
    EXPECT_EQ(merged->get_alt_value(), "alt");
    EXPECT_EQ(merged->rule_type, KOVA_RULE_LEGAL_VALUES);
    const KOVA_RULE_ELEMENT* plain = v.get_wizard_map("without")->condition_rule();
    EXPECT_EQ(plain->get_condition(), "X");
    EXPECT_EQ(plain->get_value(), "");
    EXPECT_EQ(plain->rule_type, KOVA_RULE_CONDITION);
    EXPECT_EQ(v.get_vector_object("vec")->condition_rule()->get_condition(), "X");

    auto rules = v.get_kova_obj("P")->rule_snapshot();  // validator object kept, sub rules added
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0]->get_condition(), "A");
    EXPECT_EQ(rules[1]->get_condition(), "(B) and (X)");
    ASSERT_NE(v.get_kova_obj("Q"), nullptr);  // new objects are taken over
    EXPECT_NE(v.get_port_object("Q"), nullptr);
}

TEST(Frame, CopiesOwnTheirObjects) {
    auto original = std::make_unique<VALIDATOR_PROBE>();
    add_basic_objects(*original);
    original->initialize_validator();
    original->set_integer_parameter_value("WIDTH", 16);
    original->m_fn_macro_list.add_entry("f(a)", std::make_unique<KOVA_FN_MACRO>("f(a)", "a + 1"));

    VALIDATOR_PROBE copy(*original);
    VALIDATOR_PROBE assigned;
    assigned = *original;
    VALIDATOR_PROBE& same = assigned;
    assigned = same;  // self-assignment keeps everything
    KOVA_PARAMETER_OBJ* original_width = original->get_parameter_object("WIDTH");
    EXPECT_NE(copy.get_parameter_object("WIDTH"), original_width);
    EXPECT_NE(assigned.get_parameter_object("WIDTH"), original_width);
    original.reset();  // each object is released by its own validator only

    for (VALIDATOR_PROBE* v : {&copy, &assigned}) {
        EXPECT_EQ(v->get_integer_parameter_value("WIDTH"), 16);
        EXPECT_EQ(v->get_port_list().size(), 2u);
        ASSERT_NE(v->m_fn_macro_list.find_entry("F(A)"), nullptr);
        EXPECT_EQ(static_cast<KOVA_FN_MACRO*>(v->m_fn_macro_list.find_entry("f(a)"))->get_value(), "a + 1");
    }
}

TEST(Frame, HandedInListsAreOwnedOnceWhateverTheCallerPasses) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.initialize_validator();
    KOVA_OBJ_INFO model("NEW", KOVA_OBJ_INTEGER_PARAMETER);
    KOVA_OBJ_MAP handed;
    handed.add_entry("NEW", new KOVA_PARAMETER_OBJ(&model));
    handed.add_entry("WIDTH", new KOVA_PARAMETER_OBJ(&model));  // displaces and releases the old copy
    v.set_parameter_list(handed);
    v.set_parameter_list(v.get_parameter_list());  // the validator's own objects: nothing changes
    KOVA_OBJ_INFO port_model("p", KOVA_OBJ_INPUT_PORT);
    KOVA_PORT_OBJ foreign(&port_model);
    KOVA_OBJ_MAP wrong_kind;
    wrong_kind.add_entry("p", &foreign);
    v.set_parameter_list(wrong_kind);  // a port is never taken as a parameter
    EXPECT_EQ(v.get_parameter_list().size(), 3u);
    EXPECT_EQ(v.get_parameter_object("NEW"), handed.find_entry("NEW"));
    EXPECT_EQ(v.get_parameter_object("WIDTH"), handed.find_entry("WIDTH"));
    EXPECT_EQ(v.get_parameter_object("p"), nullptr);
}

// Evaluations remember where each name's copy is; a copy handed in later
// must still be the one they read.
TEST(Frame, EvaluationsReadCopiesHandedInAfterEarlierRuns) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.initialize_validator();
    v.set_integer_parameter_value("WIDTH", 16);
    v.run_validator();  // a run resets port values
    v.set_current_port_width("din", 8);
    v.set_current_port_value("din", 5);
    EXPECT_EQ(v.evaluate_expression("WIDTH + din", PARSER_MODE_EVALUATE), "21");

    KOVA_OBJ_MAP parameters, ports;
    auto* width = new KOVA_PARAMETER_OBJ(v.get_kova_obj("WIDTH"));
    width->set_current_value("32");
    parameters.add_entry("width", width);
    auto* din = new KOVA_PORT_OBJ(v.get_kova_obj("din"));
    din->set_current_port_width(8);
    din->set_current_port_value(7);
    ports.add_entry("DIN", din);
    v.set_parameter_list(parameters);
    v.set_port_list(ports);
    EXPECT_EQ(v.evaluate_expression("WIDTH + din", PARSER_MODE_EVALUATE), "39");
    v.run_validator();  // the run's own walks find the new copies too
    EXPECT_EQ(v.evaluate_expression("H", PARSER_MODE_EVALUATE), "33");
}

TEST(Frame, DefaultStateUsesModelUsageAndDefaults) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.get_kova_obj("WIDTH")->default_usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("STYLE")->usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("STYLE")->default_index = 1;
    v.get_kova_obj("din")->default_usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("din")->usage_state = KOVA_USAGE_UNUSED;  // usage_state wins over the default
    v.get_kova_obj("dout")->usage_state = KOVA_USAGE_USED;
    v.initialize_validator();
    v.set_all_ports_and_parameters_to_default_state();
    EXPECT_TRUE(v.check_parameter_is_used("WIDTH"));
    EXPECT_EQ(v.get_parameter_object("WIDTH")->get_current_value(), "8");
    EXPECT_EQ(v.get_parameter_object("STYLE")->get_current_value(), "SMALL");
    EXPECT_FALSE(v.check_port_is_used("din"));
    EXPECT_TRUE(v.check_port_is_used("dout"));
}

TEST(Frame, ResetsClearStateAsFarAsAsked) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.initialize_validator();
    v.get_kova_obj("H")->set_current_value("9");
    v.set_port_usage_state("din", KOVA_USAGE_USED);
    v.set_current_port_width("din", 8);
    v.set_current_port_value("din", 5);
    KOVA_PARAMETER_OBJ* width = v.get_parameter_object("WIDTH");
    width->m_alt_value = "8|16";
    width->m_alt_usage_state = KOVA_USAGE_USED;
    v.post_error_message("old");

    v.reset_validator(false);
    EXPECT_TRUE(v.get_error_messages().empty());
    EXPECT_EQ(v.get_kova_obj("H")->get_current_value(), "");
    EXPECT_EQ(width->m_alt_value, "");
    EXPECT_EQ(width->m_alt_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(width->m_current_usage_state, KOVA_USAGE_UNUSED);
    EXPECT_EQ(v.get_current_port_width("din"), 8);
    EXPECT_TRUE(v.get_current_port_value("din")->is_x());
    EXPECT_TRUE(v.check_port_is_used("din"));

    v.reset_validator(true);
    EXPECT_EQ(v.get_current_port_width("din"), -1);
    EXPECT_EQ(v.get_current_port_value("din"), nullptr);
    EXPECT_EQ(v.get_port_object("din")->m_current_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(width->m_current_usage_state, KOVA_USAGE_NONE);
}

TEST(Frame, ElementResetsLeaveTheCallersWalkAlone) {
    VALIDATOR_PROBE v;
    add_basic_objects(v);
    v.initialize_validator();
    KOVA_PARAMETER_OBJ* width = v.get_parameter_object("WIDTH");
    width->m_alt_value = "8";
    width->m_alt_usage_state = KOVA_USAGE_USED;
    width->m_current_usage_state = KOVA_USAGE_USED;
    v.get_kova_obj("WIDTH")->set_current_value("8");

    v.reset_kova_obj_map();
    EXPECT_EQ(v.get_next_kova_obj()->get_name(), "WIDTH");
    v.reset_alt_state_on_element("width");
    v.reset_alt_state_on_element("nosuch");
    EXPECT_EQ(v.get_next_kova_obj()->get_name(), "STYLE");  // the walk was not advanced
    EXPECT_EQ(width->m_alt_value, "");
    EXPECT_EQ(width->m_alt_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(width->m_current_usage_state, KOVA_USAGE_USED);

    width->m_alt_value = "8";
    v.reset_current_state_on_element("WIDTH");
    EXPECT_EQ(width->m_current_usage_state, KOVA_USAGE_NONE);
    EXPECT_EQ(width->m_alt_value, "8");
    EXPECT_EQ(v.get_kova_obj("WIDTH")->get_current_value(), "");
}
