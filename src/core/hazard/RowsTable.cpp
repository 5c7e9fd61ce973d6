#include "hazard/RowsTable.h"

namespace zorv {

Table TableOfRows(const Table& source, const std::vector<std::uint32_t>& rows) {
    Table t(source.fields());
    t.setName(source.name());
    t.setLocale(source.locale());
    for (int f = 0; f < source.fieldCount(); ++f)
        t.loadColumn(f).appendRows(source.column(f), &rows, rows.size());
    t.finishLoad();
    return t;
}

}  // namespace zorv
