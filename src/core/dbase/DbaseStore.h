#pragma once
// Write-through of an open dBase file: each record deleted, edited or
// appended in the table is written to the file at once, in place — the
// delete flag, the record's bytes, or a new record followed by the header's
// record count and the end-of-file marker. A value with no form in its field
// throws TableError before the file is touched, so the table (which undoes
// its change when the store throws) and the file stay alike.
//
// Every edit is on the disk when the store returns: an append writes the
// record, flushes it, and only then writes the count that makes it visible
// (and flushes again), so a power loss never leaves a count naming a record
// that is not there. A write or flush that fails puts the old bytes back, so
// the file holds what the table, undoing the edit, holds; when even that
// fails the store stops accepting edits (writable() is false, the table
// turns read-only) and the message asks to open the file again.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/DbaseHeader.h"
#include "dbase/DbaseIo.h"
#include "table/TableError.h"
#include "table/TableStore.h"
#include "text/FileLock.h"

namespace zorv {

// How the store reaches its file. Each throws TableError naming the file
// and the cause; replaceable, so that tests can fail a chosen write.
struct DbaseFileOps {
    // Writes all `size` bytes at `offset`.
    std::function<void(const void* data, std::size_t size, std::uint64_t offset)> write;
    // Flushes what was written to the disk.
    std::function<void()> sync;
};

class DbaseStore : public TableStore {
public:
    // `recordOfRow`: the file record (0-based, deleted ones counted) of each
    // physical row of the table, ascending. `lock`: the file's write lock,
    // held as long as the store.
    DbaseStore(DbaseFd fd, FileLock lock, std::string path, DbaseHeader header,
               std::vector<std::uint32_t> recordOfRow);

    void appended(const Table& table, std::size_t row) override;
    void updated(const Table& table, std::size_t row) override;
    void removing(const Table& table, std::size_t row) override;
    // A C field holds no null: null text and blanks read back as empty text.
    Value stored(int f, const Value& v) const override;
    bool writable() const override { return !broken_; }

    const DbaseFileOps& fileOps() const { return ops_; }
    void setFileOps(DbaseFileOps ops) { ops_ = std::move(ops); }

private:
    std::uint64_t recordOffset(std::uint32_t record) const {
        return header_.headerLength + std::uint64_t{record} * header_.recordLength;
    }
    std::uint32_t recordOf(std::size_t row) const;
    void checkWritable() const;
    void stampDate();
    void writeCount(std::uint32_t count);
    // The next numbers of the + fields in the header, for other programs.
    void writeAutoIncHints(const Table& table, std::size_t row);
    // Puts `old` back at `offset` after a failed edit and rethrows that
    // edit's error; when that fails too the store turns read-only.
    [[noreturn]] void restore(const std::string& old, std::uint64_t offset, const TableError& failure);
    [[noreturn]] void giveUp(const TableError& failure);

    DbaseFd fd_;
    FileLock lock_;
    std::string path_;
    DbaseHeader header_;
    std::vector<std::uint32_t> recordOfRow_;
    DbaseFileOps ops_;
    bool broken_ = false;
};

}  // namespace zorv
