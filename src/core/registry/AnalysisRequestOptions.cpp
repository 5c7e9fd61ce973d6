#include "registry/AnalysisRequestOptions.h"

#include "registry/BacktestOptions.h"
#include "registry/HazardMapOptions.h"
#include "registry/HazardOptions.h"
#include "registry/StatisticsOptions.h"
#include "registry/TimeVariationsOptions.h"

namespace zorv {

AnalysisRequest readAnalysisRequest(const OptionSource& p, const AnalysisEntry& entry,
                                    const Preferences& prefs, const Locale& locale) {
    AnalysisRequest request;
    readStatisticsOptions(p, entry, request);
    readHazardOptions(p, entry, prefs, locale, request);
    if (entry.parameters == AnalysisParameters::TimeVariations)
        request.timeVariations = readTimeVariationsOptions(p);
    if (entry.parameters == AnalysisParameters::Backtest) request.backtest = readBacktestOptions(p);
    if (entry.parameters == AnalysisParameters::HazardMap)
        request.hazardMap = readHazardMapOptions(p, prefs, locale);
    return request;
}

}  // namespace zorv
