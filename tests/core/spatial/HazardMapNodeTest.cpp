// Every node of a map against the analyses of one selection run on the
// node's events, and the normalisation that keeps a node's rate the same on
// grids of any fineness.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "MapTestSupport.h"
#include "hazard/BStatisticsReport.h"
#include "hazard/Completeness.h"
#include "hazard/Hrds.h"
#include "hazard/ParametricHazard.h"
#include "hazard/RowsTable.h"
#include "hazard/TimeVariations.h"
#include "spatial/HazardMap.h"

namespace zorv {
namespace {

using testing::mapCatalogue;
using testing::mapSettings;
using Q = MapQuantity;

class NodeHrds : public Hrds {
public:
    using Hrds::Hrds;
};

std::vector<MapQuantity> everyQuantity() {
    std::vector<MapQuantity> all;
    for (const MapQuantityInfo& i : mapQuantities()) all.push_back(i.quantity);
    return all;
}

double value(const NodeResult& r, Q q) { return r.value[static_cast<std::size_t>(q)]; }

TEST(HazardMapNodes, EqualTheAnalysesOfOneSelectionOnTheNodesEvents) {
    // Magnitudes from 0.6 with MMin 1.0: each node's Mc decides its threshold.
    Table catalogue = mapCatalogue({{0, 0, 2000, 1000, 4000, 1.0, 0.6, 3.5}}, 730, 11);
    const AnalysisSettings settings = mapSettings(1.0);
    HazardMapParameters p;
    p.quantities = everyQuantity();
    p.grid.box = MapBox{0, 0, 2000, 1000};
    p.grid.cellSize = 500.0;  // 5 × 3 nodes
    p.sampling.nearest = 400;
    p.sampling.minEvents = 50;
    p.normalisation = MapNormalisation::Sample;
    p.magnitude = 2.5;
    p.duration = 6.0;
    p.threads = 2;
    HazardMap map(settings, &catalogue, p);
    ASSERT_EQ(map.Grid().size(), 15u);
    int compared = 0, parametricCompared = 0, kernelCompared = 0;
    for (std::size_t node = 0; node < map.Grid().size(); ++node) {
        SCOPED_TRACE(node);
        const NodeResult& r = map.Nodes()[node];
        const std::vector<std::uint32_t> rows = map.NodeRows(node);
        ASSERT_EQ(rows.size(), 400u);
        Table events = TableOfRows(catalogue, rows);
        std::vector<double> m;
        double energy = 0.0;
        for (std::uint32_t row : rows) {
            m.push_back(catalogue.column(catalogue.requireField("MAGNITUDA")).numberAt(row));
            energy += catalogue.column(catalogue.requireField("ENG")).numberAt(row);
        }
        EXPECT_EQ(value(r, Q::Count), 400.0);
        EXPECT_EQ(value(r, Q::Energy), energy);

        McOptions o;
        o.bootstrapResamples = 0;
        const std::optional<double> mc = estimateCompleteness(m, o, {p.mcMethod}).estimates.front().mc;
        ASSERT_TRUE(mc);
        EXPECT_EQ(value(r, Q::Mc), *mc);
        AnalysisSettings s = settings;
        s.MMin = std::max(*mc, settings.MMin);
        s.MinSampleSize = p.sampling.minEvents;
        EXPECT_EQ(r.threshold, s.MMin);

        BStatisticsOptions bo;
        bo.enabled = true;
        const BSampleStatistics b = EstimateBSampleStatistics(s, &events, bo);
        EXPECT_EQ(value(r, Q::BValue), b.akiB);
        EXPECT_EQ(r.bError, b.shiBoltError);
        EXPECT_EQ(value(r, Q::BPositive), b.positive.b);
        EXPECT_EQ(r.bPositiveError, b.positive.standardError);

        // Where the analysis of the node's events fails, the node is empty
        // with the same note.
        try {
            const ParametricHazard parametric(s, &events, p.unit, p.variableUpperLimit);
            EXPECT_EQ(value(r, Q::MMaxParametric), parametric.MMaxEst());
            EXPECT_EQ(value(r, Q::Hazard), parametric.Hazard(p.magnitude, p.duration));
            EXPECT_EQ(value(r, Q::ReturnPeriod), parametric.MeanReturnPeriod(p.magnitude));
            EXPECT_DOUBLE_EQ(value(r, Q::AValue), std::log10(parametric.SampleSize()) + b.akiB * s.MMin);
            ++parametricCompared;
        } catch (...) {
            EXPECT_TRUE(std::isnan(value(r, Q::Hazard)));
            EXPECT_EQ(r.failure[static_cast<std::size_t>(Q::Hazard)],
                      TimeVariationsNote(std::current_exception()));
        }
        try {
            const NodeHrds kernel(s, &events, p.unit, EstimateRequest(-1.0, -1.0, p.variableUpperLimit),
                                  nullptr);
            EXPECT_EQ(r.smoothing, kernel.SmoothingFactor());
            EXPECT_EQ(value(r, Q::MMaxNonParametric), kernel.MMaxEst());
            EXPECT_EQ(value(r, Q::NpHazard), kernel.HazardAt(p.magnitude, p.duration));
            EXPECT_EQ(value(r, Q::NpReturnPeriod), kernel.MeanReturnPeriodAt(p.magnitude));
            ++kernelCompared;
        } catch (...) {
            EXPECT_TRUE(std::isnan(value(r, Q::NpHazard)));
            EXPECT_EQ(r.failure[static_cast<std::size_t>(Q::NpHazard)],
                      TimeVariationsNote(std::current_exception()));
        }
        ++compared;
    }
    EXPECT_EQ(compared, 15);
    EXPECT_GE(parametricCompared, 12);
    EXPECT_GE(kernelCompared, 12);
}

// Rates per year and per reference area: the nodes a grid of half the cell
// shares with the coarse one have the same values, and over a uniform field
// a node's rate is the field's density.
TEST(HazardMapNodes, RatesReferToAreaAndTimeNotToTheGrid) {
    // 20000 events from MMin over 2 × 1 km² and 730 days: 5000 per year per km².
    Table catalogue = mapCatalogue({{0, 0, 2000, 1000, 20000, 1.0, 1.0}}, 730, 5);
    const AnalysisSettings settings = mapSettings(1.0);
    HazardMapParameters p;
    p.quantities = {Q::Rate, Q::Hazard};
    p.threshold = MapThreshold::MMin;
    p.sampling.kind = SamplingKind::Radius;
    p.sampling.radius = 250.0;
    p.grid.box = MapBox{0, 0, 2000, 1000};
    p.grid.cellSize = 250.0;
    HazardMap coarse(settings, &catalogue, p);
    p.grid.cellSize = 125.0;
    HazardMap fine(settings, &catalogue, p);
    ASSERT_EQ(coarse.Grid().columns, 9);
    ASSERT_EQ(fine.Grid().columns, 17);
    const double span = coarse.SpanDays() / 365.25;
    double sum = 0.0;
    int inside = 0;
    for (int j = 0; j < coarse.Grid().rows; ++j)
        for (int i = 0; i < coarse.Grid().columns; ++i) {
            const NodeResult& c = coarse.Nodes()[j * 9 + i];
            const NodeResult& f = fine.Nodes()[2 * j * 17 + 2 * i];
            EXPECT_EQ(value(c, Q::Rate), value(f, Q::Rate));
            EXPECT_EQ(value(c, Q::Hazard), value(f, Q::Hazard));
            const double x = coarse.Grid().x(j * 9 + i), y = coarse.Grid().y(j * 9 + i);
            if (x < 250 || x > 1750 || y < 250 || y > 750) continue;
            // The circle lies inside the field: its rate estimates the density.
            sum += value(c, Q::Rate);
            ++inside;
        }
    ASSERT_EQ(inside, 21);
    EXPECT_NEAR(sum / inside, 20000.0 / (span * 2.0), 0.03 * 20000.0 / (span * 2.0));
}

}  // namespace
}  // namespace zorv
