#include "hazard/ParametricTables.h"

#include <cmath>

#include "analysis/Periods.h"
#include "base/AnalysisError.h"

namespace zorv {

ParametricTable::ParametricTable(const AnalysisSettings& settings, Table* dataset,
                                 const ParametricRequest& request, Progress* progress)
    : ParametricHazard(settings, dataset, request.timeUnit, request.variableUpperLimit, progress),
      values(request.values),
      start(request.start),
      step(request.step),
      end(request.end) {
    // A sample of less than three days has no length in the calendar
    // arithmetic of the time units, and so no activity rate.
    if (!(timeUnitCount > 0.0)) throw ESamplePeriodTooShort();
    seriesValues = values;
    RunBootstrap(request.bootstrap);
}

void ParametricTable::AddValueField(FieldDefs& fields, std::vector<std::string>& masked,
                                    const std::string& name) const {
    std::vector<std::string> names{name};
    if (bands) {
        names.push_back(BandFieldName(name, false));
        names.push_back(BandFieldName(name, true));
    }
    for (const std::string& n : names) {
        fields.emplace_back(n, FieldType::Float);
        masked.push_back(n);
    }
}

void ParametricTable::PushValue(std::vector<Value>& row, double value,
                                const std::function<double(const ParametricModel&)>& quantity) const {
    row.push_back(Value::real(value));
    if (!bands) return;
    const Band band = bands->of(quantity);
    for (double v : {band.lower, band.upper}) row.push_back(std::isfinite(v) ? Value::real(v) : Value{});
}

Table& ParametricTable::CreateTable(const FieldDefs& fields,
                                    const std::vector<std::string>& probabilityFields) {
    Table& t = CreateResultTable(fields, {"Energia"});
    for (const std::string& name : probabilityFields)
        t.setDisplayFormat(t.requireField(name), settings_.ProbabilityMask);
    return t;
}

template <class Row>
void ParametricTable::Fill(bool magnitudeRange, Row&& row) {
    if (start == -1.0 || step == -1.0 || end == -1.0) {
        if (magnitudeRange) {
            start = smallestObserved;
            end = mMaxEst;
            step = 0.01;
        } else {
            start = 0.0;
            end = 12.0;
            step = 0.2;
        }
    }
    if (!(step > 0.0)) throw AnalysisError("Krok zmiennej tabeli musi być większy od zera");
    constexpr double scale = 10.0;
    StartProgress("Tworzenie tabeli danych...", static_cast<int>(std::trunc(scale * start)),
                  static_cast<int>(std::trunc(scale * end)));
    // The variable is accumulated by repeated addition, as the user's step
    // reads.
    for (double v = start; v <= end; v += step) {
        row(v);
        SetProgressPosition(static_cast<int>(std::trunc(scale * v)));
        CheckCancel();
    }
    resultTable->first();
    HideProgress();
}

PHazard::PHazard(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
                 Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FieldDefs fields{{"Okres", FieldType::Float}};
    std::vector<std::string> masked;
    for (std::size_t k = 0; k < values.size(); ++k)
        AddValueField(fields, masked, "m" + std::to_string(k + 1));
    Table& t = CreateTable(fields, masked);
    title = "Parametryczny hazard sejsmiczny";
    leftAxisTitle = "Prawdopodobieństwo";
    bottomAxisTitle = periodAxisCaption(unit == TimeUnit::Months ? PeriodKind::Months : PeriodKind::Quarters);
    Fill(false, [&](double D) {
        std::vector<Value> row{Value{}, Value::real(D)};
        for (double m : values)
            PushValue(row, Hazard(m, D), [m, D](const ParametricModel& r) { return r.hazard(m, D); });
        t.appendRecord(row);
    });
}

PMeanReturnPeriod::PMeanReturnPeriod(const AnalysisSettings& settings, Table* dataset,
                                     const ParametricRequest& request, Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FieldDefs fields{{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    std::vector<std::string> masked;
    AddValueField(fields, masked, "MRP");
    // The return period keeps its own display format.
    Table& t = CreateTable(fields, {"Magnituda"});
    title = "Parametryczny średni okres powrotu";
    bottomAxisTitle = "Energia";
    leftAxisTitle = ReturnPeriodAxisTitle(unit);
    Fill(true, [&](double m) {
        if (m < smallestObserved || m > mMaxEst) return;
        std::vector<Value> row{Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        PushValue(row, MeanReturnPeriod(m), [m](const ParametricModel& r) { return r.returnPeriod(m); });
        t.appendRecord(row);
    });
}

PHazardVsMagnitude::PHazardVsMagnitude(const AnalysisSettings& settings, Table* dataset,
                                       const ParametricRequest& request, Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FieldDefs fields{{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    std::vector<std::string> masked{"Magnituda"};
    for (std::size_t k = 0; k < values.size(); ++k)
        AddValueField(fields, masked, "D" + std::to_string(k + 1));
    Table& t = CreateTable(fields, masked);
    title = "Parametryczny Hazard vs Magnitudy";
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Prawdopodobieństwo";
    Fill(true, [&](double m) {
        std::vector<Value> row{Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        for (double D : values)
            PushValue(row, Hazard(m, D), [m, D](const ParametricModel& r) { return r.hazard(m, D); });
        t.appendRecord(row);
    });
}

void ParametricTable::FillLawTable(Law law, const char* field, const char* title_) {
    FieldDefs fields{{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    std::vector<std::string> masked{"Magnituda"};
    AddValueField(fields, masked, field);
    Table& t = CreateTable(fields, masked);
    title = title_;
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Częstość względna";
    const bool density = law == Law::Density;
    Fill(true, [&](double m) {
        std::vector<Value> row{Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        PushValue(row, density ? Density(m, mMin, mMaxEst, beta) : Cdf(m, mMin, mMaxEst, beta),
                  [m, density](const ParametricModel& r) { return density ? r.density(m) : r.cdf(m); });
        t.appendRecord(row);
    });
}

PPDF::PPDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
           Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FillLawTable(Law::Density, "ParamPDF",
                 "Parametryczna funkcja gęstości prawdopodobieństwa rozkładu magnitudy");
}

PCDF::PCDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
           Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FillLawTable(Law::Distribution, "ParamCDF", "Parametryczna dystrybuanta rozkładu magnitudy");
}

}  // namespace zorv
