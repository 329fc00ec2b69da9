// The expression benchmark texts and their model.
#include "bench/expression_cases.h"

const std::vector<KOVA_BENCH_CASE>& kova_bench_cases() {
    static const std::vector<KOVA_BENCH_CASE> cases = {
        // 40 characters over two parameters.
        {"condition", "WIDTH gt 8 && DEPTH lt 512 && WIDTH != 7", {"$WIDTH > 8 && $DEPTH < 512 && $WIDTH != 7"}, false},
        {"list_value",
         "DEPTH div 2|DEPTH|DEPTH * 2|DEPTH * 4|1024",
         {"$DEPTH / 2", "$DEPTH", "$DEPTH * 2", "$DEPTH * 4", "1024"},
         true},
        {"macro_call", "LATENCY(WIDTH,DEPTH) + 2", {"latency($WIDTH, $DEPTH) + 2"}, false},
    };
    return cases;
}

std::unique_ptr<KOVA_RULES_VALIDATOR> kova_bench_expression_model(bool compiled) {
    auto model = std::make_unique<KOVA_RULES_VALIDATOR>("bench", "", "");
    model->set_compiled_evaluation(compiled);
    for (const char* name : {"WIDTH", "DEPTH"}) {
        KOVA_OBJ_INFO& parameter = *model->add_kova_obj(name, KOVA_OBJ_INTEGER_PARAMETER);
        parameter.default_usage_state = KOVA_USAGE_USED;
    }
    KOVA_OBJ_INFO& macro = *model->add_kova_obj("LATENCY", KOVA_OBJ_FN_MACRO);
    macro.set_arguments("a,b");
    macro.set_value("a div 8 + b div 16");
    // A hidden parameter whose value makes the macro call, so that
    // initialisation creates its instance.
    model->add_kova_obj("READ_LATENCY", KOVA_OBJ_HIDDEN_PARAMETER)->set_value("LATENCY(WIDTH,DEPTH) + 2");
    model->initialize_validator();
    model->set_all_ports_and_parameters_to_default_state();
    model->set_parameter_value("WIDTH", std::to_string(KOVA_BENCH_WIDTH));
    model->set_parameter_value("DEPTH", std::to_string(KOVA_BENCH_DEPTH));
    model->run_validator();
    return model;
}
