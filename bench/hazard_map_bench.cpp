// Hazard maps: 1,000,000 located events (the sample model over 1976–2005,
// the unlocated ones left out by the location filter), 100 × 100 nodes, the
// 200 nearest events (Rmax unlimited, so that every node of the square grid
// over the longwalls has its 200 events and its estimate): the count, Mc
// and b map, the parametric and the nonparametric hazard map; and every map kind of the
// bundled sample catalogue (default grid of about 50 nodes a side). Each run
// also measures the longest gap between two turns of the progress window
// (goal: under 100 ms).
//
//   flock /tmp/zorv-build.lock build/bench/hazard_map_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "SampleCatalogue.h"
#include "base/Progress.h"
#include "files/TableFiles.h"
#include "spatial/HazardMap.h"

namespace zorv {
namespace {

using Clock = std::chrono::steady_clock;
using Q = MapQuantity;

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

Table& millionLocated() {
    static Table t = [] {
        sample::SampleOptions o;
        o.firstYear = 1976;
        o.lastYear = 2005;
        // About one event in ten has no location.
        o.expectedEvents = 1.111e6;
        return sample::makeSampleCatalogue(o);
    }();
    return t;
}

Table& sampleCatalogue() {
    static const std::unique_ptr<Table> t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    return *t;
}

// MMin 1.3 as the sample catalogue's hazard runs use; the million-event
// hazard maps take every event from 0.3 (the catalogue's smallest), so that
// each node's estimator runs on its 200 events rather than on the ~20 of
// them from 1.3.
AnalysisSettings mapSettings(double mMin = 1.3) {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.MMin = mMin;
    return s;
}

// 100 × 100 nodes over the located events' extent.
HazardMapParameters millionMap(std::vector<Q> quantities) {
    Table& t = millionLocated();
    const Column& x = t.column(t.requireField("X"));
    const Column& y = t.column(t.requireField("Y"));
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (std::size_t r = 0; r < t.physicalCount(); ++r) {
        if (x.numberAt(r) == 0) continue;
        x0 = std::min(x0, x.numberAt(r));
        x1 = std::max(x1, x.numberAt(r));
        y0 = std::min(y0, y.numberAt(r));
        y1 = std::max(y1, y.numberAt(r));
    }
    HazardMapParameters p;
    p.quantities = std::move(quantities);
    const double cell = std::max(x1 - x0, y1 - y0) / 99.0;
    p.grid.box = MapBox{x0, y0, x0 + 99.0 * cell, y0 + 99.0 * cell};
    p.grid.cellSize = cell;
    p.sampling = {SamplingKind::Nearest, 0.0, 200, 0.0, 50};
    p.locationExpression = "X<>0";
    return p;
}

void run(benchmark::State& state, Table& t, const HazardMapParameters& p, double mMin = 1.3) {
    GapProgress progress;
    double longest = 0.0;
    std::size_t nodes = 0, located = 0, valued = 0;
    for (auto _ : state) {
        progress.restart();
        const HazardMap map(mapSettings(mMin), &t, p, &progress);
        benchmark::DoNotOptimize(map.Nodes().data());
        longest = std::max(longest, progress.longestMs());
        nodes = map.Grid().size();
        located = static_cast<std::size_t>(map.LocatedEvents());
        const std::vector<double> v = *map.ColumnValues(map.ValueColumns().front());
        valued = static_cast<std::size_t>(std::count_if(v.begin(), v.end(), [](double x) { return x == x; }));
    }
    state.counters["gap_ms"] = longest;
    state.SetLabel(std::to_string(located) + " events, " + std::to_string(nodes) + " nodes, " +
                   std::to_string(valued) + " with a value");
}

void BM_MillionCountMcB(benchmark::State& state) {
    run(state, millionLocated(), millionMap({Q::Count, Q::Rate, Q::Mc, Q::BValue}));
}
BENCHMARK(BM_MillionCountMcB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MillionParametricHazard(benchmark::State& state) {
    HazardMapParameters p = millionMap({Q::Hazard, Q::ReturnPeriod, Q::MMaxParametric});
    p.threshold = MapThreshold::MMin;
    run(state, millionLocated(), p, 0.3);
}
BENCHMARK(BM_MillionParametricHazard)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_MillionNonParametricHazard(benchmark::State& state) {
    HazardMapParameters p = millionMap({Q::NpHazard, Q::NpReturnPeriod, Q::MMaxNonParametric});
    p.threshold = MapThreshold::MMin;
    run(state, millionLocated(), p, 0.3);
}
BENCHMARK(BM_MillionNonParametricHazard)->Unit(benchmark::kMillisecond)->Iterations(1);

// One map kind per argument: 0 count/rate/energy, 1 Mc, 2 b and b-positive
// and a, 3 parametric, 4 nonparametric, 5 the change map.
void BM_SampleMap(benchmark::State& state) {
    HazardMapParameters p;
    p.locationExpression = "X<>0";
    switch (state.range(0)) {
        case 0: p.quantities = {Q::Count, Q::Rate, Q::Energy, Q::LogEnergy}; break;
        case 1: p.quantities = {Q::Mc}; break;
        case 2: p.quantities = {Q::BValue, Q::BPositive, Q::AValue}; break;
        case 3: p.quantities = {Q::MMaxParametric, Q::Hazard, Q::ReturnPeriod}; break;
        case 4: p.quantities = {Q::MMaxNonParametric, Q::NpHazard, Q::NpReturnPeriod}; break;
        default:
            p.before = DayPeriod{36526, 37621};  // 2000–2002
            p.after = DayPeriod{37622, 38717};   // 2003–2005
    }
    run(state, sampleCatalogue(), p);
}
BENCHMARK(BM_SampleMap)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();
