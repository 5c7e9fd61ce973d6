#pragma once
// The file behind an open table. Edits of the table reach the file at once
// through this interface; a store that throws leaves the table unchanged.

#include <cstddef>

namespace zorv {

class Table;

class TableStore {
public:
    virtual ~TableStore() = default;
    // `row` (physical) was appended to the table and must be added to the file.
    virtual void appended(const Table& table, std::size_t row) = 0;
    // `row` was changed and must be rewritten.
    virtual void updated(const Table& table, std::size_t row) = 0;
    // `row` is about to be removed from the table and must be deleted.
    virtual void removing(const Table& table, std::size_t row) = 0;
};

}  // namespace zorv
