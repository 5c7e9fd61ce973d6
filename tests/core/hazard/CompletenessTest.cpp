// The completeness-magnitude estimators: binning, the b-value fit, each
// method on hand-worked histograms and against an independent computation,
// the recovery of a known Mc from a synthetic catalogue, and the bootstrap.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "../analysis/AnalysisTestSupport.h"
#include "HazardTestSupport.h"
#include "ScriptedProgress.h"
#include "hazard/BinomialDraw.h"
#include "hazard/Completeness.h"
#include "hazard/CompletenessTable.h"
#include "hazard/HazardErrors.h"

namespace zorv {
namespace {

// The magnitudes of a histogram: every event at its bin centre.
std::vector<double> fromCounts(std::int64_t firstBin, const std::vector<int>& counts, double dM = 0.1) {
    std::vector<double> m;
    for (std::size_t i = 0; i < counts.size(); ++i)
        m.insert(m.end(), static_cast<std::size_t>(counts[i]),
                 static_cast<double>(firstBin + static_cast<std::int64_t>(i)) * dM);
    return m;
}

TEST(Completeness, BinsHoldTheirLowerEdgeAndSkipMissingValues) {
    EXPECT_EQ(magnitudeBin(0.15, 0.1), 2);  // 0.15/0.1 = 1.4999999999999998
    EXPECT_EQ(magnitudeBin(0.1499, 0.1), 1);
    EXPECT_EQ(magnitudeBin(-0.05, 0.1), 0);
    EXPECT_EQ(magnitudeBin(-0.0501, 0.1), -1);
    EXPECT_EQ(magnitudeBin(1.2, 0.2), 6);
    EXPECT_EQ(magnitudeBin(1.29, 0.2), 6);
    EXPECT_EQ(magnitudeBin(1.3, 0.2), 7);

    const MagnitudeHistogram h = binMagnitudes({1.04, 0.96, std::nan(""), 1.33, 1.26, 1.05, INFINITY}, 0.1);
    EXPECT_EQ(h.firstBin, 10);
    EXPECT_EQ(h.counts, (std::vector<std::int64_t>{2, 1, 0, 2}));
    EXPECT_NEAR(h.centre(3), 1.3, 1e-12);
    EXPECT_EQ(h.cumulative(0), 5);
    EXPECT_EQ(h.cumulative(2), 2);

    EXPECT_THROW(binMagnitudes({1.0}, 0.0), EMcBinWidth);
    EXPECT_THROW(binMagnitudes({1.0}, -0.1), EMcBinWidth);
    EXPECT_THROW(binMagnitudes({1.0}, std::nan("")), EMcBinWidth);
    EXPECT_TRUE(binMagnitudes({std::nan("")}, 0.1).counts.empty());
}

// Hand-worked: binned magnitudes 1.0, 1.0, 1.1, 1.3 above Mc = 1.0, dM = 0.1:
// mean 1.1, b = log10(e) / (1.1 − 0.95) = 2.895296546; Σ(M − mean)² = 0.06,
// δb = ln 10 · b² · sqrt(0.06 / 12) = 1.364733. Above 1.1: 1.1, 1.3, mean
// 1.2, b = log10(e)/0.15, δb = ln 10 · b² · sqrt(0.02 / 2).
TEST(Completeness, AkiUtsuFitWithShiBoltError) {
    const MagnitudeHistogram h = binMagnitudes({1.0, 1.04, 1.1, 1.27}, 0.1);
    const McBFit f = fitBAbove(h, 0);
    EXPECT_EQ(f.events, 4);
    EXPECT_NEAR(f.b, std::log10(std::exp(1.0)) / 0.15, 1e-9);
    EXPECT_NEAR(f.b, 2.895296546, 1e-8);
    EXPECT_NEAR(f.sigma, std::log(10.0) * f.b * f.b * std::sqrt(0.06 / 12.0), 1e-9);
    const McBFit g = fitBAbove(h, 1);
    EXPECT_EQ(g.events, 2);
    EXPECT_NEAR(g.b, std::log10(std::exp(1.0)) / 0.15, 1e-9);
    EXPECT_NEAR(g.sigma, std::log(10.0) * g.b * g.b * std::sqrt(0.02 / 2.0), 1e-9);
    EXPECT_TRUE(std::isnan(fitBAbove(h, 3).b));  // one event
}

// The Tinti–Mulargia b beside it: the geometric-law estimate of the SciPy
// command in BValueStatisticsTest.cpp (the same 24 bins, here from Mc = 1.0
// over a lower bin the fit above it leaves out) and, hand-worked on the four
// magnitudes above, ln(1 + 0.1/0.1)/(0.1 ln 10) = log10(2)/0.1 with
// σ = (1 − ½)/(ln 10 · 0.1 · √(4 · ½)).
TEST(Completeness, TintiMulargiaFitBesideAkiUtsu) {
    const McBFit f = fitBAbove(binMagnitudes({1.0, 1.04, 1.1, 1.27}, 0.1), 0);
    EXPECT_NEAR(f.bTintiMulargia, std::log10(2.0) / 0.1, 1e-9);
    EXPECT_NEAR(f.sigmaTintiMulargia, 0.5 / (std::log(10.0) * 0.1 * std::sqrt(2.0)), 1e-9);
    const MagnitudeHistogram h =
        binMagnitudes(fromCounts(9, {70, 250, 198, 160, 126, 100, 80, 63, 50, 40, 32, 25, 20,
                                     16, 13,  10,  8,   6,   5,   4,  3,  2,  2,  1,  1}),
                      0.1);
    const McBFit g = fitBAbove(h, 1);
    EXPECT_EQ(g.events, 1215);
    EXPECT_NEAR(g.bTintiMulargia, 1.0258714743261281, 1e-7);
    EXPECT_NEAR(g.sigmaTintiMulargia, 0.02949945567595761, 1e-6);
    EXPECT_NEAR(g.b, 1.0211278094096776, 1e-9);
    // Every event in one bin: no Tinti–Mulargia b.
    EXPECT_TRUE(std::isnan(fitBAbove(binMagnitudes({1.0, 1.0, 1.02}, 0.1), 0).bTintiMulargia));
}

TEST(Completeness, MaximumCurvatureTakesTheFirstFullestBin) {
    McOptions o;
    EXPECT_NEAR(*mcMaxCurvature(binMagnitudes(fromCounts(5, {3, 9, 4, 9, 1}), 0.1)), 0.6, 1e-12);
    EXPECT_NEAR(*mcOf(McMethod::MaxCurvatureCorrected, binMagnitudes(fromCounts(5, {3, 9, 4, 9, 1}), 0.1), o),
                0.8, 1e-12);
    o.maxCurvatureShift = 0.1;
    EXPECT_NEAR(*mcOf(McMethod::MaxCurvatureCorrected, binMagnitudes(fromCounts(-3, {7, 2}), 0.1), o), -0.2,
                1e-12);
    EXPECT_FALSE(mcMaxCurvature(MagnitudeHistogram{}));
}

// A histogram that follows the law exactly at and above 1.0: the counts
// 400·0.9^k (b = −log10(0.9)/0.1 = 0.457575) rounded, below them a deficit.
// At bin 1.0, hand-worked with q = 10^(−b·0.1) and the Aki–Utsu b of the
// rounded counts, R is above 95 % while the deficit keeps every lower
// candidate below 90 %.
TEST(Completeness, GoodnessOfFitTakesTheFirstCandidateReachingTheLevel) {
    std::vector<int> counts{20, 60, 150};
    for (int k = 0; k < 40; ++k) counts.push_back(static_cast<int>(std::lround(400.0 * std::pow(0.9, k))));
    const MagnitudeHistogram h = binMagnitudes(fromCounts(7, counts), 0.1);
    McOptions o;
    const std::vector<McCandidate> c = mcCandidates(h, o);
    EXPECT_LT(c[0].residualPercent, 90.0);
    EXPECT_LT(c[2].residualPercent, 90.0);
    EXPECT_GT(c[3].residualPercent, 95.0);
    EXPECT_NEAR(*mcGoodnessOfFit(h, 90.0, o), 1.0, 1e-12);
    EXPECT_NEAR(*mcGoodnessOfFit(h, 95.0, o), 1.0, 1e-12);

    // The residual by its definition at the law's own bin.
    const McBFit f = fitBAbove(h, 3);
    const double q = std::pow(10.0, -f.b * 0.1);
    double misfit = 0.0;
    for (std::size_t j = 3; j < h.size(); ++j)
        misfit += std::abs(static_cast<double>(h.counts[j]) - static_cast<double>(f.events) * (1.0 - q) *
                                                                  std::pow(q, static_cast<double>(j - 3)));
    EXPECT_NEAR(c[3].residualPercent, 100.0 - 100.0 * misfit / static_cast<double>(f.events), 1e-9);

    // A flat distribution never follows the law: no estimate.
    const MagnitudeHistogram flat = binMagnitudes(fromCounts(0, std::vector<int>(20, 50)), 0.1);
    EXPECT_FALSE(mcGoodnessOfFit(flat, 90.0, o));
    // Too few events for any candidate: no estimate by any fitting method.
    const MagnitudeHistogram few = binMagnitudes(fromCounts(10, {5, 4, 3, 2, 1}), 0.1);
    EXPECT_FALSE(mcGoodnessOfFit(few, 0.0, o));
    EXPECT_FALSE(mcBValueStability(few, o));
    EXPECT_FALSE(mcKolmogorovSmirnov(few, o));
    EXPECT_FALSE(mcKolmogorovSmirnovMinimum(few, o));
}

// The two histograms and every per-candidate value of
//   /usr/bin/python3 tests/core/hazard/completeness_reference.py
// (NumPy, directly on the array of binned magnitudes).
const std::vector<int> kReference3000{1, 0, 2, 2, 18, 32, 36, 55, 58, 54, 47, 43, 33, 26, 21, 15, 14, 14, 12,
                                      5, 8, 2, 6, 3,  2,  1,  1,  2,  0,  0,  0,  0,  0,  1,  0,  0,  1};
const std::vector<int> kReference30000{1,   5,   23,  70, 165, 280, 435, 603, 616, 562, 509, 395, 347, 278,
                                       211, 148, 118, 99, 90,  64,  64,  37,  39,  22,  15,  12,  12,  16,
                                       16,  3,   8,   7,  3,   2,   5,   1,   1,   2,   4,   0,   1,   0,
                                       1,   1,   0,   0,  0,   0,   0,   0,   0,   0,   0,   1};

TEST(Completeness, CandidatesMatchTheNumPyReference) {
    const MagnitudeHistogram h = binMagnitudes(fromCounts(1, kReference30000), 0.1);
    const std::vector<McCandidate> c = mcCandidates(h, McOptions{});
    struct Row {
        std::size_t i;
        std::int64_t n;
        double b, sb, R, bave, D;
    } rows[] = {
        {0, 5292, 0.401784272968, 0.002502443267, 14.291063316255, 0.502808257668, 0.323180137921},
        {7, 4313, 0.867563095088, 0.012210860282, 85.955723759401, 0.933297729322, 0.046729302327},
        {9, 3094, 0.947807806312, 0.017024375729, 91.731964267200, 0.962843053933, 0.014426291020},
        {10, 2532, 0.967646628105, 0.019677013311, 92.728425201531, 0.960052793067, 0.015432592199},
        {19, 337, 0.911599130498, 0.051308698564, 76.732986308220, 0.869143814967, 0.037218516660},
        {27, 72, 0.968086770806, 0.121292300385, 57.822800409687, 0.912954708281, 0.084743182428},
        {31, 29, 0.902834406824, 0.168722993639, 39.399166642658, NAN, 0.057551579053},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.i);
        EXPECT_NEAR(c[r.i].magnitude, 0.1 * static_cast<double>(r.i + 1), 1e-12);
        EXPECT_EQ(c[r.i].events, r.n);
        EXPECT_NEAR(c[r.i].b, r.b, 1e-10);
        EXPECT_NEAR(c[r.i].sigma, r.sb, 1e-10);
        EXPECT_NEAR(c[r.i].residualPercent, r.R, 1e-8);
        if (std::isnan(r.bave)) {
            EXPECT_TRUE(std::isnan(c[r.i].bAverage));
        } else {
            EXPECT_NEAR(c[r.i].bAverage, r.bave, 1e-10);
        }
        EXPECT_NEAR(c[r.i].ksDistance, r.D, 1e-10);
    }
    EXPECT_TRUE(std::isnan(c[32].b));  // 24 events above 3.3

    const McOptions o;
    EXPECT_NEAR(*mcOf(McMethod::MaxCurvature, h, o), 0.9, 1e-12);
    EXPECT_NEAR(*mcOf(McMethod::GoodnessOfFit90, h, o), 1.0, 1e-12);
    EXPECT_FALSE(mcOf(McMethod::GoodnessOfFit95, h, o));
    EXPECT_NEAR(*mcOf(McMethod::BValueStability, h, o), 1.0, 1e-12);
    EXPECT_NEAR(*mcOf(McMethod::KolmogorovSmirnovMinimum, h, o), 1.0, 1e-12);

    const MagnitudeHistogram small = binMagnitudes(fromCounts(1, kReference3000), 0.1);
    EXPECT_NEAR(*mcOf(McMethod::MaxCurvature, small, o), 0.9, 1e-12);
    EXPECT_FALSE(mcOf(McMethod::GoodnessOfFit90, small, o));
    EXPECT_FALSE(mcOf(McMethod::GoodnessOfFit95, small, o));
    EXPECT_NEAR(*mcOf(McMethod::BValueStability, small, o), 1.0, 1e-12);
    EXPECT_NEAR(*mcOf(McMethod::KolmogorovSmirnovMinimum, small, o), 1.1, 1e-12);
}

// Hand-worked stability: b at successive candidates 1.0 … 1.4 of a histogram
// whose law changes at 1.2; with a window of 0.2 (two bins) b_ave(1.0) is the
// mean of b(1.0) and b(1.1), compared with δb(1.0).
TEST(Completeness, StabilityComparesTheWindowMeanWithTheShiBoltError) {
    std::vector<int> counts{40, 90};
    for (int k = 0; k < 30; ++k) counts.push_back(static_cast<int>(std::lround(300.0 * std::pow(0.8, k))));
    const MagnitudeHistogram h = binMagnitudes(fromCounts(10, counts), 0.1);
    McOptions o;
    o.stabilityRange = 0.2;
    const std::vector<McCandidate> c = mcCandidates(h, o);
    for (std::size_t i = 0; i + 1 < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(c[i].bAverage, (fitBAbove(h, i).b + fitBAbove(h, i + 1).b) / 2.0, 1e-12);
    }
    // The first candidate with |b_ave − b| ≤ δb.
    std::size_t first = 0;
    while (std::abs(c[first].bAverage - c[first].b) > c[first].sigma) ++first;
    EXPECT_EQ(first, 2u);
    EXPECT_NEAR(*mcBValueStability(h, o), 1.2, 1e-12);
}

// The Kolmogorov–Smirnov distance of the minimum method by hand: 3 events at 1.0 and 1 at 1.1
// above 1.0 (minEvents 2): b = log10(e)/(1.025 − 0.95), q = 10^(−0.1 b) =
// e^(−1/0.75·0.1) … F(1.0) = 1 − q, F(1.1) = 1 − q²; empirical 0.75 and 1.
TEST(Completeness, KolmogorovSmirnovDistanceByHand) {
    const MagnitudeHistogram h = binMagnitudes({1.0, 1.0, 1.0, 1.1}, 0.1);
    McOptions o;
    o.minEvents = 2;
    const double q = std::exp(-0.1 / 0.075);
    const double d = std::max(std::abs(0.75 - (1.0 - q)), std::abs(1.0 - (1.0 - q * q)));
    EXPECT_NEAR(mcCandidates(h, o)[0].ksDistance, d, 1e-12);
    EXPECT_NEAR(*mcKolmogorovSmirnovMinimum(h, o), 1.0, 1e-12);
}

// A synthetic catalogue with a known b and a known Mc: Gutenberg–Richter
// magnitudes (b = 1) from 0.0, each kept with the probability Φ((m − 0.9)/0.1)
// of a cumulative normal detection curve, until 10,000 are kept. The network
// detects 97.7 % of the events from 1.1 = 0.9 + 2·0.1 up: the true Mc is 1.1.
// The most frequent detected magnitude, where maximum curvature looks, is
// the mode of 10^(−m)·Φ((m − 0.9)/0.1), 1.0166 by
//   /usr/bin/python3 -c "import numpy as np, scipy.stats as st; m = np.linspace(0.5, 1.5, 100001);
//   print(m[np.argmax(10**(-m) * st.norm.cdf((m - 0.9) / 0.1))])"
// i.e. the bin of 1.0. Estimates are bin centres, so each must lie within
// two of its standard deviations plus one bin of the truth.
std::vector<double> thinnedCatalogue(std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> m;
    while (m.size() < 10000) {
        const double x = -std::log10(1.0 - u(g));
        const double detect = 0.5 * std::erfc(-(x - 0.9) / (0.1 * std::sqrt(2.0)));
        if (u(g) < detect) m.push_back(x);
    }
    return m;
}

TEST(Completeness, RecoversTheKnownCompletenessOfASyntheticCatalogue) {
    const std::vector<double> m = thinnedCatalogue(1965);
    McOptions o;
    const CompletenessResult r = estimateCompleteness(m, o, allMcMethods());
    ASSERT_EQ(r.estimates.size(), 6u);
    EXPECT_EQ(r.resamples, 200);
    EXPECT_EQ(r.histogram.cumulative(0), 10000);
    for (const McEstimate& e : r.estimates) {
        SCOPED_TRACE(mcMethodName(e.method));
        ASSERT_TRUE(e.mc);
        ASSERT_GE(e.resamplesWithEstimate, 2);
        EXPECT_GE(e.sigma, 0.0);
        // The test's verdict at a candidate flips on resamples, whose own
        // fluctuations it detects as well, and a rejection moves Mc on to the
        // next accepted candidate: its spread is the widest.
        EXPECT_LT(e.sigma, e.method == McMethod::KolmogorovSmirnov ? 0.5 : 0.25);
        const double truth = e.method == McMethod::MaxCurvature ? 1.0 : 1.1;
        EXPECT_LE(std::abs(*e.mc - truth), 2.0 * e.sigma + 0.1 + 1e-9) << *e.mc << " ± " << e.sigma;
        // At or above the true Mc the fitted b is the generator's.
        if (*e.mc >= 1.1 - 1e-9) {
            EXPECT_LE(std::abs(e.fit.b - 1.0), 3.0 * e.fit.sigma) << e.fit.b << " ± " << e.fit.sigma;
        }
    }
    // Every resample has a maximum-curvature estimate.
    EXPECT_EQ(r.estimates[0].resamplesWithEstimate, 200);
}

TEST(Completeness, BootstrapIsSeededAndPollsCancel) {
    const std::vector<double> m = thinnedCatalogue(7);
    McOptions o;
    o.bootstrapResamples = 40;
    const std::vector<McMethod> methods{McMethod::KolmogorovSmirnov, McMethod::MaxCurvature};
    const CompletenessResult a = estimateCompleteness(m, o, methods);
    const CompletenessResult b = estimateCompleteness(m, o, methods);
    EXPECT_EQ(a.estimates[0].sigma, b.estimates[0].sigma);
    EXPECT_EQ(a.estimates[1].sigma, b.estimates[1].sigma);
    o.seed = 8;
    const CompletenessResult c = estimateCompleteness(m, o, methods);
    EXPECT_NE(a.estimates[0].sigma, c.estimates[0].sigma);
    EXPECT_EQ(a.estimates[0].mc, c.estimates[0].mc);  // the estimate on the sample itself

    testing::ScriptedProgress progress;
    progress.cancelAfter = 10;
    EXPECT_THROW(estimateCompleteness(m, o, methods, &progress), EBreakProcess);
    EXPECT_EQ(progress.maxima, std::vector<int>{40});

    o.bootstrapResamples = 0;
    const CompletenessResult none = estimateCompleteness(m, o, methods);
    EXPECT_TRUE(std::isnan(none.estimates[0].sigma));
    EXPECT_EQ(none.resamples, 0);
}

// The estimators run on the resamples on several threads; the spread is
// that of drawing the resamples one by one from the seeded generator and
// estimating on each in turn, to the last bit, run after run.
TEST(Completeness, BootstrapOnThreadsIsTheSerialBootstrap) {
    const std::vector<double> m = thinnedCatalogue(11);
    McOptions o;
    o.bootstrapResamples = 60;
    o.seed = 12345;
    const std::vector<McMethod> methods{McMethod::KolmogorovSmirnov, McMethod::BValueStability,
                                        McMethod::GoodnessOfFit95, McMethod::MaxCurvature};
    const CompletenessResult r = estimateCompleteness(m, o, methods);

    const MagnitudeHistogram h = binMagnitudes(m, o.binWidth);
    std::mt19937_64 g(o.seed);
    MagnitudeHistogram resample = h;
    std::vector<std::vector<double>> draws(methods.size());
    for (int s = 0; s < o.bootstrapResamples; ++s) {
        multinomialDraw(g, h.cumulative(0), h.counts, resample.counts);
        for (std::size_t k = 0; k < methods.size(); ++k)
            if (const auto mc = mcOf(methods[k], resample, o)) draws[k].push_back(*mc);
    }
    for (std::size_t k = 0; k < methods.size(); ++k) {
        SCOPED_TRACE(mcMethodName(methods[k]));
        const std::vector<double>& d = draws[k];
        ASSERT_GE(d.size(), 2u);
        double mean = 0.0, ss = 0.0;
        for (double x : d) mean += x;
        mean /= static_cast<double>(d.size());
        for (double x : d) ss += (x - mean) * (x - mean);
        EXPECT_EQ(r.estimates[k].resamplesWithEstimate, static_cast<int>(d.size()));
        EXPECT_EQ(r.estimates[k].sigma, std::sqrt(ss / static_cast<double>(d.size() - 1)));
    }
    for (int run = 0; run < 3; ++run) {
        testing::ScriptedProgress progress;
        progress.cancelAfter = 1000;  // counts the positions shown
        const CompletenessResult again = estimateCompleteness(m, o, methods, &progress);
        for (std::size_t k = 0; k < methods.size(); ++k)
            EXPECT_EQ(again.estimates[k].sigma, r.estimates[k].sigma);
        EXPECT_GE(progress.positions, 2);
    }
}

TEST(Completeness, EmptyAndSmallSamplesAreRefused) {
    const McOptions o;
    EXPECT_THROW(estimateCompleteness({}, o, allMcMethods()), ENoRecords);
    EXPECT_THROW(estimateCompleteness({std::nan("")}, o, allMcMethods()), ENoRecords);
    try {
        estimateCompleteness(std::vector<double>(24, 1.0), o, allMcMethods());
        FAIL();
    } catch (const EMcSampleTooSmall& e) {
        EXPECT_STREQ(e.what(),
                     "Za mało zdarzeń do oszacowania magnitudy kompletności (potrzeba co najmniej 25)");
    }
    McOptions badBin;
    badBin.binWidth = 0.0;
    EXPECT_THROW(estimateCompleteness({1.0}, badBin, allMcMethods()), EMcBinWidth);
}

TEST(Completeness, MethodNamesRoundTrip) {
    for (McMethod m : allMcMethods()) {
        EXPECT_EQ(mcMethodOfName(mcMethodName(m)), m);
        EXPECT_STRNE(mcMethodCaption(m), "");
    }
    EXPECT_FALSE(mcMethodOfName("all"));
}

}  // namespace
}  // namespace zorv

namespace zorv {
namespace {

// The analysis of a catalogue: every record as the table presents it (the
// filter narrows it, MMin does not), the distribution per bin and cumulated
// from the top, the report's estimate lines.
TEST(CompletenessTable, ReadsTheFilteredCatalogueAndTabulatesTheDistribution) {
    std::vector<double> m;
    for (int i = 0; i < 40; ++i) m.push_back(1.0 + 0.1 * (i % 4));  // 10 events in each of 1.0 … 1.3
    m.push_back(9.0);
    Table t = testing::magnitudeCatalogue(m);
    t.setFilter("MAGNITUDA < 5");
    t.setFiltered(true);
    AnalysisSettings s = testing::hazardSettings(3.0);  // MMin above every event
    McOptions o;
    o.bootstrapResamples = 5;
    o.minEvents = 10;
    CompletenessTable a(s, &t, o, {McMethod::MaxCurvature, McMethod::GoodnessOfFit95});
    EXPECT_EQ(a.SampleSize(), 40);
    const Table& r = *a.GetTable();
    ASSERT_EQ(r.recordCount(), 4u);
    const auto counts = testing::columnValues(r, "Liczba");
    const auto cumulative = testing::columnValues(r, "Liczba_kum");
    const auto centres = testing::columnValues(r, "Magnituda");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(counts[i].toInt(), 10);
        EXPECT_EQ(cumulative[i].toInt(), 40 - 10 * static_cast<int>(i));
        EXPECT_DOUBLE_EQ(centres[i].toDouble(), 1.0 + 0.1 * static_cast<double>(i));
    }
    ReportLines lines;
    a.WriteReport(lines);
    bool maxc = false, gof = false;
    for (const std::string& l : lines) {
        maxc = maxc || l.find("Maksymalna krzywizna:") != std::string::npos;
        gof = gof || (l.find("Dobroć dopasowania 95 %:") != std::string::npos &&
                      l.find("brak") != std::string::npos);
    }
    EXPECT_TRUE(maxc);
    EXPECT_TRUE(gof);  // a flat distribution fits no law
    EXPECT_EQ(formatMcEstimate(a.Result().estimates[0], s.UserLocale).substr(0, 8), "1.00 ± ");
    EXPECT_EQ(formatMcEstimate(a.Result().estimates[1], s.UserLocale), "brak");
}

}  // namespace
}  // namespace zorv
