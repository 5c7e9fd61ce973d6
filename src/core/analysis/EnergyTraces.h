#pragma once
// Energy traces: how the energy of small events (traces, at or below the
// trace threshold) builds up over time until strong events (at or above the
// discharge threshold) release it — a saw-tooth of accumulated trace energy
// against the day of the event.

#include "analysis/ActivitySeries.h"

namespace zorv {

class DBEnergiaSladow : public DBSeries {
public:
    // Thresholds in joules.
    DBEnergiaSladow(const AnalysisSettings& settings, Table* dataset, double traceThreshold,
                    double dischargeThreshold, Progress* progress = nullptr);

    bool WriteReport(ReportLines& lines) override;

private:
    double traceThreshold;
    double dischargeThreshold;
};

}  // namespace zorv
