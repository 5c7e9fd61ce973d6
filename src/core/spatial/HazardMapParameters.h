#pragma once
// The parameters of a hazard map: the quantities, the grid, the node
// samples, the threshold of the frequency–magnitude statistics, the hazard's
// magnitude and period, the normalisation, the two periods of a change map
// and the bootstrap bands.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hazard/Completeness.h"
#include "hazard/HazardBootstrap.h"
#include "hazard/TimeUnit.h"
#include "spatial/MapGrid.h"
#include "spatial/MapQuantity.h"
#include "spatial/NodeSampler.h"

namespace zorv {

// The lower bound of a node's b-value, a-value, rate and hazard sample.
enum class MapThreshold : std::uint8_t {
    MMin,              // the catalogue's completeness threshold MMin
    NodeCompleteness,  // max(Mc of the node, MMin)
};

// What the rates, energies and hazards of a node refer to.
enum class MapNormalisation : std::uint8_t {
    // Per year (the hazard: per time unit of the selection's span) and per
    // reference area: the node's events over the selection's span and the
    // area of the node's circle, so a finer grid or another radius does not
    // change a node's rate (the normalisation of J. Wesseloo, Rock Mech.
    // Rock Eng. 51, 2018).
    AreaAndTime,
    // As the analysis of one selection gives them on the node's events: the
    // rate over the span of the node's own events, no area; energies summed.
    Sample,
};

enum class AreaUnit : std::uint8_t {
    SquareKilometre,  // the catalogue's X/Y in metres times metresPerUnit
    CatalogueUnit,    // the square of the catalogue's X/Y unit
};

// Day numbers, both ends included.
struct DayPeriod {
    std::int32_t first = 0, last = 0;
};

struct HazardMapParameters {
    std::vector<MapQuantity> quantities = {MapQuantity::Count, MapQuantity::Rate, MapQuantity::Mc,
                                           MapQuantity::BValue};
    GridRequest grid;
    SamplingRequest sampling;
    MapThreshold threshold = MapThreshold::NodeCompleteness;
    McMethod mcMethod = McMethod::MaxCurvatureCorrected;
    double mcBinWidth = 0.1;      // [magnitude]
    double bBinWidth = 0.0;       // ΔM of the Aki–Utsu b and b-positive [magnitude]; 0: continuous
    double bPositiveDelta = 0.2;  // δ of b-positive [magnitude]
    double magnitude = 3.0;       // m of the hazard and the return period
    double duration = 1.0;        // D [time units]
    TimeUnit unit = TimeUnit::Months;
    // The Kijko–Sellevoll and kernel maximum magnitudes integrate up to the
    // largest observed magnitude: on the few hundred events of a node the
    // variable upper limit mostly runs away past MMaxLimit.
    bool variableUpperLimit = false;
    MapNormalisation normalisation = MapNormalisation::AreaAndTime;
    AreaUnit areaUnit = AreaUnit::SquareKilometre;
    double metresPerUnit = 1.0;  // of the catalogue's X/Y
    double referenceArea = 1.0;  // [area unit]
    // A change map: the node's events of the two periods compared (rate
    // ratio and b difference) instead of the quantities.
    std::optional<DayPeriod> before, after;
    double significance = 0.05;  // of the change tests
    BootstrapOptions bootstrap;
    // Which records are located; empty: every record with X and Y.
    std::string locationExpression;
    int threads = 0;  // 0: every core
};

// The message refusing the parameters, or nullopt.
std::optional<std::string> HazardMapProblem(const HazardMapParameters& p);

}  // namespace zorv
