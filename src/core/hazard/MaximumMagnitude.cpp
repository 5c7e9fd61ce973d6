#include "hazard/MaximumMagnitude.h"

#include <cmath>

#include "hazard/HazardErrors.h"
#include "hazard/Numerics.h"

namespace zorv {

double IterateMMax(const MMaxIteration& it, const TruncatedDistribution& F, const MMaxMonitor& monitor) {
    double estimate = 0.0;
    double previous = it.largestObserved;
    for (int k = 1;; ++k) {
        if (k > it.passLimit) throw ETooManyIterations();
        if (estimate > it.valueLimit) throw EMMaxEstExceeded();
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
}

}  // namespace zorv
