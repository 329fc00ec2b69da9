// The dependency walk on its worst case: a chain of hidden parameters,
// h_i = h_(i-1) + 1, written deepest first, so that ordering the first
// object walks the whole chain at once. Times initialize_validator (the
// ordering) and one validation run on chains of 10,000, 100,000 and
// 1,000,000 objects; building the model is not timed. The counters give
// CPU nanoseconds per object, which stay flat when the growth is linear.
//
// Every iteration starts with the heap's free memory handed back to the
// system, as in a fresh kova process: otherwise the smaller chains would
// reuse pages that earlier iterations had the system map, while the
// largest, whose blocks the allocator always maps afresh, would pay for
// every page, and the figures would not compare.
//
// deps/assoc times run_validator_on_assoc_elements on the last link of a
// chain whose odd links go through a function macro, inc(h_(i-1)), so
// that the levels below the last link hold objects and macro instances
// alike; 10,000 and 100,000 links. A walk that is linear in the levels
// takes about ten times as long for the longer chain.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <memory>
#include <string>

#include "bench/bench_registry.h"
#include "validator/kova_rules_validator.h"

namespace {

double thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::unique_ptr<KOVA_RULES_VALIDATOR> hidden_chain(int length) {
    auto model = std::make_unique<KOVA_RULES_VALIDATOR>("chain", "", "");
    for (int i = length - 1; i >= 0; --i) {
        KOVA_OBJ_INFO* object = model->add_kova_obj("h" + std::to_string(i), KOVA_OBJ_HIDDEN_PARAMETER);
        object->set_value(i ? "h" + std::to_string(i - 1) + " + 1" : "1");
    }
    return model;
}

void chain_benchmark(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    double ordering = 0, run = 0;
    for (auto _ : state) {
        auto model = hidden_chain(length);
        malloc_trim(0);
        const double start = thread_seconds();
        model->initialize_validator();
        const double ordered = thread_seconds();
        benchmark::DoNotOptimize(model->run_validator());
        const double end = thread_seconds();
        state.SetIterationTime(end - start);
        ordering += ordered - start;
        run += end - ordered;
        if (model->get_hidden_parameter_value("h" + std::to_string(length - 1)) != std::to_string(length))
            state.SkipWithError("the chain's last value is wrong");
    }
    const double objects = static_cast<double>(state.iterations()) * length;
    state.counters["order_ns_per_object"] = ordering * 1e9 / objects;
    state.counters["run_ns_per_object"] = run * 1e9 / objects;
    state.counters["ns_per_object"] = (ordering + run) * 1e9 / objects;
}

// h_i = inc(h_(i-1)) for odd i, h_(i-1) + 1 otherwise; inc(x) = x + 1.
std::unique_ptr<KOVA_RULES_VALIDATOR> macro_chain(int length) {
    auto model = hidden_chain(length);
    KOVA_OBJ_INFO* inc = model->add_kova_obj("inc", KOVA_OBJ_FN_MACRO);
    inc->set_arguments("x");
    inc->set_value("x + 1");
    for (int i = 1; i < length; i += 2)
        model->get_kova_obj("h" + std::to_string(i))->set_value("inc(h" + std::to_string(i - 1) + ")");
    return model;
}

// Times bringing every level below the chain's last link up to date; the
// link before the last must then hold its place in the chain.
void assoc_benchmark(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    const std::string last = "h" + std::to_string(length - 1), before = "h" + std::to_string(length - 2);
    double total = 0;
    for (auto _ : state) {
        auto model = macro_chain(length);
        model->initialize_validator();
        malloc_trim(0);
        const double start = thread_seconds();
        benchmark::DoNotOptimize(model->run_validator_on_assoc_elements(last));
        const double took = thread_seconds() - start;
        state.SetIterationTime(took);
        total += took;
        if (model->get_kova_obj(before)->get_current_value() != std::to_string(length - 1))
            state.SkipWithError("the chain's values are wrong");
    }
    state.counters["ns_per_object"] = total * 1e9 / (static_cast<double>(state.iterations()) * length);
}

}  // namespace

void kova_register_dependency_benchmarks() {
    benchmark::RegisterBenchmark("deps/chain", chain_benchmark)
        ->Arg(10000)
        ->Arg(100000)
        ->Arg(1000000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("deps/assoc", assoc_benchmark)
        ->Arg(10000)
        ->Arg(100000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
