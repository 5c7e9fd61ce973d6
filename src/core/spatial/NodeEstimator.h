#pragma once
// The quantities of one node of a hazard map from the node's events, each
// by the estimator the analyses of one selection use (never a copy of it):
// the completeness magnitude of the completeness analysis, the Aki–Utsu b
// with the Shi–Bolt error and b-positive of the b statistics, the joint β and
// Kijko–Sellevoll maximum magnitude with the parametric hazard formulas, and
// the kernel estimator with its own cross-validated smoothing factor and
// the nonparametric hazard formulas. With the bootstrap each value gets its
// percentile band: the parametric and nonparametric ones by their own
// bootstraps, the others from the node's events drawn again (a Poisson
// number of them, with replacement).
//
// Units: magnitudes in magnitude units, energies in J, rates per year (the
// hazard's rate per time unit) and per the reference area, or per the
// node's sample with the sample normalisation.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "hazard/HazardBootstrap.h"
#include "spatial/HazardMapParameters.h"

namespace zorv {

// One node's events, in record order.
struct NodeEvents {
    std::vector<double> magnitudes;
    std::vector<double> energies;  // [J]
    std::vector<double> days;      // day numbers
    double area = 0.0;             // of the node's circle [area unit]
};

// What every node shares.
struct NodeContext {
    const AnalysisSettings& settings;
    const HazardMapParameters& parameters;
    double spanDays = 0.0;  // of the selection's located events
};

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct NodeResult {
    std::array<double, kMapQuantityCount> value;
    std::array<Band, kMapQuantityCount> band;
    // Why a value is missing (empty where there is one or it was not asked).
    std::array<std::string, kMapQuantityCount> failure;
    double bError = kNoValue;          // Shi–Bolt σ(b)
    double bPositiveError = kNoValue;  // σ(b+)
    double threshold = kNoValue;       // lower bound of the b, rate and hazard sample [magnitude]
    double smoothing = kNoValue;       // h of the kernel estimator [magnitude]
    int above = 0;                     // events at or above the threshold
    NodeResult() { value.fill(kNoValue); }
};

// The failure texts the report counts.
inline constexpr const char* kTooFewEvents = "Za mało zjawisk w węźle";
inline constexpr const char* kTooFewAbove = "Za mało zjawisk powyżej progu";
inline constexpr const char* kNoCompleteness = "Brak oszacowania Mc";

// `node` numbers the node's bootstrap streams; `stop` is polled between
// replicates and passes (EBreakProcess is raised then).
NodeResult EvaluateNode(const NodeEvents& events, const NodeContext& context, std::uint64_t node,
                        const StopTest& stop);

// A change map's node: the node's events of the two periods.
struct ChangeResult {
    std::int64_t before = 0, after = 0;  // events at or above the threshold
    double rateBefore = kNoValue, rateAfter = kNoValue;
    double ratio = kNoValue, ratioLower = kNoValue, ratioUpper = kNoValue;
    int ratioSignificant = -1;  // −1: no test
    double bBefore = kNoValue, bAfter = kNoValue;
    double bDifference = kNoValue;  // after − before
    double utsuProbability = kNoValue, pValue = kNoValue;
    int bSignificant = -1;
    double threshold = kNoValue;
    std::string failure;
};

ChangeResult EvaluateChange(const NodeEvents& events, const NodeContext& context);

}  // namespace zorv
