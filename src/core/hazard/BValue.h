#pragma once
// The Gutenberg–Richter b-value of a set of events, β / ln 10 with β from
// the parametric estimator of the magnitude distribution, and its series
// over periods.

#include <exception>
#include <string>

#include "analysis/ActivitySeries.h"
#include "hazard/ParametricHazard.h"

namespace zorv {

// The b-value of one period or zone: β (0 when there is no estimate) and the
// reason there is none.
struct BEstimate {
    double beta = 0.0;
    std::string description;
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
// none).
class DBBChanges : public DBSeries {
public:
    DBBChanges(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
               Progress* progress = nullptr);
};

}  // namespace zorv
