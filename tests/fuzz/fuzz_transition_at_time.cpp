// Fuzz target: a force command asked for its transition at a time. The input's first line is the time in
// decimal (0 when it is not a 32-bit number), the rest is the command. The fixed model of fuzz_model.h gives
// the command macros and a constant port to name in its values and times.
#include <charconv>

#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string command(reinterpret_cast<const char*>(data), size);
    const std::string time_text = fuzz_take_line(command);
    int32_t time = 0;
    if (std::from_chars(time_text.data(), time_text.data() + time_text.size(), time).ec != std::errc()) time = 0;
    VALIDATOR_PROBE validator;
    build_fuzz_model(validator);
    std::string name, value;
    validator.kova_get_transition_at_time(command, time, name, value);
    return 0;
}
