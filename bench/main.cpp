// kova_bench: runs the benchmark families and prints the summary table.
// Google Benchmark's own flags (--benchmark_filter and the like) apply.
#include <benchmark/benchmark.h>
#include <tcl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "bench/bench_registry.h"
#include "bench/summary_reporter.h"

namespace {

// The console output options --benchmark_color asks for: colour when it
// says so, or by default ("auto") when standard output is a terminal.
// The library applies the flag only to a reporter of its own making.
benchmark::ConsoleReporter::OutputOptions console_options(int argc, char** argv) {
    std::string color = "auto";
    const char* flag = "--benchmark_color=";
    for (int index = 1; index < argc; ++index)
        if (std::strncmp(argv[index], flag, std::strlen(flag)) == 0) color = argv[index] + std::strlen(flag);
    const bool on = color == "auto" ? isatty(STDOUT_FILENO) != 0
                                    : color == "true" || color == "yes" || color == "1" || color == "on";
    return on ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular;
}

}  // namespace

int main(int argc, char** argv) {
    Tcl_FindExecutable(argv[0]);
    kova_register_expression_benchmarks();
    kova_register_validator_benchmarks();
    kova_register_memory_benchmarks();
    kova_register_text_walk_benchmarks();
    kova_register_dependency_benchmarks();
    kova_register_serve_benchmarks();
    const auto options = console_options(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    KOVA_SUMMARY_REPORTER reporter(options);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
