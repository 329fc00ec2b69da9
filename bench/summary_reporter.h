// A console reporter that also keeps every result and, at the end, prints
// the summary table: evaluations per second beside Tcl with their ratio,
// validation times per model size with the growth from 10,000 to 100,000
// objects, heap bytes per object, and the time per byte of the walks over
// long texts with its growth from 1 to 4 MB, and kova serve's time for one
// validate request.
#ifndef KOVA_BENCH_SUMMARY_REPORTER_H
#define KOVA_BENCH_SUMMARY_REPORTER_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class KOVA_SUMMARY_REPORTER : public benchmark::ConsoleReporter {
public:
    explicit KOVA_SUMMARY_REPORTER(OutputOptions options) : benchmark::ConsoleReporter(options) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct RESULT {
        double milliseconds;  // real time per iteration
        std::map<std::string, double> counters;
    };

    // The result of the named benchmark, or null when it did not run.
    const RESULT* find(const std::string& name) const;
    double counter(const std::string& name, const std::string& counter_name) const;
    void print_expressions(std::ostream& out) const;
    void print_validation(std::ostream& out) const;
    void print_memory(std::ostream& out) const;
    void print_text_walks(std::ostream& out) const;
    void print_serve(std::ostream& out) const;

    std::map<std::string, RESULT> m_results;
};

#endif
