// The activity analyses: energy classes and their limits, the sums per class
// and their cumulation, the thresholds of total activity and completeness, the
// energy per day, the bins of the recurrence graph and the energy traces.

#include <gtest/gtest.h>

#include <cmath>

#include "AnalysisTestSupport.h"
#include "analysis/ActivityHistogram.h"
#include "analysis/ActivitySeries.h"
#include "analysis/EnergyTraces.h"

namespace zorv {
namespace {

using testing::columnValues;
using testing::makeCatalogue;

std::vector<std::int64_t> ints(const Table& t, const std::string& field) {
    std::vector<std::int64_t> out;
    for (const Value& v : columnValues(t, field)) out.push_back(v.toInt());
    return out;
}

std::vector<double> reals(const Table& t, const std::string& field) {
    std::vector<double> out;
    for (const Value& v : columnValues(t, field)) out.push_back(v.toDouble());
    return out;
}

TEST(EnergyClass, BoundariesAndLimits) {
    EXPECT_EQ(energyClass(0.5, 9), 0);
    EXPECT_EQ(energyClass(9.99, 9), 0);
    EXPECT_EQ(energyClass(10.0, 9), 1);
    EXPECT_EQ(energyClass(999.0, 9), 2);
    EXPECT_EQ(energyClass(1000.0, 9), 3);
    EXPECT_EQ(energyClass(5e10, 9), 9);
    EXPECT_EQ(energyClass(0.0, 9), 0);
    EXPECT_EQ(energyClass(-3.0, 9), 0);
}

// Two quarters, the second empty, the third with events of every kind.
Table quarterCatalogue() {
    return makeCatalogue({{2004, 1, 10, 0.5, 0.2},
                          {2004, 2, 1, 999, 1.49},
                          {2004, 3, 31, 1000, 1.5},
                          {2004, 7, 1, 5e10, 4.0},
                          {2004, 9, 30, 2e5, 2.1}});
}

TEST(ActivitySeries, ClassesSumsAndCumulation) {
    auto s = testing::defaultSettings();
    Table t = quarterCatalogue();
    DBActivity plain(s, &t, PeriodKind::Quarters, 9);
    const Table& r = *plain.GetTable();
    ASSERT_EQ(r.recordCount(), 3u);
    EXPECT_EQ(r.fields()[0].name, "Numer");
    EXPECT_EQ(r.fields()[2].name, "E0");
    EXPECT_EQ(r.fields()[11].name, "E9");
    EXPECT_EQ(ints(r, "Numer"), (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(ints(r, "E0"), (std::vector<std::int64_t>{1, 0, 0}));
    EXPECT_EQ(ints(r, "E2"), (std::vector<std::int64_t>{1, 0, 0}));
    EXPECT_EQ(ints(r, "E3"), (std::vector<std::int64_t>{1, 0, 0}));
    EXPECT_EQ(ints(r, "E5"), (std::vector<std::int64_t>{0, 0, 1}));
    EXPECT_EQ(ints(r, "E9"), (std::vector<std::int64_t>{0, 0, 1}));
    EXPECT_EQ(ints(r, "Suma"), (std::vector<std::int64_t>{3, 0, 2}));
    EXPECT_EQ(reals(r, "Energia"), (std::vector<double>{1999.5, 0.0, 5e10 + 2e5}));
    EXPECT_EQ(r.field(r.fieldIndex("Energia")).displayFormat, "0.00e+00");
    EXPECT_EQ(plain.GetTitle(), "Kwartalna aktywność sejsmiczna");
    EXPECT_EQ(plain.GetBottomAxisTitle(), "Kwartały");

    DBActivityC cumulative(s, &t, PeriodKind::Quarters, 9);
    const Table& c = *cumulative.GetTable();
    EXPECT_EQ(ints(c, "Suma"), (std::vector<std::int64_t>{3, 3, 5}));
    EXPECT_EQ(reals(c, "Energia"), (std::vector<double>{1999.5, 1999.5, 1999.5 + 5e10 + 2e5}));
    // The last row's classes add up to its sum, the number of all events.
    std::int64_t classes = 0;
    for (int k = 0; k <= 9; ++k) classes += ints(c, "E" + std::to_string(k)).back();
    EXPECT_EQ(classes, 5);
    EXPECT_EQ(cumulative.GetRightAxisTitle(), "Skumulowana energia wyzwolona");
    // The result table is named after the analysis number.
    EXPECT_EQ(c.name(), "/tmp/zorv/temp" + std::to_string(Database::analysisCount()) + ".dbf");
}

TEST(ActivitySeries, ThresholdsOfTotalActivityAndCompleteness) {
    auto s = testing::defaultSettings();
    s.MMin = 1.5;
    Table t = quarterCatalogue();
    // 999 J counts in the energy but not in the activity; 1000 J in both.
    DBTotalActivity total(s, &t, PeriodKind::Years);
    EXPECT_EQ(ints(*total.GetTable(), "Aktywnosc"), (std::vector<std::int64_t>{3}));
    EXPECT_EQ(reals(*total.GetTable(), "Energia"), (std::vector<double>{0.5 + 999 + 1000 + 5e10 + 2e5}));
    EXPECT_EQ(total.GetTitle(), "Całkowita Roczna aktywność sejsmiczna");
    // A magnitude exactly at MMin counts.
    ActivityOverTreshold over(s, &t, PeriodKind::Quarters);
    EXPECT_EQ(ints(*over.GetTable(), "Aktywnosc"), (std::vector<std::int64_t>{1, 0, 2}));
    DBActivityOverTresholdC overC(s, &t, PeriodKind::Quarters);
    EXPECT_EQ(ints(*overC.GetTable(), "Aktywnosc"), (std::vector<std::int64_t>{1, 1, 3}));
    DBTotalActivityC totalC(s, &t, PeriodKind::Quarters);
    EXPECT_EQ(ints(*totalC.GetTable(), "Aktywnosc"), (std::vector<std::int64_t>{1, 1, 3}));
}

TEST(ActivitySeries, EnergyPerDayMergesOneDay) {
    auto s = testing::defaultSettings();
    Table t = makeCatalogue({{2004, 1, 5, 10, 1},
                             {2004, 1, 5, 30, 1},
                             {2004, 1, 7, 5, 1},
                             {2004, 2, 1, 7, 1},
                             {2004, 2, 1, 1, 1}});
    DBLineEnReleased line(s, &t, PeriodKind::Months);
    const Table& r = *line.GetTable();
    EXPECT_EQ(ints(r, "X"), (std::vector<std::int64_t>{dayNumber(2004, 1, 5), dayNumber(2004, 1, 7),
                                                       dayNumber(2004, 2, 1)}));
    EXPECT_EQ(reals(r, "Energia"), (std::vector<double>{40, 5, 8}));
    EXPECT_EQ(columnValues(r, "Okres").back(), Value::text("II 2004"));
    DBLineEnReleasedC cumulative(s, &t, PeriodKind::Months);
    EXPECT_EQ(reals(*cumulative.GetTable(), "Energia"), (std::vector<double>{40, 45, 53}));
}

TEST(ActivityHistogram, BinsGapsAndLabels) {
    auto s = testing::defaultSettings();
    s.a = 1.0;
    s.b = 0.0;
    Table t = makeCatalogue({{2004, 1, 1, 1, 1.0},
                             {2004, 1, 1, 1, 1.49},
                             {2004, 1, 1, 1, 1.50},
                             {2004, 1, 1, 1, 1.74},
                             {2004, 1, 1, 1, 2.3},
                             {2004, 1, 1, 1, -0.5},
                             {2004, 1, 1, 1, 10.0}});
    ActivityHistogram h(s, &t);
    const Table& r = *h.GetTable();
    // Bins 4 (1.00), 5 (1.49), 6 (1.50, 1.74), 7 empty, 9 (2.3); bin 8 empty.
    EXPECT_EQ(reals(r, "PrzedStart"), (std::vector<double>{1.0, 1.25, 1.5, 1.75, 2.0, 2.25}));
    EXPECT_EQ(reals(r, "PrzedKoniec"), (std::vector<double>{1.24, 1.49, 1.74, 1.99, 2.24, 2.49}));
    EXPECT_EQ(ints(r, "N"), (std::vector<std::int64_t>{1, 1, 2, 0, 0, 1}));
    EXPECT_DOUBLE_EQ(reals(r, "LogN")[2], std::log10(2.0));
    EXPECT_EQ(reals(r, "LogN")[0], 0.0);
    EXPECT_EQ(columnValues(r, "MLabel")[2], Value::text("[1.50,1.74)"));
    // a = 1, b = 0: bin 4 spans 10^1 … 10^1.24 = 17.378 J.
    EXPECT_EQ(columnValues(r, "ELabel")[0], Value::text("[1.0E+1,1.7E+1)"));
}

TEST(EnergyTraces, SawToothOfTraceEnergy) {
    auto s = testing::defaultSettings();
    {
        Table t = makeCatalogue({{2004, 1, 1, 100, 1}, {2004, 1, 2, 100, 1}, {2004, 1, 3, 2e7, 1}});
        DBEnergiaSladow e(s, &t, 500, 1e7);
        const Table& r = *e.GetTable();
        EXPECT_EQ(ints(r, "X"), (std::vector<std::int64_t>{dayNumber(2004, 1, 2), dayNumber(2004, 1, 3),
                                                           dayNumber(2004, 1, 3)}));
        EXPECT_EQ(reals(r, "Energia"), (std::vector<double>{100, 200, 0}));
    }
    {
        // No discharge: one final row with the whole trace energy; events
        // between the thresholds change nothing; traces of one day wait for
        // the next day.
        Table t = makeCatalogue(
            {{2004, 1, 1, 100, 1}, {2004, 1, 1, 50, 1}, {2004, 1, 1, 600, 1}, {2004, 1, 4, 600, 1}});
        DBEnergiaSladow e(s, &t, 500, 1e7);
        EXPECT_EQ(reals(*e.GetTable(), "Energia"), (std::vector<double>{150}));
        EXPECT_EQ(ints(*e.GetTable(), "X"), (std::vector<std::int64_t>{dayNumber(2004, 1, 4)}));
    }
}

}  // namespace
}  // namespace zorv
