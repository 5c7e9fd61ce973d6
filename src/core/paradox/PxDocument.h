#pragma once
// pxlib behind a small C++ face.
//
// pxlib reports problems through a callback and, by default, prints them.
// Ours only records the message (callbacks never throw: no C++ exception
// may cross pxlib's C frames); the callers turn a failed call into a
// TableError or FileFormatError with our own Polish text.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "paradox/ParadoxLayout.h"
#include "table/FieldType.h"

struct px_doc;

namespace zorv {
class Column;
class Value;
}  // namespace zorv

namespace zorv::paradox {

class PxDocument {
public:
    PxDocument();
    PxDocument(const PxDocument&) = delete;
    PxDocument& operator=(const PxDocument&) = delete;
    ~PxDocument();

    // Opens the table held in `bytes` (checked by checkParadoxFile(); must
    // outlive the document). False on failure, see error().
    bool openMemory(char* bytes, std::size_t size);
    bool openMemory(std::string& bytes) { return openMemory(bytes.data(), bytes.size()); }

    struct Creation {
        std::vector<PxField> fields;
        int blockSize = 4096;  // bytes
        int codePage = 1250;
        std::uint8_t sortOrder = 0x62;
        std::int32_t autoInc = 0;
        std::string tableName;  // windows-1250
    };
    // Starts a table without key in memory. pxlib seeks before almost
    // every byte it writes; on a FILE each seek costs system calls (some
    // 20 s for 100,000 records), in memory nothing. False on failure, see
    // error().
    bool create(const Creation& c);
    // Appends a record to a created table.
    bool appendRecord(char* data);
    // Completes a created table and hands over the file's bytes.
    std::string finish();

    // Whether pxlib read the header as checkParadoxFile() did.
    bool agreesWith(const ParadoxLayout& layout) const;

    // Reads record `index` (0-based) into `data` (recordSize bytes).
    bool readRecord(int index, char* data);
    const std::string& error() const { return error_; }
    px_doc* handle() const { return doc_; }

private:
    friend struct PxErrorSink;
    struct MemoryStream;
    px_doc* doc_ = nullptr;
    std::FILE* memory_ = nullptr;  // the bytes pxlib reads or first writes to
    std::unique_ptr<MemoryStream> output_;
    std::string error_;
};

// Column type a field is read into: what the engine can hold directly, and
// Memo or Unknown (always null) for the rest.
FieldType fieldTypeOf(PxType t);

// Appends the value of field `f` stored at `data` to `out`, a column of the
// type fieldTypeOf(f). Nulls as pxlib reports them; a few guards where pxlib
// misreads (see the .cpp).
void decodeField(const PxDocument& doc, const PxField& f, char* data, Column& out);

// Stores `v` into field `f` at `data` (f.length bytes). Throws TableError
// naming `fieldName` (UTF-8) for a value the field cannot hold.
void encodeField(const PxDocument& doc, const PxField& f, const Value& v, char* data,
                 const std::string& fieldName);

}  // namespace zorv::paradox
