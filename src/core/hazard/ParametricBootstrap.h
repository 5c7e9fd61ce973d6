#pragma once
// Bootstrap bands of the parametric estimate (HazardBootstrap.h): every
// replicate estimates β and the maximum magnitude jointly, as the sample's
// estimate does, and its activity rate from its Poisson-drawn count; the
// hazard quantities of a replicate follow from its three numbers.

#include <functional>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "hazard/HazardBootstrap.h"

namespace zorv {

// The joint β–Mmax estimate of the truncated exponential law (ParametricHazard.h)
// from the mean excess over MMin [magnitude], the largest observed
// magnitude and the sample size. `checkCancel` runs at the start of every
// pass. Substitution first (2·Iterations passes at most, each β by SolveBeta
// to Epsilon, the integral to Epsilon); where it has not settled, or ran above
// MMaxLimit, the same equation by bracketing (FixedPointRoot.h; β to 1e-12,
// the integral to 1e-10, the root to 1e-9), its evaluations counted as
// passes. Raises the failures of SolveBeta and ENoMMaxRoot.
struct JointEstimate {
    double beta = 0.0;  // [1/magnitude]
    double mMax = 0.0;  // [magnitude]
    int passes = 0;
};
JointEstimate EstimateBetaMMax(double meanExcess, double largestObserved, int sampleSize, double mMin,
                               const AnalysisSettings& settings, bool variableUpperLimit,
                               const std::function<void()>& checkCancel);

// One estimate of the law: the truncated exponential on [mMin, mMax] with β,
// and the activity rate [events per time unit].
struct ParametricModel {
    double mMin = 0.0, beta = 0.0, mMax = 0.0, rate = 0.0;
    // R(m, D) = 1 − exp(−rate·D·(1 − F(m))) and 0 for m = 0, as ParametricHazard.
    double hazard(double m, double D) const;
    // 1/((1 − F(m))·rate) [time units]; +∞ where F(m) = 1 (no event that
    // large is expected), 0 for m = 0.
    double returnPeriod(double m) const;
    double density(double m) const;
    double cdf(double m) const;
};

struct ParametricBands {
    BootstrapOptions options;
    // The replicates, failed ones included (their ok flag is 0).
    std::vector<ParametricModel> models;
    std::vector<char> ok;
    int failed = 0;

    // The band of a quantity of the replicate models; the quantity may be
    // NaN for a replicate without a value.
    Band of(const std::function<double(const ParametricModel&)>& quantity) const;
    int Succeeded() const { return static_cast<int>(models.size()) - failed; }
};

// Draws options.replicates replicates of the sample (magnitudes ≥ MMin)
// spanning `timeUnits` time units. A replicate with fewer events than
// MinSampleSize fails, as does one whose joint loop fails. `step` gets the
// number of replicates done (on the calling thread) and may throw
// EBreakProcess to stop.
ParametricBands BootstrapParametric(const std::vector<double>& sample, double mMin, double timeUnits,
                                    const AnalysisSettings& settings, bool variableUpperLimit,
                                    const BootstrapOptions& options, const std::function<void(int)>& step);

}  // namespace zorv
