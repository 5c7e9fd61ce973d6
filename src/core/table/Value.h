#pragma once
// One field value, typed by kind, as the table engine hands it out.

#include <cstdint>
#include <string>
#include <utility>

namespace zorv {

class Value {
public:
    enum class Kind : std::uint8_t { Null, Int, Float, Bool, Text, Date, DateTime, Time };

    Value() = default;
    static Value integer(std::int64_t v) { return Value(Kind::Int, v); }
    static Value real(double v) { return Value(Kind::Float, v); }
    static Value boolean(bool v) { return Value(Kind::Bool, std::int64_t{v ? 1 : 0}); }
    static Value text(std::string v) {
        Value r;
        r.kind_ = Kind::Text;
        r.text_ = std::move(v);
        return r;
    }
    static Value date(std::int32_t dayNumber) { return Value(Kind::Date, std::int64_t{dayNumber}); }
    static Value dateTime(double dayNumber) { return Value(Kind::DateTime, dayNumber); }
    static Value time(double dayFraction) { return Value(Kind::Time, dayFraction); }

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    // Numeric view: Int, Bool and Date as their integer, Float, DateTime and
    // Time as their double; Null and Text as 0.
    double toDouble() const;
    // Integer view: doubles truncated toward zero; Null and Text as 0.
    std::int64_t toInt() const;
    bool toBool() const { return toInt() != 0; }
    // The text of a Text value; empty for every other kind.
    const std::string& textValue() const { return text_; }

    friend bool operator==(const Value& a, const Value& b);

private:
    Value(Kind k, std::int64_t i) : kind_(k), i_(i) {}
    Value(Kind k, double d) : kind_(k), d_(d) {}

    Kind kind_ = Kind::Null;
    union {
        std::int64_t i_ = 0;
        double d_;
    };
    std::string text_;
};

}  // namespace zorv
