// Bootstrap confidence bands on the sample catalogue (n = 7,766 events above
// MMin 1.3), B = 200 replicates at 90 %, on every core: the parametric hazard
// table (joint β–Mmax per replicate) and the nonparametric hazard table
// (cross-validated h, adaptive kernel and MMaxEst per replicate), the
// nonparametric density table (the same, and both densities and the
// distribution at each of its rows) and the smoothing-factor table (h only
// per replicate); the runs without the bands for comparison.
//
//   flock /tmp/zorv-build.lock build/bench/bootstrap_bench

#include <benchmark/benchmark.h>

#include "BenchSettings.h"
#include "SampleCatalogue.h"
#include "hazard/LSCV.h"
#include "hazard/NonParametricTables.h"
#include "hazard/ParametricTables.h"

namespace zorv {
namespace {

using bench::sampleCatalogue;

AnalysisSettings settings() { return bench::sampleSettings(false); }

BootstrapOptions bands(bool on) {
    BootstrapOptions o;
    o.enabled = on;
    o.replicates = 200;
    return o;
}

void ParametricHazardTable(benchmark::State& state) {
    Table copy = sampleCatalogue().copyView();
    ParametricRequest r;
    r.values = {3.0};
    r.bootstrap = bands(state.range(0) != 0);
    int n = 0, failed = 0;
    for (auto _ : state) {
        PHazard h(settings(), &copy, r);
        n = h.SampleSize();
        failed = h.Bands() ? h.Bands()->failed : 0;
    }
    state.counters["n"] = n;
    state.counters["failed"] = failed;
}
BENCHMARK(ParametricHazardTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void NonParametricHazardTable(benchmark::State& state) {
    Table copy = sampleCatalogue().copyView();
    EstimateRequest r;
    r.bootstrap = bands(state.range(0) != 0);
    int n = 0, failed = 0;
    for (auto _ : state) {
        Hazard h(settings(), &copy, TimeUnit::Months, r, TableRange{}, {3.0});
        n = h.SampleSize();
        failed = h.Bands() ? h.Bands()->failed : 0;
    }
    state.counters["n"] = n;
    state.counters["failed"] = failed;
}
BENCHMARK(NonParametricHazardTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void NonParametricDensityTable(benchmark::State& state) {
    Table copy = sampleCatalogue().copyView();
    EstimateRequest r;
    r.bootstrap = bands(state.range(0) != 0);
    int n = 0, failed = 0, rows = 0;
    for (auto _ : state) {
        Probabilities p(settings(), &copy, r, TableRange{},
                        DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution);
        n = p.SampleSize();
        rows = static_cast<int>(p.GetTable()->recordCount());
        failed = p.Bands() ? p.Bands()->failed : 0;
    }
    state.counters["n"] = n;
    state.counters["rows"] = rows;
    state.counters["failed"] = failed;
}
BENCHMARK(NonParametricDensityTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void SmoothingFactorTable(benchmark::State& state) {
    Table copy = sampleCatalogue().copyView();
    int failed = 0;
    for (auto _ : state) {
        LSCV t(settings(), &copy, -1.0, -1.0, -1.0, nullptr, bands(state.range(0) != 0));
        failed = t.Bands() ? t.Bands()->failed : 0;
    }
    state.counters["failed"] = failed;
}
BENCHMARK(SmoothingFactorTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
