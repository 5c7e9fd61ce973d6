#include "analysis/EnergyTraces.h"

#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

DBEnergiaSladow::DBEnergiaSladow(const AnalysisSettings& settings, Table* dataset, double traceThreshold_,
                                 double dischargeThreshold_, Progress* progress)
    : DBSeries(settings, dataset, PeriodKind::WholeSpan, progress),
      traceThreshold(traceThreshold_),
      dischargeThreshold(dischargeThreshold_) {
    CreateResultTable(
        {{"Okres", FieldType::String, 20}, {"X", FieldType::Integer}, {"Energia", FieldType::Float}},
        {"Energia"});
    title = heading = "Energia Sladow";
    bottomAxisTitle = periodAxisCaption(PeriodKind::WholeSpan);
    leftAxisTitle = rightAxisTitle = "Energia skumulowana";
    SetPeriod(PeriodKind::WholeSpan, 0, 0);
    if (!hasData) return;

    const std::size_t n = dataset_->recordCount();
    StartProgress("Analiza bazy danych", 0, static_cast<int>(n));
    auto append = [&](std::int32_t day, double energy) {
        resultTable->appendRecord(
            {Value{}, Value::text(periodLabel), Value::integer(day), Value::real(energy)});
    };
    double acc = 0.0;
    std::int32_t previousDay = DayOfRecord(0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t row = dataset_->rowOfRecord(i);
        const std::int32_t day = DayOfRow(row);
        const double e = ReadEnergy(row);
        if ((i & 0x3FF) == 0) CheckCancel();
        if (e <= traceThreshold) {
            // The row at a change of day carries what built up before it.
            if (day != previousDay) {
                append(day, acc);
                SetProgressPosition(static_cast<int>(i + 1));
            }
            acc += e;
        }
        if (e >= dischargeThreshold) {
            append(day, acc);
            append(day, 0.0);
            acc = 0.0;
        }
        previousDay = day;
    }
    if (acc > 0.0) append(DayOfRecord(n - 1), acc);
    resultTable->first();
    HideProgress();
}

bool DBEnergiaSladow::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    WriteReportOpening(*this, lines, heading);
    lines.push_back(ReportLabel("Prog energii śladów:") + formatMask(traceThreshold, "0", loc) + " [J]");
    lines.push_back(ReportLabel("Prog energii rozladowania:") + formatMask(dischargeThreshold, "0", loc) +
                    " [J]");
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv
