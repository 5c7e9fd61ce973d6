#pragma once
// The Gutenberg–Richter b-value over periods: one estimate (BEstimate) per
// quarter, month or year of the sample.

#include "analysis/ActivitySeries.h"
#include "hazard/BEstimate.h"
#include "hazard/BStatisticsPart.h"

namespace zorv {

// One b-value per quarter, month or year ("Opis" tells why a period has
// none). With the b statistics on, the columns "sigma" (the Shi–Bolt error
// of b) and "P_UTSU" (the Utsu probability that b of the period equals b of
// the nearest earlier period with an estimate) follow, and the report ends
// with the statistics of the whole sample. With the Aki–Utsu b on, "b_AKI"
// and "sigma_AKI" (its Shi–Bolt error) come last: that b needs no maximum
// magnitude, and it is the limit of the truncated β as Mmax grows without
// bound, which is where the joint equation goes when it has no root.
class DBBChanges : public DBSeries, public BStatisticsPart {
public:
    DBBChanges(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
               Progress* progress = nullptr, const BStatisticsOptions& statistics = {});
    bool WriteReport(ReportLines& lines) override;
};

}  // namespace zorv
