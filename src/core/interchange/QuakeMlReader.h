#pragma once
// QuakeML 1.2 event files, as event web services deliver them, read as
// catalogue cells: one row per event with the time, latitude and longitude
// [degrees] and depth [km] of its preferred origin (the first origin when
// none is preferred), and the value and type of its preferred magnitude (the
// first magnitude when none is preferred; empty when the event has none).
// The columns are EventID, Time, Latitude, Longitude, Depth_km, Magnitude and
// MagType, so the header names give their roles.

#include <string_view>

#include "interchange/CatalogueRows.h"

namespace zorv {

// Refuses (ImportError) a file that is not well-formed XML (with the line),
// holds no QuakeML event parameters, or an event without an origin time.
CatalogueRows readQuakeMl(std::string_view bytes);

}  // namespace zorv
