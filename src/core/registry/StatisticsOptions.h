#pragma once
// The options of the statistics analyses: time scale, energy classes, trace
// thresholds and the zones of the zone statistics.

#include "registry/AnalysisRegistry.h"
#include "registry/OptionSource.h"

namespace zorv {

// Fills the statistics members of `request`. The time scale, classes and
// thresholds are checked whatever the analysis; the zone analyses require
// their zones.
void readStatisticsOptions(const OptionSource& p, const AnalysisEntry& entry, AnalysisRequest& request);

}  // namespace zorv
