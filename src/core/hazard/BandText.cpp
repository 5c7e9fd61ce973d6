#include "hazard/BandText.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace zorv {

std::string BandText(Band band, const char* mask, const Locale& loc) {
    if (std::isnan(band.lower)) return "brak";
    return formatMask(band.lower, mask, loc) + " – " + formatMask(band.upper, mask, loc);
}

std::string MMaxBandNote(const MMaxBand& band, double largestObserved, const char* mask, const Locale& loc) {
    std::string s =
        "      (percentyle replikacji bootstrap, od dołu ograniczone największą obserwowaną magnitudą " +
        formatMask(largestObserved, mask, loc);
    if (!std::isnan(band.raisedFrom))
        s += "; dolny percentyl " + formatMask(band.raisedFrom, mask, loc) + " podniesiony do niej";
    return s + ")";
}

std::string BandHeading(const BootstrapOptions& options, const Locale& loc) {
    return "  Przedział ufności " + formatGeneral(100.0 * options.level, loc) +
           " % (bootstrap, B = " + std::to_string(options.replicates);
}

}  // namespace zorv
