// The text of every field type's values in the comma locale.

#include <gtest/gtest.h>

#include "table/ValueText.h"
#include "text/Dates.h"

namespace zorv {
namespace {

TEST(ValueText, EveryFieldTypeInTheCommaLocale) {
    const double april1 = dayNumber(2004, 4, 1);
    const struct {
        const char* name;
        Value value;
        FieldType type;
        const char* mask;
        const char* expected;
    } rows[] = {
        {"null", Value(), FieldType::Float, "", ""},
        {"integer", Value::integer(-42), FieldType::Integer, "", "-42"},
        {"large integer", Value::integer(-9000000000), FieldType::LargeInt, "", "-9000000000"},
        {"float, general", Value::real(1.96), FieldType::Float, "", "1,96"},
        {"float, display mask", Value::real(1.5), FieldType::Float, "0.000", "1,500"},
        {"date", Value::date(dayNumber(2004, 4, 1)), FieldType::Date, "", "01.04.2004"},
        {"date-time", Value::dateTime(april1 + 0.75), FieldType::DateTime, "", "01.04.2004 18:00:00"},
        {"date-time at midnight", Value::dateTime(april1), FieldType::DateTime, "", "01.04.2004"},
        {"time", Value::time(0.25), FieldType::Time, "", "06:00:00"},
        {"true", Value::boolean(true), FieldType::Boolean, "", "Prawda"},
        {"false", Value::boolean(false), FieldType::Boolean, "", "Fałsz"},
        {"text", Value::text("Oddział Ł-1"), FieldType::String, "", "Oddział Ł-1"},
        {"text kept in a number field", Value::text("12x"), FieldType::Float, "0.00", "12x"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(valueText(r.value, r.type, Locale::comma(), r.mask), r.expected) << r.name;
}

}  // namespace
}  // namespace zorv
