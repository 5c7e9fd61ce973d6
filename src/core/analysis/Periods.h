#pragma once
// Calendar periods: whole span, quarters, months and years, their labels
// and captions.

#include <cstdint>
#include <string>

#include "text/Locale.h"

namespace zorv {

enum class PeriodKind : std::uint8_t { WholeSpan = 0, Quarters = 1, Months = 2, Years = 3 };

// "Kwartalna ", "Miesięczna ", "Roczna " (with a trailing blank); "" for the
// whole span.
std::string periodAdjective(PeriodKind kind);
// "Kwartały", "Miesiące", "Lata"; "Okres" for any other kind.
std::string periodAxisCaption(PeriodKind kind);
// Roman numerals 1..12.
const char* romanNumeral(int n);

// First and last day (day numbers, both inclusive) of a quarter, month or
// year. Month lengths follow the Gregorian calendar.
struct DayRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};
DayRange quarterDays(int year, int quarter);
DayRange monthDays(int year, int month);
DayRange yearDays(int year);

// The date-range filter text: Field>='D(first)' AND Field<='D(last)', dates
// in the locale's short format.
std::string periodExpression(const std::string& dateField, std::int32_t first, std::int32_t last,
                             const Locale& locale);

}  // namespace zorv
