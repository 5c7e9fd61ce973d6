#include "catalogue/CatalogueFilter.h"

namespace zorv {

JoinedFilter applyCatalogueFilter(Table* table, const FilterSources& sources) {
    JoinedFilter joined = joinFilters(sources, [table](const std::string& e) {
        if (!table) return true;
        try {
            table->checkFilter(e);
            return true;
        } catch (const TableError&) {
            return false;
        }
    });
    if (!table) return joined;
    try {
        if (joined.expression.empty()) {
            table->setFiltered(false);
            table->setFilter({});
        } else {
            table->setFilter(joined.expression);
            table->setFiltered(true);
        }
    } catch (const TableError& e) {
        table->setFiltered(false);
        table->setFilter({});
        throw CatalogueFilterError(e.what(), std::move(joined));
    }
    return joined;
}

}  // namespace zorv
