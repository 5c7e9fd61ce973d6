#pragma once
// The smoothing-factor table ("Współczynnik gładkości Silvermana"): the
// cross-validation function at h = start, start + step, … up to end, for the
// user to see where it crosses zero.
//
// The criterion is no estimate and has no band; with the bootstrap option
// the table is the same, and the report adds the sample's smoothing factor
// (the zero the searches find) with its percentile interval over the
// smoothed-bootstrap replicates, each of which searches its own zero
// (NonParametricBootstrap.h).

#include "hazard/NonParametricBandTable.h"

namespace zorv {

class LSCV : public NonParametricBandTable {
public:
    // −1 in any of start, end, step selects 0.002, 0.15 and 0.002. A step
    // that is not positive is refused (AnalysisError) rather than looping
    // for ever.
    LSCV(const AnalysisSettings& settings, Table* dataset, double start, double end, double step,
         Progress* progress = nullptr, const BootstrapOptions& bootstrap = {});

    bool WriteReport(ReportLines& lines) override;

    double Start() const { return start; }
    double End() const { return end; }
    double Step() const { return step; }
    // With the bootstrap option: the sample's smoothing factor, else −1.
    double SampleH() const { return sampleH; }

private:
    double start, end, step;
    double sampleH = -1.0;
    // The option was on with both searches off: no interval of h.
    bool noSearch = false;
};

}  // namespace zorv
