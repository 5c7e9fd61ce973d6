// Bootstrap bands of the nonparametric hazard tables: thread independence,
// the band columns against the replicates, failed replicates and cancel.

#include <gtest/gtest.h>

#include <cmath>

#include "HazardTestSupport.h"
#include "hazard/HazardErrors.h"
#include "hazard/NonParametricTables.h"

namespace zorv {
namespace {

using testing::hazardSettings;
using testing::magnitudeCatalogue;

EstimateRequest bandRequest(int replicates, int threads) {
    EstimateRequest r;
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = replicates;
    r.bootstrap.threads = threads;
    return r;
}

TEST(NonParametricBootstrap, SameReplicatesOnOneAndTwoThreads) {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    Hazard one(s, &cat, TimeUnit::Months, bandRequest(20, 1), TableRange{}, {2.0});
    Hazard two(s, &cat, TimeUnit::Months, bandRequest(20, 2), TableRange{}, {2.0});
    const NonParametricBands &a = *one.Bands(), &b = *two.Bands();
    ASSERT_EQ(a.replicates.size(), 20u);
    for (std::size_t k = 0; k < 20; ++k) {
        EXPECT_EQ(a.ok[k], b.ok[k]);
        EXPECT_EQ(a.replicates[k].h, b.replicates[k].h);
        EXPECT_EQ(a.replicates[k].mMax, b.replicates[k].mMax);
        EXPECT_EQ(a.replicates[k].cdf, b.replicates[k].cdf);
    }
    // The smoothed replicates find their own cross-validated h, near the sample's.
    EXPECT_LT(a.failed, 5);
    const Band h = a.of([](const NonParametricReplicate& r) { return r.h; });
    EXPECT_LT(h.lower, h.upper);
    EXPECT_GT(h.lower, 0.2 * one.SmoothingFactor());
    EXPECT_LT(h.upper, 5.0 * one.SmoothingFactor());

    // The table's band at a row is that of the replicates' hazard there.
    Table& t = *one.GetTable();
    EXPECT_GE(t.fieldIndex("m1_lo"), 0);
    const std::size_t row = t.rowOfRecord(5);
    const double D = t.column(t.requireField("Okres")).numberAt(row);
    const Band band = a.of([D](const NonParametricReplicate& r) { return r.hazard(0, D); });
    EXPECT_DOUBLE_EQ(t.column(t.requireField("m1_lo")).numberAt(row), band.lower);
    EXPECT_DOUBLE_EQ(t.column(t.requireField("m1_hi")).numberAt(row), band.upper);
    // A replicate's hazard is 1 − exp(−λ·D·(1 − F)) of its own numbers.
    const NonParametricReplicate& r0 = a.replicates[0];
    EXPECT_DOUBLE_EQ(r0.hazard(0, 2.0), 1.0 - std::exp(-r0.rate * 2.0 * (1.0 - r0.cdf[0])));
}

TEST(NonParametricBootstrap, FailedReplicatesAreCounted) {
    // MinSampleSize equal to the sample: a replicate whose Poisson count is
    // smaller fails, as replayed from its stream.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    s.MinSampleSize = 200;
    Table cat = magnitudeCatalogue(testing::grSample(200, 4, 1.0, 4.5));
    MeanReturnPeriod mrp(s, &cat, TimeUnit::Months, bandRequest(20, 2), TableRange{});
    int expected = 0;
    for (int k = 0; k < 20; ++k) {
        auto stream = ReplicateStream(BootstrapOptions{}.seed, k);
        expected += ResampleIndices(stream, 200).size() < 200;
    }
    EXPECT_GT(expected, 0);
    EXPECT_GE(mrp.Bands()->failed, expected);
    ReportLines lines;
    mrp.WriteReport(lines);
    bool reported = false;
    for (const std::string& l : lines)
        reported |= l.find("Nieudane replikacje:             " + std::to_string(mrp.Bands()->failed) +
                           " z 20") != std::string::npos;
    EXPECT_TRUE(reported);
}

TEST(NonParametricBootstrap, CancelStopsTheRun) {
    AnalysisSettings s = hazardSettings(1.0);
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    // The positions a run without the bands shows; the cancel comes a few
    // replicates later.
    testing::ScriptedProgress plain;
    plain.cancelAfter = 1 << 30;
    Hazard(s, &cat, TimeUnit::Months, EstimateRequest{}, TableRange{}, {2.0}, &plain);
    testing::ScriptedProgress progress;
    progress.cancelAfter = plain.positions + 3;
    EXPECT_THROW(Hazard(s, &cat, TimeUnit::Months, bandRequest(400, 2), TableRange{}, {2.0}, &progress),
                 EBreakProcess);
    EXPECT_NE(
        std::find(progress.captions.begin(), progress.captions.end(), "Przedział ufności (bootstrap)..."),
        progress.captions.end());
}

}  // namespace
}  // namespace zorv
