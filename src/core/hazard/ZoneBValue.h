#pragma once
// The b-value per zone, beside the estimator it comes from.

#include <string>
#include <vector>

#include "analysis/ZoneStatistics.h"
#include "hazard/BStatisticsPart.h"

namespace zorv {

// The b-value per zone over the whole span of its events; "Opis" tells why a
// zone has none. With the b statistics on, the columns "sigma" (the
// Shi–Bolt error of b) and "P_UTSU" (the Utsu probability that b of the
// zone equals b of the rest of the sample, the events outside the zone)
// follow, and the report ends with the statistics of the whole sample;
// with the Aki–Utsu b on, "b_AKI" and "sigma_AKI" last (BValue.h).
class DBZoneBChanges : public DBZones, public BStatisticsPart {
public:
    DBZoneBChanges(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                   Progress* progress = nullptr, const BStatisticsOptions& statistics = {});
    bool WriteReport(ReportLines& lines) override;
};

}  // namespace zorv
