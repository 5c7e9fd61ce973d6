#include "table/Column.h"

#include <cmath>
#include <limits>

#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {

namespace {
// Past this many distinct texts a column stops looking for repeats: such a
// column holds free text, and the index would cost more than it saves.
constexpr std::size_t kMaxInterned = 1u << 16;

// Keeps at most `chars` UTF-8 characters.
std::string_view clipUtf8(std::string_view s, int chars) {
    if (chars <= 0) return s;
    std::size_t i = 0;
    int n = 0;
    while (i < s.size()) {
        if (n == chars) return s.substr(0, i);
        const auto c = static_cast<unsigned char>(s[i]);
        i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        ++n;
    }
    return s;
}

[[noreturn]] void badKind(FieldType t) {
    throw TableError(std::string("Niezgodny typ wartości dla pola typu ") + fieldTypeName(t));
}

[[noreturn]] void outOfRange(FieldType t) {
    throw TableError(std::string("Wartość poza zakresem pola typu ") + fieldTypeName(t));
}
}  // namespace

Column::Column(FieldType type, int size) : type_(type), storage_(storageOf(type)), textSize_(size) {
    if (storage_ == StorageKind::Text) intern("");
}

Value Column::value(std::size_t row) const {
    if (isNull(row) || storage_ == StorageKind::None) return {};
    switch (type_) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::AutoInc: return Value::integer(i32_[row]);
        case FieldType::Boolean: return Value::boolean(i32_[row] != 0);
        case FieldType::Date: return Value::date(i32_[row]);
        case FieldType::LargeInt: return Value::integer(i64_[row]);
        case FieldType::Float: return Value::real(f64_[row]);
        case FieldType::DateTime: return Value::dateTime(f64_[row]);
        case FieldType::Time: return Value::time(f64_[row]);
        case FieldType::String:
        case FieldType::Memo: return Value::text(dict_[ids_[row]]);
        case FieldType::Unknown: break;
    }
    return {};
}

void Column::reserve(std::size_t n) {
    switch (storage_) {
        case StorageKind::Int32: i32_.reserve(n); break;
        case StorageKind::Int64: i64_.reserve(n); break;
        case StorageKind::Double: f64_.reserve(n); break;
        case StorageKind::Text: ids_.reserve(n); break;
        case StorageKind::None: break;
    }
}

void Column::markNull(std::size_t row, bool null) {
    if (null && !nullMask_) {
        nulls_.assign(size_, 0);
        nullMask_ = true;
    }
    if (nullMask_) {
        if (row == nulls_.size())
            nulls_.push_back(null ? 1 : 0);
        else
            nulls_[row] = null ? 1 : 0;
    }
}

void Column::appendNull() {
    switch (storage_) {
        case StorageKind::Int32: i32_.push_back(0); break;
        case StorageKind::Int64: i64_.push_back(0); break;
        case StorageKind::Double: f64_.push_back(0.0); break;
        case StorageKind::Text: ids_.push_back(0); break;
        case StorageKind::None: break;
    }
    markNull(size_, true);
    ++size_;
}

void Column::appendInt32(std::int32_t v) {
    i32_.push_back(v);
    if (nullMask_) nulls_.push_back(0);
    ++size_;
}

void Column::appendInt64(std::int64_t v) {
    i64_.push_back(v);
    if (nullMask_) nulls_.push_back(0);
    ++size_;
}

void Column::appendDouble(double v) {
    f64_.push_back(v);
    if (nullMask_) nulls_.push_back(0);
    ++size_;
}

void Column::appendText(std::string_view utf8) {
    ids_.push_back(intern(clipUtf8(utf8, textSize_)));
    if (nullMask_) nulls_.push_back(0);
    ++size_;
}

std::uint32_t Column::intern(std::string_view s) {
    if (interning_) {
        const auto it = dictIndex_.find(s);
        if (it != dictIndex_.end()) return it->second;
    }
    const auto id = static_cast<std::uint32_t>(dict_.size());
    dict_.emplace_back(s);
    if (interning_) {
        dictIndex_.emplace(dict_.back(), id);
        if (dict_.size() > kMaxInterned) {
            interning_ = false;
            dictIndex_ = {};
        }
    }
    return id;
}

void Column::store(std::size_t row, const Value& v) {
    using K = Value::Kind;
    const bool append = row == size_;
    switch (type_) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::AutoInc:
        case FieldType::Boolean:
        case FieldType::Date: {
            std::int64_t x = 0;
            if (type_ == FieldType::Date) {
                if (v.kind() == K::Date)
                    x = v.toInt();
                else if (v.kind() == K::DateTime)
                    x = wholeDays(v.toDouble());
                else
                    badKind(type_);
            } else if (type_ == FieldType::Boolean) {
                if (v.kind() != K::Bool && v.kind() != K::Int) badKind(type_);
                x = v.toInt() != 0;
            } else {
                if (v.kind() == K::Int || v.kind() == K::Bool) {
                    x = v.toInt();
                } else if (v.kind() == K::Float) {
                    const double d = v.toDouble();
                    if (!std::isfinite(d) || d != std::trunc(d)) badKind(type_);
                    if (d < -9.3e18 || d > 9.3e18) outOfRange(type_);
                    x = static_cast<std::int64_t>(d);
                } else {
                    badKind(type_);
                }
                std::int64_t lo = std::numeric_limits<std::int32_t>::min();
                std::int64_t hi = std::numeric_limits<std::int32_t>::max();
                if (type_ == FieldType::SmallInt) lo = -32768, hi = 32767;
                if (type_ == FieldType::Word) lo = 0, hi = 65535;
                if (x < lo || x > hi) outOfRange(type_);
            }
            if (append)
                i32_.push_back(static_cast<std::int32_t>(x));
            else
                i32_[row] = static_cast<std::int32_t>(x);
            break;
        }
        case FieldType::LargeInt: {
            std::int64_t x = 0;
            if (v.kind() == K::Int || v.kind() == K::Bool)
                x = v.toInt();
            else if (v.kind() == K::Float && std::isfinite(v.toDouble()) &&
                     v.toDouble() == std::trunc(v.toDouble()) && std::fabs(v.toDouble()) < 9.2e18)
                x = v.toInt();
            else
                badKind(type_);
            if (append)
                i64_.push_back(x);
            else
                i64_[row] = x;
            break;
        }
        case FieldType::Float:
        case FieldType::DateTime:
        case FieldType::Time: {
            double x = 0;
            if (type_ == FieldType::Float) {
                if (v.kind() != K::Float && v.kind() != K::Int) badKind(type_);
                x = v.toDouble();
            } else if (type_ == FieldType::DateTime) {
                if (v.kind() != K::DateTime && v.kind() != K::Date) badKind(type_);
                x = v.toDouble();
            } else {
                if (v.kind() != K::Time && v.kind() != K::DateTime) badKind(type_);
                x = v.toDouble() - std::floor(v.toDouble());
            }
            if (append)
                f64_.push_back(x);
            else
                f64_[row] = x;
            break;
        }
        case FieldType::String:
        case FieldType::Memo: {
            if (v.kind() != K::Text) badKind(type_);
            const std::uint32_t id = intern(clipUtf8(v.textValue(), textSize_));
            if (append)
                ids_.push_back(id);
            else
                ids_[row] = id;
            break;
        }
        case FieldType::Unknown: badKind(type_);
    }
}

void Column::appendValue(const Value& v) {
    if (v.isNull()) {
        appendNull();
        return;
    }
    store(size_, v);
    markNull(size_, false);
    ++size_;
}

void Column::setValue(std::size_t row, const Value& v) {
    if (v.isNull()) {
        switch (storage_) {
            case StorageKind::Int32: i32_[row] = 0; break;
            case StorageKind::Int64: i64_[row] = 0; break;
            case StorageKind::Double: f64_[row] = 0.0; break;
            case StorageKind::Text: ids_[row] = 0; break;
            case StorageKind::None: break;
        }
        markNull(row, true);
        return;
    }
    store(row, v);
    markNull(row, false);
}

void Column::erase(std::size_t row) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    switch (storage_) {
        case StorageKind::Int32: i32_.erase(i32_.begin() + at); break;
        case StorageKind::Int64: i64_.erase(i64_.begin() + at); break;
        case StorageKind::Double: f64_.erase(f64_.begin() + at); break;
        case StorageKind::Text: ids_.erase(ids_.begin() + at); break;
        case StorageKind::None: break;
    }
    if (nullMask_) nulls_.erase(nulls_.begin() + at);
    --size_;
}

void Column::appendRows(const Column& src, const std::vector<std::uint32_t>* rows, std::size_t count) {
    reserve(size_ + count);
    auto rowAt = [&](std::size_t i) -> std::size_t { return rows ? (*rows)[i] : i; };
    if (src.hasNulls() || hasNulls()) {
        if (!nullMask_) nulls_.assign(size_, 0);
        nullMask_ = true;
        for (std::size_t i = 0; i < count; ++i) nulls_.push_back(src.isNull(rowAt(i)) ? 1 : 0);
    }
    switch (storage_) {
        case StorageKind::Int32:
            for (std::size_t i = 0; i < count; ++i) i32_.push_back(src.i32_[rowAt(i)]);
            break;
        case StorageKind::Int64:
            for (std::size_t i = 0; i < count; ++i) i64_.push_back(src.i64_[rowAt(i)]);
            break;
        case StorageKind::Double:
            for (std::size_t i = 0; i < count; ++i) f64_.push_back(src.f64_[rowAt(i)]);
            break;
        case StorageKind::Text: {
            // Map each distinct source text once.
            std::vector<std::uint32_t> remap(src.dict_.size(), UINT32_MAX);
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint32_t sid = src.ids_[rowAt(i)];
                if (remap[sid] == UINT32_MAX) remap[sid] = intern(clipUtf8(src.dict_[sid], textSize_));
                ids_.push_back(remap[sid]);
            }
            break;
        }
        case StorageKind::None: break;
    }
    size_ += count;
}

const char* fieldTypeName(FieldType t) {
    switch (t) {
        case FieldType::Unknown: return "unknown";
        case FieldType::String: return "string";
        case FieldType::SmallInt: return "smallint";
        case FieldType::Integer: return "integer";
        case FieldType::Word: return "word";
        case FieldType::LargeInt: return "largeint";
        case FieldType::Boolean: return "boolean";
        case FieldType::Float: return "float";
        case FieldType::Date: return "date";
        case FieldType::DateTime: return "datetime";
        case FieldType::Time: return "time";
        case FieldType::Memo: return "memo";
        case FieldType::AutoInc: return "autoinc";
    }
    return "unknown";
}

}  // namespace zorv
