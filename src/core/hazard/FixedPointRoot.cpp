#include "hazard/FixedPointRoot.h"

#include <algorithm>
#include <cmath>

#include "hazard/HazardErrors.h"

namespace zorv {

FixedPointRoot SolveFixedPoint(const std::function<double(double u)>& excess, const FixedPointBracket& b) {
    FixedPointRoot r;
    const auto e = [&](double u) {
        ++r.evaluations;
        if (r.evaluations > b.evaluationLimit) throw ETooManyIterations();
        const double v = excess(u);
        if (std::isnan(v)) throw EZeroNotFound();
        return v;
    };
    double lo = b.start;
    const double atStart = e(lo);
    if (atStart <= 0.0) {
        r.found = true;
        r.root = lo;
        return r;
    }
    double step = std::max(atStart, 1e-3);
    double hi = lo;
    for (;;) {
        hi = std::min(b.start + step, b.limit);
        if (hi <= lo) return r;  // the start is at or above the limit
        if (e(hi) <= 0.0) break;
        if (hi >= b.limit) return r;
        lo = hi;
        step *= 2.0;
    }
    while (hi - lo > b.tolerance) {
        const double mid = 0.5 * (lo + hi);
        (e(mid) > 0.0 ? lo : hi) = mid;
    }
    r.found = true;
    r.root = 0.5 * (lo + hi);
    return r;
}

}  // namespace zorv
