#pragma once
// The file behind an open table. Edits of the table reach the file at once
// through this interface; a store that throws leaves the table unchanged.

#include <cstddef>

#include "table/Value.h"

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
    // The value field `f` reads back as once `v` is in the file: a format that
    // cannot tell two values apart (null and empty text, trailing blanks)
    // gives the one it reads. The table posts that value, so that it shows
    // what the file holds. A value the field cannot hold is returned as it is
    // (appended() or updated() refuse it).
    // False once a failed write left the file in a state the store cannot
    // vouch for: the table is read-only from then on.
    virtual bool writable() const { return true; }
    virtual Value stored(int f, const Value& v) const {
        (void)f;
        return v;
    }
};

}  // namespace zorv
