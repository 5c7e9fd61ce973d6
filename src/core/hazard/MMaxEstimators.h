#pragma once
// Estimators of the maximum possible magnitude Mmax beside the ones the
// hazard analyses use, each with its standard deviation. Notation: x_1…x_n
// the magnitudes at or above MMin, x_(n) = Mobs the largest, x_(n−1) the
// second largest, β = b·ln 10, σ_M the standard error of one magnitude
// (0 when not known). The formulas follow the review of A. Kijko and
// M. Singh, Statistical tools for maximum possible earthquake magnitude
// estimation, Acta Geophysica 59(4), 2011, 674–700 (cited as K&S):
//
//   Robson–Whitlock (D. S. Robson and J. H. Whitlock, Biometrika 51, 1964;
//   K&S section 3.1):  Mmax = 2·x_(n) − x_(n−1),
//                      σ = √(5·σ_M² + (x_(n) − x_(n−1))²).
//   Robson–Whitlock–Cooke (P. Cooke, Biometrika 66, 1979; K&S section 3.2):
//                      Mmax = 2·x_(n) − Σ_{i=0}^{n−1} [(1 − i/n)^n − (1 − (i+1)/n)^n]·x_(n−i),
//                      σ = √(σ_M² + (Mmax − x_(n))²).
//   Tate–Pisarenko (V. F. Pisarenko, Geophys. J. Int. 107, 1991; K&S
//   section 4.1, the Gutenberg–Richter distribution truncated at x_(n) in
//   the density):      Δ = (1 − exp(−β(x_(n) − MMin))) / (n·β·exp(−β(x_(n) − MMin))),
//                      Mmax = x_(n) + Δ, σ = √(σ_M² + Δ²).
//   Kijko–Sellevoll–Bayes (A. Kijko and M. A. Sellevoll, Bull. Seismol. Soc.
//   Am. 79, 1989; K&S section 4.3): β uncertain, gamma-distributed with mean
//   β and standard deviation σ_β = β/√n, which compounds the distribution to
//      F(m) = C·[1 − (p/(p + m − MMin))^q],  C = 1/[1 − (p/(p + Mmax − MMin))^q],
//   p = β/σ_β², q = (β/σ_β)²; Mmax = x_(n) + ∫_{MMin}^{U} F(m)^n dm solved
//   by the fixed-point iteration of MaximumMagnitude.h (K&S equation 4.24
//   writes the same integral through incomplete gamma functions),
//   σ = √(σ_M² + Δ²), Δ = Mmax − x_(n).
//   Nonparametric Gaussian (A. Kijko, Pure Appl. Geophys. 161, 2004; K&S
//   section 5.1): the Gaussian kernel distribution with one smoothing factor
//      F(m) = Σ_i [Φ((m − x_i)/h) − Φ((MMin − x_i)/h)] / Σ_i [Φ((Mmax − x_i)/h) − Φ((MMin − x_i)/h)],
//   the same fixed point, σ = √(σ_M² + Δ²); h by the rule of thumb
//   h = 0.9·min(s, IQR/1.34)·n^(−1/5) (B. W. Silverman, Density Estimation,
//   1986, equation 3.31), s the sample standard deviation, IQR the
//   interquartile range.
//
// Magnitudes, estimates and standard deviations are in magnitude units, β
// in 1/magnitude unit. A failure is returned, not raised: `failure` names
// why the estimator gave no value (Polish, for the result table).

#include <exception>
#include <limits>
#include <string>
#include <vector>

namespace zorv {

struct MMaxResult {
    double estimate = std::numeric_limits<double>::quiet_NaN();
    double sigma = std::numeric_limits<double>::quiet_NaN();
    int passes = 0;  // fixed-point passes of the iterative estimators
    std::string failure;
    bool ok() const { return failure.empty(); }
};

// The fixed point of the iterative estimators.
struct MMaxFixedPoint {
    double epsilon = 1e-5;            // stop when two passes differ by less [magnitude]
    int passLimit = 40;               // IntegralIterations
    double valueLimit = 10.0;         // MMaxLimit
    bool variableUpperLimit = false;  // U = Mmax of the previous pass, else x_(n)
};

// The reason text of a failure of the hazard estimators (HazardErrors.h) or
// of any other exception, for the table's status column.
std::string MMaxFailureText(std::exception_ptr failure);

// x is the sample at or above MMin, in any order.
MMaxResult RobsonWhitlock(const std::vector<double>& x, double sigmaM = 0.0);
MMaxResult RobsonWhitlockCooke(const std::vector<double>& x, double sigmaM = 0.0);
MMaxResult TatePisarenko(const std::vector<double>& x, double mMin, double beta, double sigmaM = 0.0);
MMaxResult KijkoSellevollBayes(const std::vector<double>& x, double mMin, double beta,
                               const MMaxFixedPoint& fp, double sigmaM = 0.0);
MMaxResult GaussianKernelMMax(const std::vector<double>& x, double mMin, double h, const MMaxFixedPoint& fp,
                              double sigmaM = 0.0);
// The same two in their published form (K&S sections 4.3 and 5.1; Kijko
// 2004): Mmax = x_(n) + ∫_{MMin}^{Mmax} F(m; Mmax)^n dm with Mmax itself in
// the normalising constant and as the upper limit, the equation solved for
// Mmax by bisection to 1e-9 (fp.valueLimit bounds the search; the other
// fields of fp are not used).
MMaxResult KijkoSellevollBayesEquation(const std::vector<double>& x, double mMin, double beta,
                                       const MMaxFixedPoint& fp, double sigmaM = 0.0);
MMaxResult GaussianKernelMMaxEquation(const std::vector<double>& x, double mMin, double h,
                                      const MMaxFixedPoint& fp, double sigmaM = 0.0);

// The rule-of-thumb smoothing factor of the Gaussian kernel; 0 when the
// sample has fewer than two distinct values.
double RuleOfThumbSmoothing(const std::vector<double>& x);

}  // namespace zorv
