#pragma once
// The options of the nonparametric (np-*) and parametric (p-*) hazard
// analyses: the table range, the magnitudes or periods D, the time unit and
// the smoothing of the estimator.

#include "catalogue/Preferences.h"
#include "registry/AnalysisRegistry.h"
#include "registry/OptionSource.h"

namespace zorv {

// --time-unit, months by default; also the unit of the time variations.
TimeUnit readTimeUnit(const OptionSource& p);

// --bootstrap B and --level L: the confidence bands, off without
// --bootstrap; the level as a fraction (0.9) or in per cent (90), 90 % by
// default.
BootstrapOptions readBootstrapOptions(const OptionSource& p);

// Fills the hazard member of `request` the entry reads, checked as its
// dialog checks it; other entries are left alone. `prefs` gives the
// smoothing defaults.
void readHazardOptions(const OptionSource& p, const AnalysisEntry& entry, const Preferences& prefs,
                       const Locale& locale, AnalysisRequest& request);

}  // namespace zorv
