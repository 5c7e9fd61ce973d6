// How long a hazard run goes without giving the progress window a chance to
// repaint and to see "Anuluj": the longest time between two calls of the
// progress that turn the event loop (start, setPosition and the cancel
// polls), during the
// whole nonparametric chain at n = 20,000 (mean return period, automatic
// range) and during the time variations of the sample catalogue with a
// window step of one day. Goal: under 100 ms.
//
//   build/bench/progress_gap_bench

#include <benchmark/benchmark.h>

#include <chrono>

#include "SampleCatalogue.h"
#include "base/Progress.h"
#include "files/TableFiles.h"
#include "hazard/HazardAnalysis.h"
#include "hazard/TimeVariations.h"

namespace zorv {
namespace {

using Clock = std::chrono::steady_clock;

// Records the longest gap [ms] between two turns of the event loop.
class GapProgress : public Progress {
public:
    void start(const std::string&, int, int) override { turn(); }
    void setRange(int, int) override {}
    void setPosition(int) override { turn(); }
    void hide() override { turn(); }
    bool isCancelled() const override {
        turn();
        return false;
    }
    bool confirm(const std::string&) override { return true; }
    double longestMs() const { return longest_; }
    void restart() {
        last_ = Clock::now();
        longest_ = 0.0;
    }

private:
    void turn() const {
        const auto now = Clock::now();
        longest_ = std::max(longest_, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }
    mutable Clock::time_point last_ = Clock::now();
    mutable double longest_ = 0.0;
};

Table grCatalogue(std::size_t n) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    const std::vector<double> m = sample::truncatedGutenbergRichterSample(n, 20240611 + n, 1.0, 4.5);
    for (std::size_t i = 0; i < n; ++i)
        t.appendRecord({Value::date(40000 + static_cast<std::int32_t>(i / 10)), Value::real(m[i])});
    return t;
}

void NonParametricChain(benchmark::State& state) {
    Table t = grCatalogue(20000);
    AnalysisSettings s;
    s.MMin = 1.0;
    HazardParameters p;
    p.kind = HazardKind::MeanReturnPeriod;
    double longest = 0.0;
    for (auto _ : state) {
        HazardCache cache;
        GapProgress gap;
        gap.restart();
        auto a = RunNonParametricHazard(s, &t, p, cache, &gap);
        gap.setPosition(0);
        longest = std::max(longest, gap.longestMs());
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(NonParametricChain)->Unit(benchmark::kMillisecond)->Iterations(3);

void TimeVariationsStepOne(benchmark::State& state) {
    auto t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    AnalysisSettings s;
    TimeVariationsParameters p;
    p.windowStep = 1;
    p.hazardChart = true;
    double longest = 0.0;
    for (auto _ : state) {
        GapProgress gap;
        gap.restart();
        TimeVariations tv(s, t.get(), p, &gap);
        gap.setPosition(0);
        longest = std::max(longest, gap.longestMs());
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(TimeVariationsStepOne)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
