// kova_bench: runs the benchmark families and prints the summary table.
// Google Benchmark's own flags (--benchmark_filter and the like) apply.
#include <benchmark/benchmark.h>
#include <tcl.h>

#include "bench/bench_registry.h"
#include "bench/summary_reporter.h"

int main(int argc, char** argv) {
    Tcl_FindExecutable(argv[0]);
    kova_register_expression_benchmarks();
    kova_register_validator_benchmarks();
    kova_register_memory_benchmarks();
    kova_register_text_walk_benchmarks();
    kova_register_dependency_benchmarks();
    kova_register_serve_benchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    KOVA_SUMMARY_REPORTER reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
