#pragma once
// What the common blocks of a report read of the analysis they belong to:
// its settings, the date span of its sample and the separator of its text
// tables. The analyses hand themselves over as one (Database converts).

#include <string>

#include "catalogue/AnalysisSettings.h"

namespace zorv {

struct ReportScope {
    const AnalysisSettings& settings;
    double firstDate = 0.0;  // day numbers
    double lastDate = 0.0;
    const std::string& columnSeparator;
};

}  // namespace zorv
