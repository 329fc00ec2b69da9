// Heap bytes per model object: the heap in use (mallinfo2) is sampled
// before a model is built, after building it, after initialize_validator
// and after the first run_validator; the highest sample less the first,
// divided by the object count, is the peak per object. memory/compiled is
// the default configuration; memory/parsed has compiled evaluation off.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstddef>

#include "bench/bench_model.h"
#include "bench/bench_registry.h"

namespace {

std::size_t heap_in_use() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void memory_benchmark(benchmark::State& state) {
    const int object_count = static_cast<int>(state.range(0));
    std::size_t model_bytes = 0;
    std::size_t peak_bytes = 0;
    for (auto _ : state) {
        const std::size_t before = heap_in_use();
        auto model = kova_bench_model(object_count);
        const std::size_t built = heap_in_use();
        kova_bench_prepare(*model, state.range(1) != 0);
        const std::size_t initialised = heap_in_use();
        model->run_validator();
        const std::size_t ran = heap_in_use();
        model_bytes = built - before;
        peak_bytes = std::max({built, initialised, ran}) - before;
    }
    state.counters["model_bytes_per_object"] = static_cast<double>(model_bytes) / object_count;
    state.counters["peak_bytes_per_object"] = static_cast<double>(peak_bytes) / object_count;
}

}  // namespace

void kova_register_memory_benchmarks() {
    for (const int compiled : {0, 1})
        benchmark::RegisterBenchmark(compiled ? "memory/compiled" : "memory/parsed", memory_benchmark)
            ->Args({1000, compiled})
            ->Args({10000, compiled})
            ->Args({100000, compiled})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
}
