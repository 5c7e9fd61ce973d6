// The interpolated cross-validation sums against the defining pair sums,
// taken in long double with the library exponential.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "HazardTestSupport.h"
#include "hazard/KernelSums.h"
#include "hazard/LowRankPairSums.h"

namespace zorv {
namespace {

struct Sums {
    long double function = 0, derivative = 0;
};

Sums pairSums(const std::vector<double>& x, double h) {
    const long double r = 1.0L / std::sqrt(2.0L);
    Sums s;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        for (std::size_t j = i + 1; j < x.size(); ++j) {
            const long double u = (static_cast<long double>(x[j]) - x[i]) / h, t = u * u;
            const long double e1 = std::exp(-t / 4), e2 = e1 * e1;
            s.function += (0.5L * t - 1) * r * e1 - 2 * (t - 1) * e2;
            s.derivative += t * (r * (0.5L * t - 3) * e1 - 4 * (t - 3) * e2);
        }
    return s;
}

std::vector<double> sorted(std::vector<double> x) {
    std::sort(x.begin(), x.end());
    return x;
}

const auto never = [] { return false; };

// From a bandwidth as wide as the range down to the sixtieth of it, where
// the interpolation needs 3,000 nodes; sizes off the eight-value groups and
// the 2,048-value chunks of the moments.
TEST(LowRankPairSums, EqualThePairSums) {
    for (std::size_t n : {2u, 3u, 9u, 2049u}) {
        const std::vector<double> x = sorted(testing::grSample(n, 41 + n, 1.0, 4.5));
        for (double h : {3.0, 0.9, 0.2, 0.05, 0.0071}) {
            const std::size_t p = LowRankDegree(x.back() - x.front(), h);
            ASSERT_GT(p, 0u);
            double out[2];
            ASSERT_TRUE(LowRankLscv(x.data(), x.size(), h, p, true, out, never));
            const Sums s = pairSums(x, h);
            // Relative to the largest term's size times the number of pairs
            // where the sum itself passes near zero.
            const double pairs = 0.5 * static_cast<double>(n * (n - 1));
            const double f = static_cast<double>(s.function), d = static_cast<double>(s.derivative);
            EXPECT_NEAR(out[0], f, 1e-13 * std::max(std::fabs(f), pairs)) << n << " " << h;
            EXPECT_NEAR(out[1], d, 1e-13 * std::max(std::fabs(d), pairs)) << n << " " << h;
            ASSERT_TRUE(LowRankLscv(x.data(), x.size(), h, p, false, out, never));
            EXPECT_EQ(out[1], 0.0);
        }
    }
}

// Repeated values and a sample of two values; the bandwidth's sign does not
// matter (the search may step to a negative h).
TEST(LowRankPairSums, TiesAndSigns) {
    std::vector<double> x(40, 1.5);
    for (std::size_t i = 20; i < 40; ++i) x[i] = 2.25;
    const Sums s = pairSums(x, 0.3);
    for (double h : {0.3, -0.3}) {
        double out[2];
        ASSERT_TRUE(LowRankLscv(x.data(), x.size(), h, LowRankDegree(0.75, h), true, out, never));
        EXPECT_NEAR(out[0], static_cast<double>(s.function), 1e-13 * 780);
        EXPECT_NEAR(out[1], static_cast<double>(s.derivative), 1e-13 * 780);
    }
    EXPECT_EQ(LowRankDegree(0.0, 0.3), 0u);
    EXPECT_EQ(LowRankDegree(0.75, 0.0), 0u);
    EXPECT_EQ(LowRankDegree(0.75, std::nan("")), 0u);
    EXPECT_EQ(LowRankDegree(0.75, 1e-300), 0u);
}

// The estimator's sums switch between the pair loop and the interpolation
// by cost: both sides of the switch agree with the definition, and a sample
// of one repeated value (no range to interpolate over) takes the loop.
TEST(LowRankPairSums, KernelSumsTakeEitherWay) {
    const std::vector<double> x = testing::grSample(4000, 7, 1.0, 4.5);
    const KernelSums sums(x);
    // Relative to the sum, or to the sample size where the sum passes near
    // zero (as the estimator's own tolerance is stated).
    for (double h : {0.5, 0.03, 0.008, 0.002}) {
        KernelSums::LscvParts parts;
        ASSERT_TRUE(sums.lscv(h, true, parts, never));
        const Sums s = pairSums(sorted(x), h);
        const double f = static_cast<double>(s.function), d = static_cast<double>(s.derivative);
        EXPECT_NEAR(parts.function, f, 1e-12 * std::max(std::fabs(f), 4000.0)) << h;
        EXPECT_NEAR(parts.derivative, d, 1e-12 * std::max(std::fabs(d), 4000.0)) << h;
    }
    const KernelSums same(std::vector<double>(50, 2.0));
    KernelSums::LscvParts parts;
    ASSERT_TRUE(same.lscv(0.1, true, parts, never));
    // 1225 pairs at t = 0: each term 2 − 1/√2, derivative terms 0.
    EXPECT_NEAR(parts.function, 1225 * (2.0 - 1.0 / std::sqrt(2.0)), 1e-9);
    EXPECT_EQ(parts.derivative, 0.0);
}

}  // namespace
}  // namespace zorv
