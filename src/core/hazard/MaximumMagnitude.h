#pragma once
// The fixed-point iteration of the nonparametric maximum-magnitude estimator
// (the Kijko–Sellevoll form with a kernel estimate of the distribution;
// A. Kijko, Estimation of the maximum earthquake magnitude, Pure Appl.
// Geophys. 161, 2004):
//
//   Mmax ← Mobs + ∫_{MMin}^{U} F(m; MMin, Mmax)^n dm,
//
// F the magnitude distribution truncated to [MMin, Mmax], Mobs the largest
// observed magnitude and U = Mobs (fixed upper limit) or the previous Mmax
// (variable upper limit). The distribution is a parameter, so that the
// iteration itself can be checked on distributions with closed forms.

#include <cstddef>
#include <functional>

namespace zorv {

struct MMaxIteration {
    double lower = 0.0;            // MMin
    double largestObserved = 0.0;  // Mobs
    int sampleSize = 0;            // the exponent n
    double epsilon = 1e-5;         // stop when two passes differ by less
    int passLimit = 40;            // IntegralIterations
    double valueLimit = 10.0;      // MMaxLimit
    bool variableUpperLimit = false;
};

// out[k] = F(m[k]) of the distribution truncated to [lower, upper].
using TruncatedDistribution =
    std::function<void(double upper, const double* m, double* out, std::size_t count)>;

struct MMaxMonitor {
    // At the start of every pass (the progress position); raises EBreakProcess
    // to stop.
    std::function<void(int pass)> pass;
    // After a pass that did not settle, with its estimate.
    std::function<void(double estimate)> next;
};

// Substitution first, as many passes as passLimit; an estimate above the
// limit that settles in the pass that produced it is accepted. Where it has
// not settled within the passes, or a pass ran above valueLimit, the same
// equation is solved by bracketing (FixedPointRoot.h, the integral to 1e-10,
// monitor.pass called on every evaluation); EMMaxEstExceeded when it has no
// root below valueLimit.
double IterateMMax(const MMaxIteration& it, const TruncatedDistribution& F, const MMaxMonitor& monitor);

}  // namespace zorv
