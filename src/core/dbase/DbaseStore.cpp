#include "dbase/DbaseStore.h"

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
      recordOfRow_(std::move(recordOfRow)) {}

std::uint32_t DbaseStore::recordOf(std::size_t row) const {
    if (row >= recordOfRow_.size())
        throw TableError("Rekord tabeli nie ma odpowiednika w pliku '" + path_ + "'.");
    return recordOfRow_[row];
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
        writeDbaseBytes(fd_, date, sizeof date, kDbaseDateOffset, path_);
    } catch (const TableError&) {
    }
}

void DbaseStore::appended(const Table& table, std::size_t row) {
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
    // the count names it, so a failure in between leaves the file as it was.
    const std::uint32_t record = header_.recordCount;
    writeDbaseBytes(fd_, bytes.data(), bytes.size(), recordOffset(record), path_);
    unsigned char count[4];
    putLe32(count, record + 1);
    writeDbaseBytes(fd_, count, sizeof count, kDbaseCountOffset, path_);
    header_.recordCount = record + 1;
    recordOfRow_.push_back(record);

    if (header_.level7) {
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
                writeDbaseBytes(
                    fd_, next, sizeof next,
                    kDbaseLevel7FieldsOffset + f * kDbaseLevel7DescriptorSize + kDbaseAutoIncOffset, path_);
            } catch (const TableError&) {
                // Only a hint for other programs; the record is in.
            }
        }
    }
    stampDate();
}

void DbaseStore::updated(const Table& table, std::size_t row) {
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
    writeDbaseBytes(fd_, bytes.data(), bytes.size(), recordOffset(record), path_);
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

void DbaseStore::removing(const Table&, std::size_t row) {
    const std::uint32_t record = recordOf(row);
    const char flag = '*';
    writeDbaseBytes(fd_, &flag, 1, recordOffset(record), path_);
    recordOfRow_.erase(recordOfRow_.begin() + static_cast<std::ptrdiff_t>(row));
    stampDate();
}

}  // namespace zorv
