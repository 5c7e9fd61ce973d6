#pragma once
// The smoothing factor and maximum magnitude of the last nonparametric hazard
// run, kept by the application so that the next run on the same selection of
// events reuses them instead of searching and estimating again.

#include "analysis/Database.h"
#include "hazard/HazardParameters.h"
#include "hazard/Hrds.h"

namespace zorv {

class HazardCache {
public:
    // At program start and whenever the selection of events changes.
    void Reset();
    // An estimate holds only for the settings it was made with: the
    // completeness threshold, the energy–magnitude relation and the numerical
    // options. Forgets it when any of them differs from the last run's.
    void ResetUnlessSettingsMatch(const AnalysisSettings& settings);

    // What the next run asks for, from its parameters and what is kept:
    //   touched, search on:              both searched anew (−1, −1);
    //   touched, search off:             the alternative h, MMax anew;
    //   untouched, search on now and before: both kept (−1 after a reset);
    //   untouched, search on, off before: both anew;
    //   untouched, search off:           the alternative h, the kept MMax.
    // Remembers the search option and the variable upper limit of the run.
    EstimateRequest Settle(const HazardParameters& p);

    // After a run: the smoothing factor and maximum magnitude it used.
    void Store(const ScaleHints& hints);

    double RequestedH() const { return h; }
    double RequestedMMax() const { return mMax; }
    bool VariableUpperLimit() const { return variableUpperLimit; }
    bool PreviousSearchOption() const { return previousSearch; }

private:
    double h = -1.0;
    double mMax = -1.0;
    bool variableUpperLimit = false;
    bool previousSearch = true;
    bool keyed = false;
    AnalysisSettings key;
};

}  // namespace zorv
