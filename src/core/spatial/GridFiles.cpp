#include "spatial/GridFiles.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "text/AtomicFile.h"

namespace zorv {

namespace {

// The GeoTIFF tags (GeoTIFF format 1.0, section 2.4) and GDAL's
// nodata tag.
constexpr ttag_t kModelPixelScale = 33550;
constexpr ttag_t kModelTiepoint = 33922;
constexpr ttag_t kGeoKeyDirectory = 34735;
constexpr ttag_t kNoDataTag = 42113;

const TIFFFieldInfo kGeoFields[] = {
    {kModelPixelScale, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScale")},
    {kModelTiepoint, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepoint")},
    {kGeoKeyDirectory, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectory")},
    {kNoDataTag, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GDALNoData")},
};

TIFFExtendProc previousExtender = nullptr;

void extendTags(TIFF* tif) {
    TIFFMergeFieldInfo(tif, kGeoFields, sizeof(kGeoFields) / sizeof(kGeoFields[0]));
    if (previousExtender) previousExtender(tif);
}

void registerTags() {
    static std::once_flag once;
    std::call_once(once, [] { previousExtender = TIFFSetTagExtender(extendTags); });
}

// The file in memory that libtiff writes through its client procedures.
struct MemoryFile {
    std::string bytes;
    toff_t position = 0;
};

tsize_t memoryRead(thandle_t h, tdata_t data, tsize_t size) {
    MemoryFile& f = *static_cast<MemoryFile*>(h);
    if (f.position >= f.bytes.size()) return 0;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), f.bytes.size() - f.position);
    std::memcpy(data, f.bytes.data() + f.position, n);
    f.position += n;
    return static_cast<tsize_t>(n);
}

tsize_t memoryWrite(thandle_t h, tdata_t data, tsize_t size) {
    MemoryFile& f = *static_cast<MemoryFile*>(h);
    const std::size_t end = static_cast<std::size_t>(f.position) + static_cast<std::size_t>(size);
    if (end > f.bytes.size()) f.bytes.resize(end);
    std::memcpy(f.bytes.data() + f.position, data, static_cast<std::size_t>(size));
    f.position = end;
    return size;
}

toff_t memorySeek(thandle_t h, toff_t offset, int whence) {
    MemoryFile& f = *static_cast<MemoryFile*>(h);
    const toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f.position : f.bytes.size();
    f.position = base + offset;
    return f.position;
}

int memoryClose(thandle_t) { return 0; }
toff_t memorySize(thandle_t h) { return static_cast<MemoryFile*>(h)->bytes.size(); }
int memoryMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void memoryUnmap(thandle_t, tdata_t, toff_t) {}

// Numbers as the GIS readers take them: a point decimal, enough digits.
std::string plain(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", v);
    return buffer;
}

double cellValue(const std::vector<double>& values, std::size_t node) {
    return std::isfinite(values[node]) ? values[node] : kGridNoData;
}

}  // namespace

std::optional<GridFormat> gridFormatOf(const std::string& path) {
    std::string ext = path.substr(
        std::min(path.size(), path.rfind('.') == std::string::npos ? path.size() : path.rfind('.')));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".asc") return GridFormat::AsciiGrid;
    if (ext == ".tif" || ext == ".tiff") return GridFormat::GeoTiff;
    return std::nullopt;
}

std::string AsciiGridText(const MapGrid& grid, const std::vector<double>& values) {
    std::string out;
    out += "ncols " + std::to_string(grid.columns) + "\r\n";
    out += "nrows " + std::to_string(grid.rows) + "\r\n";
    out += "xllcenter " + plain(grid.x0) + "\r\n";
    out += "yllcenter " + plain(grid.y0) + "\r\n";
    out += "cellsize " + plain(grid.cell) + "\r\n";
    out += "NODATA_value " + plain(kGridNoData) + "\r\n";
    for (int row = grid.rows - 1; row >= 0; --row) {
        for (int column = 0; column < grid.columns; ++column) {
            if (column) out += ' ';
            out += plain(cellValue(values, static_cast<std::size_t>(row) * grid.columns + column));
        }
        out += "\r\n";
    }
    return out;
}

std::string GeoTiffBytes(const MapGrid& grid, const std::vector<double>& values, int epsg) {
    registerTags();
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("map.tif", "w", &file, memoryRead, memoryWrite, memorySeek, memoryClose,
                               memorySize, memoryMap, memoryUnmap);
    if (!tif) throw FileWriteError("Nie można utworzyć pliku GeoTIFF.", 0);
    const auto width = static_cast<std::uint32_t>(grid.columns),
               height = static_cast<std::uint32_t>(grid.rows);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    const double scale[3] = {grid.cell, grid.cell, 0.0};
    TIFFSetField(tif, kModelPixelScale, 3, scale);
    // Raster (0, 0), the upper left corner of the upper left cell, at the
    // model point half a cell left of and above its node.
    const double top = grid.y0 + grid.cell * (grid.rows - 1);
    const double tie[6] = {0.0, 0.0, 0.0, grid.x0 - grid.cell / 2.0, top + grid.cell / 2.0, 0.0};
    TIFFSetField(tif, kModelTiepoint, 6, tie);
    // Header (version 1, revision 1.0, key count), then each key: id,
    // location 0 (the value itself), count 1, value.
    const bool geographic = epsg >= 4000 && epsg < 5000;
    std::vector<std::uint16_t> keys = {1, 1, 0, 0};
    const auto key = [&keys](std::uint16_t id, std::uint16_t value) {
        keys.insert(keys.end(), {id, 0, 1, value});
        ++keys[3];
    };
    key(1024, geographic ? 2 : 1);  // GTModelTypeGeoKey: projected / geographic
    key(1025, 1);                   // GTRasterTypeGeoKey: PixelIsArea
    if (epsg > 0) key(geographic ? 2048 : 3072, static_cast<std::uint16_t>(epsg));
    TIFFSetField(tif, kGeoKeyDirectory, static_cast<std::uint32_t>(keys.size()), keys.data());
    TIFFSetField(tif, kNoDataTag, plain(kGridNoData).c_str());
    std::vector<float> line(width);
    bool ok = true;
    for (std::uint32_t r = 0; r < height && ok; ++r) {
        const std::size_t row = height - 1 - r;
        for (std::uint32_t c = 0; c < width; ++c)
            line[c] = static_cast<float>(cellValue(values, row * width + c));
        ok = TIFFWriteScanline(tif, line.data(), r, 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tif) == 1;
    TIFFClose(tif);
    if (!ok) throw FileWriteError("Nie można zapisać pliku GeoTIFF.", 0);
    return std::move(file.bytes);
}

void WriteGridFile(const std::string& path, const MapGrid& grid, const std::vector<double>& values,
                   int epsg) {
    const std::optional<GridFormat> format = gridFormatOf(path);
    if (!format) throw SpatialError("Nieznany format siatki: " + path + " (rozszerzenie .asc lub .tif).");
    writeFileAtomically(path, *format == GridFormat::AsciiGrid ? AsciiGridText(grid, values)
                                                               : GeoTiffBytes(grid, values, epsg));
}

}  // namespace zorv
