#pragma once
// The hazard map ("Mapa zagrożenia"): a regular grid over the located
// events of the selection, each node's sample (the events within R, or the
// N nearest within Rmax) and its quantities by the estimators of one
// selection (NodeEstimator.h), or, for a change map, the rate ratio and the
// b difference of the node's events in two periods. One result-table row
// per node, from the lower left row by row: X, Y, N, the radius, the
// threshold, the values (with their bands), and why a node has no value.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/DBDialogs.h"
#include "spatial/HazardMapParameters.h"
#include "spatial/NodeEstimator.h"

namespace zorv {

inline constexpr const char* kHazardMapCaption = "Mapa zagrożenia";

// The time unit after "w ciągu D": "miesiąca" for one month or a fraction of
// months, "miesięcy" for more; the same for quarters.
std::string durationUnitGenitive(double d, TimeUnit unit);

class HazardMap : public DBDialogs {
public:
    // Raises SpatialError for a map that cannot be made (no located events,
    // a bad grid or sampling, N above the located events, no node with
    // events or with enough of them), ESamplePeriodTooShort when the hazard
    // needs a rate and the selection spans under three days, and
    // EBreakProcess when the user stops.
    HazardMap(const AnalysisSettings& settings, Table* dataset, const HazardMapParameters& parameters,
              Progress* progress = nullptr);

    const HazardMapParameters& Parameters() const { return parameters; }
    const MapGrid& Grid() const { return grid; }
    bool IsChangeMap() const { return parameters.before.has_value(); }
    int LocatedEvents() const { return static_cast<int>(points.size()); }
    // The located events of the selection, the dots over the map.
    const std::vector<PlanPoint>& Events() const { return points; }
    double SpanDays() const { return spanDays; }
    // Per node, in the table's order.
    const std::vector<int>& SampleSizes() const { return sizes; }
    const std::vector<double>& Radii() const { return radii; }
    const std::vector<NodeResult>& Nodes() const { return nodes; }
    const std::vector<ChangeResult>& Changes() const { return changes; }
    // The records of the dataset behind a node's sample, ascending.
    std::vector<std::uint32_t> NodeRows(std::size_t node) const;

    // The value columns of the table (no X, Y, N, radius, threshold, note).
    std::vector<std::string> ValueColumns() const;
    // The node values of a column, NaN where a node has none; nullopt for
    // a column the table does not have.
    std::optional<std::vector<double>> ColumnValues(const std::string& column) const;
    // The caption and unit of a value column, for the colour scale and the
    // grid files.
    std::string ColumnCaption(const std::string& column) const;

    // Empty values by quantity and reason, in the order of the quantities.
    struct EmptyCount {
        std::string quantity, reason;
        int nodes = 0;
    };
    const std::vector<EmptyCount>& EmptyCounts() const { return empty; }
    // "na rok i 1 km²", the unit text of the normalised rates.
    std::string NormalisationText() const;

    bool WriteReport(ReportLines& lines) override;

private:
    void ReadEvents(const StopTest& stop);
    void Run();
    void FillTable();
    void CountEmpty();

    HazardMapParameters parameters;
    std::vector<PlanPoint> points;
    std::vector<std::uint32_t> rowsOfPoints;  // dataset row of each located event
    std::vector<double> magnitudes, energies, days;
    double spanDays = 0.0;
    double firstDay = 0.0, lastDay = 0.0;
    MapGrid grid;
    std::vector<int> sizes;
    std::vector<double> radii;
    std::unique_ptr<NodeSampler> sampler;
    std::vector<NodeResult> nodes;
    std::vector<ChangeResult> changes;
    std::vector<EmptyCount> empty;
};

}  // namespace zorv
