#include "fuzz/fuzz_model.h"

#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "host/qel_util.h"

void build_fuzz_model(VALIDATOR_PROBE& validator) {
    validator.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "1-64", "8");
    validator.add_object("DEPTH", KOVA_OBJ_INTEGER_PARAMETER, "16|32|64", "32");
    validator.add_object("MODE", KOVA_OBJ_STRING_PARAMETER, "fast|slow", "fast");
    validator.add_object("NOTE", KOVA_OBJ_OTHER_PARAMETER, "", "none");
    validator.add_object("ADDR", KOVA_OBJ_HIDDEN_PARAMETER, "ceil_log(DEPTH)");
    validator.add_macro("BYTES", "bits ceil_div 8", "bits");
    validator.add_macro("HALF", "WIDTH div 2");
    for (const auto& [name, kind, width] : {std::tuple("clk", KOVA_OBJ_INPUT_PORT, "1"),
                                            std::tuple("data", KOVA_OBJ_OUTPUT_PORT, "WIDTH"),
                                            std::tuple("en", KOVA_OBJ_INPUT_PORT, "1")})
        if (KOVA_OBJ_INFO* port = validator.add_object(name, kind)) port->set_port_width(width);
    validator.initialize_validator();

    validator.set_parameter_value("WIDTH", "8");
    validator.set_parameter_value("DEPTH", "32");
    validator.set_parameter_value("MODE", "fast");
    validator.set_parameter_usage_state("WIDTH", KOVA_USAGE_USED);
    validator.set_parameter_usage_state("MODE", KOVA_USAGE_USED);
    validator.set_port_usage_state("clk", KOVA_USAGE_USED);
    validator.set_port_usage_state("en", KOVA_USAGE_CONSTANT);
    validator.set_current_port_width("data", 8);
    validator.set_current_port_value("data", "5", QEL_RADIX_SIGNED_DECIMAL);
    validator.set_current_port_width("en", 1);
    validator.set_current_port_value("en", "1", QEL_RADIX_SIGNED_DECIMAL);
    validator.add_cmd_to_list("simulate");
}

void fuzz_check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

std::string fuzz_take_line(std::string& input) {
    const std::size_t end = input.find('\n');
    std::string line = input.substr(0, end);
    input.erase(0, end == std::string::npos ? input.size() : end + 1);
    return line;
}
