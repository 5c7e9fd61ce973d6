// The b-value series by months (360 periods) on a catalogue of 1,000,000
// events over 30 years, without (argument 0) and with (1) the b statistics:
// the Shi–Bolt error of every period, the Utsu test against the previous
// one and the statistics of the whole sample; and the zone b-values of the
// four departments with the Utsu test of each against the rest.
//
//   build/bench/bvalue_bench

#include <benchmark/benchmark.h>

#include "BenchSettings.h"
#include "MillionEvents.h"
#include "analysis/DBBase.h"
#include "hazard/BValue.h"
#include "hazard/ZoneBValue.h"

namespace zorv {
namespace {

AnalysisSettings settings() { return bench::sampleSettings(); }

BStatisticsOptions statistics(const benchmark::State& state) {
    BStatisticsOptions o;
    o.enabled = state.range(0) != 0;
    return o;
}

void MonthlyBSeries(benchmark::State& state) {
    int counter = 1;
    auto sample = CopyCatalogueForAnalysis(millionEvents(), settings(), counter);
    for (auto _ : state) {
        DBBChanges b(settings(), sample.get(), PeriodKind::Months, nullptr, statistics(state));
        benchmark::DoNotOptimize(b.GetTable()->recordCount());
        state.counters["periods"] = static_cast<double>(b.GetTable()->recordCount());
    }
    state.counters["events"] = static_cast<double>(sample->recordCount());
}
BENCHMARK(MonthlyBSeries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void ZoneBValues(benchmark::State& state) {
    int counter = 1;
    auto sample = CopyCatalogueForAnalysis(millionEvents(), settings(), counter);
    for (auto _ : state) {
        DBZoneBChanges z(settings(), sample.get(), {"G-1", "G-2", "G-3", "G-4"}, nullptr, statistics(state));
        benchmark::DoNotOptimize(z.GetTable()->recordCount());
    }
}
BENCHMARK(ZoneBValues)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
