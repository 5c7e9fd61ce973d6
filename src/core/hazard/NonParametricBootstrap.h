#pragma once
// Bootstrap bands of the nonparametric estimate (HazardBootstrap.h): every
// replicate settles its own cross-validated smoothing factor h (Newton's
// method started from the sample's h, so that it finds the same zero of the
// cross-validation equation as the sample did), builds its adaptive kernel,
// estimates its maximum magnitude and its activity rate from its
// Poisson-drawn count, and gives its distribution function at the
// magnitudes the table asks for. A replicate whose search finds no h fails
// rather than taking the alternative h.
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
    // F(m_k), the adaptive distribution truncated to [MMin, mMax].
    std::vector<double> cdf;

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
};

// Raises EBreakProcess when `step` does (the cancel of the progress window).
NonParametricBands BootstrapNonParametric(const std::vector<double>& sample, const AnalysisSettings& settings,
                                          const NonParametricBootstrapRequest& request,
                                          const BootstrapOptions& options,
                                          const std::function<void(int)>& step);

}  // namespace zorv
