// QuakeML files: any bytes are read or refused with an ImportError.
// Property: a catalogue built from the events, written as QuakeML and read
// back, has the same dates, times, magnitudes and (to the metre) X/Y.

#include "CatalogueFuzz.h"
#include "FuzzSupport.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/QuakeMlReader.h"

using namespace zorv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Projection utm(32634);
    CatalogueRows rows;
    try {
        rows = readQuakeMl(fuzz::bytesOf(data, size));
    } catch (const ImportError&) {
        return 0;
    }
    FUZZ_CHECK(rows.columnCount() == 7);
    const auto mapping = autoColumnRoles(rows.header(), fuzz::fieldNames());
    const auto table = fuzz::buildOrRefuse(rows, mapping, 32634);
    if (!table) return 0;
    std::string xml;
    try {
        xml = catalogueQuakeMl(*table, fuzz::fieldNames(), utm);
    } catch (const ImportError&) {
        return 0;  // a point the inverse projection does not take
    }
    const CatalogueRows back = readQuakeMl(xml);
    FUZZ_CHECK(back.rowCount() == table->recordCount());
    const auto again = fuzz::buildOrRefuse(back, mapping, 32634);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(fuzz::sameEvents(*table, *again, true));
    return 0;
}
