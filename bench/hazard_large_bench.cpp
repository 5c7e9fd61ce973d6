// The nonparametric hazard chain (the smoothing-factor search, the adaptive
// kernel, the maximum magnitude) on large truncated Gutenberg–Richter
// samples (b = 1, MMin = 1.0, Mmax = 4.5, fixed seed) of 100,000 and
// 1,000,000 events, with continuous magnitudes and with magnitudes rounded
// to 0.01 (spread over their rounding intervals by the estimator first), and
// one evaluation of the cross-validation function and its derivative at
// h = 0.02. Each runs once: the figures are minutes before the cell sums.
//
//   flock /tmp/zorv-build.lock build/bench/hazard_large_bench

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>

#include "SampleCatalogue.h"
#include "hazard/NonParametricHazard.h"

namespace zorv {
namespace {

Table& catalogue(std::size_t n, bool rounded) {
    static std::map<std::pair<std::size_t, bool>, Table> tables;
    auto it = tables.find({n, rounded});
    if (it == tables.end()) {
        Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
        const std::vector<double> m = sample::truncatedGutenbergRichterSample(n, 20240611 + n, 1.0, 4.5);
        for (std::size_t i = 0; i < n; ++i)
            t.appendRecord({Value::date(40000 + static_cast<std::int32_t>(i / 1000)),
                            Value::real(rounded ? std::round(m[i] * 100.0) / 100.0 : m[i])});
        it = tables.emplace(std::make_pair(n, rounded), std::move(t)).first;
    }
    return it->second;
}

AnalysisSettings settings() {
    AnalysisSettings s;
    s.MMin = 1.0;
    s.WithProgress = false;
    return s;
}

class Estimate : public NonParametricHazard {
public:
    using NonParametricHazard::NonParametricHazard;
    bool WriteReport(ReportLines&) override { return false; }
};

void WholeChain(benchmark::State& state, bool rounded) {
    Table& t = catalogue(static_cast<std::size_t>(state.range(0)), rounded);
    for (auto _ : state) {
        Estimate e(settings(), &t, -1.0, -1.0, {0, 0, 0}, nullptr);
        state.counters["h"] = e.SmoothingFactor();
        state.counters["MMaxEst"] = e.MMaxEst();
    }
}

void LscvEvaluation(benchmark::State& state) {
    Table& t = catalogue(static_cast<std::size_t>(state.range(0)), false);
    Estimate e(settings(), &t, -1.0, -1.0, {0, 0, 0}, nullptr, Estimate::Construction::SampleOnly);
    double h = 0.02;
    for (auto _ : state) {
        h = std::nextafter(h, 1.0);  // a new h each time: no cached value
        benchmark::DoNotOptimize(e.LscvDerivative(h));
    }
}

BENCHMARK_CAPTURE(WholeChain, continuous, false)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeChain, rounded, true)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LscvEvaluation)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
