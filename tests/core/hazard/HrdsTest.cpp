// The activity rate and the hazard quantities of the nonparametric estimator.

#include <gtest/gtest.h>

#include <cmath>

#include "NonParametricTestSupport.h"
#include "hazard/Hrds.h"
#include "report/ReportWriter.h"

namespace zorv {
namespace {

class HazardEstimator : public Hrds {
public:
    using Hrds::Hrds;
};

// The span read as a date from 1899-12-30 (Python: datetime.date(1899, 12, 30)
// + timedelta(days=span)), then 12·(Y − 1900) + (M − 1) + (D − 1)/30 months or
// 4·(Y − 1900) + (M − 1)/3 + (D − 1)/90 quarters.
struct UnitCountRow {
    const char* name;
    double span;  // days
    double months;
    double quarters;
};
const UnitCountRow kUnitCounts[] = {
    {"ThreeHundredSixtyFiveDays", 365.0, 11.0 + 29.0 / 30.0, 11.0 / 3.0 + 29.0 / 90.0},  // 1900-12-30
    {"FractionOfADayDropped", 365.9, 11.0 + 29.0 / 30.0, 11.0 / 3.0 + 29.0 / 90.0},
    {"ThreeDays", 3.0, 1.0 / 30.0, 1.0 / 90.0},                         // 1900-01-02
    {"FebruaryOf1900HasNoLeapDay", 61.0, 2.0, 2.0 / 3.0},               // 1900-03-01
    {"ThreeHundredSixtySixDays", 366.0, 12.0, 11.0 / 3.0 + 30.0 / 90},  // 1900-12-31
    {"ThreeHundredSixtySevenDays", 367.0, 12.0, 4.0},                   // 1901-01-01
    {"TwoDays", 2.0, 0.0, 0.0},                                         // 1900-01-01
    {"OneDay", 1.0, 0.0, 11.0 / 3.0 - 4.0 + 30.0 / 90.0},               // 1899-12-31
    {"SameDay", 0.0, -12.0 + 11.0 + 29.0 / 30.0, -4.0 + 11.0 / 3.0 + 29.0 / 90.0},
};

class UnitCount : public ::testing::TestWithParam<UnitCountRow> {};

TEST_P(UnitCount, CalendarArithmetic) {
    const UnitCountRow& r = GetParam();
    EXPECT_NEAR(timeUnitCount(r.span, TimeUnit::Months), r.months, 1e-12);
    EXPECT_NEAR(timeUnitCount(r.span, TimeUnit::Quarters), r.quarters, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Hrds, UnitCount, ::testing::ValuesIn(kUnitCounts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hrds, ActivityRateOfTheSample) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardEstimator months(testing::hazardSettings(), &t, TimeUnit::Months, {0.1, 4.0, false}, nullptr);
    EXPECT_NEAR(months.TimeUnitCount(), testing::kGr120Months, 1e-12);
    EXPECT_NEAR(months.ActivityRate(), 120.0 / testing::kGr120Months, 1e-12);
    HazardEstimator quarters(testing::hazardSettings(), &t, TimeUnit::Quarters, {0.1, 4.0, false}, nullptr);
    EXPECT_NEAR(quarters.TimeUnitCount(), 4.0 * 9 + 3.0 + 8.0 / 90.0, 1e-12);
    // The span is that of the events at or above MMin only: dropping the
    // first event (below MMin now) moves the first date by 30 days.
    std::vector<double> m = testing::kGr120;
    m[0] = 0.5;
    Table u = testing::spacedCatalogue(m, 30);
    HazardEstimator later(testing::hazardSettings(), &u, TimeUnit::Months, {0.1, 4.0, false}, nullptr);
    EXPECT_NEAR(later.TimeUnitCount(), timeUnitCount(3540.0, TimeUnit::Months), 1e-12);
    EXPECT_EQ(later.SampleSize(), 119);
}

// Fewer than three days between the first and last event leave no positive
// time unit count; the estimator refuses instead of an infinite or negative
// rate.
TEST(Hrds, SamplePeriodUnderThreeDaysIsRefused) {
    for (const std::int32_t spacing : {0, 1}) {
        Table t = testing::spacedCatalogue({1.5, 2.0, 1.2}, spacing);
        EXPECT_THROW(
            HazardEstimator(testing::hazardSettings(), &t, TimeUnit::Months, {0.1, 3.0, false}, nullptr),
            ESamplePeriodTooShort)
            << spacing;
    }
    Table ok = testing::spacedCatalogue({1.5, 2.0, 1.2, 1.1}, 1);  // three days
    HazardEstimator a(testing::hazardSettings(), &ok, TimeUnit::Months, {0.1, 3.0, false}, nullptr);
    EXPECT_NEAR(a.ActivityRate(), 4.0 * 30.0, 1e-9);
}

// Independent reference: the adaptive kernel transcribed in Python with SciPy
// (/usr/bin/python3; x = kGr120, h = 0.1, MMin = 1, MMax = 4):
//   f = norm.pdf((x[:,None] - x[None,:]) / h).sum(1) / (n*h)
//   lam = (f / exp(mean(log(f)))) ** -0.5;  s = lam*h
//   F(m) = sum(Φ((m-x)/s) - Φ((1-x)/s)) / sum(Φ((4-x)/s) - Φ((1-x)/s))
//   rate = 120 / (12*9 + 9 + 8/30);  R = 1 - exp(-rate*D*(1 - F(m)));  T = 1/((1 - F(m))*rate)
// The estimator's normal distribution function is the seven-digit polynomial
// approximation (error below 7.5e-8), hence the tolerances.
struct ReferenceRow {
    const char* name;
    double m;
    double hazard[3];  // D = 1, 2, 3 months
};
const ReferenceRow kReference[] = {
    {"M15", 1.5, {0.2872784406, 0.4920279788, 0.6379573889}},
    {"M20", 2.0, {0.0994167117, 0.1889497408, 0.2695816906}},
    {"M30", 3.0, {0.0179508139, 0.0355793961, 0.0528915308}},
};

class HazardReference : public ::testing::TestWithParam<ReferenceRow> {};

TEST_P(HazardReference, AgainstScipy) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardEstimator a(testing::hazardSettings(), &t, TimeUnit::Months, {0.1, 4.0, false}, nullptr);
    for (int d = 1; d <= 3; ++d)
        EXPECT_NEAR(a.HazardAt(GetParam().m, d), GetParam().hazard[d - 1], 2e-6) << d;
}

INSTANTIATE_TEST_SUITE_P(Hrds, HazardReference, ::testing::ValuesIn(kReference),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hrds, MeanReturnPeriodAgainstScipy) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardEstimator a(testing::hazardSettings(), &t, TimeUnit::Months, {0.1, 4.0, false}, nullptr);
    EXPECT_NEAR(a.MeanReturnPeriodAt(1.5), 2.9527752, 1e-5);
    EXPECT_NEAR(a.MeanReturnPeriodAt(2.5), 19.736574, 1e-4);
    EXPECT_NEAR(a.MeanReturnPeriodAt(3.5) / 267.73005, 1.0, 1e-4);
}

// Closed forms at the ends of the distribution: below MMin F = 0, so
// R = 1 − exp(−λ·D); at and above MMaxEst F = 1, so R = 0 and the unbounded
// return period is stored as 0.
TEST(Hrds, HazardAtTheEndsOfTheDistribution) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardEstimator a(testing::hazardSettings(), &t, TimeUnit::Months, {-1.0, -1.0, false}, nullptr);
    const double rate = 120.0 / testing::kGr120Months;
    for (const double d : {0.5, 1.0, 12.0}) {
        EXPECT_NEAR(a.HazardAt(0.9, d), 1.0 - std::exp(-rate * d), 1e-15) << d;
        EXPECT_EQ(a.HazardAt(a.MMaxEst(), d), 0.0) << d;
        EXPECT_EQ(a.HazardAt(a.MMaxEst() + 0.5, d), 0.0) << d;
    }
    EXPECT_EQ(a.MeanReturnPeriodAt(a.MMaxEst()), 0.0);
    EXPECT_EQ(a.MeanReturnPeriodAt(a.MMaxEst() + 1.0), 0.0);
    EXPECT_NEAR(a.MeanReturnPeriodAt(0.5), 1.0 / rate, 1e-12);
    EXPECT_GT(a.MMaxEst(), a.LargestObserved());
}

}  // namespace
}  // namespace zorv
