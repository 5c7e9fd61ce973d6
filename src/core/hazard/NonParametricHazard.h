#pragma once
// The nonparametric estimate of the magnitude distribution: a Gaussian
// kernel estimator whose smoothing factor h is the zero of the least-squares
// cross-validation equation, an adaptive kernel with local bandwidth factors,
// and the maximum magnitude that bounds the distribution.
//
// Kernel density, least-squares cross-validation and the adaptive kernel
// (factors λ_i = (f(x_i)/g)^(−1/2), g the geometric mean of the pilot
// densities): B. W. Silverman, Density Estimation for Statistics and Data
// Analysis, Chapman and Hall 1986, sections 3.4.3 and 5.3.
// Maximum magnitude: MaximumMagnitude.h.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "hazard/HKernel.h"

namespace zorv {

class KernelSums;

class NonParametricHazard : public HKernel {
public:
    // Full: read the sample, settle h, build the adaptive kernel, settle the
    // maximum magnitude. SampleOnly: read the sample and keep the requested
    // values (the smoothing-factor table needs no more).
    enum class Construction { Full, SampleOnly };
    // The third option byte is VariableUpperLimit.
    using Options = std::array<std::uint8_t, 3>;

    // requestedH and requestedMMax of −1 ask for the search and the estimate;
    // other values are used as given.
    NonParametricHazard(const AnalysisSettings& settings, Table* dataset, double requestedH,
                        double requestedMMax, Options options, Progress* progress,
                        Construction construction = Construction::Full);
    ~NonParametricHazard() override;

    // The cross-validation equation and its derivative with respect to h;
    // the smoothing factor is the positive zero of LscvFunction. Both raise
    // EBreakProcess when the user stops; LscvDerivative raises EDerivZero
    // when it is exactly 0.
    double LscvFunction(double h) const;
    double LscvDerivative(double h) const;

    // Kernel density with the smoothing factor in use, adaptive kernel
    // density, and the adaptive distribution function truncated to
    // [lower, upper] (exactly 0 below lower, exactly 1 above upper).
    double KernelDensity(double m) const;
    double AdaptiveKernelDensity(double m) const;
    double AdaptiveKernelCdf(double m, double lower, double upper) const;

    // After a full construction: the smoothing factor and maximum magnitude in
    // use (the requested values are replaced by them).
    double RequestedH() const { return requestedH; }
    double RequestedMMax() const { return requestedMMax; }
    const Options& OptionBytes() const { return options; }
    bool VariableUpperLimit() const { return options[2] != 0; }
    double SmoothingFactor() const { return h; }
    double GeometricMeanDensity() const { return g; }
    const std::vector<double>& LocalBandwidthFactors() const { return lambda; }
    double MMaxEst() const { return mMaxEst; }

    ScaleHints GetScaleHints() const override;

protected:
    // A construction on a sample given as magnitudes ≥ MMin (a bootstrap
    // replicate): nothing is read, no progress is shown.
    NonParametricHazard(const AnalysisSettings& settings, const std::vector<double>& sample,
                        double requestedH, double requestedMMax, Options options,
                        Construction construction = Construction::Full);

    void SettleSmoothingFactor();
    void BuildAdaptiveKernel();
    void EstimateMaximumMagnitude();

    double requestedH;
    double requestedMMax;
    Options options;
    double h = -1.0;
    double g = 0.0;
    std::vector<double> lambda;
    double mMaxEst = 0.0;

private:
    struct LscvValue {
        double h = 0.0;
        double function = 0.0;
        double derivative = 0.0;
        bool valid = false;
        bool hasDerivative = false;
    };
    void EvaluateLscv(double at, bool derivative) const;
    void Inform(const std::string& title, const std::string& text, bool error) const;
    KernelSums& Sums() const;
    // Σ_i (Φ(z_i(upper)) − Φ(z_i(lower))), kept for the last bounds.
    double CdfDenominator(double lower, double upper) const;

    mutable std::unique_ptr<KernelSums> sums;
    mutable LscvValue lscv;
    // While Newton's method runs, each evaluation of the function also yields
    // the derivative it asks for next.
    bool newtonSearch = false;
    mutable double cdfLower = 0.0, cdfUpper = 0.0, cdfDenominator = 0.0;
    mutable bool cdfDenominatorValid = false;
};

}  // namespace zorv
