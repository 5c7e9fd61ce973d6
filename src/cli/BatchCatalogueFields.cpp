#include "BatchCatalogueFields.h"

#include "BatchError.h"
#include "catalogue/StructureCheck.h"
#include "dbase/DbaseFile.h"
#include "files/TableFiles.h"
#include "table/FilterExpression.h"
#include "table/TableError.h"

namespace zorv {

namespace {

template <class Read>
Table readOrExplain(Read read) {
    try {
        return read();
    } catch (const std::exception& e) {
        throw BatchError(badCatalogueMessage(e.what()));
    }
}

}  // namespace

std::unique_ptr<Table> openCatalogueFields(const QCommandLineParser& p, const BatchSettings& settings,
                                           const std::string& path, std::vector<std::string> fields,
                                           JoinedFilter& filter) {
    if (tableFormatOf(path) != TableFormat::DBase) {
        std::unique_ptr<Table> catalogue = openCatalogue(path, settings.locale);
        filter = filterCatalogue(p, settings, *catalogue);
        return catalogue;
    }
    // The filter is joined and checked against the file's fields alone, so
    // that its messages and the fields it reads are known before the load.
    Table layout = readOrExplain([&path] { return readDbaseLayout(path); });
    layout.setLocale(settings.locale);
    layout.setCaseInsensitiveFilter(true);
    filter = filterCatalogue(p, settings, layout);
    if (layout.filtered()) {
        const FilterExpression::Options options{layout.caseInsensitiveFilter(), layout.locale()};
        for (const int f : FilterExpression::parse(layout.filter(), layout, options)->fields())
            fields.push_back(layout.field(f).name);
    }

    auto catalogue = std::make_unique<Table>(readOrExplain([&] { return readDbaseFields(path, fields); }));
    catalogue->setReadOnly(true);
    catalogue->setLocale(settings.locale);
    catalogue->setCaseInsensitiveFilter(true);
    if (layout.filtered()) {
        try {
            catalogue->setFilter(layout.filter());
            catalogue->setFiltered(true);
        } catch (const TableError& e) {
            throw BatchError(std::string("Błędny filtr: ") + e.what());
        }
    }
    return catalogue;
}

}  // namespace zorv
