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
    for (std::size_t k = 0; k < values.size(); ++k) {
        fields.emplace_back("m" + std::to_string(k + 1), FieldType::Float);
        masked.push_back(fields.back().name);
    }
    Table& t = CreateTable(fields, masked);
    title = "Parametryczny hazard sejsmiczny";
    leftAxisTitle = "Prawdopodobieństwo";
    bottomAxisTitle = periodAxisCaption(unit == TimeUnit::Months ? PeriodKind::Months : PeriodKind::Quarters);
    Fill(false, [&](double D) {
        std::vector<Value> row{Value{}, Value::real(D)};
        for (double m : values) row.push_back(Value::real(Hazard(m, D)));
        t.appendRecord(row);
    });
}

PMeanReturnPeriod::PMeanReturnPeriod(const AnalysisSettings& settings, Table* dataset,
                                     const ParametricRequest& request, Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    Table& t = CreateTable(
        {{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}, {"MRP", FieldType::Float}},
        {"Magnituda"});
    title = "Parametryczny średni okres powrotu";
    bottomAxisTitle = "Energia";
    Fill(true, [&](double m) {
        if (m < smallestObserved || m > mMaxEst) return;
        t.appendRecord(
            {Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m)), Value::real(MeanReturnPeriod(m))});
    });
}

PHazardVsMagnitude::PHazardVsMagnitude(const AnalysisSettings& settings, Table* dataset,
                                       const ParametricRequest& request, Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    FieldDefs fields{{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}};
    std::vector<std::string> masked{"Magnituda"};
    for (std::size_t k = 0; k < values.size(); ++k) {
        fields.emplace_back("D" + std::to_string(k + 1), FieldType::Float);
        masked.push_back(fields.back().name);
    }
    Table& t = CreateTable(fields, masked);
    title = "Parametryczny Hazard vs Magnitudy";
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Prawdopodobieństwo";
    Fill(true, [&](double m) {
        std::vector<Value> row{Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m))};
        for (double D : values) row.push_back(Value::real(Hazard(m, D)));
        t.appendRecord(row);
    });
}

PPDF::PPDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
           Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    Table& t = CreateTable(
        {{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}, {"ParamPDF", FieldType::Float}},
        {"Magnituda", "ParamPDF"});
    title = "Parametryczna funkcja gęstości prawdopodobieństwa rozkładu magnitudy";
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Częstość względna";
    Fill(true, [&](double m) {
        t.appendRecord({Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m)),
                        Value::real(Density(m, mMin, mMaxEst, beta))});
    });
}

PCDF::PCDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
           Progress* progress)
    : ParametricTable(settings, dataset, request, progress) {
    Table& t = CreateTable(
        {{"Magnituda", FieldType::Float}, {"Energia", FieldType::Float}, {"ParamCDF", FieldType::Float}},
        {"Magnituda", "ParamCDF"});
    title = "Parametryczna funkcja gęstości prawdopodobieństwa rozkładu magnitudy";
    bottomAxisTitle = "Energia";
    leftAxisTitle = "Częstość względna";
    Fill(true, [&](double m) {
        t.appendRecord({Value{}, Value::real(m), Value::real(EnergyFromMagnitude(m)),
                        Value::real(Cdf(m, mMin, mMaxEst, beta))});
    });
}

}  // namespace zorv
