#include "table/FilterExpression.h"

#include "table/TableError.h"

namespace zorv {

std::shared_ptr<const FilterExpression> FilterExpression::parse(std::string_view, const Table&,
                                                                const Options&) {
    throw FilterError("Wyrażenie filtrujące nie jest jeszcze obsługiwane", 0);
}

}  // namespace zorv
