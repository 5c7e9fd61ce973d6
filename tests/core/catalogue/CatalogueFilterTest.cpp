// The joined filter set on the catalogue: set, cleared, or left off where the
// expression is refused; joining without a table.

#include <gtest/gtest.h>

#include <optional>

#include "catalogue/CatalogueFilter.h"

namespace zorv {
namespace {

// Five events; the table starts filtered by another selection so that every
// case shows whether that one was replaced, cleared or left off.
Table catalogue() {
    Table t({{"ODDZIAL", FieldType::String, 8}, {"X", FieldType::Integer}});
    for (const auto& [zone, x] :
         {std::pair{"G-1/1", 0}, {"G-1/2", 10}, {"G-2/1", 20}, {"G-2/1", 0}, {"G-3/1", 30}})
        t.appendRecord({Value::text(zone), Value::integer(x)});
    t.setFilter("X=30");
    t.setFiltered(true);
    return t;
}

struct Case {
    const char* name;
    FilterSources sources;
    std::string joined;      // returned, or carried by the error
    std::string expression;  // left on the table
    std::size_t records;     // it then shows
    bool throws = false;
    bool locationRejected = false;
};

FilterSources sources(std::string zone, bool located, std::string extra, std::string location = "<>0") {
    FilterSources s;
    s.ZoneExpression = std::move(zone);
    s.locatedOnly = located;
    s.LocationFilter = std::move(location);
    s.ExtraExpression = std::move(extra);
    return s;
}

TEST(CatalogueFilter, SetsClearsOrLeavesTheTableUnfiltered) {
    const Case cases[] = {
        {"no source clears the filter", {}, "", "", 5},
        {"zone, located and extra", sources("ODDZIAL = 'G-2/*'", true, "X<25"),
         "ODDZIAL = 'G-2/*' AND X<>0 AND X<25", "ODDZIAL = 'G-2/*' AND X<>0 AND X<25", 1},
        {"unknown field in the extra expression", sources("", true, "NIEMA>0"), "X<>0 AND NIEMA>0", "", 5,
         true},
        {"syntax error in the extra expression", sources("", false, "X>>0"), "X>>0", "", 5, true},
        {"rejected location, the rest applies", sources("", true, "X>5", "<>>0"), "X>5", "X>5", 3, false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table t = catalogue();
        std::optional<JoinedFilter> joined;
        try {
            joined = applyCatalogueFilter(&t, c.sources);
            EXPECT_FALSE(c.throws);
        } catch (const CatalogueFilterError& e) {
            EXPECT_TRUE(c.throws);
            EXPECT_NE(std::string(e.what()), "");
            // What was asked for still comes back for the filter bar.
            joined = e.joined();
        }
        EXPECT_EQ(joined->expression, c.joined);
        EXPECT_EQ(t.filter(), c.expression);
        EXPECT_EQ(t.filtered(), !c.expression.empty());
        EXPECT_EQ(t.recordCount(), c.records);
        EXPECT_EQ(joined->locationRejected, c.locationRejected);
    }
}

TEST(CatalogueFilter, WithoutATableOnlyJoins) {
    const JoinedFilter f = applyCatalogueFilter(nullptr, sources("ODDZIAL = 'G-1/1'", true, "", "<>>0"));
    EXPECT_FALSE(f.locationRejected);
    EXPECT_EQ(f.expression, "ODDZIAL = 'G-1/1' AND X<>>0");
}

}  // namespace
}  // namespace zorv
