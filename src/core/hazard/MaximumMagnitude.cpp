#include "hazard/MaximumMagnitude.h"

#include <cmath>

#include "hazard/FixedPointRoot.h"
#include "hazard/HazardErrors.h"
#include "hazard/Numerics.h"

namespace zorv {

double IterateMMax(const MMaxIteration& it, const TruncatedDistribution& F, const MMaxMonitor& monitor) {
    double estimate = 0.0;
    double previous = it.largestObserved;
    int k = 1;
    for (;; ++k) {
        // Substitution that has not settled within the passes, or has run
        // past the limit, hands the same equation to the bracketing solver.
        if (k > it.passLimit || estimate > it.valueLimit) break;
        if (monitor.pass) monitor.pass(k);
        const double upperTruncation = previous;
        const double upperIntegration = it.variableUpperLimit ? previous : it.largestObserved;
        const double integral = GaussLegendreIntegralBatch(
            [&](const double* m, double* out, std::size_t count) { F(upperTruncation, m, out, count); },
            it.lower, upperIntegration, it.sampleSize, it.epsilon);
        estimate = integral + it.largestObserved;
        if (std::fabs(previous - estimate) < it.epsilon) return estimate;
        previous = estimate;
        if (monitor.next) monitor.next(previous);
    }
    // The excess at u with the integral to a far tighter tolerance than a
    // pass uses, so that it is smooth on the scale of the final bracket.
    constexpr double kIntegralTolerance = 1e-10;
    const auto excess = [&](double u) {
        if (monitor.pass) monitor.pass(k++);
        const double integral = GaussLegendreIntegralBatch(
            [&](const double* m, double* out, std::size_t count) { F(u, m, out, count); }, it.lower,
            it.variableUpperLimit ? u : it.largestObserved, it.sampleSize, kIntegralTolerance);
        return it.largestObserved + integral - u;
    };
    FixedPointBracket bracket;
    bracket.start = it.largestObserved;
    bracket.limit = it.valueLimit;
    const FixedPointRoot r = SolveFixedPoint(excess, bracket);
    if (!r.found) throw EMMaxEstExceeded();
    return r.root;
}

}  // namespace zorv
