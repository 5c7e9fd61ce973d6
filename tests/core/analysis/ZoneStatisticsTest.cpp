// The zone analyses: which events a department or a zone selects, the
// energy threshold and the energy classes per zone.

#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "analysis/ZoneStatistics.h"

namespace zorv {
namespace {

using testing::columnValues;

Table zoneCatalogue() {
    return testing::makeCatalogue({{2004, 1, 1, 1000, 1.5, "G-1/1"},
                                   {2004, 1, 2, 999, 1.2, "G-1/2"},
                                   {2004, 1, 3, 5e10, 4.0, "G-1/2"},
                                   {2004, 1, 4, 20, 0.5, "G-2/1"},
                                   {2004, 1, 5, 7, 0.4, "G-10/1"},
                                   {2004, 1, 6, 3, 0.3, "G-1"}});
}

TEST(ZoneStatistics, DepartmentSelectsItsZonesAndZoneItself) {
    EXPECT_EQ(zoneFilterExpression("ODDZIAL", "G-1", "/"), "ODDZIAL = 'G-1/*'");
    EXPECT_EQ(zoneFilterExpression("ODDZIAL", "G-1/2", "/"), "ODDZIAL = 'G-1/2'");
    EXPECT_EQ(zoneFilterExpression("ODDZIAL", "O'Neil", "/"), "ODDZIAL = 'O''Neil/*'");
    const auto s = testing::defaultSettings();
    Table t = zoneCatalogue();
    DBZoneTotalActivity total(s, &t, {"G-1", "G-1/2", "G-3", "G-1/1-dluga-nazwa"});
    const Table& r = *total.GetTable();
    // G-1 takes G-1/1 and G-1/2 but neither G-10/1 nor the bare code G-1.
    EXPECT_EQ(columnValues(r, "Aktywnosc"), (std::vector<Value>{Value::integer(2), Value::integer(1),
                                                                Value::integer(0), Value::integer(0)}));
    EXPECT_EQ(columnValues(r, "Energia"),
              (std::vector<Value>{Value::real(1000 + 999 + 5e10), Value::real(999 + 5e10), Value::real(0),
                                  Value::real(0)}));
    EXPECT_EQ(columnValues(r, "Strefa").back(), Value::text("G-1/1-dlug"));  // cut to 10 characters
    EXPECT_EQ(r.name(), "/tmp/zorv/temp" + std::to_string(Database::analysisCount()) + ".db");
    EXPECT_EQ(total.GetBottomAxisTitle(), "Strefa");
}

TEST(ZoneStatistics, EnergyThresholdAndClasses) {
    auto s = testing::defaultSettings();
    s.MMin = 1.5;
    Table t = zoneCatalogue();
    DBZoneEnergyReleased energy(s, &t, {"G-2"});
    EXPECT_EQ(columnValues(*energy.GetTable(), "Energia"), (std::vector<Value>{Value::real(20)}));
    DBZoneActivityOverTreshold over(s, &t, {"G-1", "G-2/1"});
    EXPECT_EQ(columnValues(*over.GetTable(), "Aktywnosc"),
              (std::vector<Value>{Value::real(2), Value::real(0)}));

    DBZoneActivity plain(s, &t, {"G-1", "G-10"}, false, 9);
    EXPECT_EQ(plain.GetTable()->fieldCount(), 3);  // Numer, Strefa, Aktywnosc: no energy column
    EXPECT_EQ(columnValues(*plain.GetTable(), "Aktywnosc"),
              (std::vector<Value>{Value::integer(3), Value::integer(1)}));
    DBZoneActivity classes(s, &t, {"G-1"}, true, 9);
    const Table& c = *classes.GetTable();
    EXPECT_EQ(columnValues(c, "E2"), (std::vector<Value>{Value::integer(1)}));
    EXPECT_EQ(columnValues(c, "E3"), (std::vector<Value>{Value::integer(1)}));
    EXPECT_EQ(columnValues(c, "E9"), (std::vector<Value>{Value::integer(1)}));
    EXPECT_EQ(columnValues(c, "Energia"), (std::vector<Value>{Value::real(1000 + 999 + 5e10)}));
}

}  // namespace
}  // namespace zorv
