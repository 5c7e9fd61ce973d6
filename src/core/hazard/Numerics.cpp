// Root finders: Newton iteration (RTNI) and bisection with inverse parabolic
// interpolation (RTMI), after the subroutines of the IBM System/360
// Scientific Subroutine Package (1968), with the tolerances 100·ε on the
// function value and max(1, |x|)·ε on the step.
// Quadrature: the 8- and 16-point Gauss–Legendre rules compared on each
// sub-interval, halving it until they agree (the scheme of CERNLIB DGAUSS).
// Normal distribution: Abramowitz and Stegun (1964), formula 26.2.17.

#include "hazard/Numerics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "hazard/HazardErrors.h"

namespace zorv {

namespace {

// The root as found: positive and finite, else the failure that says why.
double acceptedRoot(double x) {
    if (!std::isfinite(x)) throw EZeroNotFound();
    if (x <= 0.0) throw EHFactorBelowZero();
    return x;
}

double relativeStep(double next, double current) {
    return std::fabs(next) > 1.0 ? std::fabs((next - current) / next) : std::fabs(next - current);
}

// Abscissas and weights on [−1, 1]: entries 0–3 the 8-point rule, 4–11 the
// 16-point rule (positive half; the rules are symmetric).
constexpr std::array<double, 12> kNodes = {0.960289856497536, 0.796666477413627, 0.525532409916329,
                                           0.18343464249565,  0.98940093499165,  0.944575023073233,
                                           0.865631202387832, 0.755404408355003, 0.617876244402644,
                                           0.458016777657227, 0.281603550779259, 0.095012509837637};
constexpr std::array<double, 12> kWeights = {0.101228536290376, 0.222381034453374, 0.313706645877887,
                                             0.362683783378362, 0.027152459411754, 0.062253523938648,
                                             0.095158511682493, 0.124628971255534, 0.149595988816577,
                                             0.169156519395003, 0.182603415044924, 0.189450610455069};

}  // namespace

double RTNI(const RealFunction& f, const RealFunction& derivative, double x0, double epsilon, int limit,
            const StepMonitor& monitor) {
    double x = x0;
    double fx = f(x);
    int k = 0;
    for (;;) {
        const double d = derivative(x);
        if (d == 0.0) throw EDerivZero();
        const double next = x - fx / d;
        const double e = relativeStep(next, x);
        ++k;
        if (k > limit) throw ETooManyIterations();
        if (monitor) monitor(k);
        // f at the new point is needed by the value test or by the next step.
        const double fNext = f(next);
        x = next;
        fx = fNext;
        if (e >= epsilon) continue;
        if (std::fabs(fNext) >= 100.0 * epsilon) continue;
        return acceptedRoot(next);
    }
}

double RTMI(const RealFunction& f, double xl, double xr, double epsilon, int limit,
            const StepMonitor& monitor) {
    double fl = f(xl);
    double fr = f(xr);
    if (fl * fr > 0.0) throw EZeroNotFound();
    const double tolf = 100.0 * epsilon;
    int k = 0;
    for (;;) {
        if (std::fabs(xr - xl) <= std::max(1.0, std::fabs(xr)) * epsilon && std::fabs(fr - fl) <= tolf) break;
        ++k;
        const double x = (xl + xr) * 0.5;
        const double fx = f(x);
        // An exact zero cannot be bracketed any closer (the interpolation
        // would keep returning it without meeting the step test).
        if (fx == 0.0) return acceptedRoot(x);
        // Keep fr of the sign of the midpoint; the root lies between xl and x.
        if (fx * fr < 0.0) {
            std::swap(xl, xr);
            std::swap(fl, fr);
        }
        if (2.0 * fx * (fx - fl) - fr * (fr - fl) >= 0.0) {
            // A parabola through the three points would not be monotone:
            // plain bisection.
            xr = x;
            fr = fx;
        } else {
            const double dx =
                (fl / (fx - fl)) * (x - xl) * (1.0 + ((fx / (fr - fx)) * (fr - 2.0 * fx + fl)) / (fr - fl));
            const double xn = xl - dx;
            const double fn = f(xn);
            if (fn == 0.0) return acceptedRoot(xn);
            if (std::fabs(dx) <= std::max(1.0, std::fabs(xn)) * epsilon && std::fabs(fn) <= tolf)
                return acceptedRoot(xn);
            if (fn * fl > 0.0) {
                // The root lies between the interpolated point and the midpoint.
                xl = xn;
                fl = fn;
                xr = x;
                fr = fx;
            } else {
                xr = xn;
                fr = fn;
            }
        }
        if (monitor) monitor(k);
        if (k > limit) throw ETooManyIterations();
    }
    return acceptedRoot(xr);
}

double GaussLegendreIntegralBatch(const BatchFunction& F, double a, double b, int n, double epsilon) {
    double total = 0.0;
    const double tol = std::fabs(a - b) * 1e-12;
    double s = b - a;
    bool fresh = true;
    std::array<double, 24> m{};
    std::array<double, 24> v{};
    const double power = static_cast<double>(n);
    while (std::fabs(s) > tol) {
        // After an accepted piece the whole remaining length is tried again.
        if (!fresh) s = b - a;
        fresh = true;
        const double bb = a + s;
        const double c1 = (a + bb) * 0.5;
        const double c2 = c1 - a;
        for (std::size_t j = 0; j < 12; ++j) {
            m[2 * j] = c1 + c2 * kNodes[j];
            m[2 * j + 1] = c1 - c2 * kNodes[j];
        }
        F(m.data(), v.data(), m.size());
        double s8 = 0.0;
        for (std::size_t j = 0; j < 4; ++j)
            s8 += kWeights[j] * (std::pow(v[2 * j], power) + std::pow(v[2 * j + 1], power));
        s8 *= c2;
        double s16 = 0.0;
        for (std::size_t j = 4; j < 12; ++j)
            s16 += kWeights[j] * (std::pow(v[2 * j], power) + std::pow(v[2 * j + 1], power));
        s16 *= c2;
        if (std::fabs(s16 - s8) > epsilon * (1.0 + std::fabs(s16))) {
            s *= 0.5;
        } else {
            total += s16;
            a = bb;
            fresh = false;
        }
    }
    return total;
}

double GaussLegendreIntegral(const RealFunction& F, double a, double b, int n, double epsilon) {
    return GaussLegendreIntegralBatch(
        [&F](const double* x, double* out, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) out[k] = F(x[k]);
        },
        a, b, n, epsilon);
}

double NormalCdf(double z) {
    const double t = 1.0 / (1.0 + 0.2316419 * std::fabs(z));
    const double phi = 0.3989423 * std::exp(-z * z / 2.0);
    const double p =
        1.0 - phi * t * (0.3193815 + t * (-0.3565638 + t * (1.781478 + t * (-1.821256 + t * 1.330274))));
    return z >= 0.0 ? p : 1.0 - p;
}

}  // namespace zorv
