#pragma once
// Write-through of an open dBase file: each record deleted, edited or
// appended in the table is written to the file at once, in place — the
// delete flag, the record's bytes, or a new record followed by the header's
// record count and the end-of-file marker. A value with no form in its field
// throws TableError before the file is touched, so the table (which undoes
// its change when the store throws) and the file stay alike.

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/DbaseHeader.h"
#include "dbase/DbaseIo.h"
#include "table/TableStore.h"
#include "text/FileLock.h"

namespace zorv {

class DbaseStore : public TableStore {
public:
    // `recordOfRow`: the file record (0-based, deleted ones counted) of each
    // physical row of the table, ascending.
    // `lock`: the file's write lock, held as long as the store.
    DbaseStore(DbaseFd fd, FileLock lock, std::string path, DbaseHeader header,
               std::vector<std::uint32_t> recordOfRow);

    void appended(const Table& table, std::size_t row) override;
    void updated(const Table& table, std::size_t row) override;
    void removing(const Table& table, std::size_t row) override;
    // A C field holds no null: null text and blanks read back as empty text.
    Value stored(int f, const Value& v) const override;

private:
    std::uint64_t recordOffset(std::uint32_t record) const {
        return header_.headerLength + std::uint64_t{record} * header_.recordLength;
    }
    std::uint32_t recordOf(std::size_t row) const;
    void stampDate();

    DbaseFd fd_;
    FileLock lock_;
    std::string path_;
    DbaseHeader header_;
    std::vector<std::uint32_t> recordOfRow_;
};

}  // namespace zorv
