#pragma once
// The parameters of one run of an analysis from its named options: the
// families of options read in turn, each checked as its dialog checks it.

#include "catalogue/Preferences.h"
#include "registry/AnalysisRegistry.h"
#include "registry/OptionSource.h"
#include "text/Locale.h"

namespace zorv {

// Throws OptionError naming the first option that is wrong. `prefs` gives
// the smoothing defaults, `locale` orders the chosen values.
AnalysisRequest readAnalysisRequest(const OptionSource& p, const AnalysisEntry& entry,
                                    const Preferences& prefs, const Locale& locale);

}  // namespace zorv
