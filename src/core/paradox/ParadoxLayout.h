#pragma once
// The structure of a Paradox table file as we check it ourselves before
// pxlib sees the bytes.
//
// pxlib trusts its input: a short read leaves its buffers uninitialised, an
// unterminated table name is copied past its buffer, a cyclic block chain
// makes it loop for ever and an inconsistent record count is reported on
// stderr. Users' catalogues can be damaged, so every number pxlib will act
// on is checked here first, and a file that fails gets a FileFormatError
// naming the cause and the file.
//
// Layout (little-endian): a 0x58-byte common header, from format 4.0 on a
// 0x20-byte data header, the field descriptors (type, length), pointers,
// the table name and the field names; then data blocks of
// maxTableSize * 1 KiB, each a 6-byte head (next block, previous block,
// bytes used minus one record) and fixed-length records.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zorv::paradox {

// Field type codes as stored in the file.
enum class PxType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct PxField {
    PxType type = PxType::Alpha;
    int length = 0;       // bytes in the record
    int bcdDecimals = 0;  // BCD fields only: digits after the point
    std::string name;     // windows-1250, as in the file
};

// A data block that holds records.
struct PxDataBlock {
    std::size_t recordsAt = 0;  // offset of its first record in the file (bytes)
    int records = 0;            // records it holds
};

struct ParadoxLayout {
    std::uint8_t fileType = 2;  // 0: keyed table, 2: table without key
    int recordSize = 0;         // bytes
    int headerSize = 0;         // bytes
    int blockSize = 0;          // bytes
    std::int32_t recordCount = 0;
    int codePage = 0;
    std::uint8_t sortOrder = 0;
    std::int32_t autoInc = 0;  // last number given by an auto-increment field
    bool writeProtected = false;
    std::string tableName;  // windows-1250
    std::vector<PxField> fields;
    // The blocks that hold records, in the order of the block chain: the
    // order of the table's records.
    std::vector<PxDataBlock> dataBlocks;

    bool keyed() const { return fileType == 0; }
};

// Day count of Paradox dates and timestamps for 0001-01-01.
inline constexpr std::int32_t kPxDayOf00010101 = 1;
// Milliseconds in a day: the unit of Paradox times and timestamps.
inline constexpr double kMsPerDay = 86400000.0;

// Checks the table held in `bytes` (the whole file) and returns its layout.
// Data blocks that hold no record are unlinked from the block chain in
// `bytes`, because pxlib miscounts them. Throws FileFormatError naming
// `path` and the cause.
ParadoxLayout checkParadoxFile(std::span<char> bytes, const std::string& path);
inline ParadoxLayout checkParadoxFile(std::string& bytes, const std::string& path) {
    return checkParadoxFile(std::span<char>(bytes.data(), bytes.size()), path);
}

// Short Polish name of a field type for messages.
const char* pxTypeName(PxType t);

}  // namespace zorv::paradox
