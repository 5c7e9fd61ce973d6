// The filter expression joined from its sources (zones, map zone, period,
// located events, descriptive filter) with AND or OR, and a refused source.

#include <gtest/gtest.h>

#include "catalogue/FilterBuilder.h"

namespace zorv {
namespace {

const auto acceptAll = [](const std::string&) { return true; };

TEST(FilterBuilder, NoSourceMeansNoFilter) {
    const JoinedFilter f = joinFilters({}, acceptAll);
    EXPECT_EQ(f.expression, "");
    EXPECT_EQ(f.description, "");
    EXPECT_EQ(filterBarText(f, true), "   ");
}

TEST(FilterBuilder, ZoneListAndLocatedJoinedByAnd) {
    FilterSources s;
    const ZoneFilter z = zoneListFilter("ODDZIAL", {"G-1/2"});
    s.ZoneExpression = z.expression;
    s.ZoneDescription = z.description;
    s.locatedOnly = true;
    const JoinedFilter f = joinFilters(s, acceptAll);
    EXPECT_EQ(f.expression, "( ODDZIAL='G-1/2' ) AND X<>0");
    EXPECT_EQ(f.description, "Strefa: G-1/2  i Zlokalizowane");
    EXPECT_EQ(filterBarText(f, false), "( ODDZIAL='G-1/2' ) AND X<>0   ");
}

TEST(FilterBuilder, EverySourceInOrderWithOr) {
    FilterSources s;
    s.ZoneExpression = "ODDZIAL = 'G-1/*'";
    s.ZoneDescription = " Strefa G-1";
    s.PeriodExpression = "DATA>='01.04.2004' AND DATA<='30.06.2004'";
    s.PeriodDescription = "01.04.2004 do 30.06.2004";
    s.locatedOnly = true;
    const ZoneFilter m = mapZoneFilter("X", "Y", 20.9, 9.5, 10.2, 5.0);
    s.MapZoneExpression = m.expression;
    s.MapZoneDescription = m.description;
    s.ExtraExpression = "MAGNITUDA>2";
    s.Connective = " OR ";
    s.DescriptionConnective = " lub ";
    const JoinedFilter f = joinFilters(s, acceptAll);
    EXPECT_EQ(f.expression,
              "ODDZIAL = 'G-1/*' OR DATA>='01.04.2004' AND DATA<='30.06.2004' OR X<>0 OR "
              "(X>=10 AND X<=20 AND Y>=5 AND Y<=9) OR MAGNITUDA>2");
    EXPECT_EQ(
        f.description,
        " Strefa G-1 lub 01.04.2004 do 30.06.2004 lub Zlokalizowane lub [X: 10-20 Y: 5-9] lub MAGNITUDA>2");
    // Without located events the map zone stops filtering.
    s.locatedOnly = false;
    EXPECT_EQ(joinFilters(s, acceptAll).expression,
              "ODDZIAL = 'G-1/*' OR DATA>='01.04.2004' AND DATA<='30.06.2004' OR MAGNITUDA>2");
}

TEST(FilterBuilder, RejectedLocationIsLeftOutOthersApply) {
    FilterSources s;
    s.locatedOnly = true;
    s.LocationFilter = "<>>0";
    s.ExtraExpression = "Y>0";
    const JoinedFilter f = joinFilters(s, [](const std::string& e) { return e != "X<>>0"; });
    EXPECT_TRUE(f.locationRejected);
    EXPECT_EQ(f.expression, "Y>0");
}

TEST(FilterBuilder, ZoneSelections) {
    EXPECT_EQ(zoneTreeDepartmentFilter("ODDZIAL", "G-1", "/").expression, "ODDZIAL = 'G-1/*'");
    EXPECT_EQ(zoneTreeDepartmentFilter("ODDZIAL", "G-1", "/").description, " Strefa G-1");
    EXPECT_EQ(zoneTreeZoneFilter("ODDZIAL", "G-1/3").expression, "ODDZIAL = 'G-1/3'");
    EXPECT_EQ(zoneTreeRootFilter().description, "Cała baza danych");
    const ZoneFilter two = zoneListFilter("ODDZIAL", {"G-1/2", "G-1/3"});
    EXPECT_EQ(two.expression, "( ODDZIAL='G-1/2' OR ODDZIAL='G-1/3' )");
    EXPECT_EQ(two.description, "Strefa: G-1/2 G-1/3 ");
    EXPECT_EQ(zoneListFilter("ODDZIAL", {}).description, "");
}

// The list and department choices are ORed; the parentheses keep them
// together when other sources join with AND.
TEST(FilterBuilder, AnyOfSeveralZoneChoices) {
    const ZoneFilter list = zoneListFilter("ODDZIAL", {"G-1/2"});
    const ZoneFilter department = zoneTreeDepartmentFilter("ODDZIAL", "G-2", "/");
    EXPECT_EQ(anyZoneFilter({}).expression, "");
    EXPECT_EQ(anyZoneFilter({department}).expression, "ODDZIAL = 'G-2/*'");
    const ZoneFilter both = anyZoneFilter({list, department});
    EXPECT_EQ(both.expression, "(( ODDZIAL='G-1/2' ) OR ODDZIAL = 'G-2/*')");
    EXPECT_EQ(both.description, "Strefa: G-1/2  Strefa G-2");
}

}  // namespace
}  // namespace zorv
