// The Kolmogorov–Smirnov completeness test: its distance and fitted law
// against SciPy, the calibration of its p-value on samples of the law
// itself, its repetition, and the recovery of the known completeness of
// seeded catalogues (within one bin).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "hazard/Completeness.h"

namespace zorv {
namespace {

std::vector<double> fromCounts(std::int64_t firstBin, const std::vector<int>& counts) {
    std::vector<double> m;
    for (std::size_t i = 0; i < counts.size(); ++i)
        m.insert(m.end(), static_cast<std::size_t>(counts[i]),
                 static_cast<double>(firstBin + static_cast<std::int64_t>(i)) * 0.1);
    return m;
}

// The maximum-likelihood truncated geometric law of the bins from a
// candidate to the top and the largest distance to it, by SciPy:
//   /usr/bin/python3 -c "
//   import numpy as np; from scipy.optimize import minimize_scalar
//   c = [1,0,2,2,18,32,36,55,58,54,47,43,33,26,21,15,14,14,12,5,8,2,6,3,2,1,1,2,0,0,0,0,0,1,0,0,1]
//   for i in (4, 9):
//       x = np.array(c[i:], float); K = len(x); j = np.arange(K); n = x.sum()
//       f = lambda q: -(x * (np.log1p(-q) + j * np.log(q) - np.log1p(-q**K))).sum()
//       q = minimize_scalar(f, bounds=(1e-9, 1 - 1e-9), method='bounded', options={'xatol': 1e-14}).x
//       F = (1 - q**(j + 1)) / (1 - q**K); print(i, n, K, q, np.abs(np.cumsum(x) / n - F).max())"
//   -> 4 510 33 0.8739758938490739 0.16774751596167425
//      9 311 28 0.8072827458598412 0.024406187180135874
TEST(KsCompleteness, DistanceToTheFittedTruncatedLawMatchesSciPy) {
    const std::vector<int> counts{1, 0, 2, 2, 18, 32, 36, 55, 58, 54, 47, 43, 33, 26, 21, 15, 14, 14, 12,
                                  5, 8, 2, 6, 3,  2,  1,  1,  2,  0,  0,  0,  0,  0,  1,  0,  0,  1};
    const MagnitudeHistogram h = binMagnitudes(fromCounts(1, counts), 0.1);
    McOptions o;
    EXPECT_NEAR(mcKsTest(h, 4, o).distance, 0.16774751596167425, 1e-7);
    EXPECT_NEAR(mcKsTest(h, 9, o).distance, 0.024406187180135874, 1e-7);
    // 0.5 lies in the rising part: rejected; 1.0 follows the law.
    EXPECT_LT(mcKsTest(h, 4, o).pValue, 0.01);
    EXPECT_GE(mcKsTest(h, 9, o).pValue, 0.1);
    // Runs repeat; another seed draws other samples.
    EXPECT_EQ(mcKsTest(h, 9, o).pValue, mcKsTest(h, 9, o).pValue);
    EXPECT_EQ(mcKolmogorovSmirnov(h, o), mcKolmogorovSmirnov(h, o));
    // A bin that is no candidate has no test.
    EXPECT_TRUE(std::isnan(mcKsTest(h, 35, o).pValue));
}

// Magnitudes of the Gutenberg–Richter law (b) between mMin and mMax, each
// detected for sure from the lower edge of the bin of mcTrue and below it
// with a probability falling off as 0.8·exp(−(edge − m)/0.15).
std::vector<double> catalogue(std::uint64_t seed, std::size_t n, double b, double mcTrue, double mMax) {
    std::mt19937_64 g(seed);
    const auto u = [&g] { return static_cast<double>(g() >> 11) * 0x1.0p-53; };
    const double beta = b * std::log(10.0);
    const double mMin = mcTrue - 1.0;
    const double edge = mcTrue - 0.05;
    const double cut = std::isinf(mMax) ? 1.0 : -std::expm1(-beta * (mMax - mMin));
    std::vector<double> m;
    m.reserve(n);
    while (m.size() < n) {
        const double x = mMin - std::log1p(-u() * cut) / beta;
        if (x >= edge || u() < 0.8 * std::exp(-(edge - x) / 0.15)) m.push_back(x);
    }
    return m;
}

TEST(KsCompleteness, RecoversTheKnownCompletenessWithinOneBin) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        std::uint64_t seed;
        std::size_t n;
        double b, mc, mMax;
    } cases[] = {
        {11, 3000, 1.0, 1.1, kInf},  {12, 30000, 0.8, 1.5, kInf}, {13, 300000, 1.0, 0.8, kInf},
        {14, 2000, 1.3, 1.0, 4.5},   {15, 300000, 1.3, 1.0, 4.5}, {16, 3000000, 1.0, 1.3, 4.5},
        {17, 100000, 1.6, 0.5, 3.0},
    };
    McOptions o;
    o.bootstrapResamples = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.seed) + ": n = " + std::to_string(c.n));
        const CompletenessResult r =
            estimateCompleteness(catalogue(c.seed, c.n, c.b, c.mc, c.mMax), o, {McMethod::KolmogorovSmirnov});
        ASSERT_TRUE(r.estimates[0].mc);
        EXPECT_LE(std::abs(*r.estimates[0].mc - c.mc), 0.1 + 1e-9) << *r.estimates[0].mc;
    }
}

// On samples of the law itself the p-value is uniform: about a tenth of
// them fall below 0.1 (200 samples: 20 expected, 3σ = 12.7).
TEST(KsCompleteness, PValueIsCalibratedOnSamplesOfTheLaw) {
    McOptions o;
    int below = 0;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        const std::vector<double> m = catalogue(1000 + seed, 400, 1.0, 1.0, 3.5);
        std::vector<double> complete;
        for (double x : m)
            if (x >= 0.95) complete.push_back(x);
        const MagnitudeHistogram h = binMagnitudes(complete, 0.1);
        o.seed = seed;
        if (mcKsTest(h, 0, o).pValue < 0.1) ++below;
    }
    EXPECT_GE(below, 8);
    EXPECT_LE(below, 33);
}

}  // namespace
}  // namespace zorv
