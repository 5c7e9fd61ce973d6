// The period, zone and record loops stop at the next step once the user
// presses cancel, with EBreakProcess.

#include <gtest/gtest.h>

#include <functional>

#include "AnalysisTestSupport.h"
#include "ScriptedProgress.h"
#include "analysis/ActivityHistogram.h"
#include "analysis/ActivitySeries.h"
#include "analysis/EnergyTraces.h"
#include "analysis/ZoneStatistics.h"
#include "base/HazardError.h"

namespace zorv {
namespace {

using testing::Event;
using testing::ScriptedProgress;

// `n` events, one a day on days 1…28 of each month from January 2004, in
// date order, spread over four zones; small enough to be traces.
Table dailyCatalogue(int n) {
    std::vector<Event> events;
    for (int i = 0; i < n; ++i)
        events.push_back({2004 + i / 336, i / 28 % 12 + 1, i % 28 + 1, 100.0 + i % 7, 1.5 + 0.1 * (i % 9),
                          "G-" + std::to_string(1 + i % 4) + "/1"});
    return testing::makeCatalogue(events);
}

const std::vector<std::string> kZones = {"G-1", "G-2", "G-3", "G-4"};

struct StopCase {
    const char* name;
    int events;
    std::function<void(const AnalysisSettings&, Table*, Progress*)> run;
    int cancelAfter;      // positions shown before cancel is pressed
    int positionsAtStop;  // positions shown when the loop gives up; -1: not checked
};

const StopCase kStopCases[] = {
    // A position after each month: cancel after the second month stops the
    // loop before the fourth (the third month's position shows first).
    {"MonthsOfActivity", 12 * 28,
     [](const AnalysisSettings& s, Table* t, Progress* p) { DBActivity(s, t, PeriodKind::Months, 3, p); }, 2,
     3},
    {"QuartersOfTotalActivity", 12 * 28,
     [](const AnalysisSettings& s, Table* t, Progress* p) { DBTotalActivity(s, t, PeriodKind::Quarters, p); },
     1, 2},
    // A position before each zone, then the cancel check.
    {"ZonesOfReleasedEnergy", 200,
     [](const AnalysisSettings& s, Table* t, Progress* p) { DBZoneEnergyReleased(s, t, kZones, p); }, 1, 2},
    {"ZonesOfActivityInClasses", 200,
     [](const AnalysisSettings& s, Table* t, Progress* p) { DBZoneActivity(s, t, kZones, true, 3, p); }, 1,
     2},
    // The histogram shows a position every 1024 records: cancel during the
    // first block is seen at the start of the second.
    {"Histogram", 3000, [](const AnalysisSettings& s, Table* t, Progress* p) { ActivityHistogram(s, t, p); },
     1, 2},
    {"EnergyTraces", 3000,
     [](const AnalysisSettings& s, Table* t, Progress* p) { DBEnergiaSladow(s, t, 1e3, 1e6, p); }, 1, -1},
};

class LoopStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(LoopStops, AtTheNextStepAfterCancel) {
    const StopCase& c = GetParam();
    const AnalysisSettings s = testing::defaultSettings();
    {
        // The same run without cancel goes to the end.
        Table t = dailyCatalogue(c.events);
        ScriptedProgress untouched;
        EXPECT_NO_THROW(c.run(s, &t, &untouched));
        EXPECT_FALSE(untouched.captions.empty());
    }
    Table t = dailyCatalogue(c.events);
    ScriptedProgress progress;
    progress.cancelAfter = c.cancelAfter;
    EXPECT_THROW(c.run(s, &t, &progress), EBreakProcess);
    if (c.positionsAtStop >= 0) {
        EXPECT_EQ(progress.positions, c.positionsAtStop);
    }
}

INSTANTIATE_TEST_SUITE_P(Analyses, LoopStops, ::testing::ValuesIn(kStopCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zorv
