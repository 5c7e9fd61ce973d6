#pragma once
// The header of a dBase table file: levels III, IV and V (32-byte field
// descriptors) and level 7 (48-byte descriptors with a language driver name).
//
//   file:   header | records (headerLength bytes in) | 0x1A
//   record: delete flag (' ' live, '*' deleted) | field bytes, in order
//
// The reader trusts nothing in a header: every length is checked against the
// others and against the file size before a record is read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/FieldType.h"

namespace zorv {

struct DbaseField {
    std::string name;  // UTF-8
    char type = 'C';   // type letter of the file: C N F D L M I + O @ B G
    int width = 0;     // bytes in the record
    int decimals = 0;
    int offset = 0;                 // from the start of the record (byte 0 is the delete flag)
    std::uint32_t nextAutoInc = 0;  // level 7 '+' fields: the value the next record gets
};

struct DbaseHeader {
    bool level7 = false;
    unsigned char version = 0x03;
    std::uint32_t recordCount = 0;
    std::uint32_t headerLength = 0;  // bytes before the first record
    std::uint32_t recordLength = 0;  // bytes of one record, delete flag included
    unsigned char languageDriver = 0;
    std::string languageDriverName;  // level 7 only
    std::vector<DbaseField> fields;
};

// Language driver of windows-1250 text: the id byte every level writes at
// offset 29, and the name level 7 carries (readers of level 7 take the code
// page from the name): the engine driver "Pdox ANSI Polish", code page 1250.
inline constexpr unsigned char kDbaseLanguageCp1250 = 0xC8;
inline constexpr std::string_view kDbaseLanguageNameCp1250 = "anpolish";

// Offsets of the header.
inline constexpr std::size_t kDbaseCountOffset = 4;  // record count, uint32 LE
inline constexpr std::size_t kDbaseDateOffset = 1;   // last update: YY-1900, MM, DD
inline constexpr std::size_t kDbaseLevel7FieldsOffset = 68;
inline constexpr std::size_t kDbaseLevel7DescriptorSize = 48;
inline constexpr std::size_t kDbaseFieldsOffset = 32;
inline constexpr std::size_t kDbaseDescriptorSize = 32;
// Offset of the next-autoincrement value within a level-7 descriptor.
inline constexpr std::size_t kDbaseAutoIncOffset = 40;

// Parses the header from the first bytes of a file (`head` holds the first
// min(fileSize, 65 536) bytes) and checks it against `fileSize`. Throws
// FileFormatError naming `path` and the cause.
DbaseHeader parseDbaseHeader(std::string_view head, std::uint64_t fileSize, const std::string& path);

// The header bytes (headerLength of them, field terminator included) of a
// header whose fields have name, type, width and decimals set; fills in the
// offsets, headerLength and recordLength. The date of last update is
// `year`-`month`-`day`.
std::string buildDbaseHeader(DbaseHeader& header, int year, int month, int day);

// The table field a file field is read into.
FieldDef fieldDefOf(const DbaseField& field);

}  // namespace zorv
