// The statistics analyses on a catalogue of 1,000,000 events over 30 years:
// the copy of the filtered catalogue into the frozen sample, a monthly
// activity series (360 periods) and the recurrence graph.
//
//   build/bench/analysis_bench

#include <benchmark/benchmark.h>

#include "BenchSettings.h"
#include "MillionEvents.h"
#include "analysis/ActivityHistogram.h"
#include "analysis/ActivitySeries.h"
#include "analysis/DBBase.h"

namespace zorv {
namespace {

AnalysisSettings settings() { return bench::sampleSettings(); }

void CopyForAnalysis(benchmark::State& state) {
    const Table& t = millionEvents();
    int counter = 1;
    for (auto _ : state) benchmark::DoNotOptimize(CopyCatalogueForAnalysis(t, settings(), counter));
    state.counters["events"] = static_cast<double>(t.recordCount());
}
BENCHMARK(CopyForAnalysis)->Unit(benchmark::kMillisecond);

void MonthlyActivity(benchmark::State& state) {
    int counter = 1;
    auto sample = CopyCatalogueForAnalysis(millionEvents(), settings(), counter);
    for (auto _ : state) {
        DBActivity a(settings(), sample.get(), PeriodKind::Months, 9);
        benchmark::DoNotOptimize(a.GetTable()->recordCount());
        state.counters["periods"] = static_cast<double>(a.GetTable()->recordCount());
    }
}
BENCHMARK(MonthlyActivity)->Unit(benchmark::kMillisecond);

void RecurrenceGraph(benchmark::State& state) {
    int counter = 1;
    auto sample = CopyCatalogueForAnalysis(millionEvents(), settings(), counter);
    for (auto _ : state) {
        ActivityHistogram h(settings(), sample.get());
        benchmark::DoNotOptimize(h.GetTable()->recordCount());
    }
}
BENCHMARK(RecurrenceGraph)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
