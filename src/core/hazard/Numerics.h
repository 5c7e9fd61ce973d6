#pragma once
// The numerical toolkit of the hazard estimators: two root finders, adaptive
// Gauss–Legendre quadrature of F(m)^n and the normal distribution function.
// The order of their tests decides which failure the user sees, so it is
// kept as noted beside each routine.

#include <cstddef>
#include <functional>

namespace zorv {

using RealFunction = std::function<double(double)>;
// Called after every step of a root finder with the step number (the
// progress position); raises EBreakProcess when the user asked to stop.
using StepMonitor = std::function<void(int step)>;
// Evaluates a function at `count` points at once: out[k] = F(x[k]).
using BatchFunction = std::function<void(const double* x, double* out, std::size_t count)>;

// Newton iteration from x0 for a positive root of f. Raises EDerivZero when
// f′ is exactly 0, ETooManyIterations on step limit + 1, EHFactorBelowZero
// when the root found is not positive and EZeroNotFound when the iteration
// leaves the finite numbers.
double RTNI(const RealFunction& f, const RealFunction& derivative, double x0, double epsilon, int limit,
            const StepMonitor& monitor);

// Bisection with inverse parabolic interpolation on [xl, xr] (the classical
// RTMI of the IBM Scientific Subroutine Package, 1968). Raises EZeroNotFound
// when f has the same strict sign at both ends (or the iteration leaves the
// finite numbers), ETooManyIterations past `limit` steps, EHFactorBelowZero
// when the root is not positive.
double RTMI(const RealFunction& f, double xl, double xr, double epsilon, int limit,
            const StepMonitor& monitor);

// ∫_a^b F(m)^n dm by adaptive 8/16-point Gauss–Legendre quadrature. When the
// tolerance cannot be met the sum of the accepted sub-intervals is returned.
double GaussLegendreIntegral(const RealFunction& F, double a, double b, int n, double epsilon);
// The same with F evaluated at the 24 nodes of one sub-interval in one call
// (nodes 0–7 of the 8-point rule, then 8–23 of the 16-point rule).
double GaussLegendreIntegralBatch(const BatchFunction& F, double a, double b, int n, double epsilon);

// Standard normal distribution function by the polynomial 26.2.17 of
// Abramowitz and Stegun (1964) with seven-digit constants; absolute error
// below 2.2e-7.
double NormalCdf(double z);

}  // namespace zorv
