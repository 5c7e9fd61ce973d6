#include "hazard/Hrds.h"

#include <algorithm>
#include <cmath>

#include "report/ReportWriter.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

Hrds::Hrds(const AnalysisSettings& settings, Table* dataset, TimeUnit unit, const EstimateRequest& request,
           Progress* progress)
    : NonParametricBandTable(settings, dataset, request.h, request.mMax,
                             {0, 0, static_cast<std::uint8_t>(request.variableUpperLimit ? 1 : 0)}, progress),
      unit(unit) {
    timeUnitCountValue = requirePositiveTimeUnitCount(lastDate - firstDate, unit);
    activityRate = static_cast<double>(SampleSize()) / timeUnitCountValue;
}

double Hrds::HazardAt(double m, double d) const {
    const double survival = std::max(0.0, 1.0 - AdaptiveKernelCdf(m, mMin, mMaxEst));
    // −expm1 keeps the small probabilities of short periods exact.
    return -std::expm1(-activityRate * d * survival);
}

double Hrds::MeanReturnPeriodAt(double m) const {
    const double survival = 1.0 - AdaptiveKernelCdf(m, mMin, mMaxEst);
    if (!(survival > 0.0)) return 0.0;
    return 1.0 / (survival * activityRate);
}

void WriteNonParametricParameters(const NonParametricHazard& a, ReportLines& lines,
                                  const std::string& heading) {
    const Locale& loc = a.settings().UserLocale;
    WriteReportOpening(a, lines, heading);
    WriteCommonParameters(a, lines, 3);
    lines.push_back(ReportLabel("Wielkość próby:") + std::to_string(a.SampleSize()));
    a.WriteResolutionLines(lines);
    lines.push_back(ReportLabel("Minimalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(a, a.SmallestObserved()));
    lines.push_back(ReportLabel("Maksymalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(a, a.LargestObserved()));
    lines.push_back(ReportLabel("Maksymalna magnituda estymowana:") + FormatMagnitudeEnergy(a, a.MMaxEst()));
    // Five decimals, as the alternative h is given: a cross-validated h is
    // often below 0.01.
    lines.push_back(ReportLabel("Użyty współczynnik gładkości:") +
                    formatMask(a.SmoothingFactor(), "0.00000", loc));
}

bool Hrds::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    WriteNonParametricParameters(*this, lines, GetTitle());
    const bool months = unit == TimeUnit::Months;
    lines.push_back(ReportLabel(months ? "Ilość miesięcy:" : "Ilość kwartałów:") +
                    formatMask(timeUnitCountValue, "0.0", loc));
    lines.push_back(ReportLabel(months ? "Średnia aktywność/miesiąc:" : "Średnia aktywność/kwartał:") +
                    formatMask(activityRate, "0.000", loc) + " zdarzeń");
    WriteBandLines(
        lines, true,
        months ? "    Średnia aktywność/miesiąc        " : "    Średnia aktywność/kwartał        ");
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

void Hrds::RunBootstrap(const EstimateRequest& request, const std::vector<double>& magnitudes) {
    NonParametricBootstrapRequest r;
    r.timeUnits = timeUnitCountValue;
    r.magnitudes = magnitudes;
    RunBands(request.bootstrap, request.searchH, std::move(r));
}

}  // namespace zorv
