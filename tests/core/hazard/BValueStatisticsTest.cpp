// The b-value statistics against hand-worked samples, SciPy and seeded
// synthetic catalogues. The SciPy figures come from /usr/bin/python3
// (SciPy 1.10); each test gives its command.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "hazard/BValueStatistics.h"

namespace zorv {
namespace {

const double kLn10 = std::log(10.0);

// Gutenberg–Richter magnitudes from mc with the given b, unbounded above.
std::vector<double> grMagnitudes(std::size_t n, std::uint64_t seed, double mc, double b) {
    std::mt19937_64 rng(seed);
    std::vector<double> m(n);
    for (double& v : m) {
        const double u = static_cast<double>(rng() >> 11) * 0x1.0p-53;
        v = mc - std::log1p(-u) / (b * kLn10);
    }
    return m;
}

// Hand-worked: M = 1.0 1.2 1.5 1.1 2.0, M̄ = 1.36, Σ(Mi − M̄)² = 0.652.
// python3 -c "import numpy as np,math; m=np.array([1.0,1.2,1.5,1.1,2.0]);
//   print(math.log(10)*1.2**2*math.sqrt(((m-m.mean())**2).sum()/20),
//         math.log10(math.e)/(m.mean()-1.0), math.log10(math.e)/(m.mean()-0.95))"
// → 0.5986692902208606 1.2063735608423658 1.05925483391037
TEST(BValueStatistics, AkiUtsuAndItsErrorsOnAHandWorkedSample) {
    const std::vector<double> m{1.0, 1.2, 1.5, 1.1, 2.0};
    const SampleMoments s = sampleMoments(m);
    EXPECT_EQ(s.n, 5u);
    EXPECT_NEAR(s.mean, 1.36, 1e-15);
    EXPECT_NEAR(s.sumSquares, 0.652, 1e-14);
    EXPECT_NEAR(shiBoltStandardError(1.2, m), 0.5986692902208606, 1e-14);
    EXPECT_NEAR(shiBoltStandardError(1.2, s), 0.5986692902208606, 1e-14);

    std::size_t used = 0;
    EXPECT_NEAR(akiUtsuB(m, 1.0, 0.0, &used), 1.2063735608423658, 1e-14);
    EXPECT_EQ(used, 5u);
    // The bin correction lowers the threshold by half a bin.
    EXPECT_NEAR(akiUtsuB(m, 1.0, 0.1), 1.05925483391037, 1e-13);
    EXPECT_DOUBLE_EQ(akiStandardError(1.2, 36), 0.2);

    // Magnitudes below Mc are left out: adding 0.5 and 0.9 changes nothing.
    std::vector<double> more = m;
    more.insert(more.begin(), {0.5, 0.9});
    EXPECT_EQ(akiUtsuB(more, 1.0, 0.0, &used), akiUtsuB(m, 1.0, 0.0));
    EXPECT_EQ(used, 5u);
    // A binned 0.95 counts from Mc = 1.0 (it lies in the bin of 1.0), 0.94 not.
    EXPECT_EQ(akiUtsuB(std::vector<double>{0.94, 1.0, 1.2}, 1.0, 0.1, &used),
              akiUtsuB(std::vector<double>{1.0, 1.2}, 1.0, 0.1));
    EXPECT_EQ(used, 2u);
}

TEST(BValueStatistics, DegenerateSamplesGiveNoEstimate) {
    EXPECT_EQ(akiUtsuB(std::vector<double>{1.5}, 1.0, 0.0), 0.0);
    EXPECT_EQ(akiUtsuB(std::vector<double>{1.0, 1.0, 1.0}, 1.0, 0.0), 0.0);  // mean on the threshold
    EXPECT_EQ(shiBoltStandardError(1.0, std::vector<double>{1.5}), 0.0);
    EXPECT_EQ(truncatedBetaStandardError(2.0, 1.0, 0), 0.0);
    EXPECT_EQ(truncatedBetaStandardError(0.0, 1.0, 10), 0.0);
    EXPECT_EQ(bPositive(std::vector<double>{1.0, 1.5}, 0.2, 0.0).b, 0.0);  // one difference only
}

// The Fisher information is the variance of the truncated exponential:
// python3 -c "from scipy.stats import truncexpon; import math
//   for beta,r,n in [(2.3,1.5,100),(2.0,0.3,50),(1.5,8.0,400)]:
//     v=truncexpon(b=beta*r, scale=1/beta).var(); print(v, 1/math.sqrt(n*v))"
// The counts of 24 bins of 0.1 from Mc = 1.0 (about b = 1), and the
// maximum-likelihood b of the geometric law of the bin offsets with the
// error from the curvature of its log-likelihood, by SciPy:
//   /usr/bin/python3 -c "
//   import numpy as np; from scipy.stats import geom; from scipy.optimize import minimize_scalar
//   c = [250,198,160,126,100,80,63,50,40,32,25,20,16,13,10,8,6,5,4,3,2,2,1,1]
//   k = np.repeat(np.arange(24), c); f = lambda t: -geom.logpmf(k + 1, 1 - np.exp(-t * 0.1)).sum()
//   t = minimize_scalar(f, bounds=(0.1, 10), method='bounded', options={'xatol': 1e-12}).x
//   i = (f(t + 1e-4) - 2 * f(t) + f(t - 1e-4)) / 1e-8; print(t / np.log(10), 1 / np.sqrt(i) / np.log(10))"
//   -> 1.0258714743261281 0.02949945567595761 (Aki–Utsu 1.0211278094096776)
const std::vector<int> kBinnedCounts{250, 198, 160, 126, 100, 80, 63, 50, 40, 32, 25, 20,
                                     16,  13,  10,  8,   6,   5,  4,  3,  2,  2,  1,  1};

TEST(BValueStatistics, TintiMulargiaIsTheLikelihoodEstimateOfBinnedMagnitudes) {
    std::vector<double> m{0.8, 0.9, 0.94};  // below Mc − ΔM/2: left out
    for (std::size_t k = 0; k < kBinnedCounts.size(); ++k)
        m.insert(m.end(), static_cast<std::size_t>(kBinnedCounts[k]), 1.0 + 0.1 * static_cast<double>(k));
    const BinnedB tm = tintiMulargiaB(m, 1.0, 0.1);
    EXPECT_EQ(tm.n, 1215u);
    EXPECT_NEAR(tm.b, 1.0258714743261281, 1e-7);  // the minimiser's own precision
    EXPECT_NEAR(tm.standardError, 0.02949945567595761, 1e-6);
    EXPECT_NEAR(akiUtsuB(m, 1.0, 0.1), 1.0211278094096776, 1e-12);
}

TEST(BValueStatistics, TintiMulargiaLimitsAndDegenerateSamples) {
    // ΔM → 0: Aki's estimate and error.
    const BinnedB fine = tintiMulargiaB(0.4, 1000, 1e-7);
    EXPECT_NEAR(fine.b, std::log10(std::exp(1.0)) / 0.4, 1e-6);
    EXPECT_NEAR(fine.standardError, fine.b / std::sqrt(1000.0), 1e-6);
    // On a large sample of true b = 1 binned at 0.1 it is unbiased; Aki–Utsu
    // tends to log10(e) / (ΔM (q / (1 − q) + 1/2)) = 0.99560505, q = 10^−0.1
    // (the mean bin offset of the geometric law).
    std::mt19937_64 rng(1987);
    std::vector<double> m(1000000);
    for (double& v : m) {
        const double u = static_cast<double>(rng() >> 11) * 0x1.0p-53;
        v = std::round((0.95 - std::log1p(-u) / kLn10) * 10.0) / 10.0;
    }
    const BinnedB tm = tintiMulargiaB(m, 1.0, 0.1);
    EXPECT_NEAR(tm.b, 1.0, 3.0 * tm.standardError);
    EXPECT_NEAR(akiUtsuB(m, 1.0, 0.1), 0.99560505, 3.0 * tm.standardError);
    for (const BinnedB& none : {tintiMulargiaB(std::vector<double>{1.0, 1.0, 1.0}, 1.0, 0.1),
                                tintiMulargiaB(std::vector<double>{1.0}, 1.0, 0.1),
                                tintiMulargiaB(std::vector<double>{1.0, 1.2}, 1.0, 0.0)}) {
        EXPECT_TRUE(std::isnan(none.b));
        EXPECT_TRUE(std::isnan(none.standardError));
    }
}

TEST(BValueStatistics, TruncatedBetaErrorMatchesTheVarianceOfTheDistribution) {
    struct Row {
        double beta, range;
        std::size_t n;
        double variance, error;
    } rows[] = {{2.3, 1.5, 100, 0.11284773145879062, 0.2976826913505085},
                {2.0, 0.3, 50, 0.007366904552324981, 1.647678505800161},
                {1.5, 8.0, 400, 0.44405121002161463, 0.07503320118779816}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.range);
        EXPECT_NEAR(truncatedFisherInformation(r.beta, r.range), r.variance, 1e-12 * r.variance);
        EXPECT_NEAR(truncatedBetaStandardError(r.beta, r.range, r.n), r.error, 1e-11 * r.error);
    }
}

// σ(β) is 1/√(−d² ln L/dβ²) of the log-likelihood itself, here by a central
// second difference on a seeded sample.
TEST(BValueStatistics, TruncatedBetaErrorIsTheCurvatureOfTheLogLikelihood) {
    const double a = 1.3, r = 1.2, beta = 2.1;
    const std::vector<double> m = grMagnitudes(500, 17, a, beta / kLn10);
    std::vector<double> x;
    for (double v : m)
        if (v <= a + r) x.push_back(v - a);
    double sum = 0.0;
    for (double v : x) sum += v;
    const double n = static_cast<double>(x.size());
    const auto logL = [&](double b) { return n * std::log(b) - b * sum - n * std::log(-std::expm1(-b * r)); };
    const double h = 1e-3;
    const double second = (logL(beta + h) - 2.0 * logL(beta) + logL(beta - h)) / (h * h);
    EXPECT_NEAR(truncatedBetaStandardError(beta, r, x.size()), 1.0 / std::sqrt(-second), 1e-5);
}

TEST(BValueStatistics, TruncatedBetaErrorLimits) {
    // A wide range leaves the Aki error β/√n, a narrow one the uniform law
    // (variance r²/12), also where the closed form would cancel.
    EXPECT_NEAR(truncatedBetaStandardError(2.3, 60.0, 100), 0.23, 1e-12);
    for (double r : {1e-2, 1e-4, 1e-7}) {
        SCOPED_TRACE(r);
        EXPECT_NEAR(truncatedBetaStandardError(2.0, r, 120) * r, 1.0 / std::sqrt(10.0), 1e-4);
    }
    // Both sides of the switch to the series agree.
    const double below = truncatedFisherInformation(1.0, 0.999e-3),
                 above = truncatedFisherInformation(1.0, 1.001e-3);
    EXPECT_NEAR(below / (0.999e-3 * 0.999e-3), above / (1.001e-3 * 1.001e-3), 1e-6);
}

// Hand-worked: M = 1.0 1.5 1.2 1.9 2.0 1.4 2.4, differences 0.5 −0.3 0.7 0.1
// −0.6 1.0; those from δ = 0.2 are 0.5 0.7 1.0, mean 0.7333.
// python3 -c "import math; d=2.2/3-0.2; print(math.log10(math.e)/d, math.log10(1+0.1/d)/0.1)"
// → 0.814302153568597 0.7463361829690418
TEST(BValueStatistics, BPositiveOnAHandWorkedSample) {
    const std::vector<double> m{1.0, 1.5, 1.2, 1.9, 2.0, 1.4, 2.4};
    const BPositive continuous = bPositive(m, 0.2, 0.0);
    EXPECT_EQ(continuous.differences, 3u);
    EXPECT_NEAR(continuous.b, 0.814302153568597, 1e-12);
    EXPECT_NEAR(continuous.standardError, 0.814302153568597 / std::sqrt(3.0), 1e-12);
    // Binned at 0.1: the difference 0.1 stays out, the geometric form applies.
    const BPositive binned = bPositive(m, 0.2, 0.1);
    EXPECT_EQ(binned.differences, 3u);
    EXPECT_NEAR(binned.b, 0.7463361829690418, 1e-12);
}

// 10,000 events with b = 1 from M 1.0; after each event of M 3 or more the
// network misses the next 30 events below M 2.0, as after a strong tremor.
// b-positive recovers b within its error; the Aki–Utsu b from M 1.0 does not.
TEST(BValueStatistics, BPositiveRecoversBOfAnIncompleteCatalogue) {
    const std::vector<double> all = grMagnitudes(10000, 2021, 1.0, 1.0);
    std::vector<double> seen;
    int blind = 0;
    for (double m : all) {
        if (blind > 0 && m < 2.0) {
            --blind;
            continue;
        }
        seen.push_back(m);
        if (m >= 3.0) blind = 30;
    }
    ASSERT_LT(seen.size(), all.size() - 200);
    const BPositive p = bPositive(seen, 0.2, 0.0);
    EXPECT_GT(p.differences, 2000u);  // P(d ≥ 0.2) = 10^−0.2 / 2 of the pairs
    EXPECT_NEAR(p.b, 1.0, 3.0 * p.standardError);
    const double aki = akiUtsuB(seen, 1.0, 0.0);
    EXPECT_GT(std::fabs(aki - 1.0), 3.0 * akiStandardError(aki, seen.size()));

    // The same catalogue binned at 0.1, with the discrete form.
    std::vector<double> binned;
    for (double m : seen) binned.push_back(std::round(m * 10.0) / 10.0);
    const BPositive q = bPositive(binned, 0.2, 0.1);
    EXPECT_NEAR(q.b, 1.0, 3.0 * q.standardError);
    // The continuous form on binned values is biased by the bin.
    EXPECT_GT(std::fabs(bPositive(binned, 0.2, 0.0).b - q.b), q.standardError);
}

// python3 -c "import math; from scipy.stats import chi2
//   d=lambda b1,n1,b2,n2: -2*(n1+n2)*math.log(n1+n2)+2*n1*math.log(n1+n2*b1/b2)+2*n2*math.log(n1*b2/b1+n2)-2
//   for a in [(1.0,200,1.3,300),(0.9,50,1.0,80)]:
//     x=d(*a); print(x, math.exp(-x/2-2), chi2.sf(x+2,1))"
TEST(BValueStatistics, UtsuTestAgainstSciPy) {
    struct Row {
        double b1;
        std::size_t n1;
        double b2;
        std::size_t n2;
        double aic, p, pValue;
    } rows[] = {{1.0, 200, 1.3, 300, 6.3829795200067565, 0.005563712042173021, 0.0037875101382042527},
                {0.9, 50, 1.0, 80, -1.6558029825525864, 0.3097163164413889, 0.5574165843219197}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.b1);
        EXPECT_NEAR(utsuDeltaAic(r.b1, r.n1, r.b2, r.n2), r.aic, 1e-9);
        EXPECT_NEAR(utsuProbability(r.b1, r.n1, r.b2, r.n2), r.p, 1e-12);
        EXPECT_NEAR(utsuLikelihoodRatioPValue(r.b1, r.n1, r.b2, r.n2), r.pValue, 1e-10);
        // Symmetric in the two samples.
        EXPECT_NEAR(utsuProbability(r.b2, r.n2, r.b1, r.n1), r.p, 1e-12);
        EXPECT_NEAR(utsuLikelihoodRatioPValue(r.b2, r.n2, r.b1, r.n1), r.pValue, 1e-10);
    }
    EXPECT_TRUE(std::isnan(utsuProbability(0.0, 10, 1.0, 10)));
    EXPECT_TRUE(std::isnan(utsuProbability(1.0, 0, 1.0, 10)));
}

TEST(BValueStatistics, UtsuTestOfOneSampleAndOfDifferentOnes) {
    // Two halves of one sample, every other magnitude in size order: b
    // nearly equal, the p-value near 1 and Utsu's P near its largest value
    // e⁻¹.
    std::vector<double> m = grMagnitudes(4000, 5, 1.0, 1.0);
    std::sort(m.begin(), m.end());
    std::vector<double> odd, even;
    for (std::size_t i = 0; i < m.size(); ++i) (i % 2 ? odd : even).push_back(m[i]);
    const double b1 = akiUtsuB(odd, 1.0, 0.0), b2 = akiUtsuB(even, 1.0, 0.0);
    EXPECT_GT(utsuLikelihoodRatioPValue(b1, odd.size(), b2, even.size()), 0.9);
    EXPECT_GT(utsuProbability(b1, odd.size(), b2, even.size()), 0.9 * std::exp(-1.0));
    EXPECT_LE(utsuProbability(b1, odd.size(), b2, even.size()), std::exp(-1.0));
    // Random halves of one sample: the p-value is uniform, so about 5 % of
    // the splits fall below 0.05; Utsu's P, close to the p-value where the
    // difference is significant, about as often.
    std::mt19937_64 rng(8);
    int below = 0, utsuBelow = 0;
    const int splits = 400;
    for (int k = 0; k < splits; ++k) {
        std::vector<double> a, c;
        for (double v : m) (rng() & 1 ? a : c).push_back(v);
        const double ba = akiUtsuB(a, 1.0, 0.0), bc = akiUtsuB(c, 1.0, 0.0);
        below += utsuLikelihoodRatioPValue(ba, a.size(), bc, c.size()) < 0.05;
        utsuBelow += utsuProbability(ba, a.size(), bc, c.size()) < 0.05;
    }
    EXPECT_GT(below, splits / 50);  // 2 %
    EXPECT_LT(below, splits / 10);  // 10 %
    EXPECT_NEAR(utsuBelow, below, 5);
    EXPECT_DOUBLE_EQ(utsuProbability(1.1, 300, 1.1, 700), std::exp(-1.0));
    EXPECT_DOUBLE_EQ(utsuLikelihoodRatioPValue(1.1, 300, 1.1, 700), 1.0);
    // b = 0.8 against b = 1.2, 1000 events each: clearly different.
    const std::vector<double> low = grMagnitudes(1000, 6, 1.0, 0.8), high = grMagnitudes(1000, 7, 1.0, 1.2);
    const double bl = akiUtsuB(low, 1.0, 0.0), bh = akiUtsuB(high, 1.0, 0.0);
    EXPECT_LT(utsuProbability(bl, low.size(), bh, high.size()), 1e-6);
    EXPECT_LT(utsuLikelihoodRatioPValue(bl, low.size(), bh, high.size()), 1e-6);
}

}  // namespace
}  // namespace zorv
