#pragma once
// The regular grid of a hazard map over the mine's plan: nodes at the
// centres of square cells, in the catalogue's X/Y units. The extent is that
// of the located events, or the map box when one is given; the cell size is
// given, or chosen so that the longer side of the extent has about
// kAutomaticNodes nodes.

#include <cstddef>
#include <optional>
#include <vector>

#include "base/AnalysisError.h"

namespace zorv {

// A failure of a map the user can mend (bad grid, sampling or input): the
// message is shown as it is.
class SpatialError : public AnalysisError {
public:
    using AnalysisError::AnalysisError;
};

// A rectangle of the plan [catalogue units], the map box "Obszar".
struct MapBox {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

struct PlanPoint {
    double x = 0.0, y = 0.0;  // [catalogue units]
};

inline constexpr int kAutomaticNodes = 50;
inline constexpr double kMaxGridNodes = 4e6;

struct GridRequest {
    std::optional<MapBox> box;       // the extent; else that of the events
    std::optional<double> cellSize;  // [catalogue units]; none chooses it
};

struct MapGrid {
    double x0 = 0.0, y0 = 0.0;  // the node of column 0, row 0 (the lower left) [catalogue units]
    double cell = 1.0;          // [catalogue units]
    int columns = 0, rows = 0;

    std::size_t size() const { return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows); }
    // Nodes are numbered row by row from the lower left.
    double x(std::size_t node) const { return x0 + cell * static_cast<double>(node % columns); }
    double y(std::size_t node) const { return y0 + cell * static_cast<double>(node / columns); }
};

// The grid over `events` (the located events of the selection). Raises
// SpatialError for no events, events all at one point (without a box), a
// cell size that is not a positive number, a grid of one node or of more
// than kMaxGridNodes nodes, and a box with no area.
MapGrid BuildMapGrid(const std::vector<PlanPoint>& events, const GridRequest& request);

}  // namespace zorv
