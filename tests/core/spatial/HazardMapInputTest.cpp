// The grid and the node samples of a map: the automatic cell, the samples of
// the k-d tree against a search of every event, the input a map refuses with
// its message, the threads and the cancel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "MapTestSupport.h"
#include "ScriptedProgress.h"
#include "hazard/HazardErrors.h"
#include "spatial/HazardMap.h"
#include "spatial/NodeSampler.h"

namespace zorv {
namespace {

using testing::mapCatalogue;
using testing::mapSettings;
using Q = MapQuantity;

TEST(MapGrid, CoversTheEventsWithRoundCells) {
    // 2000 × 600: 2000/49 = 40.8 rounded up to 41; 48 + 1 nodes within
    // 0 … 2000 and 14 + 1 rows within 0 … 600.
    const MapGrid g = BuildMapGrid({{100, 50}, {2100, 650}, {900, 300}}, {});
    EXPECT_EQ(g.cell, 41.0);
    EXPECT_EQ(g.columns, 49);
    EXPECT_EQ(g.rows, 15);
    EXPECT_EQ(g.x(0), 100.0);
    EXPECT_EQ(g.y(0), 50.0);
    EXPECT_EQ(g.x(50), 141.0);
    EXPECT_EQ(g.y(50), 91.0);
    // A box with its corners in any order; events on a line still span it.
    GridRequest r;
    r.box = MapBox{500, 400, -500, 0};
    r.cellSize = 100.0;
    const MapGrid b = BuildMapGrid({{0, 0}}, r);
    EXPECT_EQ(b.x0, -500.0);
    EXPECT_EQ(b.columns, 11);
    EXPECT_EQ(b.rows, 5);
    const MapGrid line = BuildMapGrid({{0, 0}, {0, 980}}, {});
    EXPECT_EQ(line.columns, 1);
    EXPECT_EQ(line.rows, 50);
}

// Brute force: every event's distance to the node.
TEST(NodeSampler, FindsWhatASearchOfEveryEventFinds) {
    std::mt19937_64 g(3);
    std::uniform_real_distribution<double> u(0.0, 1000.0);
    std::vector<PlanPoint> points(5000);
    for (PlanPoint& p : points) p = {std::round(u(g)), std::round(u(g))};
    const NodeSampler sampler(points);
    for (const PlanPoint node :
         {PlanPoint{500, 500}, PlanPoint{0, 0}, PlanPoint{999, 10}, PlanPoint{-300, 500}}) {
        std::vector<std::pair<double, std::uint32_t>> d;
        for (std::uint32_t i = 0; i < points.size(); ++i)
            d.push_back({std::hypot(points[i].x - node.x, points[i].y - node.y), i});
        std::sort(d.begin(), d.end());
        SamplingRequest radius{SamplingKind::Radius, 120.0, 0, 0.0, 2};
        std::vector<std::uint32_t> expected;
        for (const auto& [dist, i] : d)
            if (dist <= 120.0) expected.push_back(i);
        std::sort(expected.begin(), expected.end());
        const NodeSample s = sampler.sample(node.x, node.y, radius);
        EXPECT_EQ(s.events, expected);
        EXPECT_EQ(s.radius, 120.0);
        // The 150 nearest, then the same within a limit that cuts them.
        SamplingRequest nearest{SamplingKind::Nearest, 0.0, 150, 0.0, 2};
        const NodeSample n = sampler.sample(node.x, node.y, nearest);
        ASSERT_EQ(n.events.size(), 150u);
        EXPECT_DOUBLE_EQ(n.radius, d[149].first);
        for (std::uint32_t i : n.events)
            EXPECT_LE(std::hypot(points[i].x - node.x, points[i].y - node.y), d[149].first);
        nearest.maxRadius = d[99].first + 1e-9;
        const NodeSample cut = sampler.sample(node.x, node.y, nearest);
        EXPECT_EQ(cut.events.size(), d[100].first > nearest.maxRadius ? 100u : cut.events.size());
        EXPECT_EQ(cut.radius, nearest.maxRadius);
        EXPECT_TRUE(std::is_sorted(cut.events.begin(), cut.events.end()));
    }
}

struct BadInput {
    const char* name;
    std::vector<testing::Region> regions;
    void (*change)(HazardMapParameters&);
    const char* message;  // a part of the message
};

TEST(HazardMapInput, RefusesWhatMakesNoMapWithAMessage) {
    const std::vector<testing::Region> field = {{0, 0, 1000, 1000, 600, 1.0, 1.0}};
    const BadInput rows[] = {
        {"no located events",
         {{0, 0, 0, 0, 300, 1.0, 1.0}},
         [](HazardMapParameters& p) { p.locationExpression = "X<>0"; },
         "Brak zlokalizowanych zjawisk"},
        {"all events at one point", {{500, 500, 500, 500, 300, 1.0, 1.0}}, nullptr, "leżą w jednym punkcie"},
        {"one node", field, [](HazardMapParameters& p) { p.grid.cellSize = 5000.0; }, "tylko jeden węzeł"},
        {"radius below every distance", field,
         [](HazardMapParameters& p) {
             p.grid.box = MapBox{5000, 5000, 6000, 6000};
             p.sampling = {SamplingKind::Radius, 100.0, 0, 0.0, 10};
         },
         "żaden węzeł nie ma zjawisk"},
        {"N above the selection", field, [](HazardMapParameters& p) { p.sampling.nearest = 601; },
         "przekracza liczbę zlokalizowanych zjawisk"},
        {"cell of 0", field, [](HazardMapParameters& p) { p.grid.cellSize = 0.0; },
         "musi być liczbą dodatnią"},
        {"over 4e6 nodes", field, [](HazardMapParameters& p) { p.grid.cellSize = 0.4; },
         "najwyżej 4 000 000"},
        {"no node with the minimum", field,
         [](HazardMapParameters& p) {
             p.sampling = {SamplingKind::Radius, 20.0, 0, 0.0, 50};
         },
         "Żaden węzeł nie ma co najmniej 50"},
        {"minimum above N", field, [](HazardMapParameters& p) { p.sampling.minEvents = 300; },
         "nie może przekraczać liczby najbliższych"},
    };
    for (const BadInput& r : rows) {
        SCOPED_TRACE(r.name);
        Table catalogue = mapCatalogue(r.regions, 365, 1);
        HazardMapParameters p;
        if (r.change) r.change(p);
        try {
            HazardMap map(mapSettings(), &catalogue, p);
            ADD_FAILURE() << "no refusal";
        } catch (const SpatialError& e) {
            EXPECT_NE(std::string(e.what()).find(r.message), std::string::npos) << e.what();
        }
    }
}

TEST(HazardMapInput, ResultsDoNotDependOnTheThreadsAndCancelStops) {
    Table catalogue = mapCatalogue({{0, 0, 1000, 1000, 3000, 1.0, 1.0, 3.0}}, 730, 9);
    HazardMapParameters p;
    p.quantities = {Q::Rate, Q::Mc, Q::BValue, Q::Hazard, Q::NpHazard};
    p.grid.cellSize = 250.0;
    p.sampling.nearest = 200;
    p.bootstrap.enabled = true;
    p.bootstrap.replicates = 20;
    p.threads = 1;
    HazardMap one(mapSettings(), &catalogue, p);
    p.threads = 2;
    HazardMap two(mapSettings(), &catalogue, p);
    int withBands = 0;
    for (const std::string& c : two.ValueColumns()) {
        SCOPED_TRACE(c);
        const std::vector<double> a = *one.ColumnValues(c), b = *two.ColumnValues(c);
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_TRUE(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])));
        const auto lo = two.ColumnValues(c + "_lo"), hi = two.ColumnValues(c + "_hi");
        if (!lo) continue;
        for (std::size_t i = 0; i < b.size(); ++i)
            if (!std::isnan(b[i]) && !std::isnan((*lo)[i])) {
                EXPECT_LE((*lo)[i], (*hi)[i]);
                ++withBands;
            }
    }
    EXPECT_GE(withBands, 50);

    // The kernel estimate of every node takes longer than one poll.
    p.bootstrap.enabled = false;
    p.quantities = {Q::NpHazard};
    p.grid.cellSize = 20.0;
    testing::ScriptedProgress progress;
    progress.cancelAfter = 0;
    AnalysisSettings s = mapSettings();
    s.WithProgress = true;
    EXPECT_THROW(HazardMap(s, &catalogue, p, &progress), EBreakProcess);
    EXPECT_TRUE(progress.cancelled);
}

}  // namespace
}  // namespace zorv
