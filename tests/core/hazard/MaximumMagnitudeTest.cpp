// The maximum-magnitude iteration on distributions with closed forms, and the
// estimate of the kernel estimator against SciPy and on synthetic samples of
// known maximum magnitude.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "HazardTestSupport.h"
#include "hazard/HazardErrors.h"
#include "hazard/MaximumMagnitude.h"

namespace zorv {
namespace {

using testing::Estimator;
using testing::ScriptedProgress;

// F(m) = (m − a)/(upper − a): the uniform distribution truncated to [a, upper].
const TruncatedDistribution kUniform = [](double upper, const double* m, double* out, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) out[k] = (m[k] - 1.0) / (upper - 1.0);
};

MMaxIteration uniform(double mObs, int n, bool variable, double eps = 1e-9, int limit = 200) {
    MMaxIteration it;
    it.lower = 1.0;
    it.largestObserved = mObs;
    it.sampleSize = n;
    it.epsilon = eps;
    it.passLimit = limit;
    it.variableUpperLimit = variable;
    return it;
}

struct Passes {
    std::vector<int> passes;
    std::vector<double> estimates;
    MMaxMonitor monitor() {
        return {[this](int k) { passes.push_back(k); }, [this](double e) { estimates.push_back(e); }};
    }
};

// With a = 1, M = 3, n = 5: ∫_a^M ((m − a)/(u − a))^n dm = (M − a)^(n+1)/((n + 1)·(u − a)^n), so
// the first pass gives M + (M − a)/(n + 1) = 3 + 1/3 in both modes. The
// variable upper limit then follows u ← M + (u − a)/(n + 1), whose fixed point
// is a + (M − a)·(n + 1)/n = 3.4; the fixed one u ← M + (M − a)^(n+1)/((n + 1)·(u − a)^n), whose fixed
// point, scipy.optimize.brentq(lambda x: x-3-2**6/(6*(x-1)**5), 3, 6, xtol=1e-15), is 3.204752593954096.
TEST(IterateMMax, UniformDistribution) {
    struct Row {
        const char* name;
        bool variable;
        double limit;
    };
    for (const Row& r : {Row{"fixed", false, 3.204752593954096}, Row{"variable", true, 3.4}}) {
        Passes log;
        const double v = IterateMMax(uniform(3.0, 5, r.variable), kUniform, log.monitor());
        ASSERT_FALSE(log.estimates.empty()) << r.name;
        EXPECT_NEAR(log.estimates[0], 3.0 + 2.0 / 6.0, 1e-12) << r.name;
        EXPECT_NEAR(v, r.limit, 1e-8) << r.name;
        EXPECT_EQ(log.passes.size(), log.estimates.size() + 1) << r.name;
    }
    // One event: the variable upper limit doubles the observed range, 2M − a.
    EXPECT_NEAR(IterateMMax(uniform(3.0, 1, true), kUniform, {}), 2 * 3.0 - 1.0, 1e-8);
}

TEST(IterateMMax, PassLimitHandsOverToTheBracketingSolver) {
    // n = 1, M = 2: the distance to the fixed point 3 halves each pass, so 1e-5 needs 17 passes; with a
    // limit of 10 the bracketing solver takes over after the 10th and goes on counting passes.
    Passes log;
    EXPECT_NEAR(IterateMMax(uniform(2.0, 1, true, 1e-5, 10), kUniform, log.monitor()), 3.0, 1e-8);
    ASSERT_GT(log.passes.size(), 10u);
    for (std::size_t k = 0; k < log.passes.size(); ++k) EXPECT_EQ(log.passes[k], static_cast<int>(k) + 1);
    EXPECT_EQ(log.estimates.size(), 10u);
}

TEST(IterateMMax, ValueLimitIsTestedOnePassLate) {
    // a = 1, M = 6.5, n = 1, variable: 6.5 → 9.25 → 10.625; the 10.625 of pass 2 ends substitution at the
    // start of pass 3, and the equation's root, a + 2(M − a) = 12, is above the limit: no root below it.
    Passes log;
    EXPECT_THROW(IterateMMax(uniform(6.5, 1, true, 1e-5), kUniform, log.monitor()), EMMaxEstExceeded);
    ASSERT_GE(log.passes.size(), 2u);
    EXPECT_EQ(log.passes[0], 1);
    EXPECT_EQ(log.passes[1], 2);
    ASSERT_EQ(log.estimates.size(), 2u);
    EXPECT_NEAR(log.estimates[1], 10.625, 1e-9);
    // With the root below the limit (M = 4: root 7), substitution stopped by a pass limit of 3 is
    // finished by the solver.
    EXPECT_NEAR(IterateMMax(uniform(4.0, 1, true, 1e-5, 3), kUniform, {}), 7.0, 1e-8);
    // A value above 10 that settles in the pass that produced it is accepted: M = 9.9999, n = 1000 gives
    // M + (M − 1)/1001 = 10.0089 exactly, within a tolerance of 1e-2 of M (the quadrature, held to the same
    // tolerance, lands at 10.0005).
    Passes one;
    const double accepted = IterateMMax(uniform(9.9999, 1000, false, 1e-2), kUniform, one.monitor());
    EXPECT_GT(accepted, 10.0);
    EXPECT_LT(accepted, 9.9999 + 1e-2);
    EXPECT_EQ(one.passes, std::vector<int>{1});
}

// ---- the kernel estimator's estimate

// The 120-event Gutenberg–Richter sample (R, set.seed(7)), h = 0.06, fixed upper limit,
// Epsilon 1e-7. Reference: the adaptive kernel transcribed in NumPy with the seven-digit normal
// distribution function, each pass integrated by
//   scipy.integrate.quad(lambda m: F(m, prev)**n, 1.0, M, epsabs=1e-13, epsrel=1e-12, limit=500)
// until two passes differ by less than 1e-7 (12 passes): 3.6629642052762197.
TEST(MMaxEst, AgreesWithScipyOnTheKernelDistribution) {
    const std::vector<double>& x = testing::kGr120;
    Table t = testing::magnitudeCatalogue(x);
    AnalysisSettings s = testing::hazardSettings();
    s.Epsilon = 1e-7;
    ScriptedProgress p;
    const Estimator e(s, &t, 0.06, -1.0, {0, 0, 0}, &p);
    EXPECT_NEAR(e.MMaxEst(), 3.6629642052762197, 2e-6);
    EXPECT_EQ(e.RequestedMMax(), e.MMaxEst());
    EXPECT_EQ(e.GetScaleHints().MMaxEst, e.MMaxEst());
    EXPECT_FALSE(e.GetScaleHints().VariableUpperLimit);
    // The stage, then one caption per pass that did not settle (11 of 12).
    ASSERT_GE(p.captions.size(), 3u);
    const auto first =
        std::find(p.captions.begin(), p.captions.end(), "Obliczanie estymatora maksymalnej magnitudy");
    ASSERT_NE(first, p.captions.end());
    EXPECT_EQ(p.captions.end() - first - 1, 11);
    EXPECT_EQ(first[1].substr(0, 22), "Obliczanie MMaxEst (3.");
    EXPECT_EQ(first[1].size(), std::string("Obliczanie MMaxEst (3.000000)").size());
}

// One event and a very wide kernel: the truncated distribution is nearly
// uniform, and with the variable upper limit the estimate tends to 2M − MMin.
TEST(MMaxEst, OneEventWithAWideKernel) {
    Table t = testing::magnitudeCatalogue({2.0});
    const Estimator e(testing::hazardSettings(1.0), &t, 100.0, -1.0, {0, 0, 1}, nullptr);
    EXPECT_NEAR(e.MMaxEst(), 3.0, 1e-3);
}

TEST(MMaxEst, CallerSuppliedValueIsUsedAsIs) {
    Table t = testing::magnitudeCatalogue(testing::grSample(200, 3, 1.0, 4.0));
    ScriptedProgress p;
    const Estimator e(testing::hazardSettings(), &t, 0.1, 1.5, {0, 0, 0}, &p);
    EXPECT_EQ(e.MMaxEst(), 1.5);
    EXPECT_LT(e.MMaxEst(), e.LargestObserved());
    EXPECT_EQ(std::count(p.captions.begin(), p.captions.end(), "Obliczanie estymatora maksymalnej magnitudy"),
              0);
}

// Gutenberg–Richter samples with Mmax = 4 (b = 1, MMin = 1, seed 17) and the
// smoothing factor searched. With the fixed upper limit the estimate lies
// above the largest observed magnitude and approaches 4 as the sample grows
// (gaps 0.083, 0.041, 0.0037 for 300, 1000 and 3000 events). The variable
// upper limit runs away on the small sample and is stopped past 10.
TEST(MMaxEst, SyntheticSamplesOfKnownMaximum) {
    AnalysisSettings s = testing::hazardSettings();
    s.WithProgress = false;
    double previousGap = 1.0;
    for (std::size_t n : {300, 1000, 3000}) {
        SCOPED_TRACE(n);
        Table t = testing::magnitudeCatalogue(testing::grSample(n, 17, 1.0, 4.0));
        const Estimator e(s, &t, -1.0, -1.0, {0, 0, 0}, nullptr);
        EXPECT_GT(e.MMaxEst(), e.LargestObserved());
        const double gap = std::fabs(e.MMaxEst() - 4.0);
        EXPECT_LT(gap, previousGap);
        previousGap = gap;
    }
    EXPECT_LT(previousGap, 0.01);
    Table t = testing::magnitudeCatalogue(testing::grSample(300, 17, 1.0, 4.0));
    EXPECT_THROW(Estimator(s, &t, -1.0, -1.0, {0, 0, 1}, nullptr), EMMaxEstExceeded);
}

}  // namespace
}  // namespace zorv
