// Builds the benchmark models. Group g holds, in model order:
//   B<g>      integer, legal list 4|8|16|32                      level 0
//   C<g>_1..5 integer, range [previous, previous * 4], check rule levels 1-5
//   H<g>      hidden, SCALE(C<g>_5,C<g>_4) (a macro instance)    level 7
//   S<g>      string, legal list, conditional restriction        level 8
//   D<g>      integer, list when S<g> == fast                    level 9
//   P<g>      input port, USED when D<g> gt 1, else UNUSED       level 10
// Macro calls and formal lists are written without blanks: a blank after
// a comma counts as one more (empty) argument, so the instance name would
// not match the grammar's call, whose arguments are joined by "," alone,
// and the formals would pair with the wrong actuals.
// Every fiftieth group gives D<g> a value outside its list, so the runs
// also post and explain conflicts.
#include "bench/bench_model.h"

#include <string>

namespace {

const int GROUP_SIZE = 10;
const int CONFLICT_EVERY = 50;

void add_rule(KOVA_OBJ_INFO& object, const std::string& condition, const std::string& value,
              const std::string& alt_value, int rule_type) {
    const KOVA_RULE_ELEMENT rule(value, condition, alt_value, rule_type);
    object.add_rule(&rule);
}

KOVA_OBJ_INFO& add_object(KOVA_RULES_VALIDATOR& model, const std::string& name, int type,
                          const std::string& default_value) {
    KOVA_OBJ_INFO& object = *model.add_kova_obj(name, type);
    object.set_default_value(default_value);
    object.default_usage_state = KOVA_USAGE_USED;
    return object;
}

std::string chain_name(int group, int link) {
    return link == 0 ? "B" + std::to_string(group) : "C" + std::to_string(group) + "_" + std::to_string(link);
}

// Member `member` (0 to 9) of group `group`.
void add_group_member(KOVA_RULES_VALIDATOR& model, int group, int member) {
    const std::string g = std::to_string(group);
    if (member == 0) {
        add_rule(add_object(model, chain_name(group, 0), KOVA_OBJ_INTEGER_PARAMETER, "8"), "", "4|8|16|32", "",
                 KOVA_RULE_LEGAL_VALUES);
    } else if (member <= 5) {
        const std::string name = chain_name(group, member);
        const std::string previous = chain_name(group, member - 1);
        KOVA_OBJ_INFO& object =
            add_object(model, name, KOVA_OBJ_INTEGER_PARAMETER, std::to_string(8 << member));
        add_rule(object, "", previous + " * 4", previous, KOVA_RULE_LEGAL_VALUES);
        add_rule(object, name + " gt 0 && " + previous + " lt 100000", "", "", KOVA_RULE_CONDITION);
    } else if (member == 6) {
        add_object(model, "H" + g, KOVA_OBJ_HIDDEN_PARAMETER, "")
            .set_value("SCALE(" + chain_name(group, 5) + "," + chain_name(group, 4) + ")");
    } else if (member == 7) {
        KOVA_OBJ_INFO& object = add_object(model, "S" + g, KOVA_OBJ_STRING_PARAMETER, "fast");
        object.set_value("fast|small");
        add_rule(object, "", "fast|small", "", KOVA_RULE_LEGAL_VALUES);
        add_rule(object, "H" + g + " gt 1000", "small", "", KOVA_RULE_LEGAL_VALUES);
    } else if (member == 8) {
        const bool conflict = group % CONFLICT_EVERY == 0;
        add_rule(add_object(model, "D" + g, KOVA_OBJ_INTEGER_PARAMETER, conflict ? "3" : "2"), "S" + g + " == fast",
                 "1|2|4", "", KOVA_RULE_LEGAL_VALUES);
    } else {
        KOVA_OBJ_INFO& object = add_object(model, "P" + g, KOVA_OBJ_INPUT_PORT, "");
        object.set_port_width("D" + g + " * 8");
        add_rule(object, "D" + g + " gt 1", "USED", "UNUSED", KOVA_RULE_CONDITION);
    }
}

}  // namespace

std::unique_ptr<KOVA_RULES_VALIDATOR> kova_bench_model(int object_count, KOVA_BENCH_ORDER order) {
    auto model = std::make_unique<KOVA_RULES_VALIDATOR>("bench", "", "");
    KOVA_OBJ_INFO& macro = *model->add_kova_obj("SCALE", KOVA_OBJ_FN_MACRO);
    macro.set_arguments("a,b");
    macro.set_value("a div 4 + b");
    // Members are numbered in the order of their levels; by level, each
    // round adds one member of every group.
    const int rounds = order == KOVA_BENCH_ORDER::BY_LEVEL ? GROUP_SIZE : 1;
    for (int first = 0; first < rounds; ++first)
        for (int index = first; index < object_count - 1; index += rounds)
            add_group_member(*model, index / GROUP_SIZE, index % GROUP_SIZE);
    return model;
}

void kova_bench_prepare(KOVA_RULES_VALIDATOR& model, bool compiled) {
    model.set_compiled_evaluation(compiled);
    model.initialize_validator();
    model.set_all_ports_and_parameters_to_default_state();
}
