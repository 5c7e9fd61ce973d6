// Chart windows on a catalogue of 1,000,000 events over 30 years: the
// monthly activity chart (360 periods, seven class bars and the energy), the
// daily-energy line chart (about 11,000 days) and its zoom, and a template
// applied to a chart. Each opening is measured from the finished analysis to
// the first picture of the window (build and render). The chart pictures:
// every type written to a file from the quarterly activity chart (120
// periods) and from the daily-energy chart, both at 450 × 327 px, the chart
// of a window of the default GraphWidth × GraphHeight.
//
//   QT_QPA_PLATFORM=offscreen build/bench/chart_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "BenchSettings.h"
#include "MillionEvents.h"
#include "analysis/ActivitySeries.h"
#include "analysis/DBBase.h"
#include "charts/AnalysisChart.h"
#include "charts/ChartPicture.h"
#include "charts/ChartTemplateQt.h"

namespace zorv {
namespace {

AnalysisSettings settings() { return bench::sampleSettings(); }

// The analysis with the sample it reads, made once.
template <class T>
std::shared_ptr<Database> analysis(PeriodKind kind) {
    struct Holder {
        std::unique_ptr<Table> sample;
        std::unique_ptr<Database> analysis;
    };
    auto h = std::make_shared<Holder>();
    int counter = 1;
    h->sample = CopyCatalogueForAnalysis(millionEvents(), settings(), counter);
    if constexpr (std::is_same_v<T, DBActivity>)
        h->analysis = std::make_unique<DBActivity>(settings(), h->sample.get(), kind, 9);
    else
        h->analysis = std::make_unique<T>(settings(), h->sample.get(), kind);
    return std::shared_ptr<Database>(h, h->analysis.get());
}

std::unique_ptr<AnalysisChart> openChart(const std::shared_ptr<Database>& a, int kind) {
    auto w = std::make_unique<AnalysisChart>(a, settings(), static_cast<ChartKind>(kind), QString());
    w->resize(900, 600);
    w->build();
    w->setupZoom({});
    return w;
}

void MonthlyActivityChart(benchmark::State& state) {
    const auto a = analysis<DBActivity>(PeriodKind::Months);
    for (auto _ : state) {
        auto w = openChart(a, 0);
        benchmark::DoNotOptimize(w->grab());
    }
    state.counters["periods"] = static_cast<double>(a->GetTable()->recordCount());
}
BENCHMARK(MonthlyActivityChart)->Unit(benchmark::kMillisecond);

void DailyEnergyChart(benchmark::State& state) {
    const auto a = analysis<DBLineEnReleased>(PeriodKind::Months);
    for (auto _ : state) {
        auto w = openChart(a, 4);
        benchmark::DoNotOptimize(w->grab());
    }
    state.counters["days"] = static_cast<double>(a->GetTable()->recordCount());
}
BENCHMARK(DailyEnergyChart)->Unit(benchmark::kMillisecond);

// One zoom step: a tenth of the time axis, then back, each drawn.
void DailyEnergyZoom(benchmark::State& state) {
    const auto a = analysis<DBLineEnReleased>(PeriodKind::Months);
    auto w = openChart(a, 4);
    const QCPRange full = w->chart()->xAxis->range();
    bool in = false;
    for (auto _ : state) {
        in = !in;
        w->chart()->xAxis->setRange(in ? QCPRange(full.lower, full.lower + full.size() / 10) : full);
        w->chart()->replot(QCustomPlot::rpImmediateRefresh);
        benchmark::DoNotOptimize(w->chart()->toPixmap(900, 560));
    }
}
BENCHMARK(DailyEnergyZoom)->Unit(benchmark::kMillisecond);

void TemplateApply(benchmark::State& state) {
    const auto a = analysis<DBActivity>(PeriodKind::Quarters);
    auto w = openChart(a, 0);
    auto other = openChart(a, 0);
    setSeriesColour(*other, 3, 0x123456);
    other->gradientVisible = true;
    const ChartTemplate t = captureTemplate(*other);
    for (auto _ : state) applyTemplate(*w, t);
}
BENCHMARK(TemplateApply)->Unit(benchmark::kMillisecond);

void exportPicture(benchmark::State& state, int kind, PeriodKind period) {
    const auto type = static_cast<PictureType>(state.range(0));
    const auto a = kind == 0 ? analysis<DBActivity>(period) : analysis<DBLineEnReleased>(period);
    auto w = openChart(a, kind);
    w->chart()->resize(450, 327);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("wykres") + pictureExtension(type));
    for (auto _ : state) writeChartPicture(*w->chart(), file, type, 100);
    state.SetLabel(pictureExtension(type).toStdString());
}
void QuarterlyActivityPicture(benchmark::State& state) { exportPicture(state, 0, PeriodKind::Quarters); }
void DailyEnergyPicture(benchmark::State& state) { exportPicture(state, 4, PeriodKind::Months); }
BENCHMARK(QuarterlyActivityPicture)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(DailyEnergyPicture)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

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
