#include "spatial/RateRatio.h"

#include <cmath>
#include <limits>

namespace zorv {

namespace {

constexpr double kTiny = 1e-300;

// The continued fraction of I_x(a, b), for x < (a + 1)/(a + b + 2).
double betaFraction(double a, double b, double x) {
    const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
    double c = 1.0;
    double d = 1.0 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= 10000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) < 1e-15) break;
    }
    return h;
}

}  // namespace

double RegularizedIncompleteBeta(double a, double b, double x) {
    if (x <= 0.0) return 0.0;
    if (x >= 1.0) return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0)) return front * betaFraction(a, b, x) / a;
    return 1.0 - front * betaFraction(b, a, 1.0 - x) / b;
}

double InverseIncompleteBeta(double a, double b, double q) {
    double lo = 0.0, hi = 1.0;
    for (int i = 0; i < 200 && hi - lo > 1e-14; ++i) {
        const double mid = 0.5 * (lo + hi);
        (RegularizedIncompleteBeta(a, b, mid) < q ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

RateRatioEstimate PoissonRateRatio(std::int64_t n1, double t1, std::int64_t n2, double t2, double level) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    RateRatioEstimate r;
    if (n1 + n2 == 0 || !(t1 > 0.0) || !(t2 > 0.0)) {
        r.ratio = r.lower = r.upper = std::numeric_limits<double>::quiet_NaN();
        return r;
    }
    const double alpha = 1.0 - level;
    const double a1 = static_cast<double>(n1), a2 = static_cast<double>(n2);
    const double scale = t1 / t2;
    const auto odds = [&](double p) { return p >= 1.0 ? inf : p / (1.0 - p) * scale; };
    r.ratio = n1 == 0 ? inf : (a2 / t2) / (a1 / t1);
    r.lower = n2 == 0 ? 0.0 : odds(InverseIncompleteBeta(a2, a1 + 1.0, alpha / 2.0));
    r.upper = n1 == 0 ? inf : odds(InverseIncompleteBeta(a2 + 1.0, a1, 1.0 - alpha / 2.0));
    return r;
}

}  // namespace zorv
