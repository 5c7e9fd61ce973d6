#pragma once
// The result tables of the nonparametric hazard: the hazard over periods
// D for up to four magnitudes, the mean return period and the hazard for up
// to four periods over magnitude, and the estimated density and distribution
// functions. Each steps its variable from start to end by repeated addition
// of the step, as the user typed them, and writes one row per step.

#include <cstdint>
#include <vector>

#include "hazard/Hrds.h"

namespace zorv {

// The range of a table's variable; −1 in any of the three selects the
// table's default range.
struct TableRange {
    double start = -1.0;
    double end = -1.0;
    double step = -1.0;
    bool automatic() const { return start == -1.0 || end == -1.0 || step == -1.0; }
};

// Refuses (AnalysisError) a range whose step is not a positive number, or so
// small against the range that the table would not end or not fit in memory
// (more than kMaxTableRows rows).
inline constexpr double kMaxTableRows = 1e6;
void CheckTableRange(const TableRange& range);

// Function flags of the density table.
enum ProbabilityFunction : std::uint8_t {
    DensityFunction = 1,          // "pdf_est"
    AdaptiveDensityFunction = 2,  // "pdf_est_adapt"
    AdaptiveDistribution = 4,     // "cdf_est_adapt"
};

// "Okres" = D and "m1" … "mK" = R(m_k, D). Default D from 0 to 12 step 0.2.
class Hazard : public Hrds {
public:
    // 1 to 4 magnitudes.
    Hazard(const AnalysisSettings& settings, Table* dataset, TimeUnit unit, const EstimateRequest& request,
           TableRange range, const std::vector<double>& magnitudes, Progress* progress = nullptr);
    const TableRange& Range() const { return range; }

private:
    TableRange range;
};

// "Magnituda", "Energia" [J] and "MRP" = T(m) in time units, for the steps
// within [smallest observed magnitude, MMaxEst] only. Default range that
// interval, step 0.01.
class MeanReturnPeriod : public Hrds {
public:
    MeanReturnPeriod(const AnalysisSettings& settings, Table* dataset, TimeUnit unit,
                     const EstimateRequest& request, TableRange range, Progress* progress = nullptr);
    const TableRange& Range() const { return range; }

private:
    TableRange range;
};

// "Magnituda", "Energia" [J] and "D1" … "DK" = R(m, D_k) for 1 to 4 periods,
// every step written. Default range as the mean return period.
class HazardVsMagnitude : public Hrds {
public:
    HazardVsMagnitude(const AnalysisSettings& settings, Table* dataset, TimeUnit unit,
                      const EstimateRequest& request, TableRange range, const std::vector<double>& periods,
                      Progress* progress = nullptr);
    const TableRange& Range() const { return range; }

private:
    TableRange range;
};

// "Magnituda", "Energia" [J] and the chosen functions: the kernel density,
// the adaptive kernel density and the adaptive distribution function truncated
// to [smallest observed magnitude, MMaxEst]. Default range as the mean return
// period. Needs no activity rate, so the sample may span any time. With the
// bands each function has its "_lo" and "_hi" columns, from the replicates'
// own densities and distribution (truncated to their own smallest magnitude
// and MMaxEst).
class Probabilities : public NonParametricBandTable {
public:
    // `functions`: ProbabilityFunction flags, at least one.
    Probabilities(const AnalysisSettings& settings, Table* dataset, const EstimateRequest& request,
                  TableRange range, std::uint8_t functions, Progress* progress = nullptr);
    const TableRange& Range() const { return range; }
    std::uint8_t Functions() const { return functions; }

    // The parameter lines end with the smoothing factor (then the bands of h
    // and MMaxEst when made).
    bool WriteReport(ReportLines& lines) override;

private:
    TableRange range;
    std::uint8_t functions;
};

// The title of the density table for its function flags: "Funkcja gęstości",
// "Funkcje gęstości", "Dystrybuanta", "Funkcja gęstości i Dystrybuanta", …
std::string ProbabilitiesTitle(std::uint8_t functions);

}  // namespace zorv
