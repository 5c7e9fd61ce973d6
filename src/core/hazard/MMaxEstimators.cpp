#include "hazard/MMaxEstimators.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <numeric>

#include "base/AnalysisError.h"
#include "hazard/HazardErrors.h"
#include "hazard/MaximumMagnitude.h"
#include "hazard/Numerics.h"

namespace zorv {

namespace {

constexpr double kRootHalf = 0.70710678118654752440;  // 1/√2

double normalCdf(double z) { return 0.5 * std::erfc(-z * kRootHalf); }

std::vector<double> descending(const std::vector<double>& x) {
    std::vector<double> s = x;
    std::sort(s.begin(), s.end(), std::greater<>());
    return s;
}

MMaxResult failed(std::string why) {
    MMaxResult r;
    r.failure = std::move(why);
    return r;
}

MMaxResult withDelta(double largest, double delta, double sigmaM, double measurementFactor = 1.0) {
    MMaxResult r;
    r.estimate = largest + delta;
    r.sigma = std::sqrt(measurementFactor * sigmaM * sigmaM + delta * delta);
    return r;
}

const char* const kTooFew = "Za mało zjawisk (wymagane co najmniej dwa)";
const char* const kNoBeta = "Brak dodatniego współczynnika Beta";

// The fixed point of MaximumMagnitude.h for a distribution F(m; upper); its
// failures become the result's reason.
MMaxResult iterate(const std::vector<double>& x, double mMin, const MMaxFixedPoint& fp,
                   const std::function<double(double m, double upper)>& F, double sigmaM) {
    MMaxIteration it;
    it.lower = mMin;
    it.largestObserved = *std::max_element(x.begin(), x.end());
    it.sampleSize = static_cast<int>(x.size());
    it.epsilon = fp.epsilon;
    it.passLimit = fp.passLimit;
    it.valueLimit = fp.valueLimit;
    it.variableUpperLimit = fp.variableUpperLimit;
    int passes = 0;
    MMaxMonitor monitor;
    monitor.pass = [&passes](int k) { passes = k; };
    const TruncatedDistribution dist = [&](double upper, const double* m, double* out, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k)
            out[k] = m[k] < mMin ? 0.0 : m[k] > upper ? 1.0 : F(m[k], upper);
    };
    try {
        const double estimate = IterateMMax(it, dist, monitor);
        if (!std::isfinite(estimate)) return failed("Wynik nie jest liczbą skończoną");
        MMaxResult r = withDelta(it.largestObserved, estimate - it.largestObserved, sigmaM);
        r.passes = passes;
        return r;
    } catch (const EBreakProcess&) {
        throw;
    } catch (...) {
        MMaxResult r = failed(MMaxFailureText(std::current_exception()));
        r.passes = passes;
        return r;
    }
}

// The published form: Mmax = x_(n) + ∫_{MMin}^{Mmax} F(m; Mmax)^n dm, Mmax
// in the normalising constant and as the upper limit, the equation solved
// for Mmax. g(M) = x_(n) + I(M) − M is positive at M = x_(n); the upper end
// of the bracket is found by doubling steps from there (no root below
// valueLimit: failure), then bisection narrows it to 1e-9 magnitude.
MMaxResult solveEquation(const std::vector<double>& x, double mMin, const MMaxFixedPoint& fp,
                         const std::function<double(double m, double upper)>& F, double sigmaM) {
    const double largest = *std::max_element(x.begin(), x.end());
    const int n = static_cast<int>(x.size());
    // The integral's tolerance, far below the width of the final bracket.
    const double tolerance = 1e-10;
    std::vector<double> buffer;
    const auto g = [&](double M) {
        const double integral = GaussLegendreIntegralBatch(
            [&](const double* m, double* out, std::size_t count) {
                for (std::size_t k = 0; k < count; ++k)
                    out[k] = m[k] < mMin ? 0.0 : m[k] > M ? 1.0 : F(m[k], M);
            },
            mMin, M, n, tolerance);
        return largest + integral - M;
    };
    try {
        double lo = largest;
        const double gLargest = g(largest);
        if (!std::isfinite(gLargest)) return failed("Wynik nie jest liczbą skończoną");
        if (gLargest <= 0.0) return withDelta(largest, 0.0, sigmaM);
        double step = std::max(gLargest, 1e-3);
        double hi = largest + step;
        int passes = 1;
        for (;;) {
            if (hi > fp.valueLimit)
                return failed("Brak rozwiązania równania poniżej dopuszczalnej magnitudy");
            const double gHi = g(hi);
            ++passes;
            if (!std::isfinite(gHi)) return failed("Wynik nie jest liczbą skończoną");
            if (gHi <= 0.0) break;
            lo = hi;
            step *= 2.0;
            hi = largest + step;
        }
        while (hi - lo > 1e-9) {
            const double mid = 0.5 * (lo + hi);
            (g(mid) > 0.0 ? lo : hi) = mid;
            ++passes;
        }
        MMaxResult r = withDelta(largest, 0.5 * (lo + hi) - largest, sigmaM);
        r.passes = passes;
        return r;
    } catch (const EBreakProcess&) {
        throw;
    } catch (...) {
        return failed(MMaxFailureText(std::current_exception()));
    }
}

// F(m; upper) of Kijko–Sellevoll–Bayes (header), β uncertain with σ_β = β/√n.
std::function<double(double, double)> kijkoSellevollBayesLaw(double n, double mMin, double beta) {
    // σ_β = β/√n: q = n, p = n/β. (p/(p + y))^q = exp(−q·log1p(y/p)), exact
    // for the large q of big samples.
    const double q = n;
    const double p = n / beta;
    return [q, p, mMin](double m, double upper) {
        return -std::expm1(-q * std::log1p((m - mMin) / p)) /
               (1.0 - std::exp(-q * std::log1p((upper - mMin) / p)));
    };
}

// F(m; upper) of the Gaussian kernel (header). Catalogue magnitudes repeat
// (they are rounded): each distinct value once, with its count, gives the
// same sums at a fraction of the cost; the denominator is kept for the last
// upper limit asked for.
std::function<double(double, double)> gaussianKernelLaw(const std::vector<double>& x, double mMin, double h) {
    struct Kernel {
        std::vector<double> values, weights, atLower;
        double h = 0.0;
        double cachedUpper = std::numeric_limits<double>::quiet_NaN(), denominator = 0.0;
        double sum(double m) const {
            double s = 0.0;
            for (std::size_t j = 0; j < values.size(); ++j)
                s += weights[j] * (normalCdf((m - values[j]) / h) - atLower[j]);
            return s;
        }
    };
    auto k = std::make_shared<Kernel>();
    k->h = h;
    std::map<double, double> counts;
    for (const double v : x) counts[v] += 1.0;
    for (const auto& [v, c] : counts) {
        k->values.push_back(v);
        k->weights.push_back(c);
        k->atLower.push_back(normalCdf((mMin - v) / h));
    }
    return [k](double m, double upper) {
        if (upper != k->cachedUpper) {
            k->cachedUpper = upper;
            k->denominator = k->sum(upper);
        }
        return k->sum(m) / k->denominator;
    };
}

}  // namespace

std::string MMaxFailureText(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ETooManyIterations&) {
        return "Brak zbieżności: osiągnięto limit iteracji";
    } catch (const EMMaxEstExceeded&) {
        return "Brak zbieżności: estymator przekroczył dopuszczalną magnitudę";
    } catch (const ENoMMaxRoot&) {
        return "Brak rozwiązania równania poniżej dopuszczalnej magnitudy";
    } catch (const ETooLargeMagnitude&) {
        return "Estymator przekroczył dopuszczalną magnitudę";
    } catch (const ESampleTooLow&) {
        return "Zbyt mała próba";
    } catch (const ENoRecords&) {
        return "Brak zjawisk powyżej progu kompletności";
    } catch (const EHFactorBelowZero&) {
        return "Brak rozwiązania w dopuszczalnym przedziale";
    } catch (const EDerivZero&) {
        return "Pochodna równa zero";
    } catch (const EZeroNotFound&) {
        return "Nie znaleziono miejsca zerowego";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Nieznany błąd";
    }
}

MMaxResult RobsonWhitlock(const std::vector<double>& x, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    const std::vector<double> s = descending(x);
    return withDelta(s[0], s[0] - s[1], sigmaM, 5.0);
}

MMaxResult RobsonWhitlockCooke(const std::vector<double>& x, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    const std::vector<double> s = descending(x);
    const double n = static_cast<double>(s.size());
    // Σ w_i·x_(n−i), w_i = (1 − i/n)^n − (1 − (i+1)/n)^n; the weights fall
    // off like e^(−i), so the sum stops once they vanish.
    double weighted = 0.0;
    double upper = 1.0;  // (1 − i/n)^n
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double lower = i + 1 == s.size() ? 0.0 : std::pow(1.0 - static_cast<double>(i + 1) / n, n);
        weighted += (upper - lower) * s[i];
        upper = lower;
        if (upper == 0.0) break;
    }
    return withDelta(s[0], s[0] - weighted, sigmaM);
}

MMaxResult TatePisarenko(const std::vector<double>& x, double mMin, double beta, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    if (!(beta > 0.0) || !std::isfinite(beta)) return failed(kNoBeta);
    const double largest = *std::max_element(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    const double t = beta * (largest - mMin);
    // (1 − e^(−t))/(n·β·e^(−t)) = (e^t − 1)/(n·β)
    const double delta = std::expm1(t) / (n * beta);
    if (!std::isfinite(delta)) return failed("Wynik nie jest liczbą skończoną");
    return withDelta(largest, delta, sigmaM);
}

MMaxResult KijkoSellevollBayes(const std::vector<double>& x, double mMin, double beta,
                               const MMaxFixedPoint& fp, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    if (!(beta > 0.0) || !std::isfinite(beta)) return failed(kNoBeta);
    return iterate(x, mMin, fp, kijkoSellevollBayesLaw(static_cast<double>(x.size()), mMin, beta), sigmaM);
}

MMaxResult KijkoSellevollBayesEquation(const std::vector<double>& x, double mMin, double beta,
                                       const MMaxFixedPoint& fp, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    if (!(beta > 0.0) || !std::isfinite(beta)) return failed(kNoBeta);
    return solveEquation(x, mMin, fp, kijkoSellevollBayesLaw(static_cast<double>(x.size()), mMin, beta),
                         sigmaM);
}

MMaxResult GaussianKernelMMax(const std::vector<double>& x, double mMin, double h, const MMaxFixedPoint& fp,
                              double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    if (!(h > 0.0) || !std::isfinite(h)) return failed("Współczynnik gładkości nie jest dodatni");
    return iterate(x, mMin, fp, gaussianKernelLaw(x, mMin, h), sigmaM);
}

MMaxResult GaussianKernelMMaxEquation(const std::vector<double>& x, double mMin, double h,
                                      const MMaxFixedPoint& fp, double sigmaM) {
    if (x.size() < 2) return failed(kTooFew);
    if (!(h > 0.0) || !std::isfinite(h)) return failed("Współczynnik gładkości nie jest dodatni");
    return solveEquation(x, mMin, fp, gaussianKernelLaw(x, mMin, h), sigmaM);
}

double RuleOfThumbSmoothing(const std::vector<double>& x) {
    if (x.size() < 2) return 0.0;
    std::vector<double> s = x;
    std::sort(s.begin(), s.end());
    if (s.front() == s.back()) return 0.0;
    const double n = static_cast<double>(s.size());
    const double mean = std::accumulate(s.begin(), s.end(), 0.0) / n;
    double ss = 0.0;
    for (const double v : s) ss += (v - mean) * (v - mean);
    const double sd = std::sqrt(ss / (n - 1.0));
    // Quantiles by linear interpolation between order statistics.
    const auto quantile = [&](double prob) {
        const double pos = prob * (n - 1.0);
        const std::size_t k = static_cast<std::size_t>(std::floor(pos));
        const double frac = pos - static_cast<double>(k);
        return k + 1 < s.size() ? s[k] + frac * (s[k + 1] - s[k]) : s[k];
    };
    const double iqr = quantile(0.75) - quantile(0.25);
    const double spread = iqr > 0.0 ? std::min(sd, iqr / 1.34) : sd;
    return 0.9 * spread * std::pow(n, -0.2);
}

}  // namespace zorv
