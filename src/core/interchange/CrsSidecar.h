#pragma once
// The co-ordinate reference system of a catalogue whose X/Y were projected
// from longitude and latitude on import, kept beside it in a small text
// file of the same name with the extension ".crs" ("katalog.dbf" →
// "katalog.crs"), one line: "EPSG:32634 (WGS 84 / UTM zone 34N)". Reports
// name it, exports to geographic forms take it, a copy of the catalogue
// takes it along.

#include <optional>
#include <string>

namespace zorv {

struct CatalogueCrs {
    int epsg = 0;
    std::string description;  // "EPSG:32634 (WGS 84 / UTM zone 34N)"
};

// The sidecar's path for a catalogue file.
std::string crsSidecarPath(const std::string& cataloguePath);

// Writes the sidecar through a temporary file (FileWriteError on failure).
void writeCrsSidecar(const std::string& cataloguePath, const CatalogueCrs& crs);

// The catalogue's CRS; nothing when it has no sidecar or the sidecar names
// no EPSG code.
std::optional<CatalogueCrs> readCrsSidecar(const std::string& cataloguePath);

// The sidecar written for the catalogue, or removed when it has no CRS (so
// a new catalogue under an old name never carries a stale one).
void setCatalogueCrs(const std::string& cataloguePath, const std::optional<CatalogueCrs>& crs);

// The sidecar of `from` written for `to`; a sidecar `to` already had is
// removed when `from` has none, so a copy never carries a stale CRS.
void copyCrsSidecar(const std::string& from, const std::string& to);

// The description of the catalogue's CRS, "" when it has none: what the
// analysis settings carry into the reports (CoordinateSystem).
std::string catalogueCrsText(const std::string& cataloguePath);

}  // namespace zorv
