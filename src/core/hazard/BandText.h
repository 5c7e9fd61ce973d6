#pragma once
// The report's wording of bootstrap bands, shared by both hazard families.

#include <string>

#include "hazard/HazardBootstrap.h"
#include "text/Locale.h"

namespace zorv {

// "lower – upper" in the value's mask; "brak" when no replicate gave a value.
std::string BandText(Band band, const char* mask, const Locale& loc);

// The line after the Mmax band: its method and its bound by the largest
// observed magnitude, with the percentile it replaced where it did.
std::string MMaxBandNote(const MMaxBand& band, double largestObserved, const char* mask, const Locale& loc);

// "  Przedział ufności 90 % (bootstrap, B = 200" — the caller closes it.
std::string BandHeading(const BootstrapOptions& options, const Locale& loc);

}  // namespace zorv
