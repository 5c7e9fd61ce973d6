#include "hazard/HazardCache.h"

namespace zorv {

void HazardCache::Reset() {
    h = -1.0;
    mMax = -1.0;
    previousSearch = true;
}

namespace {

// The settings a smoothing factor and maximum magnitude depend on.
bool sameEstimateSettings(const AnalysisSettings& x, const AnalysisSettings& y) {
    return x.MMin == y.MMin && x.a == y.a && x.b == y.b && x.Epsilon == y.Epsilon &&
           x.Iterations == y.Iterations && x.IntegralIterations == y.IntegralIterations &&
           x.MMaxLimit == y.MMaxLimit && x.UseRTMI == y.UseRTMI && x.UseRTNI == y.UseRTNI &&
           x.RTNIStart == y.RTNIStart && x.RTMIStart == y.RTMIStart && x.RTMIEnd == y.RTMIEnd &&
           x.MinSampleSize == y.MinSampleSize && x.MagnitudeField == y.MagnitudeField &&
           x.EnergyField == y.EnergyField;
}

}  // namespace

void HazardCache::ResetUnlessSettingsMatch(const AnalysisSettings& settings) {
    if (keyed && !sameEstimateSettings(key, settings)) Reset();
    key = settings;
    keyed = true;
}

EstimateRequest HazardCache::Settle(const HazardParameters& p) {
    EstimateRequest r;
    r.variableUpperLimit = p.variableUpperLimit;
    if (p.touched) {
        r.h = p.useSearch ? -1.0 : p.alternativeH;
        r.mMax = -1.0;
    } else if (p.useSearch) {
        r.h = previousSearch ? h : -1.0;
        r.mMax = previousSearch ? mMax : -1.0;
    } else {
        r.h = p.alternativeH;
        r.mMax = mMax;
    }
    previousSearch = p.useSearch;
    variableUpperLimit = p.variableUpperLimit;
    return r;
}

void HazardCache::Store(const ScaleHints& hints) {
    h = hints.H;
    mMax = hints.MMaxEst;
    variableUpperLimit = hints.VariableUpperLimit;
}

}  // namespace zorv
