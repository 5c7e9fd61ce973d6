// The maximum-magnitude equation where substitution does not settle: the
// bracketing solver on closed forms, and the joint β–Mmax estimate of seeded
// Gutenberg–Richter samples (b = 1.3 from 1.0, truncated at 4.5) against the
// same equation solved independently with SciPy. The references come from
//
//   /usr/bin/python3 tests/core/hazard/joint_mmax_reference.py N MEAN XMAX 1.0 [fixed]
//
// with N, MEAN and XMAX the sample's size, mean and largest magnitude (the
// test checks them to 1e-12, so that the references stay tied to the
// samples); "none" there: the excess stays positive up to 10.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "HazardTestSupport.h"
#include "hazard/FixedPointRoot.h"
#include "hazard/HazardErrors.h"
#include "hazard/ParametricBootstrap.h"

namespace zorv {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

TEST(FixedPointRoot, SlowMapsLimitsAndNoRoot) {
    FixedPointBracket b;
    b.start = 3.0;
    b.limit = 10.0;
    // The map u + 0.002·(4.2 − u) has slope 0.998: substitution would need
    // thousands of passes to settle.
    FixedPointRoot r = SolveFixedPoint([](double u) { return 0.002 * (4.2 - u); }, b);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(r.root, 4.2, 1e-9);
    EXPECT_LT(r.evaluations, 60);
    // An excess with a positive asymptote has no root, however far.
    r = SolveFixedPoint([](double u) { return 0.05 + std::exp(-u); }, b);
    EXPECT_FALSE(r.found);
    // A root above the limit is not one; the limit itself is looked at.
    b.limit = 4.1;
    EXPECT_FALSE(SolveFixedPoint([](double u) { return 0.002 * (4.2 - u); }, b).found);
    b.limit = 4.2;
    r = SolveFixedPoint([](double u) { return 4.2 - u; }, b);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(r.root, 4.2, 1e-9);
    // No positive excess at the start: the start is the root.
    b.start = 5.0;
    b.limit = 10.0;
    r = SolveFixedPoint([](double u) { return 4.0 - u; }, b);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.root, 5.0);
    // A NaN excess is a failure, not a sign.
    b.start = 3.0;
    EXPECT_THROW(SolveFixedPoint([](double) { return std::nan(""); }, b), EZeroNotFound);
}

struct Seeded {
    int n;
    std::uint64_t seed;
    double mean, largest;  // of the sample, for the reference
    double variableMMax, variableBeta;
    double fixedMMax, fixedBeta;
};

// SciPy's roots (see the file's comment).
const Seeded kSamples[] = {
    {2000, 1, 1.3488694196825264, 3.6711452461938028, 4.140334763631, 2.863193445570, 3.823187365485,
     2.859177097743},
    {2000, 2, 1.3294484653583059, 3.3412623161821475, 3.556604624916, 3.025096354774, 3.431567318074,
     3.020977335197},
    {2000, 3, 1.343707538562505, 3.5936038074964167, 3.987230573632, 2.905151371902, 3.730455551305,
     2.901082778000},
    {200, 1, 1.2928177548195618, 3.2734771182973752, kNone, kNone, 3.856023103129, 3.413148870328},
    {200, 3, 1.3122751167795244, 2.6242265320083309, 2.938595054382, 3.159289665245, 2.736364631211,
     3.125573313318},
    {200, 4, 1.3254251093798315, 2.729685931343524, 3.118355966490, 3.041331168635, 2.859050140596,
     3.008678799523},
    {200, 8, 1.362808606226338, 3.6960384957390922, kNone, kNone, 4.312786817161, 2.753527034589},
    {200, 10, 1.3660016320208146, 2.9189205533031264, 3.310673221556, 2.698809578138, 3.055368816014,
     2.669936820675},
};

TEST(JointEstimate, SeededSamplesAgainstSciPy) {
    const AnalysisSettings s = testing::hazardSettings(1.0);
    for (const Seeded& c : kSamples) {
        SCOPED_TRACE(std::to_string(c.n) + " events, seed " + std::to_string(c.seed));
        const std::vector<double> x = testing::grSample(static_cast<std::size_t>(c.n), c.seed, 1.0, 4.5, 1.3);
        const double mean = std::accumulate(x.begin(), x.end(), 0.0) / c.n;
        const double largest = *std::max_element(x.begin(), x.end());
        ASSERT_NEAR(mean, c.mean, 1e-12);
        ASSERT_EQ(largest, c.largest);
        for (const bool variable : {true, false}) {
            SCOPED_TRACE(variable ? "variable upper limit" : "fixed upper limit");
            const double mMax = variable ? c.variableMMax : c.fixedMMax;
            const double beta = variable ? c.variableBeta : c.fixedBeta;
            const auto estimate = [&] {
                return EstimateBetaMMax(mean - 1.0, largest, c.n, 1.0, s, variable, [] {});
            };
            if (std::isnan(mMax)) {
                EXPECT_THROW(estimate(), ENoMMaxRoot);
                continue;
            }
            const JointEstimate e = estimate();
            // Substitution stops where two passes differ by less than
            // Epsilon (1e-5), up to Epsilon/(1 − slope) from the root; the
            // bracketing solver (more passes than 2·Iterations) goes to 1e-9.
            const bool bracketed = e.passes > 2 * s.Iterations;
            const double tolerance = bracketed ? 1e-6 : 2e-3;
            EXPECT_NEAR(e.mMax, mMax, tolerance);
            EXPECT_NEAR(e.beta, beta, tolerance);
        }
    }
}

TEST(JointEstimate, CancelReachesTheBracketingSolver) {
    // 200 events of seed 1: substitution runs past 10 in pass 13 (the
    // equation has no root), the solver goes on asking.
    const AnalysisSettings s = testing::hazardSettings(1.0);
    const std::vector<double> x = testing::grSample(200, 1, 1.0, 4.5, 1.3);
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / 200.0;
    const double largest = *std::max_element(x.begin(), x.end());
    int calls = 0;
    EXPECT_THROW(EstimateBetaMMax(mean - 1.0, largest, 200, 1.0, s, true,
                                  [&] {
                                      if (++calls > 16) throw EBreakProcess();
                                  }),
                 EBreakProcess);
    EXPECT_EQ(calls, 17);
}

}  // namespace
}  // namespace zorv
