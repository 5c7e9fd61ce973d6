#pragma once
// The nonparametric estimator with the activity rate of the sample: the
// events per month or per quarter that turn the magnitude distribution into
// the hazard and the mean return period of the tables (NonParametricTables.h).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hazard/HazardErrors.h"
#include "hazard/NonParametricBandTable.h"
#include "hazard/TimeUnit.h"

namespace zorv {

// What the hazard tables need besides their range: the smoothing factor and
// maximum magnitude to use (−1 asks for the search and the estimate) and the
// option of the variable upper limit of the maximum-magnitude integral.
struct EstimateRequest {
    EstimateRequest() = default;
    EstimateRequest(double h_, double mMax_, bool variableUpperLimit_)
        : h(h_), mMax(mMax_), variableUpperLimit(variableUpperLimit_) {}

    double h = -1.0;
    double mMax = -1.0;
    bool variableUpperLimit = false;
    // "Przedział ufności"; searchH: the replicates search their own h (the
    // user asked for the search), else they use the sample's.
    BootstrapOptions bootstrap;
    bool searchH = true;
};

class Hrds : public NonParametricBandTable {
public:
    // Builds the estimator, then the activity rate of the sample. Raises
    // ESamplePeriodTooShort when the first and last events of the sample
    // are less than three days apart, besides the failures of the estimator.
    Hrds(const AnalysisSettings& settings, Table* dataset, TimeUnit unit, const EstimateRequest& request,
         Progress* progress);

    TimeUnit Unit() const { return unit; }
    // The length of the sample period in the time unit.
    double TimeUnitCount() const { return timeUnitCountValue; }
    // n / TimeUnitCount: events per month or per quarter.
    double ActivityRate() const { return activityRate; }

    // R(m, D) = 1 − exp(−λ·D·(1 − F(m))): the probability of at least one
    // event above magnitude m within D time units, F the adaptive kernel
    // distribution truncated to [MMin, MMaxEst] and λ the activity rate.
    double HazardAt(double m, double d) const;
    // T(m) = 1/((1 − F(m))·λ) in time units. Where F(m) = 1 (at MMaxEst and
    // above) no event above m can occur and T is unbounded; 0 stands for it,
    // as in the parametric tables.
    double MeanReturnPeriodAt(double m) const;

    // The hazard report: parameters, time unit lines (and the bands of h,
    // MMaxEst and the rate when made), then the table.
    bool WriteReport(ReportLines& lines) override;

protected:
    // Makes the bands with F of every replicate at `magnitudes` when the
    // option is on; the progress window counts the replicates.
    void RunBootstrap(const EstimateRequest& request, const std::vector<double>& magnitudes);

private:
    TimeUnit unit;
    double timeUnitCountValue = 0.0;
    double activityRate = 0.0;
};

// The parameter lines the nonparametric reports share, from the creation date
// to the smoothing factor in use, under the heading `heading`.
void WriteNonParametricParameters(const NonParametricHazard& a, ReportLines& lines,
                                  const std::string& heading);

}  // namespace zorv
