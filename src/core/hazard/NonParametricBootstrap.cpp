#include "hazard/NonParametricBootstrap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/AnalysisError.h"
#include "hazard/HazardErrors.h"
#include "hazard/NonParametricHazard.h"

namespace zorv {

namespace {

// The estimator on one replicate's magnitudes; with smoothingOnly it only
// settles h.
class ReplicateKernel : public NonParametricHazard {
public:
    ReplicateKernel(const AnalysisSettings& settings, const std::vector<double>& sample, double h,
                    bool variableUpperLimit, bool smoothingOnly)
        : NonParametricHazard(settings, sample, h, -1.0,
                              {0, 0, static_cast<std::uint8_t>(variableUpperLimit)},
                              smoothingOnly ? Construction::SampleOnly : Construction::Full) {
        if (smoothingOnly) SettleSmoothingFactor();
    }
    bool WriteReport(ReportLines&) override { return false; }
};

}  // namespace

double NonParametricReplicate::hazard(std::size_t k, double D) const {
    const double survival = std::max(0.0, 1.0 - cdf[k]);
    return -std::expm1(-rate * D * survival);
}

double NonParametricReplicate::returnPeriod(std::size_t k) const {
    const double survival = 1.0 - cdf[k];
    if (!(survival > 0.0)) return std::numeric_limits<double>::infinity();
    return 1.0 / (survival * rate);
}

Band NonParametricBands::of(const std::function<double(const NonParametricReplicate&)>& quantity) const {
    std::vector<double> values;
    values.reserve(replicates.size());
    for (std::size_t k = 0; k < replicates.size(); ++k)
        if (ok[k]) values.push_back(quantity(replicates[k]));
    return PercentileBand(std::move(values), options.level);
}

NonParametricReplicate EstimateReplicate(const std::vector<double>& xs, const AnalysisSettings& settings,
                                         const NonParametricBootstrapRequest& request) {
    AnalysisSettings s = settings;
    s.WithProgress = false;
    // Newton's method from the sample's zero; a search that fails gives a
    // NaN factor, which the adaptive kernel refuses: the replicate fails.
    s.RTNIStart = request.sampleH;
    s.H = std::numeric_limits<double>::quiet_NaN();
    const ReplicateKernel e(s, xs, request.searchH ? -1.0 : request.sampleH, request.variableUpperLimit,
                            request.smoothingOnly);
    NonParametricReplicate r;
    r.h = e.SmoothingFactor();
    if (request.smoothingOnly) {
        // The kernel is not built: a failed search shows here.
        if (!(r.h > 0.0) || !std::isfinite(r.h)) throw EHFactorBelowZero();
        return r;
    }
    r.mMax = e.MMaxEst();
    r.rate = request.timeUnits > 0.0 ? static_cast<double>(xs.size()) / request.timeUnits : 0.0;
    const std::size_t count = request.magnitudes.size();
    const double lower = request.densities ? e.SmallestObserved() : settings.MMin;
    r.cdf.resize(count);
    for (std::size_t j = 0; j < count; ++j)
        r.cdf[j] = e.AdaptiveKernelCdf(request.magnitudes[j], lower, r.mMax);
    if (request.densities) {
        r.kernelDensity.resize(count);
        r.density.resize(count);
        for (std::size_t j = 0; j < count; ++j) {
            r.kernelDensity[j] = e.KernelDensity(request.magnitudes[j]);
            r.density[j] = e.AdaptiveKernelDensity(request.magnitudes[j]);
        }
    }
    return r;
}

void CheckBandSize(const BootstrapOptions& options, std::size_t rows, std::size_t valuesPerRow) {
    if (!options.enabled) return;
    const double values = static_cast<double>(std::max(options.replicates, 0)) * static_cast<double>(rows) *
                          static_cast<double>(valuesPerRow);
    if (values > kMaxBandValues)
        throw AnalysisError(
            "Tabela ma zbyt wiele wierszy dla przedziału ufności: zmniejsz zakres, zwiększ krok tabeli lub "
            "liczbę replikacji B");
}

NonParametricBands BootstrapNonParametric(const std::vector<double>& sample, const AnalysisSettings& settings,
                                          const NonParametricBootstrapRequest& request,
                                          const BootstrapOptions& options,
                                          const std::function<void(int)>& step) {
    NonParametricBands bands;
    bands.options = options;
    bands.replicates.resize(static_cast<std::size_t>(std::max(options.replicates, 0)));
    const double mMin = settings.MMin;
    const auto replicate = [&](int k, const StopTest& stop) {
        if (stop()) throw EBreakProcess();
        std::mt19937_64 stream = ReplicateStream(options.seed, k);
        const std::vector<std::uint32_t> pick = ResampleIndices(stream, sample.size());
        if (pick.empty() || static_cast<int>(pick.size()) < settings.MinSampleSize) throw ESampleTooLow();
        std::vector<double> xs(pick.size());
        // The smoothed bootstrap: each drawn magnitude moved by h·ε, ε
        // standard normal, and reflected at MMin.
        std::normal_distribution<double> noise(0.0, 1.0);
        for (std::size_t i = 0; i < pick.size(); ++i) {
            const double v = sample[pick[i]] + request.sampleH * noise(stream);
            xs[i] = v < mMin ? 2.0 * mMin - v : v;
        }
        bands.replicates[static_cast<std::size_t>(k)] = EstimateReplicate(xs, settings, request);
    };
    ReplicateRun run = RunReplicates(options.replicates, options.threads, replicate, step);
    bands.ok = std::move(run.ok);
    bands.failed = run.failed;
    return bands;
}

}  // namespace zorv
