// initialize_validator and run_validator on generated models of 1,000,
// 10,000 and 100,000 objects: validator/initialize as configured by
// default (compiled evaluation on, so it compiles the model's texts),
// validator/run with compiled evaluation off and validator/run_compiled
// with it on, and validator/run_compiled_by_level the same on a model
// whose objects were added level by level, so that memory holds them in
// the order a run visits them. Building the model is not timed. The time
// taken is the CPU time of the benchmark thread, so that other work on a
// shared machine does not count.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_model.h"
#include "bench/bench_registry.h"

namespace {

void initialize_benchmark(benchmark::State& state) {
    const int object_count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto model = kova_bench_model(object_count);
        const double start = kova_bench_thread_seconds();
        model->initialize_validator();
        state.SetIterationTime(kova_bench_thread_seconds() - start);
    }
}

void run_benchmark(benchmark::State& state, bool compiled, KOVA_BENCH_ORDER order) {
    const int object_count = static_cast<int>(state.range(0));
    auto model = kova_bench_model(object_count, order);
    kova_bench_prepare(*model, compiled);
    for (auto _ : state) {
        const double start = kova_bench_thread_seconds();
        benchmark::DoNotOptimize(model->run_validator());
        state.SetIterationTime(kova_bench_thread_seconds() - start);
    }
    state.SetLabel(std::to_string(model->get_error_messages().size()) + " messages");
}

void sized(benchmark::internal::Benchmark* family) {
    family->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

void kova_register_validator_benchmarks() {
    sized(benchmark::RegisterBenchmark("validator/initialize", initialize_benchmark));
    const KOVA_BENCH_ORDER by_group = KOVA_BENCH_ORDER::BY_GROUP;
    sized(benchmark::RegisterBenchmark("validator/run", run_benchmark, false, by_group));
    sized(benchmark::RegisterBenchmark("validator/run_compiled", run_benchmark, true, by_group));
    sized(benchmark::RegisterBenchmark("validator/run_compiled_by_level", run_benchmark, true,
                                       KOVA_BENCH_ORDER::BY_LEVEL));
}
