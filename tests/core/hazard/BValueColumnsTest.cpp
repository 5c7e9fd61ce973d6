// The b statistics of the b-value series and of the zone b-values: the
// columns after the specified ones hold the Shi–Bolt error of each row and
// the Utsu probability against the previous period or the rest of the
// sample, recomputed here from the events themselves; the report ends with
// the statistics of the whole sample.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../analysis/AnalysisTestSupport.h"
#include "HazardTestSupport.h"
#include "hazard/BStatisticsReport.h"
#include "hazard/BValue.h"
#include "hazard/ZoneBValue.h"

namespace zorv {
namespace {

using testing::columnValues;
using testing::defaultSettings;
using testing::Event;
using testing::makeCatalogue;

// `count` events in the months of one quarter of 2001, b = 1 from 1.3 up
// to 2.3 (see BValueTest for why the range is bounded).
std::vector<double> addQuarter(std::vector<Event>& events, int quarter, int count, std::uint64_t seed,
                               const std::string& zone = "G-1/1") {
    const std::vector<double> m = testing::grSample(static_cast<std::size_t>(count), seed, 1.3, 2.3);
    for (int i = 0; i < count; ++i)
        events.push_back({2001, 3 * quarter - 2 + i % 3, 1 + i % 28,
                          std::pow(10.0, 1.8 * m[static_cast<std::size_t>(i)] + 1.9),
                          m[static_cast<std::size_t>(i)], zone});
    return m;
}

Table sortedCatalogue(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
    });
    return makeCatalogue(events);
}

std::vector<std::string> fieldNames(const Table& t) {
    std::vector<std::string> out;
    for (const FieldDef& f : t.fields()) out.push_back(f.name);
    return out;
}

// b of one set of magnitudes by the series itself over its whole span.
double bOf(const std::vector<double>& m) {
    std::vector<Event> events;
    for (std::size_t i = 0; i < m.size(); ++i)
        events.push_back({2001, 1 + static_cast<int>(i % 12), 1, std::pow(10.0, 1.8 * m[i] + 1.9), m[i]});
    Table t = sortedCatalogue(events);
    return bFromBeta(EstimateB(defaultSettings(), &t, TimeUnit::Quarters).beta);
}

const BStatisticsOptions kOn{true, 0.2, 0.0};

TEST(BValueColumns, SeriesSigmaAndUtsuAgainstThePreviousEstimate) {
    std::vector<Event> events;
    const auto q1 = addQuarter(events, 1, 40, 11);
    addQuarter(events, 2, 20, 12);  // too few: no estimate, no comparison
    const auto q3 = addQuarter(events, 3, 50, 13);
    Table t = sortedCatalogue(events);
    DBBChanges off(defaultSettings(), &t, PeriodKind::Quarters);
    DBBChanges on(defaultSettings(), &t, PeriodKind::Quarters, nullptr, kOn);
    Table& r = *on.GetTable();
    EXPECT_EQ(fieldNames(r), (std::vector<std::string>{"Numer", "Okres", "b", "Opis", "sigma", "P_UTSU"}));
    EXPECT_EQ(fieldNames(*off.GetTable()), (std::vector<std::string>{"Numer", "Okres", "b", "Opis"}));
    // The specified columns are those of the series without the statistics.
    for (const char* field : {"Okres", "b", "Opis"})
        EXPECT_EQ(columnValues(r, field), columnValues(*off.GetTable(), field)) << field;

    const auto b = columnValues(r, "b");
    const auto sigma = columnValues(r, "sigma");
    const auto p = columnValues(r, "P_UTSU");
    ASSERT_EQ(b.size(), 3u);
    EXPECT_NEAR(b[0].toDouble(), bOf(q1), 1e-12);
    EXPECT_NEAR(sigma[0].toDouble(), shiBoltStandardError(b[0].toDouble(), q1), 1e-12);
    EXPECT_TRUE(p[0].isNull());
    EXPECT_TRUE(sigma[1].isNull() && p[1].isNull());
    EXPECT_NEAR(sigma[2].toDouble(), shiBoltStandardError(b[2].toDouble(), q3), 1e-12);
    EXPECT_NEAR(p[2].toDouble(), utsuProbability(b[0].toDouble(), 40, b[2].toDouble(), 50), 1e-12);
    EXPECT_GT(p[2].toDouble(), 0.0);
}

TEST(BValueColumns, ZoneUtsuAgainstTheRestOfTheSample) {
    std::vector<Event> events;
    const auto g1 = addQuarter(events, 1, 60, 21, "G-1/1");
    const auto g2 = addQuarter(events, 2, 45, 22, "G-2/1");
    const auto g3 = addQuarter(events, 3, 35, 23, "G-2/2");
    Table t = sortedCatalogue(events);
    DBZoneBChanges zones(defaultSettings(), &t, {"G-1", "G-2/1", "G-7"}, nullptr, kOn);
    Table& r = *zones.GetTable();
    EXPECT_EQ(fieldNames(r),
              (std::vector<std::string>{"Numer", "Strefa", "b", "Beta", "Opis", "sigma", "P_UTSU"}));
    const auto b = columnValues(r, "b");
    const auto sigma = columnValues(r, "sigma");
    const auto p = columnValues(r, "P_UTSU");
    ASSERT_EQ(b.size(), 3u);
    EXPECT_NEAR(sigma[0].toDouble(), shiBoltStandardError(b[0].toDouble(), g1), 1e-12);

    std::vector<double> restOf1 = g2;
    restOf1.insert(restOf1.end(), g3.begin(), g3.end());
    std::vector<double> restOf2 = g1;
    restOf2.insert(restOf2.end(), g3.begin(), g3.end());
    EXPECT_NEAR(p[0].toDouble(), utsuProbability(b[0].toDouble(), 60, bOf(restOf1), restOf1.size()), 1e-9);
    EXPECT_NEAR(p[1].toDouble(), utsuProbability(b[1].toDouble(), 45, bOf(restOf2), restOf2.size()), 1e-9);
    // A zone without events has neither.
    EXPECT_TRUE(sigma[2].isNull() && p[2].isNull());
}

TEST(BValueColumns, ReportEndsWithTheWholeSample) {
    std::vector<Event> events;
    addQuarter(events, 1, 40, 31);
    addQuarter(events, 2, 40, 32);
    Table t = sortedCatalogue(events);
    DBBChanges off(defaultSettings(), &t, PeriodKind::Quarters);
    DBBChanges on(defaultSettings(), &t, PeriodKind::Quarters, nullptr, kOn);
    ReportLines a, b;
    off.WriteReport(a);
    on.WriteReport(b);
    ASSERT_GT(b.size(), a.size() + 8);
    // The specified lines come first: the opening and the table, one line
    // per row.
    EXPECT_EQ(b[3], a[3]);
    EXPECT_EQ(b.size() - a.size(), 14u);
    const auto has = [&](const std::string& text) {
        return std::any_of(b.begin() + static_cast<std::ptrdiff_t>(a.size()), b.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(std::any_of(b.begin(), b.end(), [](const std::string& l) {
        return l.find("Zjawiska od progu kompletności:") != std::string::npos && l.ends_with(" 80");
    }));
    EXPECT_TRUE(has("b (Aki, Utsu):"));
    EXPECT_TRUE(has("Beta (rozkład obcięty):"));
    EXPECT_TRUE(has("b-dodatni (van der Elst):"));
    // The dataset is left unfiltered, as without the statistics.
    EXPECT_FALSE(t.filtered());

    // With a bin width, the Tinti–Mulargia b of the same magnitudes follows
    // the Aki–Utsu lines.
    const BStatisticsOptions binned{true, 0.2, 0.1};
    DBBChanges withBins(defaultSettings(), &t, PeriodKind::Quarters, nullptr, binned);
    ReportLines c;
    withBins.WriteReport(c);
    ASSERT_EQ(c.size(), b.size() + 1);
    const BSampleStatistics s = EstimateBSampleStatistics(defaultSettings(), &t, binned);
    ASSERT_EQ(s.tintiMulargia.n, 80u);
    const auto line = std::find_if(c.begin(), c.end(), [](const std::string& l) {
        return l.find("b (Tinti, Mulargia):") != std::string::npos;
    });
    ASSERT_NE(line, c.end());
    EXPECT_NE(line->find(" ± "), std::string::npos);
}

}  // namespace
}  // namespace zorv
