#pragma once
// The events an analysis takes from a catalogue, as the selection options
// of zorv-batch and the Python module give them: zones, departments, a
// period, located events only and an extra expression, turned into the
// sources of the catalogue's filter.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/FilterBuilder.h"
#include "catalogue/Preferences.h"
#include "text/Locale.h"

namespace zorv {

// A selection that cannot hold (a period ending before it starts).
class SelectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CatalogueSelection {
    std::vector<std::string> zones;        // codes as ticked in the zone list
    std::vector<std::string> departments;  // departments as chosen in the zone tree
    std::optional<std::int32_t> from, to;  // the period, day numbers, open at a missing end
    bool locatedOnly = false;
    std::string expression;  // the extra filter expression
    bool anyOf = false;      // the conditions joined by OR instead of AND
};

// The sources of the filter; the field names come from `prefs`, the period
// literals are written in `locale`. Throws SelectionError.
FilterSources selectionSources(const CatalogueSelection& selection, const Preferences& prefs,
                               const Locale& locale);

}  // namespace zorv
