#pragma once
// Percentile bootstrap confidence bands of the hazard estimates (B. Efron and
// R. J. Tibshirani, An Introduction to the Bootstrap, Chapman & Hall 1993,
// chapters 6 and 13). Each replicate is a catalogue drawn from the sample's
// events with replacement; the estimator runs again on it, and the band of a
// value is the pair of empirical quantiles of its replicate values at
// (1 − level)/2 and (1 + level)/2 (linear interpolation between the order
// statistics, R's default "type 7" rule).
//
// The Poisson uncertainty of the activity rate: a replicate's number of
// events is itself drawn from Poisson(n), n the events of the sample, and
// that many events are then drawn with replacement; its rate is that count
// over the (fixed) span of the sample. The replicate is so the bootstrap of a
// Poisson process observed over the span, and the rate's band carries the
// counting error on top of the magnitudes' sampling error.
//
// Every replicate draws from its own random stream, seeded from the master
// seed and the replicate's index (SplitMix64), and writes its own result
// slot, so the bands do not depend on the number of threads nor on which
// thread ran which replicate.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorv {

// "Przedział ufności": off by default.
struct BootstrapOptions {
    bool enabled = false;
    int replicates = 200;  // B
    double level = 0.90;   // confidence level, strictly between 0 and 1
    std::uint64_t seed = 20261209;
    int threads = 0;  // 0: every core
};

inline constexpr int kMinReplicates = 20;
inline constexpr int kMaxReplicates = 10000;
inline constexpr double kMinLevel = 0.5;
inline constexpr double kMaxLevel = 0.999;

// The message refusing B or a level outside the limits above, or nullopt
// (always nullopt when the option is off).
std::optional<std::string> BootstrapProblem(const BootstrapOptions& options);

// The random stream of one replicate.
std::mt19937_64 ReplicateStream(std::uint64_t seed, int replicate);

// The record indices of one replicate: a count drawn from Poisson(n), each
// index uniform on [0, n).
std::vector<std::uint32_t> ResampleIndices(std::mt19937_64& stream, std::size_t n);

// A value's band; NaN when no replicate gave a value.
struct Band {
    double lower = std::numeric_limits<double>::quiet_NaN();
    double upper = std::numeric_limits<double>::quiet_NaN();
};

// The percentile band of the values (NaN entries, the replicates without a
// value, are left out; infinities take part in the order).
Band PercentileBand(std::vector<double> values, double level);

// The band of the maximum magnitude. No Mmax below the largest observed
// magnitude is possible for the sample, yet replicates that miss the largest
// events give such values: an end of the percentile band below the largest
// observed magnitude is raised to it. `raisedFrom` keeps the lower end the
// percentiles gave where it was raised (NaN otherwise).
struct MMaxBand {
    Band band;
    double raisedFrom = std::numeric_limits<double>::quiet_NaN();
};
MMaxBand BoundedMMaxBand(Band percentiles, double largestObserved);

// Runs replicate(k) for k = 0 … count − 1 on `threads` threads (0: every
// core), the calling thread among them. A replicate that throws anything
// but EBreakProcess is counted as failed: ok[k] is 0. `step` runs on the
// calling thread after each of its replicates with the number finished so
// far; when it throws (the cancel of the progress window), or a replicate
// throws EBreakProcess, the other threads stop after their current replicate
// and the failure passes on. A long replicate polls `stop` (true once the
// run is being stopped) and may then throw EBreakProcess.
struct ReplicateRun {
    std::vector<char> ok;
    int failed = 0;
};
using StopTest = std::function<bool()>;
ReplicateRun RunReplicates(int count, int threads, const std::function<void(int, const StopTest&)>& replicate,
                           const std::function<void(int)>& step);

// The names of a value column's band columns: the base name, shortened to
// seven characters where it is longer (by a fixed table for the density
// columns, else cut), with "_lo" or "_hi" - within the ten characters of a
// dBase field name.
std::string BandFieldName(const std::string& base, bool upper);

}  // namespace zorv
