// The completeness magnitude of the bundled sample catalogue (19,838 events)
// by all four methods (six estimates) with 200 bootstrap resamples, from the
// magnitudes read off the catalogue table to the spread of every estimate;
// and the estimates alone, without the bootstrap; the same at 10,000,000
// events.
//
//   flock /tmp/zorv-build.lock build/bench/completeness_bench

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "files/TableFiles.h"
#include "hazard/CompletenessTable.h"

namespace zorv {
namespace {

Table& sampleCatalogue() {
    static const std::unique_ptr<Table> t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    return *t;
}

void BM_CompletenessWithBootstrap(benchmark::State& state) {
    Table& t = sampleCatalogue();
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    McOptions o;
    o.bootstrapResamples = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const CompletenessTable analysis(s, &t, o, allMcMethods());
        benchmark::DoNotOptimize(analysis.Result().estimates.back().sigma);
    }
    state.SetLabel("n = " + std::to_string(t.recordCount()));
}
BENCHMARK(BM_CompletenessWithBootstrap)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond);

// The estimators and their 200 bootstrap resamples on 10,000,000 magnitudes
// (b = 1 from 0, detected with the probability Φ((m − 0.9)/0.1), given to
// 0.01): each resample is a multinomial draw of the bin counts, so it costs
// the bins, not the events (92 s with event-by-event resamples).
void BM_CompletenessTenMillionEvents(benchmark::State& state) {
    static const std::vector<double> m = [] {
        std::mt19937_64 g(5);
        std::uniform_real_distribution<double> u(0, 1);
        std::vector<double> v;
        v.reserve(10000000);
        while (v.size() < 10000000) {
            const double x = -std::log10(1.0 - u(g));
            if (u(g) < 0.5 * std::erfc(-(x - 0.9) / (0.1 * std::sqrt(2.0))))
                v.push_back(std::round(x * 100) / 100);
        }
        return v;
    }();
    McOptions o;
    o.bootstrapResamples = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const CompletenessResult r = estimateCompleteness(m, o, allMcMethods());
        benchmark::DoNotOptimize(r.estimates.back().sigma);
    }
}
BENCHMARK(BM_CompletenessTenMillionEvents)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
