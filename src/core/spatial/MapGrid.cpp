#include "spatial/MapGrid.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zorv {

namespace {

std::string whole(double v) { return std::to_string(static_cast<long long>(std::llround(v))); }

// The automatic cell: the extent's longer side over kAutomaticNodes − 1,
// rounded up to two significant digits so that the nodes fall on round
// coordinates.
double automaticCell(double width, double height) {
    const double raw = std::max(width, height) / (kAutomaticNodes - 1);
    const double unit = std::pow(10.0, std::floor(std::log10(raw)) - 1.0);
    return std::ceil(raw / unit - 1e-9) * unit;
}

// Nodes along a side of length `span` from its first node, all within the
// side (a rounding error of 1e-9 cells forgiven).
double nodesAlong(double span, double cell) { return std::floor(span / cell + 1e-9) + 1.0; }

}  // namespace

MapGrid BuildMapGrid(const std::vector<PlanPoint>& events, const GridRequest& request) {
    if (events.empty())
        throw SpatialError(
            "Brak zlokalizowanych zjawisk w wybranych danych: mapa wymaga "
            "zjawisk o znanych współrzędnych X i Y.");
    MapBox e;
    if (request.box) {
        e = *request.box;
        if (e.x0 > e.x1) std::swap(e.x0, e.x1);
        if (e.y0 > e.y1) std::swap(e.y0, e.y1);
        if (!std::isfinite(e.x0) || !std::isfinite(e.x1) || !std::isfinite(e.y0) || !std::isfinite(e.y1) ||
            (e.x1 == e.x0 && e.y1 == e.y0))
            throw SpatialError("Obszar mapy nie ma powierzchni: podaj dwa różne narożniki.");
    } else {
        e = {events[0].x, events[0].y, events[0].x, events[0].y};
        for (const PlanPoint& p : events) {
            e.x0 = std::min(e.x0, p.x);
            e.x1 = std::max(e.x1, p.x);
            e.y0 = std::min(e.y0, p.y);
            e.y1 = std::max(e.y1, p.y);
        }
        if (e.x1 == e.x0 && e.y1 == e.y0)
            throw SpatialError("Wszystkie zlokalizowane zjawiska leżą w jednym punkcie (X = " + whole(e.x0) +
                               ", Y = " + whole(e.y0) +
                               "): nie ma obszaru, nad którym można rozpiąć siatkę. Podaj obszar mapy.");
    }
    const double width = e.x1 - e.x0, height = e.y1 - e.y0;
    MapGrid g;
    g.cell = request.cellSize ? *request.cellSize : automaticCell(width, height);
    if (!(g.cell > 0.0) || !std::isfinite(g.cell))
        throw SpatialError("Rozmiar komórki siatki musi być liczbą dodatnią.");
    const double columns = nodesAlong(width, g.cell), rows = nodesAlong(height, g.cell);
    if (!(columns * rows <= kMaxGridNodes))
        throw SpatialError("Siatka miałaby " + whole(columns) + " × " + whole(rows) +
                           " węzłów, a można ich mieć najwyżej 4 000 000: zwiększ rozmiar komórki.");
    if (columns * rows < 2)
        throw SpatialError("Siatka o tym rozmiarze komórki ma tylko jeden węzeł: zmniejsz rozmiar komórki.");
    g.columns = static_cast<int>(columns);
    g.rows = static_cast<int>(rows);
    g.x0 = e.x0;
    g.y0 = e.y0;
    return g;
}

}  // namespace zorv
