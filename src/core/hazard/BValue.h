#pragma once
// The Gutenberg–Richter b-value of a set of events, β / ln 10 with β from
// the parametric estimator of the magnitude distribution, and its series
// over periods.

#include <exception>
#include <memory>
#include <string>

#include "analysis/ActivitySeries.h"
#include "hazard/BValueStatistics.h"
#include "hazard/ParametricHazard.h"

namespace zorv {

struct BSampleStatistics;

// The b-value of one period or zone: β (0 when there is no estimate) and the
// reason there is none; with an estimate also the moments of its sample
// (the magnitudes at or above MMin) and its range Mmax − MMin [magnitude].
struct BEstimate {
    double beta = 0.0;
    std::string description;
    SampleMoments moments;
    double range = 0.0;
};

double bFromBeta(double beta);

// The row text of an estimator failure; EBreakProcess is not one and is
// raised again.
std::string bFailureText(const std::exception& failure);

// Estimates β on the dataset as it is filtered now: maximum magnitude jointly
// with the variable upper limit of integration, no progress window (so no
// question about a small sample). Every estimator failure but cancel is
// returned as a description.
BEstimate EstimateB(const AnalysisSettings& settings, Table* dataset, TimeUnit unit);

// One b-value per quarter, month or year ("Opis" tells why a period has
// none). With the b statistics on, the columns "sigma" (the Shi–Bolt error
// of b) and "P_UTSU" (the Utsu probability that b of the period equals b of
// the nearest earlier period with an estimate) follow, and the report ends
// with the statistics of the whole sample.
class DBBChanges : public DBSeries {
public:
    DBBChanges(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
               Progress* progress = nullptr, const BStatisticsOptions& statistics = {});
    ~DBBChanges() override;
    bool WriteReport(ReportLines& lines) override;
    const BStatisticsOptions& Statistics() const { return statistics_; }

private:
    BStatisticsOptions statistics_;
    std::unique_ptr<BSampleStatistics> sampleStatistics_;
};

}  // namespace zorv
