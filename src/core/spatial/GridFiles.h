#pragma once
// The node values of a map as GIS raster files, one cell per node, the
// cell centred on its node, in the catalogue's coordinates:
//
//  - ESRI ASCII grid (.asc): the header ncols, nrows, xllcenter, yllcenter,
//    cellsize, NODATA_value, then the rows from the top (largest Y) down;
//  - GeoTIFF (.tif) through libtiff: one 32-bit float band written row by
//    row from the top, with the GeoTIFF 1.0 tags ModelPixelScale,
//    ModelTiepoint (the upper left corner of the upper left cell) and the
//    GeoKey directory (raster type PixelIsArea; the projected or geographic
//    coordinate system of the EPSG code when one is given), and the nodata
//    value in the GDAL_NODATA tag, which the GIS readers take.
//
// Empty nodes are written as kGridNoData. Both files are written under a
// temporary name and renamed over the target (AtomicFile).

#include <optional>
#include <string>
#include <vector>

#include "spatial/MapGrid.h"

namespace zorv {

inline constexpr double kGridNoData = -9999.0;

enum class GridFormat { AsciiGrid, GeoTiff };

// By the extension (.asc, .tif, .tiff, any case); nullopt for another.
std::optional<GridFormat> gridFormatOf(const std::string& path);

// `values` holds one value per node in the grid's order (row by row from
// the lower left), NaN where a node has none.
std::string AsciiGridText(const MapGrid& grid, const std::vector<double>& values);
// The bytes of the GeoTIFF file; `epsg` 0: no coordinate system named.
std::string GeoTiffBytes(const MapGrid& grid, const std::vector<double>& values, int epsg);

// Writes the file of the path's format; throws FileWriteError when it cannot
// and SpatialError for an unknown extension.
void WriteGridFile(const std::string& path, const MapGrid& grid, const std::vector<double>& values, int epsg);

}  // namespace zorv
