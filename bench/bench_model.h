// Generated models for the validator benchmarks: a function macro followed
// by groups of ten objects whose rules form a dependency chain eleven
// levels deep (0 to 10), with legal-value lists, ranges, a macro call,
// check rules, a string parameter and a port in every group.
#ifndef KOVA_BENCH_MODEL_H
#define KOVA_BENCH_MODEL_H

#include <memory>

#include "validator/kova_rules_validator.h"

// The order the objects are added in: group by group (each group's ten
// objects together, as a description lists them), or level by level
// (every group's first object, then every group's second, ...), which
// lays the model out in memory in the order a run visits it.
enum class KOVA_BENCH_ORDER { BY_GROUP, BY_LEVEL };

// A model of exactly object_count objects, not yet initialised.
std::unique_ptr<KOVA_RULES_VALIDATOR> kova_bench_model(int object_count,
                                                       KOVA_BENCH_ORDER order = KOVA_BENCH_ORDER::BY_GROUP);

// Initialises the model, with compiled evaluation when compiled, and gives
// every port and parameter its default setting, as a host does before the
// first run.
void kova_bench_prepare(KOVA_RULES_VALIDATOR& model, bool compiled);

#endif
