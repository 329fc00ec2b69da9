// Walks over long texts: a port value list rule (split at "|", each item
// evaluated, as determine_port_value_validity does) and a force command
// (words, then items split at ",", scanned by kova_get_transition_at_time)
// of 1, 2 and 4 MB. Both walks take time in proportion to the text's
// length, so the time per byte stays the same from size to size. Building
// the model and the text is not timed; times are CPU time of the thread.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_registry.h"
#include "validator/kova_rules_validator.h"

namespace {

const std::size_t MEGABYTE = std::size_t{1} << 20;

// "0|1|2|..." up to at least size bytes.
std::string port_value_list(std::size_t size) {
    std::string text;
    for (int value = 0; text.size() < size; ++value) text += (value == 0 ? "" : "|") + std::to_string(value);
    return text;
}

// "force s 0 0, 1 1, 0 2, ..." up to at least size bytes, ending in a
// repeat item; no item's time is negative, so a scan at time -1 reads
// every item and drives nothing.
std::string force_command(std::size_t size) {
    std::string text = "force s 0 0";
    for (int time = 1; text.size() < size; ++time) text += ", " + std::to_string(time % 2) + " " + std::to_string(time);
    return text + ", -repeat 100";
}

// A model with the 32-bit input port p whose one rule is the value list.
std::unique_ptr<KOVA_RULES_VALIDATOR> port_list_model(const std::string& list) {
    auto model = std::make_unique<KOVA_RULES_VALIDATOR>("bench", "", "");
    KOVA_OBJ_INFO& port = *model->add_kova_obj("p", KOVA_OBJ_INPUT_PORT);
    port.set_port_width("32");
    const KOVA_RULE_ELEMENT rule(list, "", "", KOVA_RULE_PORT_VALUE_LIST);
    port.add_rule(&rule);
    model->initialize_validator();
    return model;
}

void timed(benchmark::State& state, std::size_t bytes, const std::function<void()>& walk) {
    for (auto _ : state) {
        const double start = kova_bench_thread_seconds();
        walk();
        state.SetIterationTime(kova_bench_thread_seconds() - start);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void port_value_list_benchmark(benchmark::State& state) {
    const std::string list = port_value_list(static_cast<std::size_t>(state.range(0)) * MEGABYTE);
    auto model = port_list_model(list);
    timed(state, list.size(), [&] { benchmark::DoNotOptimize(model->determine_port_value_validity("p")); });
}

void force_command_benchmark(benchmark::State& state) {
    const std::string command = force_command(static_cast<std::size_t>(state.range(0)) * MEGABYTE);
    KOVA_RULES_VALIDATOR model("bench", "", "");
    model.add_kova_obj("s", KOVA_OBJ_INPUT_PORT);
    model.initialize_validator();
    std::string name, value;
    timed(state, command.size(),
          [&] { benchmark::DoNotOptimize(model.kova_get_transition_at_time(command, -1, name, value)); });
}

void sized(benchmark::internal::Benchmark* family) {
    family->Arg(1)->Arg(2)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

void kova_register_text_walk_benchmarks() {
    sized(benchmark::RegisterBenchmark("walk/port_value_list", port_value_list_benchmark));
    sized(benchmark::RegisterBenchmark("walk/force_command", force_command_benchmark));
}
