#pragma once
// The kinds of chart an analysis is drawn as. The numbers are stored in chart
// templates and result files and name the kinds in the manual: keep them.

#include <cstdint>

namespace zorv {

enum class ChartKind : std::int8_t {
    ActivityInClasses = 0,            // events per period in the energy classes, energy on the right
    CumulativeActivityInClasses = 1,  // the same, summed over the periods
    EnergyReleased = 2,               // released energy per period (bars)
    CumulativeEnergyReleased = 3,
    EnergyReleasedLine = 4,  // released energy of each event against its date
    Benioff = 5,             // cumulative released energy against the date
    Hazard = 6,              // nonparametric hazard per period D for magnitudes m
    MeanReturnPeriod = 7,    // nonparametric mean return period against m
    SmoothingFactor = 8,     // the cross-validation criterion against h
    Density = 9,             // kernel density and distribution of magnitudes
    HazardVsMagnitude = 10,  // nonparametric hazard against m for periods D
    ZoneActivity = 11,       // events per zone in the energy classes
    ParametricHazard = 12,
    ParametricReturnPeriod = 13,
    ParametricHazardVsMagnitude = 14,
    TimeVariations = 15,  // one quantity of the moving windows against their date
    TotalActivity = 16,   // events and energy per period
    ActivityOverThreshold = 17,
    CumulativeTotalActivity = 18,
    BChanges = 19,   // b per period
    Histogram = 20,  // the recurrence graph, log N against magnitude or energy
    EnergyTraces = 21,
    ZoneTotalActivity = 22,
    ZoneEnergyReleased = 23,
    ZoneB = 24,
    ZoneActivityOverThreshold = 25,
    ParametricDensity = 26,
    ParametricDistribution = 27,
    CumulativeActivityOverThreshold = 28,
    MMaxComparison = 29,  // the maximum-magnitude estimators side by side
    Reliability = 30,     // forecast verification: observed frequency against forecast
    HazardMap = 31,       // one value column of a hazard map as a colour grid over the plan
};

constexpr int chartKindNumber(ChartKind kind) { return static_cast<int>(kind); }

}  // namespace zorv
