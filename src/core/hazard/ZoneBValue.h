#pragma once
// The b-value per zone, beside the estimator it comes from.

#include <string>
#include <vector>

#include "analysis/ZoneStatistics.h"

namespace zorv {

// The b-value per zone over the whole span of its events; "Opis" tells why a
// zone has none.
class DBZoneBChanges : public DBZones {
public:
    DBZoneBChanges(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                   Progress* progress = nullptr);
};

}  // namespace zorv
