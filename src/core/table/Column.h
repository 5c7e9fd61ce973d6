#pragma once
// Values of one field, kept column-wise. Text is dictionary-coded: each row
// holds an index into a list of distinct strings (UTF-8), which keeps zone
// codes and other repeating texts small and lets a filter decide a text test
// once per distinct value.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "table/FieldType.h"
#include "table/Value.h"

namespace zorv {

class Column {
public:
    explicit Column(FieldType type, int size = 0);

    FieldType type() const { return type_; }
    StorageKind storage() const { return storage_; }
    std::size_t size() const { return size_; }

    bool hasNulls() const { return nullMask_; }
    bool isNull(std::size_t row) const { return nullMask_ && nulls_[row] != 0; }

    // Typed storage; only the vector of the column's storage kind is filled.
    // A null row holds 0 (text: the id of the empty string).
    const std::vector<std::int32_t>& int32s() const { return i32_; }
    const std::vector<std::int64_t>& int64s() const { return i64_; }
    const std::vector<double>& doubles() const { return f64_; }
    const std::vector<std::uint32_t>& textIds() const { return ids_; }
    const std::string& textAt(std::size_t row) const { return dict_[ids_[row]]; }
    std::size_t dictionarySize() const { return dict_.size(); }
    const std::string& dictionaryText(std::uint32_t id) const { return dict_[id]; }

    // A numeric field's value as a double (0 for null, text and unknown).
    double numberAt(std::size_t row) const {
        switch (storage_) {
            case StorageKind::Int32: return i32_[row];
            case StorageKind::Int64: return static_cast<double>(i64_[row]);
            case StorageKind::Double: return f64_[row];
            case StorageKind::Text:
            case StorageKind::None: break;
        }
        return 0.0;
    }

    // The value of a row as its kind (Null for a null row).
    Value value(std::size_t row) const;

    // Appending, the readers' fast paths; no conversion or range check.
    void reserve(std::size_t n);
    void appendNull();
    void appendInt32(std::int32_t v);
    void appendInt64(std::int64_t v);
    void appendDouble(double v);
    void appendText(std::string_view utf8);

    // Append or replace with conversion to the column's type. Throws
    // TableError for a value of an incompatible kind or out of range.
    void appendValue(const Value& v);
    void setValue(std::size_t row, const Value& v);

    void erase(std::size_t row);

    // Appends the given rows of `src` (a column of the same type), the batch
    // copy's fast path.
    void appendRows(const Column& src, const std::vector<std::uint32_t>* rows, std::size_t count);

private:
    std::uint32_t intern(std::string_view s);
    void markNull(std::size_t row, bool null);
    // Stores a converted value into the typed storage at `row` (== size_
    // appends).
    void store(std::size_t row, const Value& v);

    FieldType type_;
    StorageKind storage_;
    int textSize_;
    std::size_t size_ = 0;
    bool nullMask_ = false;  // nulls_ is kept (one byte a row) once a null was stored
    std::vector<std::uint8_t> nulls_;
    std::vector<std::int32_t> i32_;
    std::vector<std::int64_t> i64_;
    std::vector<double> f64_;
    std::vector<std::uint32_t> ids_;
    std::vector<std::string> dict_;
    // Looked up by string_view, so that finding a repeat allocates nothing.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> dictIndex_;
    bool interning_ = true;
};

}  // namespace zorv
