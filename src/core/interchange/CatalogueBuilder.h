#pragma once
// A catalogue table from the cells of a catalogue written elsewhere and the
// roles of its columns: the same table the text import builds (the role
// columns under the catalogue's field names, in column order, then the added
// fields X, Y, zone and date), with
//  - the date from one column (ISO 8601, or day or month first) or from
//    year, month and day columns, and the time of day into the hour, minute
//    and second fields;
//  - missing values (empty, NaN, NA, the user's marks) as nulls, and rows
//    with neither magnitude nor energy counted and kept or left out;
//  - geographic co-ordinates projected to X/Y [m];
//  - extra columns typed by their values (32-bit integer, floating point,
//    text);
//  - the records sorted by date and time, as the catalogue must be.
// Every refusal is an ImportError naming the row and the column.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "interchange/CatalogueDates.h"
#include "interchange/CatalogueRows.h"
#include "interchange/CellValues.h"
#include "interchange/ColumnRoles.h"
#include "interchange/TextImport.h"

namespace zorv {

class Progress;
class Table;

struct CatalogueBuildOptions {
    // The order of non-ISO dates; found from the dates when not given (a
    // date with a part above 12 decides, dotted dates are day first).
    std::optional<DateOrder> dateOrder;
    bool decimalComma = false;
    MissingValues missing;
    bool dropWithoutSize = false;  // leave out rows with neither magnitude nor energy
    int epsg = 0;                  // 0: the UTM zone of the mean longitude
    // Zone name, a and b, the computed energy or magnitude, the added fields
    // and their date spread, as in the text import.
    ImportOptions base;
};

struct CatalogueBuildReport {
    std::size_t records = 0;
    std::size_t moved = 0;               // records the date order moved
    std::size_t withoutSize = 0;         // rows with neither magnitude nor energy
    std::size_t dropped = 0;             // of those, left out
    std::size_t withoutMagnitude = 0;    // computed magnitude left empty (energy <= 0)
    std::optional<DateOrder> dateOrder;  // of the date column, when it had one
    std::string crs;                     // the projection used, when there was one
    int epsg = 0;                        // its code
};

Table buildCatalogue(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                     const CatalogueFieldNames& names, const CatalogueBuildOptions& options,
                     CatalogueBuildReport* report = nullptr, Progress* progress = nullptr);

// The order of the dates of the column given the date role, as the import
// would find it: nothing with the reason when a date is of neither order,
// the dates need both, or (`ambiguous`) every date fits both.
struct DateOrderGuess {
    bool dateColumn = false;  // a column has the date role
    std::optional<DateOrder> order;
    bool ambiguous = false;
    std::string problem;
};
DateOrderGuess detectDateOrder(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                               const MissingValues& missing);

// The lines zorv-batch prints: one "kolumna -> rola" per column.
std::vector<std::string> describeMapping(const std::vector<std::string>& header,
                                         const std::vector<ColumnMapping>& mapping,
                                         const CatalogueFieldNames& names);

// The import's closing message with the counts of the report.
std::string catalogueImportMessage(const std::string& fileName, const CatalogueBuildReport& report);

}  // namespace zorv
