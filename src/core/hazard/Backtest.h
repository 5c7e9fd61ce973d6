#pragma once
// Verification of past hazard forecasts. For a magnitude m and a horizon of
// D days, origins step through the catalogue's span by D days from its
// first event; at each origin both hazard families estimate, from the events
// before it only (the whole past or a moving window of W days), the
// probability of at least one event of magnitude ≥ m within the next D days,
//   P = 1 − exp(−λ·D·(1 − F(m)))
// (ParametricHazard::Hazard, Hrds::HazardAt; λ the events per month of the
// past sample, D converted at 30.4375 days a month), and the origin records
// whether such an event followed. The forecasts are then scored
// (ForecastScores.h): Brier score and skill against the climatological base
// rate, a reliability table and the Poisson number test, per family.
//
// Both families use the fixed upper limit of the maximum-magnitude integral.
// The kernel estimator's smoothing factor (cross-validated) and maximum
// magnitude are estimated anew only when at least a tenth of the past sample
// is new since the last estimate or its largest magnitude changed; in
// between the kernel is rebuilt on the current sample with the kept values.

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "analysis/DBDialogs.h"
#include "hazard/ForecastScores.h"

namespace zorv {

struct BacktestParameters {
    double magnitude = 3.5;  // m
    int horizonDays = 30;    // D [days]
    int windowDays = 0;      // W [days]; 0: the whole past
};

// The message refusing parameters the run could not use, else nullopt: a
// horizon under 7 days, a negative window, or a window shorter than the horizon.
std::optional<std::string> BacktestProblem(const BacktestParameters& p);

struct BacktestOrigin {
    int day = 0;                                                      // the origin (day number)
    int pastEvents = 0;                                               // events ≥ MMin of the past sample
    double parametric = std::numeric_limits<double>::quiet_NaN();     // NaN: no forecast
    double nonParametric = std::numeric_limits<double>::quiet_NaN();  // NaN: no forecast
    std::string parametricNote, nonParametricNote;                    // why there is no forecast
    int eventsAbove = 0;                                              // events ≥ m in [day, day + D)
    bool reestimated = false;  // the kernel's h and Mmax were estimated anew here
};

struct FamilyScores {
    int forecasts = 0;
    int failures = 0;
    double brier = std::numeric_limits<double>::quiet_NaN();
    double baseRate = std::numeric_limits<double>::quiet_NaN();
    double climatologyBrier = std::numeric_limits<double>::quiet_NaN();
    double skill = std::numeric_limits<double>::quiet_NaN();
    NumberTest number;
    std::vector<ReliabilityBin> reliability;
};
// The scores of one family's forecasts (NaN entries are its failures).
FamilyScores ScoreForecasts(const std::vector<BacktestOrigin>& origins, bool parametric, int bins = 10);

class Backtest : public DBDialogs {
public:
    // Raises AnalysisError for parameters BacktestProblem refuses, ENoRecords
    // for a catalogue without dated events at or above MMin, and
    // EBreakProcess when the user stops. An origin whose estimate fails keeps
    // its record with the reason.
    Backtest(const AnalysisSettings& settings, Table* dataset, const BacktestParameters& p,
             Progress* progress = nullptr);

    const BacktestParameters& Parameters() const { return parameters; }
    const std::vector<BacktestOrigin>& Origins() const { return origins; }
    const FamilyScores& Parametric() const { return parametricScores; }
    const FamilyScores& NonParametric() const { return nonParametricScores; }
    int Reestimations() const { return reestimations; }

    bool WriteReport(ReportLines& lines) override;

private:
    void Run();
    void FillTable();

    BacktestParameters parameters;
    std::vector<BacktestOrigin> origins;
    FamilyScores parametricScores, nonParametricScores;
    int reestimations = 0;
};

}  // namespace zorv
