#pragma once
// The b-value of one selection of events (a period, a zone, the rest of a
// zone): β of the parametric estimator of the magnitude distribution with the
// variable upper limit of integration, and b = β / ln 10.

#include <exception>
#include <string>

#include "catalogue/AnalysisSettings.h"
#include "hazard/BValueStatistics.h"
#include "hazard/TimeUnit.h"
#include "table/Table.h"

namespace zorv {

// β (0 when there is no estimate) and the reason there is none; with an
// estimate also the moments of its sample (the magnitudes at or above MMin)
// and its range Mmax − MMin [magnitude].
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

}  // namespace zorv
