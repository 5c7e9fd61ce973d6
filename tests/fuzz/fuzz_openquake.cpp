// The OpenQuake catalogue CSV (eventID, year, month, day, hour, minute,
// second, longitude, latitude, depth, magnitude, …): any bytes are read or
// refused with an ImportError, and a catalogue the columns' names give is
// built or refused so too. Property: that catalogue written as the
// OpenQuake CSV and read back has the same dates, times, magnitudes and (to
// the metre) X/Y.

#include "CatalogueFuzz.h"
#include "FuzzSupport.h"
#include "interchange/CatalogueReader.h"
#include "interchange/CatalogueWriters.h"

using namespace zorv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Projection utm(32634);
    CatalogueRead read;
    try {
        read = readCatalogue(fuzz::bytesOf(data, size), CatalogueForm::Csv);
    } catch (const ImportError&) {
        return 0;
    }
    const auto table =
        fuzz::buildOrRefuse(read.rows, autoColumnRoles(read.rows.header(), fuzz::fieldNames()), 32634);
    if (!table) return 0;
    std::string csv;
    try {
        csv = catalogueOpenQuake(*table, fuzz::fieldNames(), utm);
    } catch (const ImportError&) {
        return 0;
    }
    const CatalogueRead back = readCatalogue(csv, CatalogueForm::Csv);
    const auto again =
        fuzz::buildOrRefuse(back.rows, autoColumnRoles(back.rows.header(), fuzz::fieldNames()), 32634);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(fuzz::sameEvents(*table, *again, true));
    return 0;
}
