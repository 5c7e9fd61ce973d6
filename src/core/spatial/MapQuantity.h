#pragma once
// What a node of a hazard map shows: its name on the command line, the
// result-table column (a dBase name of at most ten characters), the caption
// and the unit of the colour scale.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorv {

enum class MapQuantity : std::uint8_t {
    Count,              // events in the node's sample
    Rate,               // events at or above the threshold per year (and per area)
    Energy,             // released energy [J] (per year and area)
    LogEnergy,          // its log10
    Mc,                 // completeness magnitude
    BValue,             // Aki–Utsu b with the Shi–Bolt error
    BPositive,          // b-positive with its error
    AValue,             // Gutenberg–Richter a of the rate
    MMaxParametric,     // Kijko–Sellevoll, jointly with β
    MMaxNonParametric,  // the kernel estimator's fixed point
    Hazard,             // parametric P(M ≥ m within D)
    ReturnPeriod,       // parametric mean return period of m
    NpHazard,           // nonparametric P(M ≥ m within D)
    NpReturnPeriod,     // nonparametric mean return period of m
};
inline constexpr int kMapQuantityCount = 14;

struct MapQuantityInfo {
    MapQuantity quantity;
    const char* name;     // "b", "np-hazard"
    const char* column;   // "b", "NPHazard"
    const char* caption;  // "Współczynnik b (Aki–Utsu)"
};

const std::vector<MapQuantityInfo>& mapQuantities();
const MapQuantityInfo& mapQuantityInfo(MapQuantity q);
std::optional<MapQuantity> mapQuantityOfName(const std::string& name);

// The estimator families a quantity needs.
bool needsParametric(MapQuantity q);
bool needsNonParametric(MapQuantity q);

}  // namespace zorv
