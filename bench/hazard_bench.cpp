// The nonparametric hazard chain on truncated Gutenberg–Richter samples
// (b = 1, MMin = 1.0, Mmax = 4.5, continuous magnitudes, fixed seed) of
// 1,000, 5,000 and 20,000 events: the smoothing-factor search, the adaptive
// kernel, the maximum-magnitude estimate and the whole chain (also with the
// default hazard table, and on the magnitudes rounded to 0.01), and, for
// comparison, one evaluation of the cross-validation function and derivative
// by plain double loops over all pairs (a search needs 5 to 9 of them).
//
//   flock /tmp/zorv-build.lock build/bench/hazard_bench

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <random>

#include "SampleCatalogue.h"
#include "hazard/HazardErrors.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/NonParametricTables.h"

namespace zorv {
namespace {

std::vector<double> grSample(std::size_t n, std::uint64_t seed) {
    return sample::truncatedGutenbergRichterSample(n, seed, 1.0, 4.5);
}

const Table& catalogue(std::size_t n) {
    static std::map<std::size_t, Table> tables;
    auto it = tables.find(n);
    if (it == tables.end()) {
        Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
        const std::vector<double> m = grSample(n, 20240611 + n);
        for (std::size_t i = 0; i < n; ++i)
            t.appendRecord({Value::date(40000 + static_cast<std::int32_t>(i / 10)), Value::real(m[i])});
        it = tables.emplace(n, std::move(t)).first;
    }
    return it->second;
}

// The same magnitudes rounded to 0.01, as catalogues give them: they tie,
// and the estimator spreads them over their rounding intervals first.
const Table& roundedCatalogue(std::size_t n) {
    static std::map<std::size_t, Table> tables;
    auto it = tables.find(n);
    if (it == tables.end()) {
        Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
        const std::vector<double> m = grSample(n, 20240611 + n);
        for (std::size_t i = 0; i < n; ++i)
            t.appendRecord({Value::date(40000 + static_cast<std::int32_t>(i / 10)),
                            Value::real(std::round(m[i] * 100.0) / 100.0)});
        it = tables.emplace(n, std::move(t)).first;
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

Table& sample(benchmark::State& state) {
    return const_cast<Table&>(catalogue(static_cast<std::size_t>(state.range(0))));
}

// The search as the estimator runs it (each Newton step one pass over the
// pairs for the function and its derivative), with the adaptive kernel that
// every construction builds; the maximum magnitude is given.
void SmoothingFactorSearch(benchmark::State& state) {
    Table& t = sample(state);
    for (auto _ : state) {
        Estimate e(settings(), &t, -1.0, 5.0, {0, 0, 0}, nullptr);
        state.counters["h"] = e.SmoothingFactor();
    }
}

void AdaptiveKernel(benchmark::State& state) {
    Table& t = sample(state);
    for (auto _ : state) {
        Estimate e(settings(), &t, 0.01, 5.0, {0, 0, 0}, nullptr);
        benchmark::DoNotOptimize(e.GeometricMeanDensity());
    }
}

void MaximumMagnitude(benchmark::State& state, bool variable) {
    Table& t = sample(state);
    for (auto _ : state) {
        // The variable upper limit need not converge; a failed estimate is
        // timed as well.
        try {
            Estimate e(settings(), &t, 0.01, -1.0, {0, 0, static_cast<std::uint8_t>(variable)}, nullptr);
            state.counters["MMaxEst"] = e.MMaxEst();
        } catch (const AnalysisError& e) {
            state.SetLabel(e.what());
        }
    }
}

void WholeChain(benchmark::State& state) {
    Table& t = sample(state);
    for (auto _ : state) {
        Estimate e(settings(), &t, -1.0, -1.0, {0, 0, 0}, nullptr);
        state.counters["h"] = e.SmoothingFactor();
        state.counters["MMaxEst"] = e.MMaxEst();
    }
}

void WholeChainRoundedMagnitudes(benchmark::State& state) {
    Table& t = const_cast<Table&>(roundedCatalogue(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        Estimate e(settings(), &t, -1.0, -1.0, {0, 0, 0}, nullptr);
        state.counters["h"] = e.SmoothingFactor();
        state.counters["MMaxEst"] = e.MMaxEst();
        state.counters["ties"] = static_cast<double>(e.TiedMagnitudes());
    }
}

// The chain as the hazard command runs it: the search, the adaptive kernel,
// the maximum magnitude and the default table of the hazard of magnitude 3
// by months.
void WholeChainWithTable(benchmark::State& state) {
    Table& t = sample(state);
    for (auto _ : state) {
        Hazard e(settings(), &t, TimeUnit::Months, EstimateRequest{}, TableRange{}, {3.0}, nullptr);
        state.counters["rows"] = static_cast<double>(e.GetTable()->recordCount());
    }
}

// One evaluation of the cross-validation function and its derivative as two
// plain double loops over all pairs (the form of the defining formulas).
void PlainLscvEvaluation(benchmark::State& state) {
    const std::vector<double> x = grSample(static_cast<std::size_t>(state.range(0)), 7);
    const double h = 0.2;
    for (auto _ : state) {
        const double n = static_cast<double>(x.size());
        double f = n * (2.0 - 1.0 / std::sqrt(2.0)) - 2.0 * n, d = 0.0;
        for (std::size_t i = 0; i + 1 < x.size(); ++i)
            for (std::size_t j = i + 1; j < x.size(); ++j) {
                const double t = (x[j] - x[i]) * (x[j] - x[i]) / (h * h);
                f += 2.0 * ((0.5 * t - 1.0) * (1.0 / std::sqrt(2.0)) * std::exp(-0.25 * t) -
                            2.0 * (t - 1.0) * std::exp(-0.5 * t));
            }
        for (std::size_t i = 0; i + 1 < x.size(); ++i)
            for (std::size_t j = i + 1; j < x.size(); ++j) {
                const double dd = (x[j] - x[i]) * (x[j] - x[i]);
                const double t = dd / (h * h);
                d += (2.0 / (h * h * h)) *
                     ((1.0 / std::sqrt(2.0)) * (0.25 * dd * dd / (h * h) - 1.5 * dd) * std::exp(-0.25 * t) -
                      2.0 * (dd * dd / (h * h) - 3.0 * dd) * std::exp(-0.5 * t));
            }
        benchmark::DoNotOptimize(f);
        benchmark::DoNotOptimize(d);
    }
}

void FastLscvEvaluation(benchmark::State& state) {
    Table& t = sample(state);
    Estimate e(settings(), &t, -1.0, -1.0, {0, 0, 0}, nullptr, Estimate::Construction::SampleOnly);
    double h = 0.2;
    for (auto _ : state) {
        h = std::nextafter(h, 1.0);  // a new h each time: no cached value
        benchmark::DoNotOptimize(e.LscvDerivative(h));
    }
}

BENCHMARK(SmoothingFactorSearch)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(AdaptiveKernel)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MaximumMagnitude, fixed, false)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MaximumMagnitude, variable, true)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WholeChain)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeChainRoundedMagnitudes)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeChainWithTable)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(FastLscvEvaluation)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLscvEvaluation)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
