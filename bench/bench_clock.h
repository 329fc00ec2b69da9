// The clock of the benchmarks that time their iterations themselves: the
// CPU time of the calling thread, so that other work on a shared machine
// does not count.
#ifndef KOVA_BENCH_CLOCK_H
#define KOVA_BENCH_CLOCK_H

#include <time.h>

inline double kova_bench_thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

#endif
