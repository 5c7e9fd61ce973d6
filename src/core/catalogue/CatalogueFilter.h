#pragma once
// The filter of an open catalogue from its sources: joined, checked against
// the table engine and set on the table, the same way in both programs.

#include "catalogue/FilterBuilder.h"
#include "table/Table.h"
#include "table/TableError.h"

namespace zorv {

// The engine refused the joined expression (a zone code or an extra
// expression it cannot take). The message is the engine's; the joined filter
// comes along so that the caller can still show what was asked for.
class CatalogueFilterError : public TableError {
public:
    CatalogueFilterError(const std::string& message, JoinedFilter joined)
        : TableError(message), joined_(std::move(joined)) {}
    const JoinedFilter& joined() const { return joined_; }

private:
    JoinedFilter joined_;
};

// Joins the sources (a location expression the table rejects is left out and
// flagged) and filters the table by the result; an empty result clears the
// filter. When the engine refuses the expression the table is left
// unfiltered, rather than half filtered, and CatalogueFilterError is thrown.
// With no table open the sources are only joined, every one accepted.
JoinedFilter applyCatalogueFilter(Table* table, const FilterSources& sources);

}  // namespace zorv
