// kova serve's answer to one POST /api/validate, through the request
// layer's handle (no socket): parsing the body, a copy of the loaded
// session, the settings, the run and the document. On every bundled
// example and on a generated description of 10,001 objects. The goals:
// 5 ms per example, 50 ms at 10,000 objects. Beside it, the answer to
// one POST /api/refresh (what the page asks after every change) on the
// same description. Loading is not timed; the time is the CPU time of
// the benchmark thread.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_registry.h"
#include "serve/api.h"
#include "session/file_io.h"

namespace {

// A group of ten objects: a list parameter, a range, a string list, a
// chain of three hidden parameters (one calls a macro), a parameter with
// a check rule, a switch and the port it governs, and an output port
// whose width reads a hidden parameter.
std::string group(int g) {
    const std::string p = "g" + std::to_string(g) + "_";
    return "  <object name=\"" + p + "N\" kind=\"integer\" value=\"8|16|32\" default=\"8\" default_usage_state=\"USED\">\n"
           "    <rule type=\"legal_values\" value=\"8|16|32\"/>\n  </object>\n"
           "  <object name=\"" + p + "R\" kind=\"integer\" value=\"1-64\" default=\"4\" default_usage_state=\"USED\">\n"
           "    <rule type=\"legal_values\" value=\"64\" alt_value=\"1\"/>\n  </object>\n"
           "  <object name=\"" + p + "S\" kind=\"string\" value=\"a|b\" default=\"a\" default_usage_state=\"USED\">\n"
           "    <rule type=\"legal_values\" value=\"a|b\"/>\n  </object>\n"
           "  <object name=\"" + p + "H1\" kind=\"hidden\" value=\"" + p + "N + 1\"/>\n"
           "  <object name=\"" + p + "H2\" kind=\"hidden\" value=\"bytes(" + p + "H1) * 2\"/>\n"
           "  <object name=\"" + p + "H3\" kind=\"hidden\" value=\"max(" + p + "H2, " + p + "R)\"/>\n"
           "  <object name=\"" + p + "L\" kind=\"integer\" default=\"2\" default_usage_state=\"USED\">\n"
           "    <rule><condition>" + p + "L &lt; " + p + "R</condition></rule>\n  </object>\n"
           "  <object name=\"" + p + "E\" kind=\"integer\" value=\"0|1\" default=\"0\" default_usage_state=\"USED\">\n"
           "    <rule type=\"legal_values\" value=\"0|1\"/>\n  </object>\n"
           "  <object name=\"" + p + "p\" kind=\"in\" width=\"1\">\n"
           "    <rule condition=\"" + p + "E == 1\" value=\"USED\" alt_value=\"UNUSED\"/>\n  </object>\n"
           "  <object name=\"" + p + "d\" kind=\"out\" width=\"" + p + "H3\" default_usage_state=\"USED\"/>\n";
}

// A description of 10 * groups + 1 objects (the macro first).
std::string generated_description(int groups) {
    std::string text = "<model function=\"serve_scale\">\n"
                       "  <object name=\"bytes\" kind=\"macro\" arguments=\"w\" value=\"w ceil_div 8\"/>\n";
    for (int g = 0; g < groups; ++g) text += group(g);
    return text + "</model>\n";
}

// The request layer over a description file; null with the reason in
// the benchmark's state when it does not load.
std::unique_ptr<KOVA_SERVE_API> load(const std::string& path, benchmark::State& state) {
    KOVA_MESSAGES problems;
    KOVA_LOAD_OPTIONS options;
    options.description = path;
    const std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(options, problems);
    if (!session) {
        state.SkipWithError(("cannot load " + path).c_str());
        return nullptr;
    }
    return std::make_unique<KOVA_SERVE_API>(*session);
}

void time_route(benchmark::State& state, const std::string& path, const std::string& route) {
    const std::unique_ptr<KOVA_SERVE_API> api = load(path, state);
    if (!api) return;
    for (auto _ : state) {
        const double start = kova_bench_thread_seconds();
        const KOVA_SERVE_RESPONSE response = api->handle("POST", route, "{\"settings\": {}}");
        state.SetIterationTime(kova_bench_thread_seconds() - start);
        if (response.status != 200) state.SkipWithError((route + " was not answered 200").c_str());
        benchmark::DoNotOptimize(response.body.data());
    }
}

void generated_benchmark(benchmark::State& state, const std::string& route) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kova-serve-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "serve-scale.xml").string();
    std::string error;
    if (kova_write_file_atomically(path, generated_description(static_cast<int>(state.range(0)) / 10), error))
        time_route(state, path, route);
    else
        state.SkipWithError(("cannot write " + path + ": " + error).c_str());
    std::filesystem::remove_all(folder);
}

}  // namespace

void kova_register_serve_benchmarks() {
    for (const char* example : {"counter", "fifo", "ram", "ram_ecc"}) {
        const std::string path = std::string(KOVA_BENCH_EXAMPLES) + "/" + example + ".xml";
        benchmark::RegisterBenchmark(("serve/validate/" + std::string(example)).c_str(),
                                     [path](benchmark::State& state) { time_route(state, path, "/api/validate"); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    for (const char* route : {"validate", "refresh"})
        benchmark::RegisterBenchmark(("serve/" + std::string(route) + "/generated").c_str(),
                                     [route](benchmark::State& state) {
                                         generated_benchmark(state, "/api/" + std::string(route));
                                     })
            ->Arg(10000)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
}
