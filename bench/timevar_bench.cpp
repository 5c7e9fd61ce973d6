// Time variations of the parametric hazard on the bundled sample catalogue
// (about 20,000 events 2000–2005, complete from 1.3): windows of 300 days by
// 25 days (the dialog's defaults, 76 windows), and by 1 day for the worst
// case of the dialog's limits (1891 windows); each with and without the
// completeness magnitude of every window (maximum curvature + 0.2, and the
// Kolmogorov–Smirnov test, the dearest of the point estimates).
//
//   flock /tmp/zorv-build.lock build/bench/timevar_bench

#include <benchmark/benchmark.h>

#include "BenchSettings.h"
#include "SampleCatalogue.h"
#include "hazard/TimeVariations.h"

namespace zorv {
namespace {

using bench::sampleCatalogue;

AnalysisSettings settings() { return bench::sampleSettings(false); }

// range(1): 0 without Mc, 1 with maximum curvature + 0.2, 2 with the
// Kolmogorov–Smirnov test.
void TimeVariationsOnSample(benchmark::State& state) {
    Table copy = sampleCatalogue().copyView();
    TimeVariationsParameters p;
    p.windowStep = static_cast<int>(state.range(0));
    p.completeness.enabled = state.range(1) > 0;
    p.completeness.method =
        state.range(1) == 2 ? McMethod::KolmogorovSmirnov : McMethod::MaxCurvatureCorrected;
    int windows = 0;
    for (auto _ : state) {
        TimeVariations tv(settings(), &copy, p);
        windows = tv.WindowsWritten();
        benchmark::DoNotOptimize(tv.GetTable()->recordCount());
    }
    state.counters["events"] = static_cast<double>(copy.recordCount());
    state.counters["windows"] = windows;
}
BENCHMARK(TimeVariationsOnSample)
    ->ArgsProduct({{25, 1}, {0, 1, 2}})
    ->ArgNames({"step", "mc"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
