// The maximum-magnitude estimators against their formulas on a hand-worked
// ten-event sample and on seeded Gutenberg–Richter samples of known maximum,
// the verdict on their spread, and the comparison analysis on a catalogue.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "HazardTestSupport.h"
#include "hazard/MMaxComparison.h"
#include "hazard/MMaxEstimators.h"
#include "hazard/ParametricHazard.h"

namespace zorv {
namespace {

using testing::grSample;
using testing::hazardSettings;
using testing::magnitudeCatalogue;

// MMin = 1, n = 10, x_(n) = 2.8, x_(n−1) = 2.3, mean 1.61.
const std::vector<double> kTen = {1.0, 1.2, 1.5, 1.1, 2.3, 1.4, 1.9, 1.3, 2.8, 1.6};
const double kBetaTen = 1.0 / 0.61;  // Aki: 1/(mean − MMin)

MMaxFixedPoint tight() {
    MMaxFixedPoint fp;
    fp.epsilon = 1e-10;
    fp.passLimit = 200;
    return fp;
}

// Closed forms by hand: Robson–Whitlock 2·2.8 − 2.3 = 3.3, σ = 0.5 (and with
// σ_M = 0.1, √(5·0.01 + 0.25)); Cooke's weights (1 − i/10)^10 − (1 − (i+1)/10)^10
// over the descending sample, by
//   /usr/bin/python3 -c "import numpy as np; x=np.sort([1.0,1.2,1.5,1.1,2.3,1.4,1.9,1.3,2.8,1.6])[::-1];
//   n=10; print(repr(2*x[0]-sum(((1-i/n)**n-(1-(i+1)/n)**n)*x[i] for i in range(n))))"
// = 3.02647655499; Tate–Pisarenko (e^(β·1.8) − 1)/(10·β) with β = 1/0.61, by
//   /usr/bin/python3 -c "import numpy as np; b=1/0.61; print(repr(2.8+np.expm1(b*1.8)/(10*b)))"
// = 3.90541886673098.
TEST(MMaxEstimators, ClosedFormsOnHandWorkedSample) {
    const MMaxResult rw = RobsonWhitlock(kTen);
    ASSERT_TRUE(rw.ok());
    EXPECT_NEAR(rw.estimate, 3.3, 1e-12);
    EXPECT_NEAR(rw.sigma, 0.5, 1e-12);
    EXPECT_NEAR(RobsonWhitlock(kTen, 0.1).sigma, std::sqrt(0.05 + 0.25), 1e-12);

    const MMaxResult rwc = RobsonWhitlockCooke(kTen);
    ASSERT_TRUE(rwc.ok());
    EXPECT_NEAR(rwc.estimate, 3.02647655499, 1e-10);
    EXPECT_NEAR(rwc.sigma, 0.22647655499, 1e-10);
    EXPECT_NEAR(RobsonWhitlockCooke(kTen, 0.1).sigma, std::sqrt(0.01 + 0.22647655499 * 0.22647655499), 1e-10);

    const MMaxResult tp = TatePisarenko(kTen, 1.0, kBetaTen);
    ASSERT_TRUE(tp.ok());
    EXPECT_NEAR(tp.estimate, 3.90541886673098, 1e-11);
    EXPECT_NEAR(tp.sigma, 3.90541886673098 - 2.8, 1e-11);

    // The order of the sample does not matter.
    std::vector<double> sorted = kTen;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_DOUBLE_EQ(RobsonWhitlockCooke(sorted).estimate, rwc.estimate);
}

// The fixed points by SciPy (fixed upper limit U = x_(n) = 2.8):
// Kijko–Sellevoll–Bayes with q = n = 10, p = n/β:
//   /usr/bin/python3 -c "from scipy import integrate; b=1/0.61; n=10; q=n; p=n/b;
//   F=lambda m,u:(1-(p/(p+m-1))**q)/(1-(p/(p+u-1))**q); u=2.8
//   for k in range(200): u=2.8+integrate.quad(lambda m:F(m,u)**n,1,2.8,epsabs=1e-14,epsrel=1e-14)[0]
//   print(repr(u))"
// = 3.16707241558443; the rule-of-thumb h and the Gaussian kernel estimate:
//   /usr/bin/python3 -c "import numpy as np; from scipy import integrate, stats;
//   x=np.array([1.0,1.2,1.5,1.1,2.3,1.4,1.9,1.3,2.8,1.6]); n=10
//   h=0.9*min(x.std(ddof=1),(np.percentile(x,75)-np.percentile(x,25))/1.34)*n**-0.2; N=stats.norm.cdf
//   G=lambda m,u: np.sum(N((m-x)/h)-N((1-x)/h))/np.sum(N((u-x)/h)-N((1-x)/h)); u=2.8
//   for k in range(200): u=2.8+integrate.quad(lambda m:G(m,u)**n,1,2.8,epsabs=1e-14,epsrel=1e-14)[0]
//   print(repr(h), repr(u))"
// = 0.2542663925517196, 3.032518468589307.
TEST(MMaxEstimators, IterativeEstimatorsAgainstSciPy) {
    const MMaxResult ksb = KijkoSellevollBayes(kTen, 1.0, kBetaTen, tight());
    ASSERT_TRUE(ksb.ok()) << ksb.failure;
    EXPECT_NEAR(ksb.estimate, 3.16707241558443, 1e-7);
    EXPECT_NEAR(ksb.sigma, ksb.estimate - 2.8, 1e-12);
    EXPECT_GT(ksb.passes, 1);

    const double h = RuleOfThumbSmoothing(kTen);
    EXPECT_NEAR(h, 0.2542663925517196, 1e-12);
    const MMaxResult npg = GaussianKernelMMax(kTen, 1.0, h, tight());
    ASSERT_TRUE(npg.ok()) << npg.failure;
    EXPECT_NEAR(npg.estimate, 3.032518468589307, 1e-7);

    // Repeated magnitudes are grouped: the same sample written twice over
    // is the doubled sample, not a different one.
    std::vector<double> doubled = kTen;
    doubled.insert(doubled.end(), kTen.begin(), kTen.end());
    std::vector<double> spread = doubled;
    for (std::size_t i = 10; i < spread.size(); ++i) spread[i] += 0.0;
    EXPECT_DOUBLE_EQ(GaussianKernelMMax(doubled, 1.0, h, tight()).estimate,
                     GaussianKernelMMax(spread, 1.0, h, tight()).estimate);
}

TEST(MMaxEstimators, FailuresAreNamed) {
    const std::vector<double> one = {2.0};
    for (const MMaxResult& r :
         {RobsonWhitlock(one), RobsonWhitlockCooke(one), TatePisarenko(one, 1.0, 2.0),
          KijkoSellevollBayes(one, 1.0, 2.0, tight()), GaussianKernelMMax(one, 1.0, 0.2, tight())}) {
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(std::isnan(r.estimate));
        EXPECT_EQ(r.failure, "Za mało zjawisk (wymagane co najmniej dwa)");
    }
    EXPECT_EQ(TatePisarenko(kTen, 1.0, 0.0).failure, "Brak dodatniego współczynnika Beta");
    EXPECT_EQ(GaussianKernelMMax(kTen, 1.0, 0.0, tight()).failure, "Współczynnik gładkości nie jest dodatni");
    EXPECT_EQ(RuleOfThumbSmoothing({2.0, 2.0, 2.0}), 0.0);

    // One pass of substitution: the bracketing solver finishes the same
    // equation.
    MMaxFixedPoint once = tight();
    once.passLimit = 1;
    const MMaxResult finished = KijkoSellevollBayes(kTen, 1.0, kBetaTen, once);
    ASSERT_TRUE(finished.ok()) << finished.failure;
    EXPECT_NEAR(finished.estimate, KijkoSellevollBayes(kTen, 1.0, kBetaTen, tight()).estimate, 1e-6);
    EXPECT_GT(finished.passes, 1);
    MMaxFixedPoint low = tight();
    low.valueLimit = 2.9;
    EXPECT_EQ(GaussianKernelMMax(kTen, 1.0, 0.25, low).failure,
              "Brak zbieżności: estymator przekroczył dopuszczalną magnitudę");
}

// Seeded truncated Gutenberg–Richter samples (b = 1, MMin = 1, Mmax = 4):
// every estimate lies at or above the largest observation and within three
// of its standard deviations (plus the 0.05 of the iteration's own bias) of
// the true maximum.
TEST(MMaxEstimators, SeededSamplesOfKnownMaximum) {
    const double truth = 4.0;
    for (const std::uint64_t seed : {3u, 11u, 29u}) {
        const std::vector<double> x = grSample(3000, seed, 1.0, truth);
        const double largest = *std::max_element(x.begin(), x.end());
        const double mean = [&] {
            double s = 0.0;
            for (const double v : x) s += v;
            return s / static_cast<double>(x.size());
        }();
        // β of the doubly truncated law, as the comparison takes it.
        const double beta = SolveBeta(mean - 1.0, truth - 1.0, 0.02, 1e-9, 100);
        EXPECT_NEAR(beta, std::log(10.0), 0.15) << seed;
        const std::vector<MMaxResult> all = {RobsonWhitlock(x), RobsonWhitlockCooke(x),
                                             TatePisarenko(x, 1.0, beta),
                                             KijkoSellevollBayes(x, 1.0, beta, tight()),
                                             GaussianKernelMMax(x, 1.0, RuleOfThumbSmoothing(x), tight())};
        for (std::size_t k = 0; k < all.size(); ++k) {
            const MMaxResult& r = all[k];
            ASSERT_TRUE(r.ok()) << seed << " " << k << " " << r.failure;
            EXPECT_GE(r.estimate, largest) << seed << " " << k;
            EXPECT_LT(std::fabs(r.estimate - truth), 3.0 * r.sigma + 0.05) << seed << " " << k;
        }
    }
}

MMaxRow row(double estimate, double sigma) {
    MMaxRow r;
    r.result.estimate = estimate;
    r.result.sigma = sigma;
    return r;
}

TEST(MMaxVerdict, PairwiseAgainstCombinedSigma) {
    // 3.0 ± 0.1 and 3.5 ± 0.2: 0.5 > √0.05 = 0.2236 → disagree; the failed row is skipped.
    MMaxRow failed;
    failed.result.failure = "x";
    MMaxVerdict v = JudgeMMaxSpread({row(3.0, 0.1), failed, row(3.1, 0.3), row(3.5, 0.2)});
    EXPECT_EQ(v.estimates, 3);
    EXPECT_TRUE(v.disagree);
    EXPECT_EQ(v.first, 0);
    EXPECT_EQ(v.second, 3);
    EXPECT_NEAR(v.combinedSigma, std::sqrt(0.05), 1e-12);
    // Within: 0.3 apart, √(0.04 + 0.09) = 0.36.
    v = JudgeMMaxSpread({row(3.0, 0.2), row(3.3, 0.3)});
    EXPECT_FALSE(v.disagree);
    EXPECT_NEAR(v.difference, 0.3, 1e-12);
    // Zero σ on both: any difference disagrees, equality agrees.
    EXPECT_TRUE(JudgeMMaxSpread({row(3.0, 0.0), row(3.01, 0.0)}).disagree);
    EXPECT_FALSE(JudgeMMaxSpread({row(3.0, 0.0), row(3.0, 0.0)}).disagree);
    EXPECT_EQ(JudgeMMaxSpread({row(3.0, 0.0), failed}).first, -1);
}

// The comparison reuses the program's estimators: its Kijko–Sellevoll rows
// are exactly the parametric analysis' MMaxEst, and every row is filled.
TEST(MMaxComparison, RowsTableAndReport) {
    const std::vector<double> x = grSample(800, 5, 1.0, 4.0);
    Table catalogue = magnitudeCatalogue(x);
    const AnalysisSettings s = hazardSettings(1.0);
    MMaxComparison c(s, &catalogue);
    ASSERT_EQ(c.Rows().size(), 9u);
    const ParametricHazard fixed(s, &catalogue, TimeUnit::Months, false);
    const ParametricHazard variable(s, &catalogue, TimeUnit::Months, true);
    EXPECT_EQ(c.Rows()[2].result.estimate, fixed.MMaxEst());
    EXPECT_EQ(c.Rows()[3].result.estimate, variable.MMaxEst());
    EXPECT_EQ(c.Beta(), variable.Beta());
    MMaxFixedPoint fp;
    fp.epsilon = s.Epsilon;
    fp.passLimit = s.IntegralIterations;
    fp.valueLimit = s.MMaxLimit;
    EXPECT_EQ(c.Rows()[4].result.estimate, KijkoSellevollBayesEquation(x, 1.0, c.Beta(), fp).estimate);
    EXPECT_EQ(c.Rows()[6].result.estimate, RobsonWhitlock(x).estimate);
    EXPECT_GT(c.CrossValidatedH(), 0.0);
    // The kernel estimate with the variable upper limit may not converge
    // (it does not on this sample), and the published Gaussian-kernel
    // equation has no root where the expected largest of n draws from the
    // kernel law stays below x_(n) (as here, with the narrow rule-of-thumb h);
    // every other row has its value.
    EXPECT_EQ(c.Rows()[8].result.failure, GaussianKernelMMaxEquation(x, 1.0, c.RuleOfThumbH(), fp).failure);
    for (std::size_t k = 0; k < c.Rows().size(); ++k) {
        if (k == 1 || k == 8) continue;
        EXPECT_TRUE(c.Rows()[k].result.ok()) << c.Rows()[k].name << ": " << c.Rows()[k].result.failure;
    }

    Table& t = *c.GetTable();
    ASSERT_EQ(t.recordCount(), 9u);
    const int status = t.requireField("Status");
    const int mobs = t.requireField("MObs");
    EXPECT_EQ(t.column(status).textAt(t.rowOfRecord(0)), "obliczony");
    EXPECT_EQ(t.column(mobs).numberAt(t.rowOfRecord(8)), c.LargestObserved());

    ReportLines report;
    ASSERT_TRUE(c.WriteReport(report));
    const auto has = [&](const std::string& text) {
        return std::any_of(report.begin(), report.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("Robson–Whitlock–Cooke: "));
    EXPECT_TRUE(has(c.VerdictText()));
    EXPECT_EQ(c.GetSubtitle(), c.ShortVerdict());
}

// The published forms, Mmax = x_(n) + ∫_{MMin}^{Mmax} F(m; Mmax)^n dm with
// Mmax in the normalising constant and as the upper limit, against SciPy's
// quadrature of the same integral and a root finder:
//   /usr/bin/python3 -c "
//   import numpy as np; from scipy.integrate import quad; from scipy.optimize import brentq
//   from scipy.stats import norm
//   x = np.array(kEquationSample); mMin, beta, h = 1.0, 2.1, 0.3; n = len(x); q, p = n, n / beta
//   ksb = lambda m, M: (1 - (p / (p + m - mMin))**q) / (1 - (p / (p + M - mMin))**q)
//   G = lambda m: (norm.cdf((m - x) / h) - norm.cdf((mMin - x) / h)).sum()
//   npg = lambda m, M: G(m) / G(M)
//   for F in (ksb, npg):
//       g = lambda M: x.max() + quad(lambda m: F(m, M)**n, mMin, M, epsabs=1e-13, epsrel=1e-13,
//                                    limit=200)[0] - M
//       print(brentq(g, x.max(), x.max() + 5, xtol=1e-13))"
//   -> 2.615649803621565 2.6163213774917513
const std::vector<double> kEquationSample{
    1.0, 1.1, 1.0, 1.3, 1.2, 1.0, 1.5, 1.1, 1.0, 1.7, 1.2, 1.4, 1.0, 1.1, 2.0, 1.3, 1.0, 1.6, 1.1, 1.2,
    2.4, 1.0, 1.1, 1.3, 1.0, 1.8, 1.2, 1.0, 1.1, 1.9, 1.4, 1.0, 1.2, 1.1, 1.0, 1.5, 1.3, 1.0, 2.2, 1.1};

TEST(MMaxEstimators, PublishedFormsSolveTheEquationAsSciPyDoes) {
    const MMaxFixedPoint fp;
    const MMaxResult ksb = KijkoSellevollBayesEquation(kEquationSample, 1.0, 2.1, fp);
    ASSERT_TRUE(ksb.ok()) << ksb.failure;
    EXPECT_NEAR(ksb.estimate, 2.615649803621565, 1e-7);
    EXPECT_NEAR(ksb.sigma, ksb.estimate - 2.4, 1e-12);
    const MMaxResult npg = GaussianKernelMMaxEquation(kEquationSample, 1.0, 0.3, fp);
    ASSERT_TRUE(npg.ok()) << npg.failure;
    EXPECT_NEAR(npg.estimate, 2.6163213774917513, 1e-7);
    // The fixed-limit forms differ from them (they stay available).
    EXPECT_GT(std::abs(KijkoSellevollBayes(kEquationSample, 1.0, 2.1, fp).estimate - ksb.estimate), 1e-4);
    // With a narrow kernel the expected largest of n draws stays below
    // x_(n) for every Mmax: x_(n) + ∫ F^n dm − Mmax tends to +0.12 (SciPy, same
    // integral with h = 0.12 and 2.9 for the 1.9), so there is no root.
    std::vector<double> outlier = kEquationSample;
    outlier[29] = 2.9;
    const MMaxResult none = GaussianKernelMMaxEquation(outlier, 1.0, 0.12, fp);
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(none.failure, "Brak rozwiązania równania poniżej dopuszczalnej magnitudy");
}

// A failing estimator keeps its row with the reason; the others go on.
TEST(MMaxComparison, FailureKeepsRow) {
    const std::vector<double> m = grSample(300, 9, 1.0, 4.0);
    Table catalogue = magnitudeCatalogue(m);
    AnalysisSettings s = hazardSettings(1.0);
    // No estimate may pass the largest event by more than 0.001: the
    // fixed-point equations have no root below that.
    s.MMaxLimit = *std::max_element(m.begin(), m.end()) + 0.001;
    MMaxComparison c(s, &catalogue);
    EXPECT_EQ(c.Rows()[0].result.failure, "Brak zbieżności: estymator przekroczył dopuszczalną magnitudę");
    EXPECT_EQ(c.Rows()[3].result.failure, "Brak rozwiązania równania poniżej dopuszczalnej magnitudy");
    EXPECT_TRUE(c.Rows()[6].result.ok());
    const Table& t = *c.GetTable();
    EXPECT_TRUE(t.column(t.requireField("MMax")).isNull(t.rowOfRecord(0)));
    EXPECT_EQ(t.column(t.requireField("Status")).textAt(t.rowOfRecord(0)),
              "Brak zbieżności: estymator przekroczył dopuszczalną magnitudę");
}

}  // namespace
}  // namespace zorv
