// Magnitudes given at a resolution: the resolution found, the ties counted,
// the randomisation inside the rounding intervals (repeating with its seed),
// and the smoothing factor it gives a rounded sample back.

#include <gtest/gtest.h>

#include <cmath>

#include "HazardTestSupport.h"
#include "hazard/MagnitudeResolution.h"
#include "hazard/NonParametricHazard.h"

namespace zorv {
namespace {

std::vector<double> rounded(std::vector<double> v, double step) {
    for (double& m : v) m = std::round(m / step) * step;
    return v;
}

TEST(MagnitudeResolution, FoundFromTheValues) {
    EXPECT_EQ(magnitudeResolution({1.0, 2.0, 3.0}), 1.0);
    EXPECT_EQ(magnitudeResolution({1.5, 2.0, 3.5}), 0.5);
    EXPECT_EQ(magnitudeResolution({1.1, 2.3, 0.7}), 0.1);
    EXPECT_EQ(magnitudeResolution({1.12, 2.3, -0.07}), 0.01);
    EXPECT_EQ(magnitudeResolution({1.1234, 2.3}), 0.0001);
    EXPECT_EQ(magnitudeResolution(testing::kGr120), 0.0001);
    EXPECT_EQ(magnitudeResolution({1.0143600856458816, 2.0}), 0.0);  // from energies: none
    EXPECT_EQ(magnitudeResolution({}), 0.0);
    EXPECT_EQ(tiedMagnitudes({1.1, 1.2, 1.1, 1.3, 1.3, 1.3}), 5u);
    EXPECT_EQ(tiedMagnitudes({1.1, 1.2}), 0u);
}

TEST(MagnitudeResolution, RandomisedInsideTheRoundingIntervalsAndRepeatable) {
    const std::vector<double> given = rounded(testing::grSample(5000, 3, 1.0, 4.0), 0.1);
    std::vector<double> a = given, b = given, c = given;
    randomiseWithinRounding(a, 0.1, 1.0, 42);
    randomiseWithinRounding(b, 0.1, 1.0, 42);
    randomiseWithinRounding(c, 0.1, 1.0, 43);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    double shift = 0;
    for (std::size_t i = 0; i < given.size(); ++i) {
        EXPECT_GE(a[i], given[i] - 0.05);
        EXPECT_LT(a[i], given[i] + 0.05);
        EXPECT_GE(a[i], 1.0);  // reflected above the threshold
        shift += a[i] - given[i];
    }
    EXPECT_EQ(tiedMagnitudes(a), 0u);
    // Away from the threshold the draws are centred on the given values:
    // the mean shift is within a few standard errors (0.1/sqrt(12·5000)) of 0
    // plus the reflection's push upward of the values at 1.0.
    std::size_t atThreshold = 0;
    for (const double m : given) atThreshold += m < 1.0 + 1e-9;
    const double push = 0.025 * double(atThreshold) / double(given.size());
    EXPECT_NEAR(shift / double(given.size()), push, 4 * 0.1 / std::sqrt(12.0 * 5000));
}

// Rounded to 0.01, 2000 magnitudes tie; randomised (the default), the
// cross-validated smoothing factor is close to that of the continuous
// sample; the report says so.
TEST(MagnitudeResolution, KernelEstimateOfARoundedSample) {
    const std::vector<double> continuous = testing::grSample(2000, 11, 1.0, 4.0);
    Table c = testing::magnitudeCatalogue(continuous);
    Table r = testing::magnitudeCatalogue(rounded(continuous, 0.01));
    AnalysisSettings s = testing::hazardSettings(1.0);
    const testing::Estimator exact(s, &c, -1.0, 10.0, {0, 0, 0}, nullptr);
    const testing::Estimator jittered(s, &r, -1.0, 10.0, {0, 0, 0}, nullptr);
    EXPECT_EQ(exact.MagnitudeResolution(), 0.0);
    EXPECT_FALSE(exact.MagnitudesRandomised());
    EXPECT_EQ(jittered.MagnitudeResolution(), 0.01);
    EXPECT_GT(jittered.TiedMagnitudes(), 1000u);
    EXPECT_TRUE(jittered.MagnitudesRandomised());
    EXPECT_NEAR(jittered.SmoothingFactor(), exact.SmoothingFactor(), 0.25 * exact.SmoothingFactor());
    std::vector<std::string> lines;
    jittered.WriteResolutionLines(lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("0.01"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("ziarno 1"), std::string::npos) << lines[1];
    lines.clear();
    exact.WriteResolutionLines(lines);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace zorv
