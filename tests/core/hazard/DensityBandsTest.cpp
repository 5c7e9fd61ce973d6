// Bootstrap bands of the nonparametric density table: a replicate that is
// the sample itself gives the sample's columns exactly, the band columns are
// the percentiles of the replicates, the bands of the distribution function
// and of the density cover the true law at about the level, and the
// smoothing-factor report gives the interval of h.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "HazardTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/LSCV.h"
#include "hazard/NonParametricTables.h"
#include "hazard/ParametricTables.h"

namespace zorv {
namespace {

using testing::hazardSettings;
using testing::magnitudeCatalogue;

constexpr std::uint8_t kAll = DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution;

EstimateRequest bandRequest(int replicates, std::uint64_t seed = 20261209) {
    EstimateRequest r;
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = replicates;
    r.bootstrap.seed = seed;
    return r;
}

std::vector<double> column(const Table& t, const char* name) {
    std::vector<double> out;
    const int f = t.requireField(name);
    for (std::size_t i = 0; i < t.recordCount(); ++i) out.push_back(t.column(f).numberAt(t.rowOfRecord(i)));
    return out;
}

TEST(DensityBands, ReplicateOfTheSampleGivesTheSampleColumns) {
    // The replicate's code on the sample's own magnitudes, with the sample's
    // h, must give the table's columns bit for bit: the same kernel, the same
    // MMaxEst, the same truncation at the smallest observed magnitude.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    EstimateRequest plain;
    Probabilities p(s, &cat, plain, TableRange{}, kAll);
    Table& t = *p.GetTable();
    NonParametricBootstrapRequest r;
    r.sampleH = p.SmoothingFactor();
    r.searchH = false;
    r.densities = true;
    r.magnitudes = column(t, "Magnituda");
    ASSERT_GT(r.magnitudes.size(), 100u);
    const NonParametricReplicate same = EstimateReplicate(p.Sample(), s, r);
    EXPECT_EQ(same.h, p.SmoothingFactor());
    EXPECT_EQ(same.mMax, p.MMaxEst());
    EXPECT_EQ(same.kernelDensity, column(t, "pdf_est"));
    EXPECT_EQ(same.density, column(t, "pdf_est_adapt"));
    EXPECT_EQ(same.cdf, column(t, "cdf_est_adapt"));
    // The search from the sample's own zero lands on it again.
    r.searchH = true;
    const NonParametricReplicate searched = EstimateReplicate(p.Sample(), s, r);
    EXPECT_NEAR(searched.h, p.SmoothingFactor(), 1e-6 * p.SmoothingFactor());
}

TEST(DensityBands, ColumnsAreThePercentilesOfTheReplicates) {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    Probabilities p(s, &cat, bandRequest(30), TableRange{1.0, 3.0, 0.25},
                    AdaptiveDensityFunction | AdaptiveDistribution);
    const Table& t = *p.GetTable();
    // The band columns after each value column, in the short names.
    const char* names[] = {"Numer",     "Magnituda",     "Energia",   "pdf_est_adapt", "pdf_ad_lo",
                           "pdf_ad_hi", "cdf_est_adapt", "cdf_ad_lo", "cdf_ad_hi"};
    ASSERT_EQ(t.fieldCount(), 9);
    for (int f = 1; f < 9; ++f) EXPECT_EQ(t.field(f).name, names[f]);
    const NonParametricBands& b = *p.Bands();
    EXPECT_LT(b.failed, 3);
    const std::vector<double> m = column(t, "Magnituda");
    const std::vector<double> pdfLo = column(t, "pdf_ad_lo"), pdfHi = column(t, "pdf_ad_hi");
    const std::vector<double> cdfLo = column(t, "cdf_ad_lo"), cdfHi = column(t, "cdf_ad_hi");
    const std::vector<double> pdf = column(t, "pdf_est_adapt"), cdf = column(t, "cdf_est_adapt");
    ASSERT_EQ(m.size(), 9u);
    for (std::size_t k = 0; k < m.size(); ++k) {
        const Band d = b.of([k](const NonParametricReplicate& r) { return r.density[k]; });
        const Band F = b.of([k](const NonParametricReplicate& r) { return r.cdf[k]; });
        EXPECT_EQ(pdfLo[k], d.lower);
        EXPECT_EQ(pdfHi[k], d.upper);
        EXPECT_EQ(cdfLo[k], F.lower);
        EXPECT_EQ(cdfHi[k], F.upper);
        EXPECT_LE(cdfLo[k], cdfHi[k]);
    }
    // Inside the sample's range the band holds the estimate.
    for (std::size_t k = 1; k + 1 < m.size(); ++k) {
        EXPECT_LT(pdfLo[k], pdf[k]) << m[k];
        EXPECT_GT(pdfHi[k], pdf[k]) << m[k];
        EXPECT_LT(cdfLo[k], cdf[k]) << m[k];
        EXPECT_GT(cdfHi[k], cdf[k]) << m[k];
    }
    // Each replicate's distribution is its own, truncated to its own
    // smallest magnitude and MMaxEst: 0 below it, 1 at and above MMaxEst.
    for (std::size_t j = 0; j < b.replicates.size(); ++j) {
        if (!b.ok[j]) continue;
        const NonParametricReplicate& r = b.replicates[j];
        EXPECT_EQ(r.cdf.front(), 0.0);  // m = 1.0, below any smoothed magnitude
        for (std::size_t k = 0; k < m.size(); ++k)
            if (m[k] > r.mMax) {
                EXPECT_EQ(r.cdf[k], 1.0);
            }
    }

    // The same replicates on one thread as on every core.
    EstimateRequest oneThread = bandRequest(30);
    oneThread.bootstrap.threads = 1;
    Probabilities single(s, &cat, oneThread, TableRange{1.0, 3.0, 0.25},
                         AdaptiveDensityFunction | AdaptiveDistribution);
    for (std::size_t j = 0; j < b.replicates.size(); ++j) {
        EXPECT_EQ(single.Bands()->ok[j], b.ok[j]);
        EXPECT_EQ(single.Bands()->replicates[j].density, b.replicates[j].density);
        EXPECT_EQ(single.Bands()->replicates[j].cdf, b.replicates[j].cdf);
    }

    // The report gives h and MMaxEst with their intervals, no activity rate.
    ReportLines lines;
    p.WriteReport(lines);
    int bandLines = 0;
    for (const std::string& l : lines) {
        bandLines += l.rfind("  Przedział ufności 90 % (bootstrap, B = 30):", 0) == 0;
        bandLines += l.rfind("    Współczynnik gładkości ", 0) == 0;
        bandLines += l.rfind("    Maksymalna magnituda estymowana ", 0) == 0;
        EXPECT_EQ(l.find("aktywność"), std::string::npos) << l;
    }
    EXPECT_EQ(bandLines, 3);
}

TEST(DensityBands, WithoutTheOptionTheTableIsAsBefore) {
    // The same columns and values as a run that never heard of the bands:
    // the replicate code is not reached, and the table has no band column.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    EstimateRequest off = bandRequest(30);
    off.bootstrap.enabled = false;
    Probabilities p(s, &cat, off, TableRange{}, kAll);
    EXPECT_FALSE(p.Bands().has_value());
    EXPECT_EQ(p.GetTable()->fieldCount(), 6);
    ReportLines lines;
    p.WriteReport(lines);
    for (const std::string& l : lines) EXPECT_EQ(l.find("Przedział ufności"), std::string::npos);
}

TEST(DensityBands, BandsCoverTheTrueLaw) {
    // 100 catalogues of 300 magnitudes of the Gutenberg–Richter law with
    // b = 1 on [1, 4.5]; B = 40 replicates, bands at 90 %. At m = 2 the true
    //   F(2) = (1 − 10^−1)/(1 − 10^−3.5) = 0.900284...
    //   /usr/bin/python3 -c "print((1-10**-1)/(1-10**-3.5))"  -> 0.9002846...
    // and the density there f(2) = ln 10 · 10^−1/(1 − 10^−3.5):
    //   /usr/bin/python3 -c "import math;print(math.log(10)*0.1/(1-10**-3.5))"  -> 0.2303313...
    // The coverage must lie in the binomial 99 % interval of the level:
    //   /usr/bin/python3 -c "from scipy.stats import binom; print(binom.interval(0.99, 100, 0.9))"
    //   -> (82.0, 97.0)
    const double trueF = (1.0 - std::pow(10.0, -1.0)) / (1.0 - std::pow(10.0, -3.5));
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    const double trueDensity = std::log(10.0) * 0.1 / (1.0 - std::pow(10.0, -3.5));
    int covered = 0, densityCovered = 0, failed = 0;
    for (std::uint64_t c = 0; c < 100; ++c) {
        Table cat = magnitudeCatalogue(testing::grSample(300, 500 + c, 1.0, 4.5));
        Probabilities p(s, &cat, bandRequest(40, c), TableRange{2.0, 2.0, 1.0},
                        AdaptiveDensityFunction | AdaptiveDistribution);
        const Table& t = *p.GetTable();
        const double lo = column(t, "cdf_ad_lo").at(0), hi = column(t, "cdf_ad_hi").at(0);
        covered += lo <= trueF && trueF <= hi;
        const double dlo = column(t, "pdf_ad_lo").at(0), dhi = column(t, "pdf_ad_hi").at(0);
        densityCovered += dlo <= trueDensity && trueDensity <= dhi;
        failed += p.Bands()->failed;
    }
    std::printf("covered of 100: F(2) %d, f(2) %d; failed replicates %d\n", covered, densityCovered, failed);
    EXPECT_LT(failed, 100 * 40 / 20);
    for (const int c : {covered, densityCovered}) {
        EXPECT_GE(c, 82);
        EXPECT_LE(c, 97);
    }
}

TEST(ParametricDensityBands, DensityAndDistributionTables) {
    // The parametric density and distribution tables carry their bands too,
    // each the percentile band at the row of the replicate models' truncated
    // exponential law, f(m) = β·e^(−β(m − MMin))/(1 − e^(−β(Mmax − MMin)))
    // and F(m) = (1 − e^(−β(m − MMin)))/(1 − e^(−β(Mmax − MMin))).
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(400, 17, 1.0, 4.0));
    ParametricRequest r;
    r.start = 1.0, r.end = 3.0, r.step = 0.5;
    r.bootstrap.enabled = true;
    r.bootstrap.replicates = 40;
    PCDF cdf(s, &cat, r);
    PPDF pdf(s, &cat, r);
    for (ParametricTable* table :
         {static_cast<ParametricTable*>(&cdf), static_cast<ParametricTable*>(&pdf)}) {
        const bool isCdf = table == &cdf;
        const Table& t = *table->GetTable();
        const std::vector<double> m = column(t, "Magnituda");
        const std::vector<double> v = column(t, isCdf ? "ParamCDF" : "ParamPDF");
        const std::vector<double> lo = column(t, isCdf ? "PCDF_lo" : "PPDF_lo");
        const std::vector<double> hi = column(t, isCdf ? "PCDF_hi" : "PPDF_hi");
        ASSERT_EQ(m.size(), 5u);
        for (std::size_t k = 0; k < m.size(); ++k) {
            const double at = m[k];
            const Band b = table->Bands()->of([&](const ParametricModel& x) {
                const double e = std::exp(-x.beta * (at - x.mMin));
                const double mass = 1.0 - std::exp(-x.beta * (x.mMax - x.mMin));
                return isCdf ? (1.0 - e) / mass : x.beta * e / mass;
            });
            EXPECT_NEAR(lo[k], b.lower, 1e-12) << at;
            EXPECT_NEAR(hi[k], b.upper, 1e-12) << at;
            if (k > 0) {
                EXPECT_LT(lo[k], v[k]) << at;
                EXPECT_GT(hi[k], v[k]) << at;
            }
        }
    }
}

TEST(SmoothingFactorBands, ReportGivesTheIntervalOfH) {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    LSCV plain(s, &cat, -1.0, -1.0, -1.0);
    BootstrapOptions o = bandRequest(30).bootstrap;
    LSCV banded(s, &cat, -1.0, -1.0, -1.0, nullptr, o);
    // The criterion itself is the same table; it has no band columns.
    EXPECT_EQ(banded.GetTable()->fieldCount(), plain.GetTable()->fieldCount());
    EXPECT_EQ(column(*banded.GetTable(), "f"), column(*plain.GetTable(), "f"));
    // The sample's h is the zero the hazard tables search, and the next
    // hazard run still searches (the hints ask for the search).
    testing::Estimator e(s, &cat, -1.0, -1.0, {0, 0, 0}, nullptr);
    EXPECT_EQ(banded.SampleH(), e.SmoothingFactor());
    EXPECT_EQ(banded.GetScaleHints().H, -1.0);
    const NonParametricBands& b = *banded.Bands();
    const Band h = b.of([](const NonParametricReplicate& r) { return r.h; });
    EXPECT_LT(h.lower, e.SmoothingFactor());
    EXPECT_GT(h.upper, e.SmoothingFactor());
    // Only h is estimated by the replicates.
    for (const NonParametricReplicate& r : b.replicates) EXPECT_TRUE(r.cdf.empty());
    ReportLines lines;
    banded.WriteReport(lines);
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    EXPECT_NE(text.find("Współczynnik gładkości próby:"), std::string::npos);
    EXPECT_NE(text.find("    Współczynnik gładkości           "), std::string::npos);
    EXPECT_EQ(text.find("Maksymalna magnituda estymowana"), std::string::npos);
    EXPECT_NE(text.find("Nieudane replikacje:             " + std::to_string(b.failed) + " z 30"),
              std::string::npos);

    // With both searches off there is no zero to bootstrap: the report says so.
    s.UseRTNI = s.UseRTMI = false;
    LSCV off(s, &cat, -1.0, -1.0, -1.0, nullptr, o);
    EXPECT_FALSE(off.Bands().has_value());
    ReportLines offLines;
    off.WriteReport(offLines);
    bool said = false;
    for (const std::string& l : offLines)
        said |= l.find("wymaga procedury RTNI lub RTMI") != std::string::npos;
    EXPECT_TRUE(said);
}

TEST(DensityBands, OversizedTablesAreRefused) {
    // B·rows·3 values above the limit: refused before any replicate runs.
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    Table cat = magnitudeCatalogue(testing::grSample(300, 9, 1.0, 4.5));
    EstimateRequest r = bandRequest(1000);
    EXPECT_THROW(Probabilities(s, &cat, r, TableRange{1.0, 3.0, 1e-4}, kAll), AnalysisError);
    EXPECT_NO_THROW(CheckBandSize(r.bootstrap, 16000, 3));
    EXPECT_THROW(CheckBandSize(r.bootstrap, 17000, 3), AnalysisError);
    r.bootstrap.enabled = false;
    EXPECT_NO_THROW(CheckBandSize(r.bootstrap, 1u << 30, 3));
}

}  // namespace
}  // namespace zorv
