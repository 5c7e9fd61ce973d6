// Bootstrap confidence bands of the parametric hazard: the percentile rule,
// the replicate streams, coverage of the true law on synthetic catalogues,
// independence of the thread count, failed replicates and cancel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <set>

#include "HazardTestSupport.h"
#include "hazard/HazardErrors.h"
#include "hazard/ParametricTables.h"
#include "hazard/TimeUnit.h"
#include "hazard/TimeVariations.h"
#include "text/NumberFormat.h"

namespace zorv {
namespace {

using testing::hazardSettings;
using testing::magnitudeCatalogue;

const double kLn10 = std::log(10.0);

TEST(BootstrapPercentile, AgainstNumPy) {
    // /usr/bin/python3 -c "import numpy as np; print(np.quantile([3,1,4,1,5,9,2,6],[0.05,0.95]))"
    //   -> [1.   7.95]
    const Band b = PercentileBand({3, 1, 4, 1, 5, 9, 2, 6}, 0.90);
    EXPECT_DOUBLE_EQ(b.lower, 1.0);
    EXPECT_DOUBLE_EQ(b.upper, 7.95);
    // NaN (a replicate without a value) is left out; ... -np.quantile([0,1,2,3,4],[0.25,0.75]) -> [1. 3.]
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Band c = PercentileBand({4, nan, 0, 2, nan, 1, 3}, 0.5);
    EXPECT_DOUBLE_EQ(c.lower, 1.0);
    EXPECT_DOUBLE_EQ(c.upper, 3.0);
    // An infinite return period takes part in the order; nothing gives NaN.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(PercentileBand({1, 2, inf, inf, inf}, 0.9).upper, inf);
    EXPECT_TRUE(std::isnan(PercentileBand({nan, nan}, 0.9).lower));
}

TEST(BootstrapStreams, SeededByMasterSeedAndIndex) {
    auto a = ReplicateStream(7, 3), b = ReplicateStream(7, 3), c = ReplicateStream(7, 4),
         d = ReplicateStream(8, 3);
    const auto ia = ResampleIndices(a, 1000), ib = ResampleIndices(b, 1000);
    EXPECT_EQ(ia, ib);
    EXPECT_NE(ia, ResampleIndices(c, 1000));
    EXPECT_NE(ia, ResampleIndices(d, 1000));
    // The count is Poisson(n): over 400 replicates of n = 100 its mean and
    // variance are near 100 (standard error of the mean 0.5).
    double sum = 0.0, sq = 0.0;
    for (int k = 0; k < 400; ++k) {
        auto s = ReplicateStream(1, k);
        const auto idx = ResampleIndices(s, 100);
        for (std::uint32_t i : idx) ASSERT_LT(i, 100u);
        sum += static_cast<double>(idx.size());
        sq += static_cast<double>(idx.size() * idx.size());
    }
    const double mean = sum / 400.0, variance = sq / 400.0 - mean * mean;
    EXPECT_NEAR(mean, 100.0, 2.0);
    EXPECT_NEAR(variance, 100.0, 25.0);
}

TEST(BootstrapFields, DistinctShortNames) {
    std::set<std::string> names;
    for (const char* base : {"m1", "D4", "MRP", "ParamPDF", "ParamCDF", "Beta", "b", "Lambda", "MMaxEst",
                             "Hazard", "pdf_est", "pdf_est_adapt", "cdf_est_adapt"})
        for (bool upper : {false, true}) {
            const std::string n = BandFieldName(base, upper);
            EXPECT_LE(n.size(), 10u) << n;
            EXPECT_TRUE(names.insert(n).second) << n;
        }
    EXPECT_EQ(BandFieldName("MMaxEst", false), "MMaxEst_lo");
    EXPECT_EQ(BandFieldName("ParamPDF", true), "PPDF_hi");
}

TEST(BootstrapOptionsCheck, Limits) {
    BootstrapOptions o;
    EXPECT_FALSE(BootstrapProblem(o));  // off
    o.enabled = true;
    EXPECT_FALSE(BootstrapProblem(o));
    o.replicates = 5;
    EXPECT_TRUE(BootstrapProblem(o));
    o.replicates = 200;
    o.level = 1.0;
    EXPECT_TRUE(BootstrapProblem(o));
}

// A catalogue of a known law: Poisson event times at `perDay` events a day
// over `days` days, Gutenberg–Richter magnitudes with b = 1 (β = ln 10) on
// [1, 4.5].
Table poissonCatalogue(std::uint64_t seed, double perDay, int days) {
    std::mt19937_64 rng(seed);
    std::poisson_distribution<int> count(perDay * days);
    const int n = count(rng);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> t(static_cast<std::size_t>(n));
    for (double& v : t) v = u(rng) * days;
    std::sort(t.begin(), t.end());
    Table cat({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    const double tail = 1.0 - std::pow(10.0, -3.5);
    for (double v : t) {
        const double m = 1.0 - std::log10(1.0 - u(rng) * tail);
        cat.appendRecord({Value::date(36892 + static_cast<std::int32_t>(v)), Value::real(m)});
    }
    cat.first();
    return cat;
}

TEST(BootstrapCoverage, ParametricBandsCoverTheTrueLaw) {
    // 100 catalogues of ~300 events over 300 days; each band at 90 %. The
    // coverage must lie in the binomial 99 % interval of the level:
    //   /usr/bin/python3 -c "from scipy.stats import binom; print(binom.interval(0.99, 100, 0.9))"
    //   -> (82.0, 97.0)
    // True values: β = ln 10, the rate r·T / (time units of T), and the hazard
    // R(2, 1 month) = 1 − exp(−λ·(1 − F(2))) with F of the law on [1, 4.5].
    const double perDay = 1.0;
    const int days = 300;
    const double trueRate = perDay * days / timeUnitCount(days, TimeUnit::Months);
    const ParametricModel truth{1.0, kLn10, 4.5, trueRate};
    const double trueHazard = truth.hazard(2.0, 1.0);
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    ParametricRequest r;
    r.values = {2.0};
    r.start = 1.0, r.end = 1.0, r.step = 1.0;  // the row D = 1
    // The fixed upper limit of integration: the joint loop with the variable
    // limit fails on about half of such short catalogues.
    r.variableUpperLimit = false;
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 200;
    int betaIn = 0, rateIn = 0, hazardIn = 0, runs = 0, failedReplicates = 0;
    // A catalogue whose own joint estimate fails has no band; it is
    // replaced by the next seed (few are).
    int skipped = 0;
    for (std::uint64_t c = 0; runs < 100 && c < 200; ++c) {
        Table cat = poissonCatalogue(1000 + c, perDay, days);
        r.bootstrap.seed = c;
        std::unique_ptr<PHazard> made;
        try {
            made = std::make_unique<PHazard>(s, &cat, r);
        } catch (const HazardError&) {
            ++skipped;
            continue;
        }
        PHazard& h = *made;
        const ParametricBands& b = *h.Bands();
        // Replicates whose joint β–Mmax loop does not settle are left out.
        failedReplicates += b.failed;
        const Band beta = b.of([](const ParametricModel& m) { return m.beta; });
        const Band rate = b.of([](const ParametricModel& m) { return m.rate; });
        Table& t = *h.GetTable();
        t.first();
        const double lo = t.column(t.requireField("m1_lo")).numberAt(t.rowOfRecord(0));
        const double hi = t.column(t.requireField("m1_hi")).numberAt(t.rowOfRecord(0));
        betaIn += beta.lower <= kLn10 && kLn10 <= beta.upper;
        rateIn += rate.lower <= trueRate && trueRate <= rate.upper;
        hazardIn += lo <= trueHazard && trueHazard <= hi;
        ++runs;
    }
    ASSERT_EQ(runs, 100);
    EXPECT_LT(skipped, 20);
    EXPECT_LT(failedReplicates, 100 * 200 / 10);
    std::printf("covered of 100: beta %d, rate %d, hazard %d; failed replicates %d, skipped %d\n", betaIn,
                rateIn, hazardIn, failedReplicates, skipped);
    for (int covered : {betaIn, rateIn, hazardIn}) {
        EXPECT_GE(covered, 82);
        EXPECT_LE(covered, 97);
    }
}

ParametricBands bandsWithThreads(const std::vector<double>& x, int threads, int minSample = 30) {
    AnalysisSettings s = hazardSettings(1.0);
    s.MinSampleSize = minSample;
    BootstrapOptions o;
    o.enabled = true;
    o.replicates = 40;
    o.threads = threads;
    return BootstrapParametric(x, 1.0, 10.0, s, true, o, [](int) {});
}

TEST(BootstrapThreads, OneAndTwoThreadsGiveTheSameReplicates) {
    const std::vector<double> x = testing::grSample(400, 11, 1.0, 4.5);
    const ParametricBands one = bandsWithThreads(x, 1), two = bandsWithThreads(x, 2);
    ASSERT_EQ(one.models.size(), two.models.size());
    for (std::size_t k = 0; k < one.models.size(); ++k) {
        EXPECT_EQ(one.ok[k], two.ok[k]);
        EXPECT_EQ(one.models[k].beta, two.models[k].beta);
        EXPECT_EQ(one.models[k].mMax, two.models[k].mMax);
        EXPECT_EQ(one.models[k].rate, two.models[k].rate);
    }
}

TEST(BootstrapFailures, CountedNotHidden) {
    // With MinSampleSize equal to the sample size, a replicate fails exactly
    // when its Poisson count falls below it: replayed from its stream.
    const std::vector<double> x = testing::grSample(100, 5, 1.0, 4.5);
    const ParametricBands b = bandsWithThreads(x, 2, 100);
    int expected = 0;
    for (int k = 0; k < 40; ++k) {
        auto s = ReplicateStream(BootstrapOptions{}.seed, k);
        const bool fails = ResampleIndices(s, x.size()).size() < 100;
        expected += fails;
        EXPECT_EQ(b.ok[static_cast<std::size_t>(k)], fails ? 0 : 1) << k;
    }
    EXPECT_GT(expected, 5);
    EXPECT_EQ(b.failed, expected);
    EXPECT_EQ(b.Succeeded(), 40 - expected);

    // Every event at MMin: the sample itself has no estimate, so no
    // replicate is drawn and the failure is the estimator's own.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    s.MinSampleSize = 30;
    Table flat = magnitudeCatalogue(std::vector<double>(60, 1.0));
    ParametricRequest r;
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 20;
    EXPECT_THROW(PHazard(s, &flat, r), HazardError);
}

TEST(BootstrapTables, BandColumnsAndReport) {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(400, 17, 1.0, 4.0));
    ParametricRequest r;
    r.values = {2.0, 3.0};
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 50;
    PHazard h(s, &cat, r);
    Table& t = *h.GetTable();
    std::vector<std::string> names;
    for (const FieldDef& f : t.fields()) names.push_back(f.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Numer", "Okres", "m1", "m1_lo", "m1_hi", "m2", "m2_lo", "m2_hi"}));
    // Each band is the percentile band of the replicate models at its row.
    const std::size_t row = t.rowOfRecord(10);
    const double D = t.column(t.requireField("Okres")).numberAt(row);
    const Band b = h.Bands()->of([D](const ParametricModel& m) { return m.hazard(3.0, D); });
    EXPECT_DOUBLE_EQ(t.column(t.requireField("m2_lo")).numberAt(row), b.lower);
    EXPECT_DOUBLE_EQ(t.column(t.requireField("m2_hi")).numberAt(row), b.upper);
    EXPECT_LE(b.lower, b.upper);
    ReportLines lines;
    h.WriteReport(lines);
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    EXPECT_NE(all.find("Przedział ufności 90 % (bootstrap, B = 50):"), std::string::npos) << all;
    EXPECT_NE(all.find("Nieudane replikacje:             " + std::to_string(h.Bands()->failed) + " z 50"),
              std::string::npos)
        << all;

    // The density table: shortened band names.
    PPDF pdf(s, &cat, r);
    EXPECT_GE(pdf.GetTable()->fieldIndex("PPDF_hi"), 0);
}

TEST(BootstrapMMax, BandIsBoundedByTheLargestObservedMagnitude) {
    // Hand cases: raised lower end, both ends raised, untouched, no band.
    MMaxBand b = BoundedMMaxBand({3.83, 4.6}, 4.04);
    EXPECT_EQ(b.band.lower, 4.04);
    EXPECT_EQ(b.band.upper, 4.6);
    EXPECT_EQ(b.raisedFrom, 3.83);
    b = BoundedMMaxBand({3.5, 3.9}, 4.04);
    EXPECT_EQ(b.band.lower, 4.04);
    EXPECT_EQ(b.band.upper, 4.04);
    b = BoundedMMaxBand({4.1, 4.6}, 4.04);
    EXPECT_EQ(b.band.lower, 4.1);
    EXPECT_TRUE(std::isnan(b.raisedFrom));
    EXPECT_TRUE(std::isnan(BoundedMMaxBand({}, 4.04).band.lower));

    // A small sample: many replicates miss its largest events, so the
    // percentiles of their Mmax start below the largest observed magnitude.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    const std::vector<double> m = testing::grSample(400, 17, 1.0, 4.0);
    const double largest = *std::max_element(m.begin(), m.end());
    Table cat = magnitudeCatalogue(m);
    ParametricRequest r;
    r.values = {2.0};
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 200;
    PHazard h(s, &cat, r);
    const Band raw = h.Bands()->of([](const ParametricModel& x) { return x.mMax; });
    ASSERT_LT(raw.lower, largest);
    ReportLines lines;
    h.WriteReport(lines);
    const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("    Maksymalna magnituda estymowana ", 0) == 0;
    });
    ASSERT_NE(at, lines.end());
    const Locale& loc = s.UserLocale;
    EXPECT_EQ(*at, "    Maksymalna magnituda estymowana  " + formatMask(largest, "0.00", loc) + " – " +
                       formatMask(std::max(raw.upper, largest), "0.00", loc));
    ASSERT_NE(at + 1, lines.end());
    EXPECT_NE(at[1].find("percentyle replikacji bootstrap"), std::string::npos) << at[1];
    EXPECT_NE(at[1].find("dolny percentyl " + formatMask(raw.lower, "0.00", loc) + " podniesiony"),
              std::string::npos)
        << at[1];
}

TEST(BootstrapCancel, StopsWithTheBreakError) {
    AnalysisSettings s = hazardSettings(1.0);
    Table cat = magnitudeCatalogue(testing::grSample(400, 17, 1.0, 4.0));
    ParametricRequest r;
    r.values = {2.0};
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 2000;
    r.bootstrap.threads = 2;
    testing::ScriptedProgress progress;
    // The cancel comes during the replicates, whatever the reading of the
    // sample showed before them.
    progress.cancelIn = "Przedział ufności (bootstrap)...";
    progress.cancelAfter = 100;
    EXPECT_THROW(PHazard(s, &cat, r, &progress), EBreakProcess);
    EXPECT_NE(
        std::find(progress.captions.begin(), progress.captions.end(), "Przedział ufności (bootstrap)..."),
        progress.captions.end());
}

TEST(BootstrapTimeVariations, WindowBandsAndFailures) {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(400, 3, 1.0, 4.5));
    TimeVariationsParameters p;
    p.windowWidth = 150;
    p.windowStep = 50;
    p.bootstrap.enabled = true;
    p.bootstrap.replicates = 30;
    TimeVariations tv(s, &cat, p);
    Table& t = *tv.GetTable();
    for (const char* f : {"Beta_lo", "b_hi", "Lambda_lo", "MMaxEst_hi", "Hazard_lo", "MRP_hi", "NieudRepl"})
        EXPECT_GE(t.fieldIndex(f), 0) << f;
    int failed = 0, estimated = 0;
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        const std::size_t row = t.rowOfRecord(i);
        // A window without its own estimate draws no replicates.
        if (!t.column(t.requireField("Opis")).textAt(row).empty()) continue;
        ++estimated;
        failed += static_cast<int>(t.column(t.requireField("NieudRepl")).numberAt(row));
        const double beta = t.column(t.requireField("Beta")).numberAt(row);
        EXPECT_LE(t.column(t.requireField("Beta_lo")).numberAt(row), beta * 1.2);
        EXPECT_GE(t.column(t.requireField("Beta_hi")).numberAt(row), beta * 0.8);
        // b is β / ln 10, so is its band.
        EXPECT_NEAR(t.column(t.requireField("b_lo")).numberAt(row),
                    t.column(t.requireField("Beta_lo")).numberAt(row) / kLn10, 1e-12);
    }
    EXPECT_GE(estimated, 2);
    EXPECT_EQ(tv.ReplicatesRun(), 30 * estimated);
    EXPECT_EQ(failed, tv.ReplicatesFailed());
}

}  // namespace
}  // namespace zorv
