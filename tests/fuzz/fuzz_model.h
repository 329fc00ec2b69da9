// The small fixed model that the expression and stimulus fuzz targets
// evaluate against, so that fuzzed texts reach every kind of name: integer,
// string and other parameters, a hidden parameter, ports with and without a
// value (one held constant), function macros with and without arguments and
// a command of the command list.
#ifndef KOVA_FUZZ_MODEL_H
#define KOVA_FUZZ_MODEL_H

#include "support/test_support.h"

// Adds the model's objects to a fresh validator, initialises it and gives
// the parameters and ports their settings.
void build_fuzz_model(VALIDATOR_PROBE& validator);

#endif
