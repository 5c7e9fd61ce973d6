#include "hazard/ParametricBootstrap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "hazard/FixedPointRoot.h"
#include "hazard/HazardErrors.h"
#include "hazard/Numerics.h"
#include "hazard/ParametricHazard.h"

namespace zorv {

namespace {

// The joint equation where substitution has not settled (FixedPointRoot.h):
// at each u, β for the range u − MMin and the excess
// Mobs + ∫ F(m; u, β)^n dm − u, both to far tighter tolerances than a
// substitution pass uses, so that the excess is smooth on the scale of the
// final bracket.
JointEstimate SolveJointEquation(double meanExcess, double largestObserved, int n, double mMin,
                                 const AnalysisSettings& s, bool variableUpperLimit,
                                 const std::function<void()>& checkCancel, JointEstimate last) {
    constexpr double kBetaTolerance = 1e-12;
    constexpr double kIntegralTolerance = 1e-10;
    const int limit = 2 * s.Iterations;
    const double betaStart = last.beta;
    const auto betaAt = [&](double u) {
        return SolveBeta(meanExcess, u - mMin, betaStart, kBetaTolerance, limit);
    };
    const auto excess = [&](double u) {
        checkCancel();
        const double b = betaAt(u);
        const double integral =
            GaussLegendreIntegral([&](double m) { return TruncatedExponentialCdf(m, mMin, u, b, u); }, mMin,
                                  variableUpperLimit ? u : largestObserved, n, kIntegralTolerance);
        return largestObserved + integral - u;
    };
    FixedPointBracket bracket;
    bracket.start = largestObserved;
    bracket.limit = s.MMaxLimit;
    const FixedPointRoot r = SolveFixedPoint(excess, bracket);
    if (!r.found) throw ENoMMaxRoot();
    JointEstimate e;
    e.mMax = r.root;
    e.beta = betaAt(r.root);
    e.passes = last.passes + r.evaluations;
    return e;
}

}  // namespace

JointEstimate EstimateBetaMMax(double meanExcess, double largestObserved, int n, double mMin,
                               const AnalysisSettings& s, bool variableUpperLimit,
                               const std::function<void()>& checkCancel) {
    const int limit = 2 * s.Iterations;
    double beta0 = 0.02;
    double upper = largestObserved;
    JointEstimate e;
    for (;;) {
        checkCancel();
        e.beta = SolveBeta(meanExcess, upper - mMin, beta0, s.Epsilon, limit);
        // The distribution of this pass is cut off at its own upper bound:
        // cut off at the estimate not yet made, F would be 1 everywhere and
        // the first pass would give 2·Mobs − MMin whatever the data.
        const double b = e.beta;
        const double u = upper;
        const double integral =
            GaussLegendreIntegral([&](double m) { return TruncatedExponentialCdf(m, mMin, u, b, u); }, mMin,
                                  variableUpperLimit ? upper : largestObserved, n, s.Epsilon);
        e.mMax = integral + largestObserved;
        ++e.passes;
        // Substitution that has not settled within the passes, or has run
        // past the limit, hands the same equation to the bracketing solver.
        if (e.passes > limit || e.mMax > s.MMaxLimit)
            return SolveJointEquation(meanExcess, largestObserved, n, mMin, s, variableUpperLimit,
                                      checkCancel, e);
        if (std::fabs(e.mMax - upper) < s.Epsilon) return e;
        beta0 = e.beta;
        upper = e.mMax;
    }
}

double ParametricModel::cdf(double m) const { return TruncatedExponentialCdf(m, mMin, mMax, beta, mMax); }

double ParametricModel::density(double m) const {
    return TruncatedExponentialDensity(m, mMin, mMax, beta, mMax);
}

double ParametricModel::hazard(double m, double D) const {
    if (m == 0.0) return 0.0;
    return -std::expm1(-rate * D * (1.0 - cdf(m)));
}

double ParametricModel::returnPeriod(double m) const {
    if (m == 0.0) return 0.0;
    const double F = cdf(m);
    if (F == 1.0) return std::numeric_limits<double>::infinity();
    return 1.0 / ((1.0 - F) * rate);
}

Band ParametricBands::of(const std::function<double(const ParametricModel&)>& quantity) const {
    std::vector<double> values;
    values.reserve(models.size());
    for (std::size_t k = 0; k < models.size(); ++k)
        if (ok[k]) values.push_back(quantity(models[k]));
    return PercentileBand(std::move(values), options.level);
}

ParametricBands BootstrapParametric(const std::vector<double>& sample, double mMin, double timeUnits,
                                    const AnalysisSettings& settings, bool variableUpperLimit,
                                    const BootstrapOptions& options, const std::function<void(int)>& step) {
    ParametricBands bands;
    bands.options = options;
    bands.models.resize(static_cast<std::size_t>(std::max(options.replicates, 0)));
    const auto replicate = [&](int k, const StopTest& stop) {
        std::mt19937_64 stream = ReplicateStream(options.seed, k);
        const std::vector<std::uint32_t> pick = ResampleIndices(stream, sample.size());
        const int n = static_cast<int>(pick.size());
        if (n == 0 || n < settings.MinSampleSize) throw ESampleTooLow();
        double sum = 0.0;
        double largest = -std::numeric_limits<double>::infinity();
        for (std::uint32_t i : pick) {
            sum += sample[i];
            largest = std::max(largest, sample[i]);
        }
        const JointEstimate e =
            EstimateBetaMMax(sum / n - mMin, largest, n, mMin, settings, variableUpperLimit, [&stop] {
                if (stop()) throw EBreakProcess();
            });
        ParametricModel& m = bands.models[static_cast<std::size_t>(k)];
        m.mMin = mMin;
        m.beta = e.beta;
        m.mMax = e.mMax;
        m.rate = timeUnits > 0.0 ? n / timeUnits : 0.0;
    };
    ReplicateRun run = RunReplicates(options.replicates, options.threads, replicate, step);
    bands.ok = std::move(run.ok);
    bands.failed = run.failed;
    return bands;
}

}  // namespace zorv
