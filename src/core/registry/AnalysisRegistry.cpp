#include "registry/AnalysisRegistry.h"

#include "analysis/ActivityHistogram.h"
#include "analysis/ActivitySeries.h"
#include "analysis/EnergyTraces.h"
#include "analysis/ZoneStatistics.h"
#include "hazard/BValue.h"
#include "hazard/HazardAnalysis.h"
#include "hazard/MMaxComparison.h"
#include "hazard/TimeVariations.h"
#include "hazard/ZoneBValue.h"
#include "spatial/HazardMap.h"

namespace zorv {

namespace {

using P = AnalysisParameters;
using S = SampleSelection;

template <class T>
std::unique_ptr<Database> periodSeries(const AnalysisRun& r) {
    return std::make_unique<T>(r.settings, r.sample, r.request.period, r.progress);
}

template <class T>
std::unique_ptr<Database> classSeries(const AnalysisRun& r) {
    return std::make_unique<T>(r.settings, r.sample, r.request.period, r.request.maxClass, r.progress);
}

template <class T>
std::unique_ptr<Database> zoneSeries(const AnalysisRun& r) {
    return std::make_unique<T>(r.settings, r.sample, r.request.zones, r.progress);
}

std::unique_ptr<Database> bChanges(const AnalysisRun& r) {
    return std::make_unique<DBBChanges>(r.settings, r.sample, r.request.period, r.progress,
                                        r.request.bStatistics);
}

std::unique_ptr<Database> zoneB(const AnalysisRun& r) {
    return std::make_unique<DBZoneBChanges>(r.settings, r.sample, r.request.zones, r.progress,
                                            r.request.bStatistics);
}

std::unique_ptr<Database> histogram(const AnalysisRun& r) {
    return std::make_unique<ActivityHistogram>(r.settings, r.sample, r.progress);
}

std::unique_ptr<Database> energyTraces(const AnalysisRun& r) {
    return std::make_unique<DBEnergiaSladow>(r.settings, r.sample, r.request.traceThreshold,
                                             r.request.dischargeThreshold, r.progress);
}

std::unique_ptr<Database> zoneActivity(const AnalysisRun& r) {
    return std::make_unique<DBZoneActivity>(r.settings, r.sample, r.request.zones, r.request.energyClasses,
                                            r.request.maxClass, r.progress);
}

// The cache settles h and MMax; without one the run estimates both afresh.
std::unique_ptr<Database> nonParametric(const AnalysisRun& r) {
    HazardCache fresh;
    return RunNonParametricHazard(r.settings, r.sample, r.request.nonParametric, r.cache ? *r.cache : fresh,
                                  r.progress);
}

template <class T>
std::unique_ptr<Database> parametric(const AnalysisRun& r) {
    return std::make_unique<T>(r.settings, r.sample, r.request.parametric, r.progress);
}

std::unique_ptr<Database> timeVariations(const AnalysisRun& r) {
    return std::make_unique<TimeVariations>(r.settings, r.sample, r.request.timeVariations, r.progress);
}

std::unique_ptr<Database> mmaxComparison(const AnalysisRun& r) {
    return std::make_unique<MMaxComparison>(r.settings, r.sample, r.progress);
}

std::unique_ptr<Database> backtest(const AnalysisRun& r) {
    return std::make_unique<Backtest>(r.settings, r.sample, r.request.backtest, r.progress);
}

std::unique_ptr<Database> hazardMap(const AnalysisRun& r) {
    return std::make_unique<HazardMap>(r.settings, r.sample, r.request.hazardMap, r.progress);
}

const char* const kRange = "--start/--end/--step";

using K = ChartKind;

// clang-format off
const AnalysisEntry kEntries[] = {
    {"activity", "aktywność sejsmiczna w klasach energii", "--period, --classes",
     "mSeisActivity", 1, "Aktywność sejsmiczna w klasach energii", K::ActivityInClasses, P::Period, S::Filtered,
     classSeries<DBActivity>},
    {"cumulative-activity", "skumulowana aktywność sejsmiczna w klasach energii", "--period, --classes",
     "mCSeisActivity", 2, "Skumulowana aktywność sejsmiczna w klasach energii", K::CumulativeActivityInClasses, P::Period, S::Filtered,
     classSeries<DBActivityC>},
    {"energy", "energia wyzwolona w okresach", "--period",
     "mEnReleased", 3, "Energia wyzwolona", K::EnergyReleased, P::Period, S::Filtered, periodSeries<DBBarEnReleased>},
    {"cumulative-energy", "skumulowana energia wyzwolona", "--period",
     "mCEnReleased", 4, "Skumulowana energia wyzwolona", K::CumulativeEnergyReleased, P::Period, S::Filtered,
     periodSeries<DBBarEnReleasedC>},
    {"daily-energy", "energia wyzwolona w dniach (ciągły)", "--period",
     "mLEnReleased", 5, "Energia wyzwolona", K::EnergyReleasedLine, P::Period, S::Filtered, periodSeries<DBLineEnReleased>},
    {"cumulative-daily-energy", "skumulowana energia wyzwolona w dniach (wykres Benioffa)", "--period",
     "mCLEnReleased", 6, "Wykres Benioffa", K::Benioff, P::Period, S::Filtered, periodSeries<DBLineEnReleasedC>},
    {"total-activity", "aktywność sejsmiczna (zjawiska od 1000 J) i energia", "--period",
     "mTotalActivity", 7, "Aktywność sejsmiczna", K::TotalActivity, P::Period, S::Filtered, periodSeries<DBTotalActivity>},
    {"cumulative-total-activity", "skumulowana aktywność sejsmiczna", "--period",
     "mCTotalActivity", 8, "Skumulowana aktywność sejsmiczna", K::CumulativeTotalActivity, P::Period, S::Filtered,
     periodSeries<DBTotalActivityC>},
    {"over-threshold", "liczba zjawisk powyżej progu kompletności", "--period, --mmin",
     "mActivityOverTreshold", 9, "Aktywność powyżej progu kompletności katalogu", K::ActivityOverThreshold, P::Period, S::Filtered,
     periodSeries<ActivityOverTreshold>},
    {"cumulative-over-threshold", "skumulowana liczba zjawisk powyżej progu kompletności", "--period, --mmin",
     "mCActivityOverTreshold", 12, "Skumulowana aktywność powyżej progu kompletności katalogu", K::CumulativeActivityOverThreshold, P::Period,
     S::Filtered, periodSeries<DBActivityOverTresholdC>},
    {"histogram", "wykres powtarzalności (klasy magnitudy 0,25)", "",
     "mHistogram", 0, "", K::Histogram, P::None, S::Filtered, histogram},
    {"energy-traces", "energia śladów", "--trace-threshold, --discharge-threshold",
     "mEnergiaSladow", 11, "Energia śladów", K::EnergyTraces, P::EnergyTraces, S::Filtered, energyTraces},
    {"zone-total-activity", "aktywność sejsmiczna w strefach", "--zones",
     "mZoneTotalActivity", 1, "", K::ZoneTotalActivity, P::Zones, S::Filtered, zoneSeries<DBZoneTotalActivity>},
    {"zone-energy", "energia wyzwolona w strefach", "--zones",
     "mZoneEnergyReleased", 2, "", K::ZoneEnergyReleased, P::Zones, S::Filtered, zoneSeries<DBZoneEnergyReleased>},
    {"zone-over-threshold", "aktywność powyżej progu kompletności w strefach", "--zones, --mmin",
     "mZoneActivityOverTreshold", 4, "", K::ZoneActivityOverThreshold, P::Zones, S::Filtered, zoneSeries<DBZoneActivityOverTreshold>},
    {"zone-activity", "aktywność sejsmiczna w strefach (cały katalog)", "--zones, --energy-classes",
     "mZoneActivity", 0, "Aktywność w strefach", K::ZoneActivity, P::ZoneActivity, S::WholeCatalogue, zoneActivity},
    {"np-hazard", "hazard sejsmiczny (nieparametryczny)",
     "--start/--end/--step, --magnitude, --time-unit, --silverman, --alt-h, --variable-upper-limit",
     "mHazard", 1, "", K::Hazard, P::NonParametric, S::Filtered, nonParametric},
    {"np-return-period", "średni okres powrotu (nieparametryczny)",
     "--start/--end/--step, --time-unit, --silverman, --alt-h, --variable-upper-limit",
     "mMeanReturnPeriod", 2, "", K::MeanReturnPeriod, P::NonParametric, S::Filtered, nonParametric},
    {"np-smoothing", "współczynnik gładkości Silvermana (tabela LSCV)", kRange,
     "mSmoothingFactor", 3, "", K::SmoothingFactor, P::NonParametric, S::Filtered, nonParametric},
    {"np-hazard-magnitude", "hazard w funkcji magnitudy (nieparametryczny)",
     "--start/--end/--step, --duration, --time-unit, --silverman, --alt-h, --variable-upper-limit",
     "mHazardVsMagnitude", 4, "", K::HazardVsMagnitude, P::NonParametric, S::Filtered, nonParametric},
    {"np-density", "funkcje gęstości, dystrybuanta rozkładu (nieparametryczne)",
     "--start/--end/--step, --functions, --silverman, --alt-h, --variable-upper-limit",
     "mPDFest", 5, "", K::Density, P::NonParametric, S::Filtered, nonParametric},
    {"p-hazard", "parametryczny hazard sejsmiczny w okresie D",
     "--start/--end/--step, --magnitude, --time-unit, --fixed-upper-limit",
     "mParamHazard", 0, "", K::ParametricHazard, P::Parametric, S::Filtered, parametric<PHazard>},
    {"p-return-period", "parametryczny średni okres powrotu", "--start/--end/--step, --time-unit",
     "mParamMRP", 1, "", K::ParametricReturnPeriod, P::Parametric, S::Filtered, parametric<PMeanReturnPeriod>},
    {"p-hazard-magnitude", "parametryczny hazard w funkcji magnitudy",
     "--start/--end/--step, --duration, --time-unit",
     "mParamHazardVsMagnitudy", 2, "", K::ParametricHazardVsMagnitude, P::Parametric, S::Filtered, parametric<PHazardVsMagnitude>},
    {"p-density", "parametryczna funkcja gęstości rozkładu magnitudy", kRange,
     "mParamPDF", 3, "", K::ParametricDensity, P::Parametric, S::Filtered, parametric<PPDF>},
    {"p-cdf", "parametryczna dystrybuanta rozkładu magnitudy", kRange,
     "mParamCDF", 4, "", K::ParametricDistribution, P::Parametric, S::Filtered, parametric<PCDF>},
    {"b-changes", "zmiana współczynnika b w okresach", "--period, --mmin, --b-stats, --b-aki",
     "mBChanges", 10, "Zmiany współczynnika b", K::BChanges, P::Period, S::Filtered, bChanges},
    {"zone-b", "estymator współczynnika b w strefach", "--zones, --mmin, --b-stats, --b-aki",
     "mZoneB", 3, "", K::ZoneB, P::Zones, S::Filtered, zoneB},
    {"time-variations", "zmienność hazardu parametrycznego w czasie (okno przesuwne)",
     "--window, --window-step, --min-events, --magnitude, --duration, --return-magnitude, --time-unit, --mc",
     "mShowAll", 10, "", K::TimeVariations, P::TimeVariations, S::Filtered, timeVariations},
    {"mmax-compare", "maksymalna magnituda — porównanie estymatorów", "--mmin",
     "mMMaxCompare", 0, "", K::MMaxComparison, P::None, S::Filtered, mmaxComparison},
    {"backtest", "weryfikacja prognoz hazardu (wynik Briera, niezawodność, test liczby zjawisk)",
     "--magnitude, --horizon, --window",
     "mBacktest", 0, "", K::Reliability, P::Backtest, S::Filtered, backtest},
    {"hazard-map", "mapa zagrożenia: siatka nad planem, wielkości w węzłach",
     "--quantity, --cell, --box, --sampling, --nearest, --radius, --max-radius, --min-events, --mc, --magnitude, --duration, --before, --after",
     "mHazardMap", 0, "Mapa zagrożenia", K::HazardMap, P::HazardMap, S::Filtered, hazardMap},
};
// clang-format on

}  // namespace

std::span<const AnalysisEntry> analysisRegistry() { return kEntries; }

const AnalysisEntry* findAnalysis(std::string_view name) {
    for (const AnalysisEntry& e : kEntries)
        if (name == e.name) return &e;
    return nullptr;
}

// Further commands that start an analysis of the list, told apart by their
// tag: the density tables preselecting one function, the time-variation
// entries preselecting one chart.
struct ActionAlias {
    const char* action;
    int tag;
    const char* name;
};
const ActionAlias kAliases[] = {
    {"mPDFest_adapt", 6, "np-density"},   {"mCDFest_adapt", 7, "np-density"},
    {"mtvMMaxEst", 1, "time-variations"}, {"mtvHazard", 3, "time-variations"},
    {"mtvMRP", 4, "time-variations"},     {"mtvBeta", 5, "time-variations"},
};

const AnalysisEntry* findAnalysisByAction(std::string_view action, int tag) {
    for (const AnalysisEntry& e : kEntries)
        if (action == e.action && tag == e.tag) return &e;
    for (const ActionAlias& a : kAliases)
        if (action == a.action && tag == a.tag) return findAnalysis(a.name);
    return nullptr;
}

std::vector<AnalysisAction> analysisActions() {
    std::vector<AnalysisAction> out;
    for (const AnalysisEntry& e : kEntries) out.push_back({e.action, e.tag, &e});
    for (const ActionAlias& a : kAliases) out.push_back({a.action, a.tag, findAnalysis(a.name)});
    return out;
}

}  // namespace zorv
