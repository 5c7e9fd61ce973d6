"""Reads a map's ESRI ASCII grid (by the format's description, no GIS
library) and its GeoTIFF (tifffile, an independent reader) and checks them
against each other and against the map's text table.

  read_grids.py GRID.asc GRID.tif TABLE.txt COLUMN EPSG
"""
import math
import sys

import numpy
import tifffile


def read_asc(path):
    with open(path, encoding="ascii") as f:
        header = {}
        for _ in range(6):
            key, value = f.readline().split()
            header[key.lower()] = float(value)
        rows = [[float(v) for v in line.split()] for line in f if line.strip()]
    return header, numpy.array(rows)


def read_table(path, column):
    with open(path, encoding="cp1250") as f:
        names = f.readline().rstrip("\r\n").split("\t")
        xs, ys, values = [], [], []
        for line in f:
            cells = line.rstrip("\r\n").split("\t")
            row = dict(zip(names, cells))
            xs.append(float(row["X"].replace(",", ".")))
            ys.append(float(row["Y"].replace(",", ".")))
            text = row[column].replace(",", ".")
            values.append(float(text) if text else math.nan)
    return xs, ys, values


def main():
    asc, tif, table, column, epsg = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
    header, grid = read_asc(asc)
    ncols, nrows, cell = int(header["ncols"]), int(header["nrows"]), header["cellsize"]
    assert grid.shape == (nrows, ncols), grid.shape
    xs, ys, values = read_table(table, column)
    assert len(values) == ncols * nrows
    assert xs[0] == header["xllcenter"] and ys[0] == header["yllcenter"], (xs[0], ys[0])
    # Table rows from the lower left, row by row; grid rows from the top.
    checked = 0
    for i, v in enumerate(values):
        r, c = i // ncols, i % ncols
        g = grid[nrows - 1 - r, c]
        assert abs(xs[i] - (header["xllcenter"] + c * cell)) < 1e-6 * cell
        if math.isnan(v):
            assert g == header["nodata_value"], (i, g)
        else:
            assert abs(g - v) <= 5e-4 * max(1.0, abs(v)), (i, g, v)
            checked += 1
    assert checked > 0

    with tifffile.TiffFile(tif) as t:
        page = t.pages[0]
        image = page.asarray()
        assert image.dtype == numpy.float32 and image.shape == (nrows, ncols), (image.dtype, image.shape)
        assert numpy.allclose(image, grid, rtol=1e-6, atol=1e-6)
        tags = page.tags
        scale = tags["ModelPixelScaleTag"].value
        tie = tags["ModelTiepointTag"].value
        assert abs(scale[0] - cell) < 1e-9 and abs(scale[1] - cell) < 1e-9, scale
        assert abs(tie[3] - (header["xllcenter"] - cell / 2)) < 1e-9, tie
        assert abs(tie[4] - (header["yllcenter"] + (nrows - 0.5) * cell)) < 1e-9, tie
        geo = t.geotiff_metadata
        assert geo["GTModelTypeGeoKey"] == 1 and geo["GTRasterTypeGeoKey"] == 1, geo
        assert int(geo.get("ProjectedCSTypeGeoKey", 0)) == epsg, geo
        assert tags["GDAL_NODATA"].value.strip() == "-9999", tags["GDAL_NODATA"].value
    print(f"{checked} nodes of {ncols} x {nrows} agree")


main()
