#include "table/Value.h"

namespace zorv {

double Value::toDouble() const {
    switch (kind_) {
        case Kind::Int:
        case Kind::Bool:
        case Kind::Date: return static_cast<double>(i_);
        case Kind::Float:
        case Kind::DateTime:
        case Kind::Time: return d_;
        case Kind::Null:
        case Kind::Text: break;
    }
    return 0.0;
}

std::int64_t Value::toInt() const {
    switch (kind_) {
        case Kind::Int:
        case Kind::Bool:
        case Kind::Date: return i_;
        case Kind::Float:
        case Kind::DateTime:
        case Kind::Time: return static_cast<std::int64_t>(d_);
        case Kind::Null:
        case Kind::Text: break;
    }
    return 0;
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
        case Value::Kind::Null: return true;
        case Value::Kind::Int:
        case Value::Kind::Bool:
        case Value::Kind::Date: return a.i_ == b.i_;
        case Value::Kind::Float:
        case Value::Kind::DateTime:
        case Value::Kind::Time: return a.d_ == b.d_;
        case Value::Kind::Text: return a.text_ == b.text_;
    }
    return false;
}

}  // namespace zorv
