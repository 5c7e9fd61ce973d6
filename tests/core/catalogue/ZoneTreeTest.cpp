// The zone tree of a catalogue (codes by department) and the zone summary:
// counts, dates and located events per zone, following the table's filter.

#include <gtest/gtest.h>

#include "catalogue/ZoneTree.h"
#include "table/TableError.h"

namespace zorv {
namespace {

Table catalogue(const std::vector<std::tuple<std::string, std::int32_t, int>>& rows) {
    Table t({{"ODDZIAL", FieldType::String, 10},
             {"DATA", FieldType::Date},
             {"X", FieldType::Integer},
             {"Y", FieldType::Integer}});
    for (const auto& [zone, day, x] : rows)
        t.appendRecord({Value::text(zone), Value::date(day), Value::integer(x), Value::integer(x + 1)});
    return t;
}

const ZoneSummaryFields kFields{"ODDZIAL", "DATA", "X", "Y"};

TEST(ZoneTree, SortedUniqueCodesGroupedByDepartment) {
    // "G-10/1" shares the first characters of G-1 but is a department of its
    // own; "G-3" has no separator and is a department with itself as zone.
    const Table t = catalogue({{"G-2/1", 1, 0},
                               {"G-1/2", 2, 0},
                               {"g-1/2", 3, 0},
                               {"G-10/1", 4, 0},
                               {"G-1/1", 5, 0},
                               {"G-3", 6, 0},
                               {"G-2/1", 7, 0}});
    const ZoneTree z = buildZoneTree(t, "ODDZIAL", "/");
    EXPECT_EQ(z.zones, (std::vector<std::string>{"G-1/1", "G-1/2", "G-10/1", "G-2/1", "G-3"}));
    EXPECT_EQ(z.departments, (std::vector<std::string>{"G-1", "G-10", "G-2", "G-3"}));
    ASSERT_EQ(z.tree.size(), 4u);
    EXPECT_EQ(z.tree[0].zones, (std::vector<std::string>{"G-1/1", "G-1/2"}));
    EXPECT_EQ(z.tree[3].zones, (std::vector<std::string>{"G-3"}));
}

TEST(ZoneTree, IgnoresTheFilterAndAMissingField) {
    Table t = catalogue({{"G-1/1", 1, 0}, {"G-2/1", 2, 0}});
    t.setFilter("ODDZIAL='G-1/1'");
    t.setFiltered(true);
    EXPECT_EQ(buildZoneTree(t, "ODDZIAL", "/").zones.size(), 2u);
    EXPECT_TRUE(t.filtered());
    EXPECT_TRUE(buildZoneTree(t, "STREFA", "/").empty());
}

// The summary shows the zones chosen, not every zone of the catalogue.
TEST(ZoneTree, ChosenZonesAndTheirDepartments) {
    const Table t =
        catalogue({{"G-1/1", 1, 0}, {"G-1/2", 2, 0}, {"G-2/1", 3, 0}, {"G-2/2", 4, 0}, {"G-3", 5, 0}});
    const ZoneTree z = buildZoneTree(t, "ODDZIAL", "/");
    using K = ZoneChoiceKind;
    using V = std::vector<std::string>;
    const ZoneChoice all = chosenZones(z, K::Everything, {});
    EXPECT_EQ(all.zones, z.zones);
    EXPECT_EQ(all.departments, z.departments);
    // Nothing ticked: no zone filter, so every zone.
    EXPECT_EQ(chosenZones(z, K::TickedZones, {}).zones, z.zones);
    const ZoneChoice ticked = chosenZones(z, K::TickedZones, {"G-2/2", "g-1/1", "G-2/1"});
    EXPECT_EQ(ticked.zones, (V{"G-1/1", "G-2/1", "G-2/2"}));
    EXPECT_EQ(ticked.departments, (V{"G-1", "G-2"}));
    const ZoneChoice department = chosenZones(z, K::Department, {"G-2"});
    EXPECT_EQ(department.zones, (V{"G-2/1", "G-2/2"}));
    EXPECT_EQ(department.departments, (V{"G-2"}));
    const ZoneChoice zone = chosenZones(z, K::Zone, {"G-3"});
    EXPECT_EQ(zone.zones, (V{"G-3"}));
    EXPECT_EQ(zone.departments, (V{"G-3"}));
    EXPECT_TRUE(chosenZones(z, K::Zone, {"G-9/9"}).zones.empty());
}

TEST(ZoneSummary, CountsDatesAndLocatedPointsPerZoneAndDepartment) {
    Table t = catalogue({{"G-1/1", 10, 5},
                         {"G-1/2", 11, 0},
                         {"G-10/1", 12, 7},
                         {"G-1/1", 12, 6},
                         {"G-1/1", 12, 8},
                         {"G-2/1", 13, 0}});
    const ZoneSummary s = summarizeZones(t, kFields, {"G-1/1", "G-1/2", "G-9/9"}, {"G-1", "G-10", "G-2"});
    ASSERT_EQ(s.zones.size(), 3u);
    EXPECT_EQ(s.zones[0].records, 3u);
    EXPECT_EQ(s.zones[0].first, 10);
    EXPECT_EQ(s.zones[0].last, 12);
    EXPECT_EQ(s.zones[2].records, 0u);
    // Department G-1 does not take the zones of G-10.
    EXPECT_EQ(s.departments[0].records, 4u);
    EXPECT_EQ(s.departments[1].records, 1u);
    // G-2 has a record but no located one: a row, no points.
    EXPECT_EQ(s.departments[2].records, 1u);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[0].name, "G-1");
    EXPECT_EQ(s.points[0].x, (std::vector<double>{5, 6, 8}));
    EXPECT_EQ(s.points[0].y, (std::vector<double>{6, 7, 9}));
    EXPECT_EQ(s.points[0].days, (std::vector<std::int32_t>{10, 12}));
    EXPECT_EQ(s.points[1].name, "G-10");
}

TEST(ZoneSummary, FollowsTheTableFilterAndRejectsABadLocationExpression) {
    Table t = catalogue({{"G-1/1", 10, 5}, {"G-1/1", 20, 6}});
    t.setFilter("DATA>=15");
    t.setFiltered(true);
    const ZoneSummary s = summarizeZones(t, kFields, {"G-1/1"}, {"G-1"});
    EXPECT_EQ(s.zones[0].records, 1u);
    EXPECT_EQ(s.zones[0].first, 20);
    EXPECT_TRUE(summarizeZones(t, kFields, {}, {}).points.empty());
    ZoneSummaryFields bad = kFields;
    bad.locationFilter = "<>>0";
    EXPECT_THROW(summarizeZones(t, bad, {}, {"G-1"}), FilterError);
}

}  // namespace
}  // namespace zorv
