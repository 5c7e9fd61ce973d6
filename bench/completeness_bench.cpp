// The completeness magnitude of the bundled sample catalogue (19,838 events)
// by all four methods (six estimates) with 200 bootstrap resamples, from the
// magnitudes read off the catalogue table to the spread of every estimate;
// and the estimates alone, without the bootstrap.
//
//   flock /tmp/zorv-build.lock build/bench/completeness_bench

#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
