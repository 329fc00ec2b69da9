// Fuzz target: one rule text, evaluated in each of the three parser modes and as a value expression, then
// asked for the names it depends on, over the fixed model of fuzz_model.h. Each input gets a fresh model, so
// no state carries from one input to the next.
#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    VALIDATOR_PROBE validator;
    build_fuzz_model(validator);
    for (KOVA_RULES_VALIDATOR_PARSER_MODE mode : {PARSER_MODE_EVALUATE, PARSER_MODE_REFRESH_MACROS, PARSER_MODE_TEXT})
        validator.evaluate_expression(text, mode);
    validator.evaluate_value_expression(text, true);
    validator.get_dependency_error_message_for_condition(text);
    return 0;
}
