#pragma once
// The (filtered) catalogue written out in the forms other tools read:
//  - comma CSV (RFC 4180, UTF-8, CR LF): a header of the field names, dates
//    in ISO 8601 (yyyy-mm-dd), numbers in their shortest exact form;
//  - QuakeML 1.2: one event per record with an origin (time in UTC, latitude
//    and longitude [degrees] from X/Y through the catalogue's CRS, depth [m]
//    from a Depth_km field) and a magnitude (value, and type from a MagType
//    field, "ML" otherwise); an event without location (X = 0) has an
//    origin without co-ordinates, one without magnitude no magnitude;
//  - the OpenQuake catalogue CSV (eventID, year, month, day, hour, minute,
//    second, longitude, latitude, depth [km], magnitude).
// Each is written through a temporary file, so a failure leaves nothing
// half written; the records are those the table presents, in its order.

#include <string>

#include "interchange/ColumnRoles.h"

namespace zorv {

class Projection;
class Table;

enum class ExportForm { Csv, QuakeMl, OpenQuake };

// The form of an option word: csv, quakeml, openquake.
bool exportFormOfWord(const std::string& word, ExportForm& form);

// Shortest text that reads back as the same double ("1.5", "2.5e+06").
std::string exactNumber(double value);

// The bytes of each form. QuakeML and OpenQuake need the projection of the
// catalogue's X/Y; throws ImportError naming the record when a field is
// missing or a point does not convert.
std::string catalogueCsv(const Table& table);
std::string catalogueQuakeMl(const Table& table, const CatalogueFieldNames& names,
                             const Projection& projection);
std::string catalogueOpenQuake(const Table& table, const CatalogueFieldNames& names,
                               const Projection& projection);

void writeCatalogue(const Table& table, ExportForm form, const CatalogueFieldNames& names,
                    const Projection* projection, const std::string& path);

}  // namespace zorv
