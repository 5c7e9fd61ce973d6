// The hazard map on the bundled sample catalogue from its parameters to the
// first picture of every map window: the map computed, then each drawn
// column built as its window builds it (900 × 600 px) and rendered. One map
// kind per argument: 0 count/rate/energy/log-energy, 1 Mc, 2 b, b-positive
// and a, 3 parametric, 4 nonparametric, 5 the change map. The label gives
// the number of windows drawn.
//
//   QT_QPA_PLATFORM=offscreen build/bench/map_chart_bench

#include <benchmark/benchmark.h>

#include <QApplication>

#include "charts/AnalysisChart.h"
#include "charts/MapCharts.h"
#include "files/TableFiles.h"
#include "spatial/HazardMap.h"

namespace zorv {
namespace {

using Q = MapQuantity;

Table& sampleCatalogue() {
    static const std::unique_ptr<Table> t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    return *t;
}

AnalysisSettings mapSettings() {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.MMin = 1.3;
    return s;
}

void SampleMapWindows(benchmark::State& state) {
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
    std::size_t windows = 0;
    for (auto _ : state) {
        auto map = std::make_shared<HazardMap>(mapSettings(), &sampleCatalogue(), p);
        windows = 0;
        for (const std::string& column : mapChartColumns(*map)) {
            AnalysisChart w(map, mapSettings(), ChartKind::HazardMap, QString());
            w.resize(900, 600);
            w.buildMap(column);
            benchmark::DoNotOptimize(w.grab());
            ++windows;
        }
    }
    state.SetLabel(std::to_string(windows) + " windows");
}
BENCHMARK(SampleMapWindows)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
