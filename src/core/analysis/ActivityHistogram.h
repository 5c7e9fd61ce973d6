#pragma once
// The recurrence graph: events per magnitude class of width 0.25 over the
// whole sample, and the decimal logarithm of the counts.

#include "analysis/ActivitySeries.h"

namespace zorv {

class ActivityHistogram : public DBSeries {
public:
    static constexpr int kBins = 40;  // [0.25·i, 0.25·i + 0.25), magnitudes 0…10

    ActivityHistogram(const AnalysisSettings& settings, Table* dataset, Progress* progress = nullptr);
};

}  // namespace zorv
