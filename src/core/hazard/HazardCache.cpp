#include "hazard/HazardCache.h"

namespace zorv {

void HazardCache::Reset() {
    h = -1.0;
    mMax = -1.0;
    previousSearch = true;
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
