#include "hazard/BinomialDraw.h"

#include <algorithm>
#include <cmath>

namespace zorv {

namespace {

// log(k!) − [(k + ½) log(k + 1) − (k + 1) + ½ log(2π)], the correction of
// Stirling's formula: exact for k ≤ 9, its series above (Hörmann 1993).
double stirlingCorrection(std::int64_t k) {
    static const double table[10] = {0.08106146679532726, 0.04134069595540929, 0.02767792568499834,
                                     0.02079067210376509, 0.01664469118982119, 0.01387612882307075,
                                     0.01189670994589177, 0.01041126526197209, 0.009255462182712733,
                                     0.008330563433362871};
    if (k < 10) return table[k];
    const double r = 1.0 / static_cast<double>(k + 1);
    const double r2 = r * r;
    return (1.0 / 12.0 - (1.0 / 360.0 - 1.0 / 1260.0 * r2) * r2) * r;
}

// Inversion for small n·p (p ≤ ½): the probabilities from 0 upwards.
std::int64_t byInversion(std::mt19937_64& g, std::int64_t n, double p) {
    const double q = 1.0 - p;
    const double s = p / q;
    const double a = static_cast<double>(n + 1) * s;
    for (;;) {
        double r = std::pow(q, static_cast<double>(n));
        double u = unitDraw(g);
        std::int64_t x = 0;
        while (u > r) {
            u -= r;
            ++x;
            if (x > n) break;  // rounding left u beyond the last probability: draw again
            r *= a / static_cast<double>(x) - s;
        }
        if (x <= n) return x;
    }
}

// BTRD for n·p ≥ 10 (p ≤ ½), steps as numbered in Hörmann (1993).
std::int64_t byRejection(std::mt19937_64& g, std::int64_t n, double p) {
    const double nd = static_cast<double>(n);
    const double q = 1.0 - p;
    const double spq = std::sqrt(nd * p * q);
    const double b = 1.15 + 2.53 * spq;
    const double a = -0.0873 + 0.0248 * b + 0.01 * p;
    const double c = nd * p + 0.5;
    const double vr = 0.92 - 4.2 / b;
    const double urvr = 0.86 * vr;
    const double alpha = (2.83 + 5.1 / b) * spq;
    const auto m = static_cast<std::int64_t>(std::floor((nd + 1.0) * p));
    const double h = stirlingCorrection(m) + stirlingCorrection(n - m);
    const double npq = nd * p * q;
    for (;;) {
        // 1: the triangle in the middle, accepted at once.
        double v = unitDraw(g);
        double u;
        if (v <= urvr) {
            u = v / vr - 0.43;
            return static_cast<std::int64_t>(std::floor((2.0 * a / (0.5 - std::abs(u)) + b) * u + c));
        }
        // 2: a point under the hat.
        if (v >= vr) {
            u = unitDraw(g) - 0.5;
        } else {
            u = v / vr - 0.93;
            u = (u < 0 ? -0.5 : 0.5) - u;
            v = unitDraw(g) * vr;
        }
        // 3.0
        const double us = 0.5 - std::abs(u);
        const double kd = std::floor((2.0 * a / us + b) * u + c);
        if (kd < 0.0 || kd > nd) continue;
        const auto k = static_cast<std::int64_t>(kd);
        v = v * alpha / (a / (us * us) + b);
        const std::int64_t km = k > m ? k - m : m - k;
        if (km <= 15) {
            // 3.1: f(k)/f(m) by the recursion of the probability function.
            const double r = p / q;
            const double nr = (nd + 1.0) * r;
            double f = 1.0;
            if (m < k) {
                for (std::int64_t i = m + 1; i <= k; ++i) f *= nr / static_cast<double>(i) - r;
            } else if (m > k) {
                for (std::int64_t i = k + 1; i <= m; ++i) v *= nr / static_cast<double>(i) - r;
            }
            if (v <= f) return k;
            continue;
        }
        // 3.2: squeezes on log v.
        v = std::log(v);
        const double kmd = static_cast<double>(km);
        const double rho = kmd / npq * (((kmd / 3.0 + 0.625) * kmd + 1.0 / 6.0) / npq + 0.5);
        const double t = -kmd * kmd / (2.0 * npq);
        if (v < t - rho) return k;
        if (v > t + rho) continue;
        // 3.3: the log of f(k)/f(m) through Stirling's formula.
        const double nm = static_cast<double>(n - m + 1);
        const double nk = static_cast<double>(n - k + 1);
        const double md = static_cast<double>(m);
        const double bound = (md + 0.5) * std::log((md + 1.0) / (nm * (p / q))) + h +
                             (nd + 1.0) * std::log(nm / nk) +
                             (kd + 0.5) * std::log(nk * (p / q) / (kd + 1.0)) - stirlingCorrection(k) -
                             stirlingCorrection(n - k);
        if (v <= bound) return k;
    }
}

}  // namespace

std::int64_t binomialDraw(std::mt19937_64& g, std::int64_t n, double p) {
    if (n <= 0 || !(p > 0.0)) return 0;
    if (p >= 1.0) return n;
    const bool flip = p > 0.5;
    const double pp = flip ? 1.0 - p : p;
    const std::int64_t k = static_cast<double>(n) * pp < 10.0 ? byInversion(g, n, pp) : byRejection(g, n, pp);
    return flip ? n - k : k;
}

void multinomialDraw(std::mt19937_64& g, std::int64_t n, const std::vector<std::int64_t>& weights,
                     std::vector<std::int64_t>& out) {
    out.assign(weights.size(), 0);
    double rest = 0.0;
    for (const std::int64_t w : weights) rest += static_cast<double>(w);
    std::int64_t left = n;
    for (std::size_t i = 0; i < weights.size() && left > 0; ++i) {
        const double w = static_cast<double>(weights[i]);
        if (w <= 0.0) continue;
        const std::int64_t k = w >= rest ? left : binomialDraw(g, left, w / rest);
        out[i] = k;
        left -= k;
        rest -= w;
    }
}

}  // namespace zorv
