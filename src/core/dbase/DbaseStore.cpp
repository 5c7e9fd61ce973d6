#include "dbase/DbaseStore.h"

#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "dbase/DbaseCodec.h"
#include "table/Table.h"
#include "table/TableError.h"

namespace zorv {

namespace {

bool isMemo(char type) { return type == 'M' || type == 'B' || type == 'G'; }

void putLe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

DbaseStore::DbaseStore(DbaseFd fd, FileLock lock, std::string path, DbaseHeader header,
                       std::vector<std::uint32_t> recordOfRow)
    : fd_(std::move(fd)),
      lock_(std::move(lock)),
      path_(std::move(path)),
      header_(std::move(header)),
      recordOfRow_(std::move(recordOfRow)) {
    ops_.write = [this](const void* data, std::size_t size, std::uint64_t offset) {
        writeDbaseBytes(fd_, data, size, offset, path_);
    };
    ops_.sync = [this] { syncDbaseFile(fd_, path_); };
}

std::uint32_t DbaseStore::recordOf(std::size_t row) const {
    if (row >= recordOfRow_.size())
        throw TableError("Rekord tabeli nie ma odpowiednika w pliku '" + path_ + "'.");
    return recordOfRow_[row];
}

void DbaseStore::checkWritable() const {
    if (broken_)
        throw TableError("Tabela '" + path_ +
                         "' jest tylko do odczytu po nieudanym zapisie; otwórz plik ponownie.");
}

void DbaseStore::giveUp(const TableError& failure) {
    broken_ = true;
    throw TableError(std::string(failure.what()) +
                     " Nie udało się też przywrócić poprzedniej zawartości pliku; tabela jest odtąd tylko "
                     "do odczytu, otwórz plik ponownie.");
}

void DbaseStore::restore(const std::string& old, std::uint64_t offset, const TableError& failure) {
    try {
        ops_.write(old.data(), old.size(), offset);
    } catch (const TableError&) {
        giveUp(failure);
    }
    throw TableError(failure);
}

void DbaseStore::stampDate() {
    // The date of last update is a courtesy to other programs; once the
    // record is in the file, failing to stamp it must not undo the edit.
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!::localtime_r(&now, &tm)) return;
    const unsigned char date[3] = {static_cast<unsigned char>(tm.tm_year),
                                   static_cast<unsigned char>(tm.tm_mon + 1),
                                   static_cast<unsigned char>(tm.tm_mday)};
    try {
        ops_.write(date, sizeof date, kDbaseDateOffset);
    } catch (const TableError&) {
    }
}

void DbaseStore::writeCount(std::uint32_t count) {
    unsigned char bytes[4];
    putLe32(bytes, count);
    ops_.write(bytes, sizeof bytes, kDbaseCountOffset);
}

void DbaseStore::appended(const Table& table, std::size_t row) {
    checkWritable();
    if (row != recordOfRow_.size())
        throw TableError("Rekord tabeli nie ma odpowiednika w pliku '" + path_ + "'.");
    if (header_.recordCount == UINT32_MAX)
        throw TableError("Plik '" + path_ + "' nie pomieści więcej rekordów.");
    // The record and the end-of-file marker after it.
    std::string bytes(header_.recordLength + 1, ' ');
    auto* rec = reinterpret_cast<unsigned char*>(bytes.data());
    for (std::size_t f = 0; f < header_.fields.size(); ++f) {
        const DbaseField& field = header_.fields[f];
        const Value v = table.value(row, static_cast<int>(f));
        if (isMemo(field.type) && !v.isNull())
            throw TableError("Pola notatki " + describeDbaseField(field) +
                             " pliku dBase nie można zmieniać.");
        encodeDbaseField(field, v, rec + field.offset);
    }
    rec[header_.recordLength] = 0x1A;
    recordOfRow_.reserve(recordOfRow_.size() + 1);

    // A record written past the count is invisible to every reader until
    // the count names it, so it goes first and reaches the disk before the
    // count does. What lay past the last record (the end-of-file marker) is
    // put back when the record does not go in.
    const std::uint32_t record = header_.recordCount;
    const std::uint64_t at = recordOffset(record);
    const std::uint64_t size = dbaseFileSize(fd_, path_);
    std::string tail(
        static_cast<std::size_t>(size > at ? std::min<std::uint64_t>(size - at, bytes.size()) : 0), '\0');
    if (!tail.empty()) readDbaseBytes(fd_, tail.data(), tail.size(), at, path_);
    // Past the count the bytes are nobody's, so a failure to put them back
    // leaves file and table alike all the same.
    const auto restoreTail = [&] {
        try {
            if (!tail.empty()) ops_.write(tail.data(), tail.size(), at);
            truncateDbaseFile(fd_, size, path_);
        } catch (const TableError&) {
        }
    };
    try {
        ops_.write(bytes.data(), bytes.size(), at);
        ops_.sync();
    } catch (const TableError&) {
        restoreTail();
        throw;
    }
    try {
        writeCount(record + 1);
        ops_.sync();
    } catch (const TableError& e) {
        // Whether the new count reached the disk is unknown: the old one
        // goes back, so that the record is not in the file either.
        try {
            writeCount(record);
        } catch (const TableError&) {
            giveUp(e);
        }
        restoreTail();
        throw TableError(e);
    }
    header_.recordCount = record + 1;
    recordOfRow_.push_back(record);
    // Hints for other programs, flushed with the next edit.
    if (header_.level7) writeAutoIncHints(table, row);
    stampDate();
}

void DbaseStore::writeAutoIncHints(const Table& table, std::size_t row) {
    for (std::size_t f = 0; f < header_.fields.size(); ++f) {
        DbaseField& field = header_.fields[f];
        if (field.type != '+') continue;
        const Value v = table.value(row, static_cast<int>(f));
        if (v.isNull() || v.toInt() < 0 || static_cast<std::uint32_t>(v.toInt()) < field.nextAutoInc)
            continue;
        field.nextAutoInc = static_cast<std::uint32_t>(v.toInt()) + 1;
        unsigned char next[4];
        putLe32(next, field.nextAutoInc);
        try {
            ops_.write(next, sizeof next,
                       kDbaseLevel7FieldsOffset + f * kDbaseLevel7DescriptorSize + kDbaseAutoIncOffset);
        } catch (const TableError&) {
            // Only a hint for other programs; the record is in.
        }
    }
}

void DbaseStore::updated(const Table& table, std::size_t row) {
    checkWritable();
    const std::uint32_t record = recordOf(row);
    std::string old(header_.recordLength, '\0');
    readDbaseBytes(fd_, old.data(), old.size(), recordOffset(record), path_);
    std::string bytes = old;
    const auto* was = reinterpret_cast<const unsigned char*>(old.data());
    auto* rec = reinterpret_cast<unsigned char*>(bytes.data());
    // Fields whose value did not change keep their bytes: memo block
    // numbers, and numbers written by other programs in their own way.
    for (std::size_t f = 0; f < header_.fields.size(); ++f) {
        const DbaseField& field = header_.fields[f];
        const Value v = table.value(row, static_cast<int>(f));
        if (isMemo(field.type)) {
            if (!v.isNull())
                throw TableError("Pola notatki " + describeDbaseField(field) +
                                 " pliku dBase nie można zmieniać.");
            continue;
        }
        if (decodeDbaseField(field, was + field.offset) == v) continue;
        encodeDbaseField(field, v, rec + field.offset);
    }
    if (bytes == old) return;
    try {
        ops_.write(bytes.data(), bytes.size(), recordOffset(record));
        ops_.sync();
    } catch (const TableError& e) {
        restore(old, recordOffset(record), e);
    }
    stampDate();
}

void DbaseStore::removing(const Table&, std::size_t row) {
    checkWritable();
    const std::uint32_t record = recordOf(row);
    std::string old(1, '\0');
    readDbaseBytes(fd_, old.data(), 1, recordOffset(record), path_);
    const char flag = '*';
    try {
        ops_.write(&flag, 1, recordOffset(record));
        ops_.sync();
    } catch (const TableError& e) {
        restore(old, recordOffset(record), e);
    }
    recordOfRow_.erase(recordOfRow_.begin() + static_cast<std::ptrdiff_t>(row));
    stampDate();
}

Value DbaseStore::stored(int f, const Value& v) const {
    if (f < 0 || static_cast<std::size_t>(f) >= header_.fields.size()) return v;
    const DbaseField& field = header_.fields[static_cast<std::size_t>(f)];
    if (isMemo(field.type)) return v;
    std::string bytes(static_cast<std::size_t>(field.width), ' ');
    auto* at = reinterpret_cast<unsigned char*>(bytes.data());
    try {
        encodeDbaseField(field, v, at);
    } catch (const TableError&) {
        return v;
    }
    return decodeDbaseField(field, at);
}

}  // namespace zorv
