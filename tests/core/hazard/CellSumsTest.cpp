// The cross-validation sums by expansions between cells against the
// defining pair sums (every pair, the kernels of the formulas in
// KernelSums.h with the library exponential, summed in long double): the
// error stays within the stated bound, also at orders so low that the
// truncation is what the bound has to cover; and the smoothing factor the
// estimator finds with them on a large sample is that of Newton's iteration
// on the criterion summed pair by pair.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "HazardTestSupport.h"
#include "hazard/CellSums.h"
#include "hazard/KernelSums.h"
#include "hazard/Numerics.h"

namespace zorv {
namespace {

struct Sums {
    long double function = 0, derivative = 0;
    long double absolute = 0;  // Σ of |terms|, for the rounding of double sums
};

// Over the pairs i < j of the ascending sample; pairs further apart than
// `reach` bandwidths are left out (their terms are below 1e-30).
Sums pairSums(const std::vector<double>& x, double h, double reach = 1e300) {
    const long double r = 1.0L / std::sqrt(2.0L);
    Sums s;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        for (std::size_t j = i + 1; j < x.size() && x[j] - x[i] <= reach * h; ++j) {
            const long double u = (static_cast<long double>(x[j]) - x[i]) / h, t = u * u;
            const long double e1 = std::exp(-t / 4), e2 = e1 * e1;
            const long double f = (0.5L * t - 1) * r * e1 - 2 * (t - 1) * e2;
            const long double d = t * (r * (0.5L * t - 3) * e1 - 4 * (t - 3) * e2);
            s.function += f;
            s.derivative += d;
            s.absolute += std::fabs(f) + std::fabs(d);
        }
    return s;
}

std::vector<double> sorted(std::vector<double> x) {
    std::sort(x.begin(), x.end());
    return x;
}

std::vector<double> rounded(std::vector<double> x, double step) {
    for (double& v : x) v = std::round(v / step) * step;
    return sorted(x);
}

const auto never = [] { return false; };

// The estimator on a sample given as such.
class SampleEstimator : public NonParametricHazard {
public:
    SampleEstimator(const AnalysisSettings& s, const std::vector<double>& m)
        : NonParametricHazard(s, m, -1.0, 5.0, {0, 0, 0}) {}
    bool WriteReport(ReportLines&) override { return false; }
};

TEST(CellSums, ErrorStaysWithinTheBound) {
    const std::vector<double> continuous = sorted(testing::grSample(2000, 41, 1.0, 4.5));
    const struct {
        const char* name;
        std::vector<double> x;
    } samples[] = {
        {"continuous", continuous},
        {"to 0.01", rounded(testing::grSample(2000, 42, 1.0, 4.5), 0.01)},
        // Ties: whole cells of equal values, one value alone in its cell.
        {"to 0.1", rounded(testing::grSample(2000, 43, 0.5, 3.0), 0.1)},
        {"two clusters", sorted([] {
             std::vector<double> x = testing::grSample(1000, 44, 1.0, 1.2);
             const std::vector<double> far = testing::grSample(1000, 45, 6.0, 9.0, 0.3);
             x.insert(x.end(), far.begin(), far.end());
             return x;
         }())},
    };
    for (const auto& s : samples) {
        for (const double h : {0.0007, 0.004, 0.03, 0.2, 1.5}) {
            SCOPED_TRACE(std::string(s.name) + ", h = " + std::to_string(h));
            const Sums exact = pairSums(s.x, h);
            const long double rounding = 1e-13L * exact.absolute;
            const CellSums cells(s.x.data(), s.x.size(), h, 1e-11 * static_cast<double>(s.x.size()));
            double out[2];
            ASSERT_TRUE(cells.sums(true, out, never));
            EXPECT_LE(std::fabs(out[0] - exact.function), cells.functionBound() + rounding);
            EXPECT_LE(std::fabs(out[1] - exact.derivative), cells.derivativeBound() + rounding);
            // The order chosen meets the target of 1e-11 of n.
            EXPECT_LE(cells.functionBound(), 1e-11 * static_cast<double>(s.x.size()));

            // Low orders: the truncation is large, and inside the bound.
            for (const std::size_t p : {2u, 4u, 6u, 10u}) {
                SCOPED_TRACE("p = " + std::to_string(p));
                const CellSums low(s.x.data(), s.x.size(), h, 0.0, p);
                ASSERT_EQ(low.order(), p);
                ASSERT_TRUE(low.sums(true, out, never));
                const long double errF = std::fabs(out[0] - exact.function);
                const long double errD = std::fabs(out[1] - exact.derivative);
                EXPECT_LE(errF, low.functionBound() + rounding);
                EXPECT_LE(errD, low.derivativeBound() + rounding);
                if (p == 2u && s.x == continuous && h > 0.001 && h < 0.1) {
                    EXPECT_GT(errF, 100.0L * rounding);
                }
            }
        }
    }
}

TEST(CellSums, StopIsHonoured) {
    const std::vector<double> x = sorted(testing::grSample(40000, 46, 1.0, 4.5));
    const CellSums cells(x.data(), x.size(), 0.0005, 1e-11 * 40000.0);
    double out[2];
    int polls = 0;
    EXPECT_FALSE(cells.sums(true, out, [&polls] { return ++polls >= 1; }));
    const KernelSums sums(x);
    KernelSums::LscvParts parts;
    EXPECT_FALSE(sums.lscv(0.003, true, parts, [] { return true; }));
}

// Above 30,000 events the estimator's sums are the cells'; its smoothing
// factor is the zero Newton's iteration finds on the criterion of the pair
// sums (the pairs within the loop's reach), to far less than the search's
// own tolerance.
TEST(CellSums, SmoothingFactorIsThatOfThePairSums) {
    const std::vector<double> m = testing::grSample(30000, 47, 1.0, 4.5);
    AnalysisSettings s = testing::hazardSettings();
    s.WithProgress = false;
    s.RTNIStart = 0.003;  // near the zero, where the pairs in reach are few
    const SampleEstimator e(s, m);
    const double fast = e.SmoothingFactor();

    // The pairs within the loop's reach, the exponential in double, summed
    // in long double; the function and its derivative of one h at a time.
    const std::vector<double> x = sorted(m);
    const double n = static_cast<double>(x.size());
    double at = -1.0;
    long double sumF = 0, sumD = 0;
    const auto evaluate = [&](double h) {
        if (h == at) return;
        at = h;
        sumF = sumD = 0;
        const double r = std::sqrt(0.5), reach = std::sqrt(300.0) * h;
        for (std::size_t i = 0; i + 1 < x.size(); ++i)
            for (std::size_t j = i + 1; j < x.size() && x[j] - x[i] <= reach; ++j) {
                const double u = (x[j] - x[i]) / h, t = u * u;
                const double e1 = std::exp(-0.25 * t), e2 = e1 * e1;
                sumF += (0.5 * t - 1) * r * e1 - 2 * (t - 1) * e2;
                sumD += t * (r * (0.5 * t - 3) * e1 - 4 * (t - 3) * e2);
            }
    };
    const RealFunction f = [&](double h) {
        evaluate(h);
        return static_cast<double>(n * (2.0 - std::sqrt(0.5)) - 2.0 * n + 2.0L * sumF);
    };
    const RealFunction df = [&](double h) {
        evaluate(h);
        return static_cast<double>(sumD / h);
    };
    const double exact = RTNI(f, df, s.RTNIStart, s.Epsilon, s.Iterations, [](int) {});
    EXPECT_NEAR(fast, exact, 1e-9 * exact);
    EXPECT_GT(fast, 0.0);

    // The criterion at that h agrees with the pair sums to its bound.
    const KernelSums sums(m);
    KernelSums::LscvParts parts;
    ASSERT_TRUE(sums.lscv(fast, true, parts, never));
    const CellSums cells(x.data(), x.size(), fast, 1e-11 * n);
    evaluate(fast);
    EXPECT_LE(std::fabs(parts.function - sumF), cells.functionBound() + 1e-12L * n);
}

}  // namespace
}  // namespace zorv
