// The configurations of a sweep: the product of the values of some
// parameters (or ports), or random configurations drawn from a seed, each
// computed from its index alone, so that any share of the sweep (a shard)
// is computed without the rest.
//
// Enumeration order: the first varied name changes slowest, the last
// fastest, as nested loops in the order the names are given.
#ifndef KOVA_SWEEP_H
#define KOVA_SWEEP_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/problem.h"
#include "session/session.h"

// One varied name and the values it takes: a list, or a whole integer
// span LOW..HIGH.
struct KOVA_SWEEP_AXIS {
    std::string name;                 // as the description writes it
    std::vector<std::string> values;  // the list; empty for a span
    long long low = 0, high = 0;      // the span, when values is empty

    std::uint64_t size() const;
    // The value at place i, 0 <= i < size(): the list's order, or low + i.
    std::string value(std::uint64_t i) const;
};

struct KOVA_SWEEP_PLAN {
    std::vector<KOVA_SWEEP_AXIS> axes;
    bool random = false;
    std::uint64_t seed = 0;   // random draws only
    std::uint64_t count = 0;  // configurations of the whole sweep
};

// Parses one --vary text against the session's ports and parameters:
//   NAME            the legal values the value text gives: a list's items;
//                   a range's bounds and its midpoint (enumerated) or the
//                   whole range (random draws); a port's USED and UNUSED
//   NAME=V1|V2|...  these values, as written
//   NAME=LO..HI     every integer from LO to HI
// A problem (unknown name, hidden parameter, a parameter whose value text
// gives no values, a bad span) whose text starts with "vary".
KOVA_PROBLEM kova_sweep_axis(const KOVA_SESSION& session, const std::string& text, bool random,
                             KOVA_SWEEP_AXIS& axis);

// The plan of a sweep. Enumerated (random unset): the product of the
// axes of vary, at least one. Random: random configurations of the axes
// of vary, or without vary of every parameter whose value text is a list
// or range (the others keep their defaults). A problem as the axes give
// it, also when there is nothing to vary or the product does not fit in
// 64 bits (a limit).
KOVA_PROBLEM kova_sweep_plan(const KOVA_SESSION& session, const std::vector<std::string>& vary,
                             std::optional<std::uint64_t> random, std::uint64_t seed, KOVA_SWEEP_PLAN& plan);

// The settings of configuration index (index < plan.count), one per axis
// in axis order.
std::vector<KOVA_SETTING> kova_sweep_configuration(const KOVA_SWEEP_PLAN& plan, std::uint64_t index);

// The generator of random draws: splitmix64's step (add the golden
// ratio constant, then its mixing function). Portable: the same bits on
// every platform and library.
std::uint64_t kova_splitmix64(std::uint64_t x);
// The draw of axis for configuration index: a function of the three alone.
std::uint64_t kova_sweep_draw(std::uint64_t seed, std::uint64_t index, std::uint64_t axis);

// Shard I of N takes the configurations whose index is I modulo N.
struct KOVA_SHARD {
    std::uint64_t index = 0, count = 1;
};
// "I/N" with 0 <= I < N; else a usage problem whose text starts with "shard".
KOVA_PROBLEM kova_parse_shard(const std::string& text, KOVA_SHARD& shard);
// How many of total configurations the shard takes; at most limit when
// one is given (the first of them, in index order).
std::uint64_t kova_shard_size(const KOVA_SHARD& shard, std::uint64_t total,
                              std::optional<std::uint64_t> limit = std::nullopt);
// The sweep index of the shard's item j (j < kova_shard_size).
std::uint64_t kova_shard_index(const KOVA_SHARD& shard, std::uint64_t j);

#endif
