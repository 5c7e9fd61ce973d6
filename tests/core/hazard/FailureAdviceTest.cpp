// The advice added to an estimator's failure: the sample's figures it
// quotes (the binned Aki–Utsu b-value and the largest magnitude the fitted
// law expects, checked against a hand computation) and what it tells the
// user to try for each kind of failure.

#include <gtest/gtest.h>

#include "hazard/FailureAdvice.h"
#include "hazard/HazardErrors.h"

namespace zorv {
namespace {

AnalysisSettings settingsAt(double mMin) {
    AnalysisSettings s;
    s.MMin = mMin;
    s.MinSampleSize = 30;
    return s;
}

std::string advice(const std::exception_ptr& e, const FailureSample& s) {
    return FailureAdvice(e, s, Locale{});
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Magnitudes 1.0, 1.0, 1.5, 2.0, 3.5 at the resolution 0.5, MMin 1.0: mean
// 1.8, lower edge 0.75, b = log10(e)/1.05, expected largest 0.75 +
// log10(5)/b; reference:
//   /usr/bin/python3 -c "import math; m=[1,1,1.5,2,3.5]; b=math.log10(math.e)/(sum(m)/5-0.75);
//   print(b, 0.75+math.log10(5)/b)"   ->  0.41361379228881123 2.4399098080558055
TEST(FailureAdvice, FiguresOfTheSample) {
    const FailureSample s = DescribeFailureSample({0.5, 1.0, 1.0, 1.5, 2.0, 3.5}, settingsAt(1.0));
    EXPECT_EQ(s.events, 6u);
    EXPECT_EQ(s.aboveMMin, 5u);
    EXPECT_DOUBLE_EQ(s.resolution, 0.5);
    EXPECT_EQ(s.tied, 2u);
    EXPECT_DOUBLE_EQ(s.largest, 3.5);
    EXPECT_NEAR(s.bValue, 0.41361379228881123, 1e-12);
    EXPECT_NEAR(s.expectedLargest, 2.4399098080558055, 1e-12);
    // One event gives no b-value.
    EXPECT_EQ(DescribeFailureSample({2.0}, settingsAt(1.0)).bValue, 0.0);
}

TEST(FailureAdvice, WhatToTryForEachFailure) {
    const FailureSample far = DescribeFailureSample({0.5, 1.0, 1.0, 1.5, 2.0, 3.5}, settingsAt(1.0));
    // The joint loop: the largest event 1.06 above the law's 2.44.
    const std::string loop = advice(std::make_exception_ptr(ETooManyIterations()), far);
    EXPECT_TRUE(has(loop, "leży o 1.06 powyżej")) << loop;
    EXPECT_TRUE(has(loop, "około 2.44")) << loop;
    EXPECT_TRUE(has(loop, "Maksymalna magnituda — porównanie estymatorów")) << loop;
    // An event in line with the law: iterations or the fixed upper limit.
    const FailureSample near = DescribeFailureSample({1.0, 1.1, 1.2, 1.3, 1.6, 2.2}, settingsAt(1.0));
    EXPECT_TRUE(has(advice(std::make_exception_ptr(ETooManyIterations()), near), "Zwiększ liczbę iteracji"));
    EXPECT_TRUE(has(advice(std::make_exception_ptr(ENoMMaxRoot()), near), "zmiennej górnej granicy"));

    // Too few events above MMin: how many.
    const std::string few = advice(std::make_exception_ptr(ESampleTooLow()), far);
    EXPECT_TRUE(has(few, "co najmniej MMin = 1.00: 5 (z 6 w próbie), a estymator potrzebuje co najmniej 30"))
        << few;
    EXPECT_TRUE(has(advice(std::make_exception_ptr(ENoRecords()),
                           DescribeFailureSample(std::vector<double>{}, settingsAt(2))),
                    ": 0 (z 0 w próbie)"));
    // A smoothing factor at zero on tied magnitudes: the randomisation.
    const std::string tied = advice(std::make_exception_ptr(EHFactorBelowZero()), far);
    EXPECT_TRUE(has(tied, "rozdzielczością 0.5 i 2 z 5")) << tied;
    // The user's stop and unknown failures get nothing.
    EXPECT_EQ(advice(std::make_exception_ptr(EBreakProcess()), far), "");
    EXPECT_EQ(advice(std::make_exception_ptr(std::runtime_error("x")), far), "");

    // The message keeps its own text first.
    const HazardFailureMessage m =
        DescribeHazardFailure(std::make_exception_ptr(ESampleTooLow()), far, Locale{});
    EXPECT_EQ(m.text, "Zbyt mała próba\n" + few);
    EXPECT_EQ(DescribeHazardFailure(std::make_exception_ptr(EBreakProcess()), far, Locale{}).text,
              DescribeHazardFailure(std::make_exception_ptr(EBreakProcess())).text);
}

}  // namespace
}  // namespace zorv
