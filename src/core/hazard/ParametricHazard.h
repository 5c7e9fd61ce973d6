#pragma once
// The parametric estimate of the magnitude distribution: magnitudes above
// MMin follow the Gutenberg–Richter law truncated at the maximum magnitude,
// i.e. the doubly truncated exponential distribution
//
//   F(m) = (1 − exp(−β(m − a))) / (1 − exp(−β(b − a))),  a ≤ m ≤ b,
//
// with β = b-value · ln 10. β is the maximum-likelihood root of
//
//   g(β) = 1/β − r / (exp(rβ) − 1) − x̄ = 0,  r = b − a, x̄ = mean(x_i − a)
//
// (R. B. Page, Aftershocks and microaftershocks of the great Alaska
// earthquake of 1964, Bull. Seismol. Soc. Am. 58, 1968; A. Kijko and
// M. A. Sellevoll, Bull. Seismol. Soc. Am. 79, 1989), and the maximum
// magnitude the Kijko–Sellevoll fixed point Mmax = Mobs + ∫ F(m)^n dm,
// both estimated jointly.

#include <cstdint>
#include <optional>
#include <vector>

#include "hazard/HKernel.h"
#include "hazard/ParametricBootstrap.h"
#include "hazard/TimeUnit.h"

namespace zorv {

// The distribution function and density of the exponential distribution on
// [a, b] with parameter β, cut off at `cutoff`: F is 0 below a and 1 above
// the cut-off, f is 0 outside [a, cutoff].
double TruncatedExponentialCdf(double m, double a, double b, double beta, double cutoff);
double TruncatedExponentialDensity(double m, double a, double b, double beta, double cutoff);

// The root β of g for the mean excess x̄ = mean(x_i − a) and the range
// r = b − a, by Newton's method from beta0: steps go on while the relative
// step exceeds epsilon, then while |g| > 100·epsilon. Raises
// ETooManyIterations after `limit` steps, EDerivZero when g′ is exactly 0,
// EZeroNotFound when the iteration leaves the finite numbers and
// EHFactorBelowZero when the root lies outside [0, 100].
double SolveBeta(double meanExcess, double range, double beta0, double epsilon, int limit);

class ParametricHazard : public HKernel {
public:
    // Full construction: reads the sample, estimates β and the maximum
    // magnitude jointly and the activity rate. Raises ENoRecords,
    // ESampleTooLow (fewer than MinSampleSize events, also when the user
    // chose to go on), the failures of SolveBeta, ENoMMaxRoot when the joint
    // equation has no root below MMaxLimit (EstimateBetaMMax) and
    // EBreakProcess.
    ParametricHazard(const AnalysisSettings& settings, Table* dataset, TimeUnit unit, bool variableUpperLimit,
                     Progress* progress = nullptr);
    // Light construction: no sample, every value 0; the caller supplies the
    // estimates.
    explicit ParametricHazard(const AnalysisSettings& settings, Progress* progress = nullptr);

    // F and f of the estimate, cut off at the current MMaxEst.
    double Cdf(double m, double a, double b, double beta) const;
    double Density(double m, double a, double b, double beta) const;

    // Probability of at least one event above m within D time units, and the
    // mean return period of events above m [time units]. A magnitude of
    // exactly 0 gives 0; so does F(m) = 1 for the return period.
    double Hazard(double m, double D) const;
    double MeanReturnPeriod(double m) const;

    TimeUnit Unit() const { return unit; }
    bool VariableUpperLimit() const { return variableUpperLimit; }
    double Beta() const { return beta; }
    double BValue() const;
    double MMaxEst() const { return mMaxEst; }
    int PassCount() const { return passes; }
    double TimeUnitCountValue() const { return timeUnitCount; }
    double ActivityRate() const { return activityRate; }

    // The estimate as a model, and the bootstrap bands when they were made.
    ParametricModel Model() const;
    const std::optional<ParametricBands>& Bands() const { return bands; }

    // The report: opening, sample and estimate lines (with the bands of β,
    // MMaxEst and the rate when made), the table.
    bool WriteReport(ReportLines& lines) override;

protected:
    void EstimateJointly();
    // Makes the bands of the estimate when the option is on (the progress
    // window counts the replicates; cancel raises EBreakProcess).
    void RunBootstrap(const BootstrapOptions& options);
    void WriteBandLines(ReportLines& lines) const;

    TimeUnit unit = TimeUnit::Months;
    bool variableUpperLimit = true;
    double beta = 0.0;
    double mMaxEst = 0.0;
    int passes = 0;
    double timeUnitCount = 0.0;
    double activityRate = 0.0;
    std::optional<ParametricBands> bands;
};

}  // namespace zorv
