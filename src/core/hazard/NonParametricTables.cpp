#include "hazard/NonParametricTables.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/AnalysisError.h"
#include "report/ReportWriter.h"

namespace zorv {

namespace {

// A progress position: trunc(s·v), kept inside the range of int.
int progressUnits(double scaled) {
    constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    if (!(scaled > lo)) return std::numeric_limits<int>::min();
    if (!(scaled < hi)) return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(scaled));
}

// Calls row(v) for v = start, start + step, … while v <= end, v accumulated by
// repeated addition; the progress shows trunc(scale·v) on the scaled range.
template <class Row>
void StepTable(DBDialogs& a, const TableRange& r, double scale, Row row) {
    a.StartProgress("Tworzenie tabeli danych...", progressUnits(scale * r.start),
                    progressUnits(scale * r.end));
    for (double v = r.start; v <= r.end; v += r.step) {
        row(v);
        a.SetProgressPosition(progressUnits(scale * v));
        if (a.IsCancelled()) throw EBreakProcess();
    }
}

TableRange MagnitudeRange(TableRange range, const NonParametricHazard& a) {
    if (range.automatic()) range = {a.SmallestObserved(), a.MMaxEst(), 0.01};
    CheckTableRange(range);
    return range;
}

void CheckCount(std::size_t count, const char* message) {
    if (count < 1 || count > 4) throw AnalysisError(message);
}

std::string Numbered(const char* prefix, std::size_t k) { return prefix + std::to_string(k + 1); }

// The values StepTable steps through, accumulated as it accumulates them.
std::vector<double> StepValues(const TableRange& r) {
    std::vector<double> out;
    for (double v = r.start; v <= r.end; v += r.step) out.push_back(v);
    return out;
}

}  // namespace

void CheckTableRange(const TableRange& range) {
    if (!(range.step > 0.0) || !std::isfinite(range.step))
        throw AnalysisError("Krok tabeli musi być liczbą większą od zera");
    if (!std::isfinite(range.start) || !std::isfinite(range.end))
        throw AnalysisError("Początek i koniec zakresu tabeli muszą być liczbami skończonymi");
    // A step below the spacing of doubles at the range would never move v.
    if ((range.end - range.start) / range.step > kMaxTableRows || range.start + range.step == range.start)
        throw AnalysisError("Krok tabeli jest zbyt mały w stosunku do zakresu (ponad milion wierszy)");
}

std::string ProbabilitiesTitle(std::uint8_t functions) {
    const bool density = functions & DensityFunction;
    const bool adaptive = functions & AdaptiveDensityFunction;
    const bool cdf = functions & AdaptiveDistribution;
    std::string title = density && adaptive   ? "Funkcje gęstości"
                        : density || adaptive ? "Funkcja gęstości"
                                              : "";
    if (cdf) title += title.empty() ? "Dystrybuanta" : " i Dystrybuanta";
    return title;
}

Hazard::Hazard(const AnalysisSettings& settings, Table* dataset, TimeUnit unit,
               const EstimateRequest& request, TableRange r, const std::vector<double>& magnitudes,
               Progress* progress)
    : Hrds(settings, dataset, unit, request, progress), range(r) {
    CheckCount(magnitudes.size(), "Wybierz od jednej do czterech magnitud");
    seriesValues = magnitudes;
    if (range.automatic()) range = {0.0, 12.0, 0.2};
    CheckTableRange(range);
    title = "Hazard sejsmiczny";
    leftAxisTitle = "Prawdopodobieństwo";
    bottomAxisTitle = timeUnitName(unit);
    RunBootstrap(request, magnitudes);
    FieldDefs fields = {{"Okres", FieldType::Float}};
    for (std::size_t k = 0; k < magnitudes.size(); ++k) AddValueField(fields, Numbered("m", k));
    Table& t = CreateResultTable(fields);
    for (int f = 2; f < t.fieldCount(); ++f) t.setDisplayFormat(f, settings_.ProbabilityMask);
    StepTable(*this, range, 10.0, [&](double d) {
        std::vector<Value> record = {Value{}, Value::real(d)};
        for (std::size_t k = 0; k < magnitudes.size(); ++k)
            PushValue(record, HazardAt(magnitudes[k], d),
                      [k, d](const NonParametricReplicate& r) { return r.hazard(k, d); });
        t.appendRecord(record);
    });
    t.first();
    HideProgress();
}

MeanReturnPeriod::MeanReturnPeriod(const AnalysisSettings& settings, Table* dataset, TimeUnit unit,
                                   const EstimateRequest& request, TableRange r, Progress* progress)
    : Hrds(settings, dataset, unit, request, progress), range(MagnitudeRange(r, *this)) {
    title = "Średni okres powrotu";
    bottomAxisTitle = "Energia";
    leftAxisTitle = ReturnPeriodAxisTitle(unit);
    std::vector<double> steps;
    if (request.bootstrap.enabled) steps = StepValues(range);
    RunBootstrap(request, steps);
    FieldDefs fields{{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    AddValueField(fields, "MRP");
    Table& t = CreateResultTable(fields, {"Energia"});
    t.setDisplayFormat(t.fieldIndex("Magnituda"), settings_.ProbabilityMask);
    std::size_t step = 0;
    StepTable(*this, range, 100.0, [&](double m) {
        const std::size_t k = step++;
        if (m < smallestObserved || m > mMaxEst) return;
        std::vector<Value> record{Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        PushValue(record, MeanReturnPeriodAt(m),
                  [k](const NonParametricReplicate& r) { return r.returnPeriod(k); });
        t.appendRecord(record);
    });
    t.first();
    HideProgress();
}

HazardVsMagnitude::HazardVsMagnitude(const AnalysisSettings& settings, Table* dataset, TimeUnit unit,
                                     const EstimateRequest& request, TableRange r,
                                     const std::vector<double>& periods, Progress* progress)
    : Hrds(settings, dataset, unit, request, progress) {
    CheckCount(periods.size(), "Wybierz od jednego do czterech okresów");
    seriesValues = periods;
    range = MagnitudeRange(r, *this);
    title = "Hazard vs magnituda";
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Prawdopodobieństwo";
    std::vector<double> steps;
    if (request.bootstrap.enabled) steps = StepValues(range);
    RunBootstrap(request, steps);
    FieldDefs fields = {{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    for (std::size_t k = 0; k < periods.size(); ++k) AddValueField(fields, Numbered("D", k));
    Table& t = CreateResultTable(fields, {"Energia"});
    t.setDisplayFormat(t.fieldIndex("Magnituda"), settings_.ProbabilityMask);
    for (int f = 3; f < t.fieldCount(); ++f) t.setDisplayFormat(f, settings_.ProbabilityMask);
    std::size_t step = 0;
    StepTable(*this, range, 100.0, [&](double m) {
        const std::size_t k = step++;
        std::vector<Value> record = {Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        for (const double d : periods)
            PushValue(record, HazardAt(m, d),
                      [k, d](const NonParametricReplicate& r) { return r.hazard(k, d); });
        t.appendRecord(record);
    });
    t.first();
    HideProgress();
}

Probabilities::Probabilities(const AnalysisSettings& settings, Table* dataset, const EstimateRequest& request,
                             TableRange r, std::uint8_t functionFlags, Progress* progress)
    : NonParametricBandTable(settings, dataset, request.h, request.mMax,
                             {0, 0, static_cast<std::uint8_t>(request.variableUpperLimit ? 1 : 0)}, progress),
      functions(functionFlags & (DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution)) {
    if (functions == 0) throw AnalysisError("Wybierz co najmniej jedną funkcję");
    range = MagnitudeRange(r, *this);
    title = ProbabilitiesTitle(functions);
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Częstość względna";
    if (request.bootstrap.enabled) {
        NonParametricBootstrapRequest r;
        r.magnitudes = StepValues(range);
        r.densities = true;
        RunBands(request.bootstrap, request.searchH, std::move(r));
    }
    FieldDefs fields = {{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    if (functions & DensityFunction) AddValueField(fields, "pdf_est");
    if (functions & AdaptiveDensityFunction) AddValueField(fields, "pdf_est_adapt");
    if (functions & AdaptiveDistribution) AddValueField(fields, "cdf_est_adapt");
    Table& t = CreateResultTable(fields, {"Energia"});
    for (int f = 1; f < t.fieldCount(); ++f)
        if (t.field(f).name != "Energia") t.setDisplayFormat(f, settings_.ProbabilityMask);
    std::size_t step = 0;
    StepTable(*this, range, 100.0, [&](double m) {
        const std::size_t k = step++;
        std::vector<Value> record = {Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        if (functions & DensityFunction)
            PushValue(record, KernelDensity(m),
                      [k](const NonParametricReplicate& r) { return r.kernelDensity[k]; });
        if (functions & AdaptiveDensityFunction)
            PushValue(record, AdaptiveKernelDensity(m),
                      [k](const NonParametricReplicate& r) { return r.density[k]; });
        // Truncated at the smallest observed magnitude, not at MMin.
        if (functions & AdaptiveDistribution)
            PushValue(record, AdaptiveKernelCdf(m, smallestObserved, mMaxEst),
                      [k](const NonParametricReplicate& r) { return r.cdf[k]; });
        t.appendRecord(record);
    });
    t.first();
    HideProgress();
}

bool Probabilities::WriteReport(ReportLines& lines) {
    WriteNonParametricParameters(*this, lines, GetTitle());
    WriteBandLines(lines, true, nullptr);
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv
