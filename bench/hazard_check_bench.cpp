// The maximum-magnitude comparison (nine estimators) and the monthly
// verification of past forecasts over the six years of the sample catalogue
// (7,766 events above 1.3), whole past and a one-year window.
//
//   flock /tmp/zorv-build.lock build/bench/hazard_check_bench

#include <benchmark/benchmark.h>

#include "files/TableFiles.h"
#include "hazard/Backtest.h"
#include "hazard/MMaxComparison.h"

namespace zorv {
namespace {

void MaximumMagnitudeComparison(benchmark::State& state) {
    auto t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    AnalysisSettings s;
    for (auto _ : state) {
        MMaxComparison c(s, t.get());
        benchmark::DoNotOptimize(c.Rows().data());
    }
}
BENCHMARK(MaximumMagnitudeComparison)->Unit(benchmark::kMillisecond);

void MonthlyBacktest(benchmark::State& state) {
    auto t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    AnalysisSettings s;
    BacktestParameters p;
    p.horizonDays = 30;
    p.windowDays = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Backtest b(s, t.get(), p);
        benchmark::DoNotOptimize(b.Origins().data());
        state.counters["reestimations"] = b.Reestimations();
    }
}
BENCHMARK(MonthlyBacktest)->Arg(0)->Arg(365)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
