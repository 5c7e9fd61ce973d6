// The forecast scores on hand-worked sequences, and the verification of past
// forecasts on synthetic catalogues of known law.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "HazardTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/Backtest.h"
#include "hazard/ForecastScores.h"

namespace zorv {
namespace {

using testing::grSample;
using testing::hazardSettings;

// p = 0.1, 0.8, 0.5, 0.3 against 0, 1, 1, 0: BS = (0.01 + 0.04 + 0.25 + 0.09)/4 = 0.0975;
// base rate 0.5, climatology 0.25, BSS = 1 − 0.0975/0.25 = 0.61. The Poisson
// expectation and tails of three events, by
//   /usr/bin/python3 -c "from scipy.stats import poisson; import numpy as np;
//   mu=-np.log1p(-np.array([.1,.8,.5,.3])).sum(); print(repr(mu), repr(poisson.sf(2,mu)),
//   repr(poisson.cdf(3,mu)))"
// = 2.7646205525906047, 0.5220704109928912, 0.6997982160935171.
TEST(ForecastScores, HandWorkedSequence) {
    const std::vector<double> p = {0.1, 0.8, 0.5, 0.3};
    const std::vector<int> o = {0, 1, 1, 0};
    EXPECT_NEAR(BrierScore(p, o), 0.0975, 1e-15);
    EXPECT_DOUBLE_EQ(BaseRate(o), 0.5);
    EXPECT_DOUBLE_EQ(ClimatologyBrierScore(o), 0.25);
    EXPECT_NEAR(BrierSkillScore(p, o), 0.61, 1e-14);
    EXPECT_NEAR(ExpectedEventCount(p), 2.7646205525906047, 1e-14);
    const NumberTest t = PoissonNumberTest(ExpectedEventCount(p), 3);
    EXPECT_NEAR(t.atLeast, 0.5220704109928912, 1e-13);
    EXPECT_NEAR(t.atMost, 0.6997982160935171, 1e-13);
    // Larger counts in logarithms: poisson.cdf(150, 140.5) = 0.8017355898041433,
    // poisson.sf(0, 2.0) = 0.8646647167633873 (same command with these arguments).
    EXPECT_NEAR(PoissonCdf(150, 140.5), 0.8017355898041433, 1e-12);
    EXPECT_NEAR(PoissonNumberTest(2.0, 1).atLeast, 0.8646647167633873, 1e-14);
    EXPECT_EQ(PoissonNumberTest(2.0, 0).atLeast, 1.0);
    // Always or never: no skill score.
    EXPECT_TRUE(std::isnan(BrierSkillScore({0.2, 0.4}, {1, 1})));
    EXPECT_TRUE(std::isnan(BrierScore({}, {})));
}

// Each forecast in its bin, 0.3 in [0.3, 0.4) (not one low by rounding) and
// 1.0 in the last bin; empty bins have no mean.
TEST(ForecastScores, ReliabilityBins) {
    const std::vector<ReliabilityBin> bins =
        ReliabilityTable({0.1, 0.8, 0.5, 0.3, 0.35, 1.0, 0.0}, {0, 1, 1, 0, 1, 1, 0});
    ASSERT_EQ(bins.size(), 10u);
    EXPECT_EQ(bins[3].count, 2);
    EXPECT_NEAR(bins[3].meanForecast, 0.325, 1e-15);
    EXPECT_DOUBLE_EQ(bins[3].observedFrequency, 0.5);
    EXPECT_EQ(bins[9].count, 1);
    EXPECT_EQ(bins[0].count, 1);
    EXPECT_EQ(bins[1].count, 1);
    EXPECT_EQ(bins[2].count, 0);
    EXPECT_TRUE(std::isnan(bins[2].meanForecast));
    EXPECT_DOUBLE_EQ(bins[9].to, 1.0);
}

// A catalogue whose events come as a Poisson process of a rate that
// alternates every `regime` days between `high` and `low` events a day, with
// truncated Gutenberg–Richter magnitudes (b = 1, MMin = 1, Mmax = 4).
struct Synthetic {
    Table table{{{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}}};
    std::vector<double> days;
    std::vector<double> magnitudes;
};
Synthetic synthetic(std::uint64_t seed, int span, int regime, double high, double low) {
    Synthetic s;
    std::mt19937_64 rng(seed);
    double t = 0.0;
    for (;;) {
        const double rate = (static_cast<int>(t) / regime) % 2 == 0 ? high : low;
        t += std::exponential_distribution<double>(rate)(rng);
        if (t >= span) break;
        s.days.push_back(t);
    }
    s.magnitudes = grSample(s.days.size(), seed + 1, 1.0, 4.0);
    for (std::size_t i = 0; i < s.days.size(); ++i)
        s.table.appendRecord(
            {Value::date(36892 + static_cast<std::int32_t>(s.days[i])), Value::real(s.magnitudes[i])});
    s.table.first();
    return s;
}

// The forecast of the true law (rate of the regime, the true distribution)
// beats climatology, and so do the program's forecasts from a moving window
// shorter than a regime; the whole past, blind to the regimes, does not.
TEST(Backtest, KnowingTheLawBeatsClimatology) {
    const int span = 3840, regime = 480, D = 30;
    Synthetic s = synthetic(17, span, regime, 3.0, 0.3);
    const double m = 2.5;
    // P(M ≥ 2.5) of the law: (10^−1.5 − 10^−3)/(1 − 10^−3).
    const double tail = (std::pow(10.0, -1.5) - 1e-3) / (1.0 - 1e-3);

    BacktestParameters p;
    p.magnitude = m;
    p.horizonDays = D;
    p.windowDays = 60;
    AnalysisSettings settings = hazardSettings(1.0);
    settings.MinSampleSize = 10;  // a quiet window holds about 18 events
    const Backtest windowed(settings, &s.table, p);
    ASSERT_GT(windowed.Origins().size(), 120u);

    std::vector<double> truth;
    std::vector<int> happened;
    for (const BacktestOrigin& o : windowed.Origins()) {
        const int day = o.day - 36892;
        const bool wholeRegime = day / regime == (day + D - 1) / regime;
        if (!wholeRegime) continue;
        const double rate = (day / regime) % 2 == 0 ? 3.0 : 0.3;
        truth.push_back(-std::expm1(-rate * D * tail));
        happened.push_back(o.eventsAbove > 0);
        // What followed each origin is counted from the catalogue itself.
        int count = 0;
        for (std::size_t i = 0; i < s.days.size(); ++i)
            count += s.days[i] >= day && s.days[i] < day + D && s.magnitudes[i] >= m;
        EXPECT_EQ(o.eventsAbove, count) << day;
    }
    EXPECT_GT(BrierSkillScore(truth, happened), 0.2);
    EXPECT_GT(windowed.Parametric().skill, 0.0);
    EXPECT_GT(windowed.NonParametric().skill, 0.0);
    EXPECT_GT(BrierSkillScore(truth, happened), windowed.Parametric().skill);

    p.windowDays = 0;
    const Backtest whole(settings, &s.table, p);
    EXPECT_LT(whole.Parametric().skill, windowed.Parametric().skill);
    // The kernel estimate is kept between origins with little new data.
    EXPECT_LT(whole.Reestimations(), static_cast<int>(whole.Origins().size()));
    EXPECT_GT(whole.Reestimations(), 1);
}

// Origins before MinSampleSize events keep their record with the reason;
// parameters the run cannot use are refused.
TEST(Backtest, ShortPastAndRefusedParameters) {
    Synthetic s = synthetic(5, 400, 1000, 1.0, 1.0);
    BacktestParameters p;
    p.magnitude = 2.0;
    AnalysisSettings settings = hazardSettings(1.0);
    settings.MinSampleSize = 45;
    Backtest b(settings, &s.table, p);
    ASSERT_FALSE(b.Origins().empty());
    EXPECT_EQ(b.Origins()[0].parametricNote, "Zbyt mała próba");
    EXPECT_TRUE(std::isnan(b.Origins()[0].nonParametric));
    EXPECT_EQ(b.Parametric().forecasts + b.Parametric().failures, static_cast<int>(b.Origins().size()));
    EXPECT_EQ(b.GetTable()->recordCount(), 10u);

    p.horizonDays = 5;
    EXPECT_THROW(Backtest(settings, &s.table, p), AnalysisError);
    p.horizonDays = 30;
    p.windowDays = 20;
    EXPECT_EQ(*BacktestProblem(p), "Okno przeszłości nie może być krótsze od horyzontu prognozy.");
}

}  // namespace
}  // namespace zorv
