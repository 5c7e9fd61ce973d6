#pragma once
// What the catalogue-form fuzz targets share: a catalogue built from read
// cells (refusals are fine, anything else is not), and the comparison of a
// catalogue with the one its written form reads back as.

#include <cmath>
#include <optional>

#include "FuzzSupport.h"
#include "interchange/CatalogueBuilder.h"
#include "interchange/Projection.h"
#include "table/Table.h"

namespace zorv::fuzz {

inline const CatalogueFieldNames& fieldNames() {
    static const CatalogueFieldNames names;
    return names;
}

// The catalogue of the cells, or nothing when the import refuses them.
inline std::optional<Table> buildOrRefuse(const CatalogueRows& rows,
                                          const std::vector<ColumnMapping>& mapping, int epsg = 0) {
    CatalogueBuildOptions o;
    o.epsg = epsg;
    try {
        return buildCatalogue(rows, mapping, fieldNames(), o);
    } catch (const ImportError&) {
        return std::nullopt;
    }
}

inline double field(const Table& t, std::size_t row, const std::string& name) {
    const int f = t.fieldIndex(name);
    if (f < 0) return 0;
    const Value v = t.value(row, f);
    return v.isNull() ? NAN : v.toDouble();
}

inline double magnitude(const Table& t, std::size_t row) {
    return t.fieldIndex(fieldNames().roles.magnitude) < 0 ? NAN : field(t, row, fieldNames().roles.magnitude);
}

inline bool same(double a, double b, double tolerance) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::fabs(a - b) <= tolerance;
}

// Date, time of day, magnitude and (for located events near the plane's
// middle, where the projection is exact to a millimetre) X/Y alike.
inline bool sameEvents(const Table& a, const Table& b, bool planeRoundTrip) {
    if (a.recordCount() != b.recordCount()) return false;
    const CatalogueFieldNames& n = fieldNames();
    for (std::size_t r = 0; r < a.recordCount(); ++r) {
        for (const std::string* f : {&n.roles.date, &n.hour, &n.minute})
            if (!same(field(a, r, *f), field(b, r, *f), 0)) return false;
        if (!same(field(a, r, n.second), field(b, r, n.second), 1e-6)) return false;
        // No magnitude field and an empty one both mean no magnitude.
        if (!same(magnitude(a, r), magnitude(b, r), 0)) return false;
        const double x = field(a, r, n.roles.x), y = field(a, r, n.roles.y);
        if (planeRoundTrip && (x != 0 || y != 0) && std::fabs(x - 500000) < 3e5 && std::fabs(y) < 8e6)
            if (!same(x, field(b, r, n.roles.x), 1) || !same(y, field(b, r, n.roles.y), 1)) return false;
    }
    return true;
}

}  // namespace zorv::fuzz
