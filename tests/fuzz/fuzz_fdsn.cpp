// The FDSN event text format: any bytes are read or refused with an
// ImportError. Property: a catalogue built from the events, written as the
// OpenQuake catalogue CSV and read back, has the same dates, times,
// magnitudes and (to the metre) X/Y; so the OpenQuake reader (the CSV
// reader with the roles of its column names) is fuzzed on its way too.

#include "CatalogueFuzz.h"
#include "FuzzSupport.h"
#include "interchange/CatalogueReader.h"
#include "interchange/CatalogueWriters.h"

using namespace zorv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Projection utm(32634);
    CatalogueRows rows;
    try {
        rows = readFdsnText(fuzz::bytesOf(data, size));
    } catch (const ImportError&) {
        return 0;
    }
    const auto table = fuzz::buildOrRefuse(rows, autoColumnRoles(rows.header(), fuzz::fieldNames()), 32634);
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
