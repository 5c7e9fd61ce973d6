#pragma once
// The ratio of two Poisson rates and its exact confidence interval: given
// n = n1 + n2 events, n2 is binomial with p = λ2 t2 / (λ1 t1 + λ2 t2), so the
// Clopper–Pearson interval of p (C. J. Clopper and E. S. Pearson,
// Biometrika 26, 1934) maps onto the ratio ρ = λ2/λ1 = p/(1 − p) · t1/t2
// (the conditional test of J. Przyborowski and H. Wileński, Biometrika 31,
// 1940; R's poisson.test with two samples gives the same interval). The
// bounds of p are quantiles of beta distributions,
//
//   p_lo = B⁻¹(α/2; n2, n1 + 1),  p_hi = B⁻¹(1 − α/2; n2 + 1, n1),
//
// found by bisection on the regularised incomplete beta function, which is
// evaluated by its continued fraction (modified Lentz; W. H. Press et al.,
// Numerical Recipes, 3rd ed., 2007, section 6.4). t1, t2 are the exposures
// (years × area), in any one unit.

#include <cstdint>

namespace zorv {

// I_x(a, b), a, b > 0, 0 ≤ x ≤ 1; absolute error below 1e-13.
double RegularizedIncompleteBeta(double a, double b, double x);
// The x with I_x(a, b) = q, by bisection to 1e-14.
double InverseIncompleteBeta(double a, double b, double q);

struct RateRatioEstimate {
    double ratio = 0.0;  // (n2/t2) / (n1/t1); +∞ for n1 = 0
    double lower = 0.0;  // 0 for n2 = 0
    double upper = 0.0;  // +∞ for n1 = 0
    // 1 lies outside [lower, upper]: the rates differ at the level.
    bool significant() const { return lower > 1.0 || upper < 1.0; }
};

// The ratio of the rate of the second sample to that of the first at
// confidence level `level` (0.95). Both counts 0 give NaN everywhere.
RateRatioEstimate PoissonRateRatio(std::int64_t n1, double t1, std::int64_t n2, double t2, double level);

}  // namespace zorv
