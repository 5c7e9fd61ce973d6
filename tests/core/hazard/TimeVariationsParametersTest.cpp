// The logic of the time-variation dialog: preselected charts, limits, unit
// labels, energy read-out and the charts a run opens.

#include <gtest/gtest.h>

#include "hazard/TimeVariationsParameters.h"

namespace zorv {
namespace {

TEST(TimeVariationsDialog, MenuEntryPreselectsCharts) {
    struct Row {
        int tag;
        bool b, mmax, returnPeriod, hazard;
    } rows[] = {
        {1, false, true, false, false}, {3, false, false, false, true}, {4, false, false, true, false},
        {5, true, false, false, false}, {10, true, true, true, true},   {2, false, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tag);
        const TimeVariationsParameters p = TimeVariationsDefaults(r.tag);
        EXPECT_EQ(p.bValueChart, r.b);
        EXPECT_EQ(p.maximumMagnitudeChart, r.mmax);
        EXPECT_EQ(p.returnPeriodChart, r.returnPeriod);
        EXPECT_EQ(p.hazardChart, r.hazard);
        EXPECT_EQ(p.windowWidth, 300);
        EXPECT_EQ(p.windowStep, 25);
        EXPECT_EQ(p.minEvents, 30);
        EXPECT_FALSE(TimeVariationsProblem(p).has_value());
    }
}

TEST(TimeVariationsDialog, LimitsOfTheValues) {
    struct Row {
        const char* name;
        void (*change)(TimeVariationsParameters&);
        bool refused;
    } rows[] = {
        {"step zero", [](TimeVariationsParameters& p) { p.windowStep = 0; }, true},
        {"negative step", [](TimeVariationsParameters& p) { p.windowStep = -25; }, true},
        {"step of one day", [](TimeVariationsParameters& p) { p.windowStep = 1; }, false},
        {"step 500", [](TimeVariationsParameters& p) { p.windowStep = 500; }, false},
        {"step 501", [](TimeVariationsParameters& p) { p.windowStep = 501; }, true},
        {"width zero", [](TimeVariationsParameters& p) { p.windowWidth = 0; }, true},
        {"width 10000", [](TimeVariationsParameters& p) { p.windowWidth = 10000; }, false},
        {"width 10001", [](TimeVariationsParameters& p) { p.windowWidth = 10001; }, true},
        {"minimum 29", [](TimeVariationsParameters& p) { p.minEvents = 29; }, true},
        {"minimum 1000", [](TimeVariationsParameters& p) { p.minEvents = 1000; }, false},
        {"D below one", [](TimeVariationsParameters& p) { p.hazardPeriod = 0.5; }, true},
        {"D 100", [](TimeVariationsParameters& p) { p.hazardPeriod = 100.0; }, false},
        {"magnitude 0", [](TimeVariationsParameters& p) { p.hazardMagnitude = 0.0; }, true},
        {"magnitude 0.001", [](TimeVariationsParameters& p) { p.returnMagnitude = 0.001; }, false},
        {"magnitude 10.5", [](TimeVariationsParameters& p) { p.returnMagnitude = 10.5; }, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TimeVariationsParameters p;
        r.change(p);
        EXPECT_EQ(TimeVariationsProblem(p).has_value(), r.refused);
    }
    TimeVariationsParameters p;
    p.windowStep = 0;
    EXPECT_EQ(*TimeVariationsProblem(p),
              "Krok przemieszczania okna musi być liczbą całkowitą od 1 do 500 dni.");
}

TEST(TimeVariationsDialog, UnitLabelsAndEnergy) {
    EXPECT_EQ(UnitLabelsOf(TimeUnit::Months).period, "miesięcy");
    EXPECT_EQ(UnitLabelsOf(TimeUnit::Months).returnPeriod, "(w miesiącach).");
    EXPECT_EQ(UnitLabelsOf(TimeUnit::Quarters).period, "kwartałów");
    EXPECT_EQ(UnitLabelsOf(TimeUnit::Quarters).returnPeriod, "(w kwartałach)");
    // python3 -c "print('%.2e' % 10**(1.96*3+1.15), '%.2e' % 10**(1.5*0.001+4.8))"
    EXPECT_EQ(TimeVariationsEnergyText(3.0, 1.96, 1.15, Locale::point()), "1.07e+07");
    EXPECT_EQ(TimeVariationsEnergyText(0.001, 1.5, 4.8, Locale::comma()), "6,33e+04");
}

TEST(TimeVariationsDialog, ChartsInTheirOrder) {
    TimeVariationsParameters p = TimeVariationsDefaults(10);
    p.maximumMagnitudeMarkers = false;
    const std::vector<TimeVariationsChart> charts = TimeVariationsCharts(p);
    ASSERT_EQ(charts.size(), 4u);
    const int quantities[] = {0, 1, 3, 4};
    const bool markers[] = {true, true, false, true};
    for (std::size_t i = 0; i < charts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(charts[i].quantity, quantities[i]);
        EXPECT_EQ(charts[i].activity, 3);
        EXPECT_EQ(charts[i].markEvents, markers[i]);
    }
    EXPECT_TRUE(TimeVariationsCharts(TimeVariationsDefaults(2)).empty());
}

}  // namespace
}  // namespace zorv
