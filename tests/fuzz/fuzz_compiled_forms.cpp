// Fuzz target: one rule text evaluated from its compiled form and by the
// scanner and parser, in every mode and as a value, over the fixed model of
// fuzz_model.h; any difference in value, message or skipped character
// ends the run.
#include <cstdio>

#include "fuzz/fuzz_model.h"
#include "reference/differences.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    VALIDATOR_PROBE validator;
    build_fuzz_model(validator);
    KOVA_DIFFERENTIAL differential(validator);
    const std::string found = differential.check_text(text);
    if (!found.empty()) std::fprintf(stderr, "%s", found.c_str());
    fuzz_check(found.empty(), "the compiled form evaluates as the parser does");
    return 0;
}
