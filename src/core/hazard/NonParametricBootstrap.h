#pragma once
// Bootstrap bands of the nonparametric estimate (HazardBootstrap.h): every
// replicate settles its own cross-validated smoothing factor h (Newton's
// method started from the sample's h, so that it finds the same zero of the
// cross-validation equation as the sample did), builds its adaptive kernel,
// estimates its maximum magnitude and its activity rate from its
// Poisson-drawn count, and gives its distribution function (and, for the
// density table, its kernel and adaptive kernel densities) at the magnitudes
// the table asks for. A replicate whose search finds no h fails rather than
// taking the alternative h.
//
// The replicates are drawn by the smoothed bootstrap (B. W. Silverman and
// G. A. Young, The bootstrap: to smooth or not to smooth? Biometrika 74,
// 1987; Silverman 1986, section 6.4.1): each magnitude drawn with replacement
// is moved by h·ε, ε standard normal and h the sample's smoothing factor,
// and reflected at MMin. Drawn plainly, a replicate repeats about a third of
// its events exactly, and the cross-validation equation of so tied a sample
// has no positive zero (it falls without bound as h goes to 0).

#include <functional>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "hazard/HazardBootstrap.h"

namespace zorv {

struct NonParametricReplicate {
    double h = 0.0;     // smoothing factor [magnitude]
    double mMax = 0.0;  // [magnitude]
    double rate = 0.0;  // [events per time unit]
    // F(m_k), the adaptive distribution truncated to [MMin, mMax], or to
    // [the replicate's smallest magnitude, mMax] for the density table.
    std::vector<double> cdf;
    // With NonParametricBootstrapRequest::densities, the kernel density and
    // the adaptive kernel density at m_k [1/magnitude], untruncated as the
    // sample's columns are.
    std::vector<double> kernelDensity;
    std::vector<double> density;

    // 1 − exp(−rate·D·(1 − F(m_k))), as Hrds::HazardAt.
    double hazard(std::size_t k, double D) const;
    // 1/((1 − F(m_k))·rate) [time units], +∞ where F = 1.
    double returnPeriod(std::size_t k) const;
};

struct NonParametricBands {
    BootstrapOptions options;
    std::vector<NonParametricReplicate> replicates;
    std::vector<char> ok;
    int failed = 0;
    Band of(const std::function<double(const NonParametricReplicate&)>& quantity) const;
};

struct NonParametricBootstrapRequest {
    double sampleH = 0.0;  // the sample's smoothing factor
    bool searchH = true;   // re-estimate h (else every replicate uses sampleH)
    bool variableUpperLimit = false;
    double timeUnits = 0.0;          // the sample's span in time units
    std::vector<double> magnitudes;  // where F is wanted
    // The density table's rules: F truncated below at the replicate's
    // smallest magnitude (not MMin), and the two densities given too.
    bool densities = false;
    // Only h is wanted (the smoothing-factor table): no adaptive kernel, no
    // MMaxEst, no values at the magnitudes.
    bool smoothingOnly = false;
};

// A replicate from its magnitudes (each ≥ MMin): the estimator with the
// request's rules, h searched by Newton's method from sampleH (or sampleH
// itself when searchH is off). The settings are the sample's. Raises the
// estimator's failures.
NonParametricReplicate EstimateReplicate(const std::vector<double>& magnitudes,
                                         const AnalysisSettings& settings,
                                         const NonParametricBootstrapRequest& request);

// A refusal (AnalysisError) of bands that would hold more than
// kMaxBandValues replicate values, B times the table's rows times the
// values per row.
inline constexpr double kMaxBandValues = 5e7;
void CheckBandSize(const BootstrapOptions& options, std::size_t rows, std::size_t valuesPerRow);

// Raises EBreakProcess when `step` does (the cancel of the progress window).
NonParametricBands BootstrapNonParametric(const std::vector<double>& sample, const AnalysisSettings& settings,
                                          const NonParametricBootstrapRequest& request,
                                          const BootstrapOptions& options,
                                          const std::function<void(int)>& step);

}  // namespace zorv
