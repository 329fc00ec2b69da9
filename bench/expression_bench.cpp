// Evaluate rule texts through evaluate_expression, parsed (expr/kova, the
// default) and from their compiled forms (expr/kova_compiled), and the same computations with Tcl's expr twice: compiled afresh
// every time (each evaluation gets a new string object, so no bytecode is
// reused), and reusing its bytecode (one object per text, kept across
// evaluations, as Tcl_ExprObj caches the compiled expression in it).
#include <benchmark/benchmark.h>
#include <tcl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_registry.h"
#include "bench/expression_cases.h"

namespace {

// The value of one case: one text, or the list evaluated as a list rule
// evaluates it.
std::string kova_value(KOVA_RULES_VALIDATOR& model, const KOVA_BENCH_CASE& item) {
    if (!item.is_list) return model.evaluate_expression(item.kova_text, PARSER_MODE_EVALUATE);
    return model.evaluate_value_list(item.kova_text);
}

void kova_evaluation(benchmark::State& state, const KOVA_BENCH_CASE& item, bool compiled) {
    auto model = kova_bench_expression_model(compiled);
    for (auto _ : state) benchmark::DoNotOptimize(kova_value(*model, item));
    state.SetLabel(kova_value(*model, item));
    state.counters["evals_per_s"] = benchmark::Counter(static_cast<double>(item.tcl_texts.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}

// An interpreter holding WIDTH, DEPTH and the math function latency.
struct TCL_INTERPRETER {
    TCL_INTERPRETER() : interp(Tcl_CreateInterp()) {
        const std::string setup = "set WIDTH " + std::to_string(KOVA_BENCH_WIDTH) + "; set DEPTH " +
                                  std::to_string(KOVA_BENCH_DEPTH) +
                                  "; proc ::tcl::mathfunc::latency {a b} {expr {$a / 8 + $b / 16}}";
        if (Tcl_Eval(interp, setup.c_str()) != TCL_OK) throw std::runtime_error(Tcl_GetStringResult(interp));
    }
    ~TCL_INTERPRETER() { Tcl_DeleteInterp(interp); }
    TCL_INTERPRETER(const TCL_INTERPRETER&) = delete;
    TCL_INTERPRETER& operator=(const TCL_INTERPRETER&) = delete;

    // Compiles and runs text as an expression from a new object.
    std::string evaluate(const std::string& text) {
        Tcl_Obj* expression = Tcl_NewStringObj(text.data(), static_cast<int>(text.size()));
        Tcl_IncrRefCount(expression);
        Tcl_Obj* result = nullptr;
        const int status = Tcl_ExprObj(interp, expression, &result);
        Tcl_DecrRefCount(expression);
        if (status != TCL_OK) throw std::runtime_error(Tcl_GetStringResult(interp));
        std::string value = Tcl_GetString(result);
        Tcl_DecrRefCount(result);
        return value;
    }

    Tcl_Interp* interp;
};

// Runs expression, an object kept across calls, so that its bytecode is
// compiled on the first call and reused after.
std::string tcl_cached_value(Tcl_Interp* interp, Tcl_Obj* expression) {
    Tcl_Obj* result = nullptr;
    if (Tcl_ExprObj(interp, expression, &result) != TCL_OK) throw std::runtime_error(Tcl_GetStringResult(interp));
    std::string value = Tcl_GetString(result);
    Tcl_DecrRefCount(result);
    return value;
}

void tcl_cached_evaluation(benchmark::State& state, const KOVA_BENCH_CASE& item) {
    TCL_INTERPRETER tcl;
    std::vector<Tcl_Obj*> expressions;
    for (const std::string& text : item.tcl_texts) {
        expressions.push_back(Tcl_NewStringObj(text.data(), static_cast<int>(text.size())));
        Tcl_IncrRefCount(expressions.back());
    }
    auto joined_values = [&] {
        std::string joined;
        for (Tcl_Obj* expression : expressions) {
            const std::string value = tcl_cached_value(tcl.interp, expression);
            joined = joined.empty() ? value : joined + "|" + value;
        }
        return joined;
    };
    for (auto _ : state) benchmark::DoNotOptimize(joined_values());
    state.SetLabel(joined_values());
    for (Tcl_Obj* expression : expressions) Tcl_DecrRefCount(expression);
    state.counters["evals_per_s"] = benchmark::Counter(static_cast<double>(item.tcl_texts.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}

std::string tcl_value(TCL_INTERPRETER& tcl, const KOVA_BENCH_CASE& item) {
    std::string joined;
    for (const std::string& text : item.tcl_texts) {
        const std::string value = tcl.evaluate(text);
        joined = joined.empty() ? value : joined + "|" + value;
    }
    return joined;
}

void tcl_evaluation(benchmark::State& state, const KOVA_BENCH_CASE& item) {
    TCL_INTERPRETER tcl;
    for (auto _ : state) benchmark::DoNotOptimize(tcl_value(tcl, item));
    state.SetLabel(tcl_value(tcl, item));
    state.counters["evals_per_s"] = benchmark::Counter(static_cast<double>(item.tcl_texts.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

void kova_register_expression_benchmarks() {
    for (const KOVA_BENCH_CASE& item : kova_bench_cases()) {
        benchmark::RegisterBenchmark((std::string("expr/kova/") + item.name).c_str(), kova_evaluation, item, false);
        benchmark::RegisterBenchmark((std::string("expr/kova_compiled/") + item.name).c_str(), kova_evaluation, item,
                                     true);
        benchmark::RegisterBenchmark((std::string("expr/tcl/") + item.name).c_str(), tcl_evaluation, item);
        benchmark::RegisterBenchmark((std::string("expr/tcl_cached/") + item.name).c_str(), tcl_cached_evaluation,
                                     item);
    }
}
