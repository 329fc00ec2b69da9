// The benchmark families of kova_bench, registered by main in this order,
// and the summary that main prints after them.
#ifndef KOVA_BENCH_REGISTRY_H
#define KOVA_BENCH_REGISTRY_H

// expr/kova/<case> and expr/tcl/<case>: counter evals_per_s.
void kova_register_expression_benchmarks();
// validator/initialize/<objects> and validator/run/<objects>: times in ms.
void kova_register_validator_benchmarks();
// memory/<objects>: counters peak_bytes_per_object, model_bytes_per_object.
void kova_register_memory_benchmarks();
// walk/port_value_list/<MB> and walk/force_command/<MB>: times in ms,
// counter bytes_per_second.
void kova_register_text_walk_benchmarks();
// deps/chain/<objects>: ordering and one run of a chain of hidden
// parameters; counters order_ns_per_object, run_ns_per_object, ns_per_object.
// deps/assoc/<objects>: run_validator_on_assoc_elements on the last link of
// a chain through hidden parameters and macro instances; ns_per_object.
void kova_register_dependency_benchmarks();
// serve/validate/<example> and serve/validate/generated/10000: one POST
// /api/validate through kova serve's request layer; times in ms.
void kova_register_serve_benchmarks();

#endif
