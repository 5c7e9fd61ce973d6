// The completeness analysis of `zorv-batch mc` on a catalogue file of the
// sample model (ZORV_BENCH_EVENTS events, 10,000,000 by default, about
// 950 MB), from the file to the estimates with their 200 bootstrap
// resamples: with every field loaded and the catalogue copied for the
// analysis (as the command ran before), and with only the magnitude, energy
// and date fields loaded and the analysis on the catalogue itself (as it
// runs now); both with the estimators of the resamples on every core. The
// file is written to /tmp before the runs and removed after them.
//
//   flock /tmp/zorv-build.lock build/bench/mc_catalogue_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "SampleCatalogue.h"
#include "analysis/DBBase.h"
#include "dbase/DbaseFile.h"
#include "hazard/CompletenessTable.h"

namespace {

using namespace zorv;

std::string dbaseFile;

AnalysisSettings settingsOf(const Table& t) {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.RecordCount = static_cast<std::int32_t>(t.physicalCount());
    return s;
}

void BM_McEveryFieldAndCopy(benchmark::State& state) {
    for (auto _ : state) {
        const Table catalogue = readDbase(dbaseFile);
        const AnalysisSettings s = settingsOf(catalogue);
        int copyCounter = 1;
        const std::unique_ptr<Table> sample = CopyCatalogueForAnalysis(catalogue, s, copyCounter);
        const CompletenessTable analysis(s, sample.get(), McOptions{}, allMcMethods());
        benchmark::DoNotOptimize(analysis.Result().estimates.back().sigma);
    }
}
BENCHMARK(BM_McEveryFieldAndCopy)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_McFieldsItReads(benchmark::State& state) {
    for (auto _ : state) {
        Table catalogue = readDbaseFields(dbaseFile, {"MAGNITUDA", "ENG", "DATA"});
        const CompletenessTable analysis(settingsOf(catalogue), &catalogue, McOptions{}, allMcMethods());
        benchmark::DoNotOptimize(analysis.Result().estimates.back().sigma);
    }
}
BENCHMARK(BM_McFieldsItReads)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    sample::SampleOptions o;
    o.firstYear = 1976;
    o.lastYear = 2005;
    const char* events = std::getenv("ZORV_BENCH_EVENTS");
    o.expectedEvents = events ? std::atof(events) : 1e7;
    dbaseFile = "/tmp/zorv-mc-bench-" + std::to_string(::getpid()) + ".dbf";
    writeDbase(sample::makeSampleCatalogue(o), dbaseFile);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(dbaseFile.c_str());
    return 0;
}
