// Fuzz target: the input as a description file. It is written to a file in
// a temporary folder (the reader reads files only) beside two fixed files
// that it may include: sub.xml, a small valid sub-model, and loop.xml,
// which includes input.xml back. A description that loads is then
// initialised and validated, so the validator also sees fuzzed models.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/test_support.h"

namespace {

const char* const k_sub_model =
    "<model function=\"sub\" condition=\"W gt 1\">\n"
    "  <object name=\"W\" kind=\"integer\" value=\"1-8\" default=\"2\">\n"
    "    <rule condition=\"W == 3\" value=\"4\"/>\n"
    "  </object>\n"
    "  <object name=\"q\" kind=\"out\" width=\"W\"/>\n"
    "</model>\n";

const char* const k_loop_model = "<model><include file=\"input.xml\"/></model>\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    write_temp_file("sub.xml", k_sub_model);
    write_temp_file("loop.xml", k_loop_model);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = write_temp_file("input.xml", std::string(reinterpret_cast<const char*>(data), size));
    VALIDATOR_PROBE validator(path);
    if (!validator.get_error_messages().empty()) return 0;
    validator.initialize_validator();
    validator.run_validator();
    return 0;
}
