// What the fuzz targets share: reading lines of an input, checking a property, and the small fixed model that
// the expression and stimulus targets evaluate against, so that fuzzed texts reach every kind of name:
// integer, string and other parameters, a hidden parameter, ports with and without a value (one held
// constant), function macros with and without arguments and a command of the command list.
#ifndef KOVA_FUZZ_MODEL_H
#define KOVA_FUZZ_MODEL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"

// Adds the model's objects to a fresh validator, initialises it and gives the parameters and ports their settings.
void build_fuzz_model(VALIDATOR_PROBE& validator);

// Ends the process, as the fuzzer reports a crash, when a property the target checks does not hold.
void fuzz_check(bool holds, const char* what);

// The input's text up to the first line end, which is taken from it; the whole input when it has none.
std::string fuzz_take_line(std::string& input);

#endif
