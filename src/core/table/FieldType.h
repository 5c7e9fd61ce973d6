#pragma once
// Field types of the table engine and field definitions.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorv {

enum class FieldType : std::uint8_t {
    Unknown,   // a type the engine cannot read; values are always null
    String,    // text of at most `size` characters
    SmallInt,  // 16-bit signed integer
    Integer,   // 32-bit signed integer
    Word,      // 16-bit unsigned integer
    LargeInt,  // 64-bit signed integer
    Boolean,
    Float,     // 64-bit floating point
    Date,      // whole day number (days since 1899-12-30)
    DateTime,  // day number with the time of day as fraction
    Time,      // time of day as a fraction of a day
    Memo,      // long text (may be left unread: null)
    AutoInc,   // 32-bit signed integer, numbered by the engine on append
};

// How a column keeps its values.
enum class StorageKind : std::uint8_t { None, Int32, Int64, Double, Text };

constexpr StorageKind storageOf(FieldType t) {
    switch (t) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::Boolean:
        case FieldType::Date:
        case FieldType::AutoInc: return StorageKind::Int32;
        case FieldType::LargeInt: return StorageKind::Int64;
        case FieldType::Float:
        case FieldType::DateTime:
        case FieldType::Time: return StorageKind::Double;
        case FieldType::String:
        case FieldType::Memo: return StorageKind::Text;
        case FieldType::Unknown: break;
    }
    return StorageKind::None;
}

constexpr bool isIntegerType(FieldType t) {
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::Word ||
           t == FieldType::LargeInt || t == FieldType::AutoInc;
}

constexpr bool isNumericType(FieldType t) { return isIntegerType(t) || t == FieldType::Float; }

constexpr bool isTextType(FieldType t) { return t == FieldType::String || t == FieldType::Memo; }

// Short English name, for messages of the engine and for tests.
const char* fieldTypeName(FieldType t);

struct FieldDef {
    FieldDef() = default;
    FieldDef(std::string name_, FieldType type_, int size_ = 0, int decimals_ = 0)
        : name(std::move(name_)), type(type_), size(size_), decimals(decimals_) {}

    std::string name;
    FieldType type = FieldType::Unknown;
    int size = 0;      // characters of a String field; width of a file column
    int decimals = 0;  // decimals of a numeric file column (display hint)
    // Display mask of a Float field (empty: general format).
    std::string displayFormat;

    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

using FieldDefs = std::vector<FieldDef>;

}  // namespace zorv
