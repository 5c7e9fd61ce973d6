#pragma once
// The options of the time variations of the hazard: the sliding window and
// the hazard it estimates in each window.

#include "hazard/TimeVariationsParameters.h"
#include "registry/OptionSource.h"

namespace zorv {

// --magnitude, --duration and --time-unit are those of the np-* analyses,
// --fixed-upper-limit that of the p-* analyses; each is taken once here.
TimeVariationsParameters readTimeVariationsOptions(const OptionSource& p);

}  // namespace zorv
