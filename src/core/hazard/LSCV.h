#pragma once
// The smoothing-factor table ("Współczynnik gładkości Silvermana"): the
// cross-validation function at h = start, start + step, … up to end, for the
// user to see where it crosses zero.

#include "hazard/NonParametricHazard.h"

namespace zorv {

class LSCV : public NonParametricHazard {
public:
    // −1 in any of start, end, step selects 0.002, 0.15 and 0.002. A step
    // that is not positive is refused (AnalysisError) rather than looping
    // for ever.
    LSCV(const AnalysisSettings& settings, Table* dataset, double start, double end, double step,
         Progress* progress = nullptr);

    bool WriteReport(ReportLines& lines) override;

    double Start() const { return start; }
    double End() const { return end; }
    double Step() const { return step; }

private:
    double start, end, step;
};

}  // namespace zorv
