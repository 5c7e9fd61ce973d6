#include "hazard/ParametricHazard.h"

#include <cmath>
#include <numeric>

#include "hazard/BandText.h"
#include "hazard/HazardErrors.h"
#include "hazard/Numerics.h"
#include "hazard/ParametricBootstrap.h"
#include "report/ReportWriter.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {
constexpr double kLn10 = 2.30258509299404568402;

}  // namespace

double TruncatedExponentialCdf(double m, double a, double b, double beta, double cutoff) {
    if (m < a) return 0.0;
    if (m > cutoff) return 1.0;
    return -std::expm1(-beta * (m - a)) / -std::expm1(-beta * (b - a));
}

double TruncatedExponentialDensity(double m, double a, double b, double beta, double cutoff) {
    if (m < a || m > cutoff) return 0.0;
    return beta * std::exp(-beta * (m - a)) / -std::expm1(-beta * (b - a));
}

double SolveBeta(double meanExcess, double range, double beta0, double epsilon, int limit) {
    const auto g = [&](double b) { return 1.0 / b - range / std::expm1(range * b) - meanExcess; };
    // r²·exp(rβ)/(exp(rβ) − 1)² written as r²/(4 sinh²(rβ/2)), which does not
    // overflow for large rβ.
    const auto derivative = [&](double b) {
        const double s = std::sinh(0.5 * range * b);
        return range * range / (4.0 * s * s) - 1.0 / (b * b);
    };
    double x = beta0;
    for (int k = 1;; ++k) {
        const double d = derivative(x);
        if (d == 0.0) throw EDerivZero();
        const double next = x - g(x) / d;
        if (!std::isfinite(next)) throw EZeroNotFound();
        const double e = std::fabs(next) > 1.0 ? std::fabs((next - x) / next) : std::fabs(next - x);
        if (k > limit) throw ETooManyIterations();
        x = next;
        if (e > epsilon) continue;
        const double gx = g(x);
        if (!std::isfinite(gx)) throw EZeroNotFound();
        if (std::fabs(gx) > 100.0 * epsilon) continue;
        if (x < 0.0 || x > 100.0) throw EHFactorBelowZero();
        return x;
    }
}

ParametricHazard::ParametricHazard(const AnalysisSettings& settings, Table* dataset, TimeUnit unit_,
                                   bool variableUpperLimit_, Progress* progress)
    : HKernel(settings, dataset, progress), unit(unit_), variableUpperLimit(variableUpperLimit_) {
    if (SampleSize() < settings_.MinSampleSize) throw ESampleTooLow();
    EstimateJointly();
    // The b-value needs no activity rate; the tables refuse a span too short for one.
    timeUnitCount = zorv::timeUnitCount(lastDate - firstDate, unit);
    activityRate = timeUnitCount > 0.0 ? SampleSize() / timeUnitCount : 0.0;
}

ParametricHazard::ParametricHazard(const AnalysisSettings& settings, Progress* progress)
    : HKernel(settings, progress) {}

void ParametricHazard::EstimateJointly() {
    const int n = SampleSize();
    const double meanExcess = std::accumulate(x.begin(), x.end(), 0.0) / n - mMin;
    passes = 0;
    mMaxEst = 0.0;
    const JointEstimate e = EstimateBetaMMax(meanExcess, largestObserved, n, mMin, settings_,
                                             variableUpperLimit, [this] { CheckCancel(); });
    beta = e.beta;
    mMaxEst = e.mMax;
    passes = e.passes;
}

void ParametricHazard::RunBootstrap(const BootstrapOptions& options) {
    if (!options.enabled) return;
    StartProgress("Przedział ufności (bootstrap)...", 0, options.replicates);
    bands =
        BootstrapParametric(x, mMin, timeUnitCount, settings_, variableUpperLimit, options, [this](int done) {
            SetProgressPosition(done);
            CheckCancel();
        });
    HideProgress();
}

ParametricModel ParametricHazard::Model() const { return {mMin, beta, mMaxEst, activityRate}; }

double ParametricHazard::BValue() const { return beta / kLn10; }

double ParametricHazard::Cdf(double m, double a, double b, double beta_) const {
    return TruncatedExponentialCdf(m, a, b, beta_, mMaxEst);
}

double ParametricHazard::Density(double m, double a, double b, double beta_) const {
    return TruncatedExponentialDensity(m, a, b, beta_, mMaxEst);
}

double ParametricHazard::Hazard(double m, double D) const {
    if (m == 0.0) return 0.0;
    return -std::expm1(-activityRate * D * (1.0 - Cdf(m, mMin, mMaxEst, beta)));
}

double ParametricHazard::MeanReturnPeriod(double m) const {
    if (m == 0.0) return 0.0;
    const double F = Cdf(m, mMin, mMaxEst, beta);
    if (F == 1.0) return 0.0;
    return 1.0 / ((1.0 - F) * activityRate);
}

bool ParametricHazard::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    WriteReportOpening(*this, lines, title);
    WriteCommonParameters(*this, lines, 3);
    lines.push_back(ReportLabel("Wielkość próby:") + std::to_string(SampleSize()));
    lines.push_back(ReportLabel("Minimalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(*this, smallestObserved));
    lines.push_back(ReportLabel("Maksymalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(*this, largestObserved));
    lines.push_back(ReportLabel("Maksymalna magnituda estymowana:") + FormatMagnitudeEnergy(*this, mMaxEst));
    lines.push_back("  Współczynnik Beta                  " + formatMask(beta, "0.000", loc));
    const bool months = unit == TimeUnit::Months;
    lines.push_back(
        (months ? "  Ilość miesięcy:                    " : "  Ilość kwartałów:                   ") +
        formatMask(timeUnitCount, "0.00", loc));
    lines.push_back(
        (months ? "  Średnia aktywność/miesiąc:         " : "  Średnia aktywność/kwartał:         ") +
        formatMask(activityRate, "0.00", loc) + " zdarzeń");
    if (bands) WriteBandLines(lines);
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

void ParametricHazard::WriteBandLines(ReportLines& lines) const {
    const Locale& loc = settings_.UserLocale;
    const ParametricBands& bb = *bands;
    const auto interval = [&](Band band, const char* mask) { return BandText(band, mask, loc); };
    lines.push_back("");
    lines.push_back(BandHeading(bb.options, loc) + "):");
    lines.push_back("    Współczynnik Beta                " +
                    interval(bb.of([](const ParametricModel& m) { return m.beta; }), "0.000"));
    const MMaxBand mMaxBand =
        BoundedMMaxBand(bb.of([](const ParametricModel& m) { return m.mMax; }), largestObserved);
    lines.push_back("    Maksymalna magnituda estymowana  " + interval(mMaxBand.band, "0.00"));
    if (!std::isnan(mMaxBand.band.lower))
        lines.push_back(MMaxBandNote(mMaxBand, largestObserved, "0.00", loc));
    const bool months = unit == TimeUnit::Months;
    lines.push_back(std::string(months ? "    Średnia aktywność/miesiąc        "
                                       : "    Średnia aktywność/kwartał        ") +
                    interval(bb.of([](const ParametricModel& m) { return m.rate; }), "0.00"));
    lines.push_back("    Nieudane replikacje:             " + std::to_string(bb.failed) + " z " +
                    std::to_string(bb.options.replicates));
    lines.push_back("");
}

}  // namespace zorv
