#pragma once
// The maximum-magnitude equations u = T(u) (the Kijko–Sellevoll form,
// T(u) = Mobs + ∫ F(m; u)^n dm) solved where plain substitution has not
// settled. Near the root the map's slope is close to 1, so substitution
// crawls: with slope s a pass moves the estimate by (1 − s) of its distance
// to the root, and the stopping test |T(u) − u| < ε is met — if within the
// pass limit at all — at a distance ε/(1 − s). The same equation is solved
// here by bracketing the sign change of the excess e(u) = T(u) − u, which
// is positive at u = Mobs (the integral is), and bisecting the bracket.

#include <functional>

namespace zorv {

struct FixedPointBracket {
    double start = 0.0;         // where the excess is known to be positive (Mobs) [magnitude]
    double limit = 10.0;        // no root is sought above (MMaxLimit) [magnitude]
    double tolerance = 1e-9;    // width of the final bracket [magnitude]
    int evaluationLimit = 200;  // of the excess, bracketing and bisection together
};

struct FixedPointRoot {
    bool found = false;  // false: the excess stays positive up to the limit
    double root = 0.0;   // the middle of the final bracket [magnitude]
    int evaluations = 0;
};

// The bracket's upper end by steps doubling from e(start) (the first
// substitution step), the last one cut at the limit; then bisection. The
// excess may raise (EBreakProcess, the failures of its parts): nothing is
// caught. A root between two bracketing points where the excess dips below
// zero and comes back is not seen; the excess of the estimators here falls
// monotonically from Mobs on.
FixedPointRoot SolveFixedPoint(const std::function<double(double u)>& excess, const FixedPointBracket& b);

}  // namespace zorv
