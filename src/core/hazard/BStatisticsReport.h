#pragma once
// The b statistics of a whole sample, estimated once after the rows of a
// b-value analysis and listed at the end of its report: the truncated
// estimate with its Fisher error, the Aki–Utsu b with its Aki and Shi–Bolt
// errors, for binned magnitudes the Tinti–Mulargia b, and b-positive.

#include <cstddef>
#include <string>

#include "hazard/BEstimate.h"
#include "hazard/BValueStatistics.h"
#include "report/ReportLines.h"
#include "report/ReportScope.h"

namespace zorv {

struct BSampleStatistics {
    std::size_t records = 0;   // events of the dataset's current view
    double mMin = 0.0;         // completeness threshold [magnitude]
    BEstimate truncated;       // β of the truncated estimate, or why there is none
    double betaError = 0.0;    // σ(β) [1/magnitude]
    std::size_t akiCount = 0;  // events at or above MMin
    double akiB = 0.0, akiError = 0.0, shiBoltError = 0.0;
    BinnedB tintiMulargia;  // with a bin width only: the exact b of binned magnitudes
    BPositive positive;     // over the events from MMin, in record order
};

// Estimates everything over the dataset's current view (dates in record
// order, as catalogues are). Raises EBreakProcess only.
BSampleStatistics EstimateBSampleStatistics(const AnalysisSettings& settings, Table* dataset,
                                            const BStatisticsOptions& options);

// The "<p>" marker and the lines of the statistics, values with
// ProbabilityMask.
void WriteBSampleStatistics(const ReportScope& analysis, ReportLines& lines, const BSampleStatistics& s,
                            const BStatisticsOptions& options);

// The Shi–Bolt error of b = β / ln 10 of an estimate; null Value when the
// estimate is missing.
double shiBoltErrorOf(const BEstimate& estimate);

// The Aki–Utsu b of the dataset's current view (magnitudes from MMin, the
// bin correction of binWidth) with its Shi–Bolt error; b = 0 when fewer
// events than MinSampleSize reach MMin or their mean is not above it.
// Raises EBreakProcess only.
struct AkiEstimate {
    double b = 0.0;
    double shiBoltError = 0.0;
    std::size_t n = 0;
};
AkiEstimate EstimateAkiB(const AnalysisSettings& settings, Table* dataset, double binWidth);

}  // namespace zorv
