#pragma once
// The b-value per zone, beside the estimator it comes from.

#include <memory>
#include <string>
#include <vector>

#include "analysis/ZoneStatistics.h"
#include "hazard/BValueStatistics.h"

namespace zorv {

struct BSampleStatistics;

// The b-value per zone over the whole span of its events; "Opis" tells why a
// zone has none. With the b statistics on, the columns "sigma" (the
// Shi–Bolt error of b) and "P_UTSU" (the Utsu probability that b of the
// zone equals b of the rest of the sample, the events outside the zone)
// follow, and the report ends with the statistics of the whole sample.
class DBZoneBChanges : public DBZones {
public:
    DBZoneBChanges(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                   Progress* progress = nullptr, const BStatisticsOptions& statistics = {});
    ~DBZoneBChanges() override;
    bool WriteReport(ReportLines& lines) override;
    const BStatisticsOptions& Statistics() const { return statistics_; }

private:
    BStatisticsOptions statistics_;
    std::unique_ptr<BSampleStatistics> sampleStatistics_;
};

}  // namespace zorv
