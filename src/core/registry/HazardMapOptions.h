#pragma once
// The options of the hazard map: the quantities, the grid, the node samples,
// the threshold, the normalisation and the two periods of a change map. Both
// zorv-batch hazard-map and the Python module read them here; the names are
// among analysisOptions().

#include "catalogue/Preferences.h"
#include "registry/OptionSource.h"
#include "spatial/HazardMapParameters.h"
#include "text/Locale.h"

namespace zorv {

// The parameters of the options, checked as the map's dialog checks them;
// throws OptionError. `prefs` gives the location filter of the located
// events, `locale` reads the dates of --before and --after.
HazardMapParameters readHazardMapOptions(const OptionSource& p, const Preferences& prefs,
                                         const Locale& locale);

}  // namespace zorv
