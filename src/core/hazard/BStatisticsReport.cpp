#include "hazard/BStatisticsReport.h"

#include <algorithm>
#include <cmath>

#include "hazard/HKernel.h"
#include "hazard/HazardErrors.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {
// The magnitudes of the dataset's view as the estimators read them.
class MagnitudeSample : public HKernel {
public:
    using HKernel::HKernel;
    bool WriteReport(ReportLines&) override { return false; }
};
}  // namespace

double shiBoltErrorOf(const BEstimate& e) { return shiBoltStandardError(bFromBeta(e.beta), e.moments); }

AkiEstimate EstimateAkiB(const AnalysisSettings& settings, Table* dataset, double binWidth) {
    AkiEstimate a;
    try {
        const MagnitudeSample sample(settings, dataset, nullptr);
        const double b = akiUtsuB(sample.Sample(), settings.MMin, binWidth, &a.n);
        if (b > 0.0 && a.n >= static_cast<std::size_t>(std::max(settings.MinSampleSize, 2))) {
            a.b = b;
            a.shiBoltError = shiBoltStandardError(b, sample.Sample());
        }
    } catch (const EBreakProcess&) {
        throw;
    } catch (const AnalysisError&) {
        // No event reaches MMin.
    }
    return a;
}

BSampleStatistics EstimateBSampleStatistics(const AnalysisSettings& settings, Table* dataset,
                                            const BStatisticsOptions& options) {
    BSampleStatistics s;
    s.mMin = settings.MMin;
    s.records = dataset->recordCount();
    s.truncated = EstimateB(settings, dataset, TimeUnit::Quarters);
    const double beta = s.truncated.beta;
    if (beta != 0.0) s.betaError = truncatedBetaStandardError(beta, s.truncated.range, s.truncated.moments.n);
    try {
        const MagnitudeSample sample(settings, dataset, nullptr);
        s.akiB = akiUtsuB(sample.Sample(), settings.MMin, options.binWidth, &s.akiCount);
        s.akiError = akiStandardError(s.akiB, s.akiCount);
        s.shiBoltError = shiBoltStandardError(s.akiB, sample.Sample());
        if (options.binWidth > 0.0)
            s.tintiMulargia = tintiMulargiaB(sample.Sample(), settings.MMin, options.binWidth);
        // The differences mend the short-lived incompleteness after strong
        // events, not a threshold below the lasting one: the events from
        // MMin only.
        s.positive = bPositive(sample.Sample(), options.positiveThreshold, options.binWidth);
    } catch (const EBreakProcess&) {
        throw;
    } catch (const AnalysisError&) {
        // No event reaches MMin: nothing to estimate.
    }
    return s;
}

void WriteBSampleStatistics(const ReportScope& analysis, ReportLines& lines, const BSampleStatistics& s,
                            const BStatisticsOptions& options) {
    const Locale& loc = analysis.settings.UserLocale;
    const std::string& mask = analysis.settings.ProbabilityMask;
    const auto num = [&](double v) { return formatMask(v, mask, loc); };
    const auto withError = [&](double v, double e) { return num(v) + " ± " + num(e); };
    lines.push_back(ReportMarker(analysis, "<p>"));
    lines.push_back("  Statystyki współczynnika b całej próby");
    lines.push_back(ReportLabel("Liczba zjawisk:") + std::to_string(s.records));
    lines.push_back(ReportLabel("Zjawiska od progu kompletności:") + std::to_string(s.akiCount));
    lines.push_back(ReportLabel("Szerokość klasy magnitudy:") + num(options.binWidth));
    const BEstimate& t = s.truncated;
    if (t.beta != 0.0) {
        lines.push_back(ReportLabel("Beta (rozkład obcięty):") + withError(t.beta, s.betaError));
        lines.push_back(ReportLabel("b (rozkład obcięty):") +
                        withError(bFromBeta(t.beta), bFromBeta(s.betaError)));
        lines.push_back(ReportLabel("Błąd b Shi–Bolta (obcięty):") + num(shiBoltErrorOf(t)));
    } else {
        lines.push_back(ReportLabel("b (rozkład obcięty):") + t.description);
    }
    if (s.akiB != 0.0) {
        lines.push_back(ReportLabel("b (Aki, Utsu):") + num(s.akiB));
        lines.push_back(ReportLabel("Błąd b Akiego:") + num(s.akiError));
        lines.push_back(ReportLabel("Błąd b Shi–Bolta (Aki, Utsu):") + num(s.shiBoltError));
    } else {
        lines.push_back(ReportLabel("b (Aki, Utsu):") + "brak oszacowania");
    }
    if (options.binWidth > 0.0)
        lines.push_back(ReportLabel("b (Tinti, Mulargia):") +
                        (std::isnan(s.tintiMulargia.b)
                             ? std::string("brak oszacowania")
                             : withError(s.tintiMulargia.b, s.tintiMulargia.standardError)));
    lines.push_back(ReportLabel("Próg różnic b-dodatniego:") + num(options.positiveThreshold));
    lines.push_back(ReportLabel("Różnice od progu:") + std::to_string(s.positive.differences));
    lines.push_back(ReportLabel("b-dodatni (van der Elst):") +
                    (s.positive.b != 0.0 ? withError(s.positive.b, s.positive.standardError)
                                         : std::string("brak oszacowania")));
}

}  // namespace zorv
