// Delimited catalogues written elsewhere: any bytes are read or refused
// with an ImportError, never more. Property: a catalogue built from them
// (decimal point), written as comma CSV and read back with the roles of its
// own field names, is the same table (field types and values).

#include "CatalogueFuzz.h"
#include "FuzzSupport.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/CsvReader.h"

using namespace zorv;

namespace {

// The roles of the written header: the catalogue's own names, every other
// field an extra one.
std::vector<ColumnMapping> ownRoles(const std::vector<std::string>& header) {
    const CatalogueFieldNames& n = fuzz::fieldNames();
    const std::pair<const std::string*, ColumnRole> own[] = {{&n.roles.magnitude, ColumnRole::Magnitude},
                                                             {&n.roles.energy, ColumnRole::Energy},
                                                             {&n.roles.zone, ColumnRole::Zone},
                                                             {&n.roles.date, ColumnRole::Date},
                                                             {&n.roles.x, ColumnRole::X},
                                                             {&n.roles.y, ColumnRole::Y},
                                                             {&n.hour, ColumnRole::Hour},
                                                             {&n.minute, ColumnRole::Minute},
                                                             {&n.second, ColumnRole::Second}};
    std::vector<ColumnMapping> out;
    for (const std::string& h : header) {
        ColumnMapping m{ColumnRole::Extra, h};
        for (const auto& [name, role] : own)
            if (h == *name) m.role = role;
        out.push_back(m);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CsvRead read;
    try {
        read = readCsv(fuzz::bytesOf(data, size));
    } catch (const ImportError&) {
        return 0;
    }
    FUZZ_CHECK(read.rows.columnCount() >= 1);
    for (std::size_t r = 0; r < read.rows.rowCount(); ++r) FUZZ_CHECK(read.rows.lineOf(r) >= 1);
    CatalogueBuildOptions o;
    o.decimalComma = read.dialect.decimalComma;
    std::optional<Table> table;
    try {
        table = buildCatalogue(read.rows, autoColumnRoles(read.rows.header(), fuzz::fieldNames()),
                               fuzz::fieldNames(), o);
    } catch (const ImportError&) {
        return 0;
    }
    // The export writes numbers with a point, so a text cell of a
    // decimal-comma file that reads as a point number ("04.1") would come
    // back as a number: the property holds for point files only.
    if (read.dialect.decimalComma) return 0;
    const std::string csv = catalogueCsv(*table);
    CsvOptions told;
    told.separator = ',';
    told.header = true;
    told.decimalComma = false;
    const CsvRead back = readCsv(csv, told);
    FUZZ_CHECK(back.rows.header().size() == static_cast<std::size_t>(table->fieldCount()));
    const auto again = fuzz::buildOrRefuse(back.rows, ownRoles(back.rows.header()));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(fuzz::sameRecords(*table, *again));
    return 0;
}
