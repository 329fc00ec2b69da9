// The configurations of a sweep: the product of the values of some
// parameters (or ports), random configurations drawn from a seed, or the
// corners of the parameters (sweep_corners.cpp), each computed from its
// index alone, so that any share of the sweep (a shard) is computed
// without the rest.
//
// Enumeration order: the first varied name changes slowest, the last
// fastest, as nested loops in the order the names are given.
#ifndef KOVA_SWEEP_H
#define KOVA_SWEEP_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "session/batch.h"
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

// A corner configuration: (axis, value) for each axis set away from its
// default, in axis order.
using KOVA_SWEEP_CORNER = std::vector<std::pair<std::size_t, std::string>>;

struct KOVA_SWEEP_PLAN {
    std::vector<KOVA_SWEEP_AXIS> axes;
    bool random = false;
    std::uint64_t seed = 0;   // random draws only
    std::uint64_t count = 0;  // configurations of the whole sweep
    // Random draws only: an invalid draw is repaired, or drawn again
    // (session/sweep_valid.cpp).
    bool valid_only = false;
    // Corners only: configuration k sets what corners[k] holds; every
    // other axis stays unset, at its default.
    std::vector<KOVA_SWEEP_CORNER> corners;
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

// The corners of the parameters (sweep_corners.cpp): all defaults; each
// parameter at its first and its last value (a list's first and last
// item, a range's bounds) with the rest at their defaults, parameter by
// parameter; every parameter at its first value together; every one at
// its last value together. A configuration equal to an earlier one is
// left out. The parameters are those of vary (NAME, NAME=V1|V2|...,
// NAME=LO..HI: the first and last value given), else every integer and
// string parameter the user sets whose value text is a list or a range;
// hidden parameters, macros and ports never take part (a port named in
// vary is a usage problem). The defaults are those of the description,
// whatever settings session holds; a parameter at its default is left
// unset in a configuration (the first one sets nothing).
KOVA_PROBLEM kova_sweep_corner_plan(const KOVA_SESSION& session, const std::vector<std::string>& vary,
                                    KOVA_SWEEP_PLAN& plan);

// The settings of configuration index (index < plan.count), one per axis
// in axis order (a corner's only those away from their defaults). Random draws
// take attempt as the number of the draw of that configuration, from 0:
// attempt a draws axis j as axis a * axes + j would be drawn.
std::vector<KOVA_SETTING> kova_sweep_configuration(const KOVA_SWEEP_PLAN& plan, std::uint64_t index,
                                                   std::uint64_t attempt = 0);

// The most draws of one configuration in valid-only random draws.
constexpr unsigned KOVA_SWEEP_MOST_DRAWS = 100;

// Validates configuration index of plan on session, a fresh copy of the
// loaded session (sweep_valid.cpp). The outcome's settings are the
// configuration validated. Valid-only random draws: an invalid draw is
// repaired by kova_fix with its default options; one the repair does not
// make valid is drawn again, up to KOVA_SWEEP_MOST_DRAWS draws in all,
// after which the outcome is an error; draws and repaired tell how it
// went. Depends on plan and index alone, never on other items.
KOVA_BATCH_OUTCOME kova_sweep_item(KOVA_SESSION& session, const KOVA_SWEEP_PLAN& plan, std::uint64_t index);

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
