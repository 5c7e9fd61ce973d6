#include "analysis/Periods.h"

#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {

std::string periodAdjective(PeriodKind kind) {
    switch (kind) {
        case PeriodKind::Quarters: return "Kwartalna ";
        case PeriodKind::Months: return "Miesięczna ";
        case PeriodKind::Years: return "Roczna ";
        case PeriodKind::WholeSpan: break;
    }
    return {};
}

std::string periodAxisCaption(PeriodKind kind) {
    switch (kind) {
        case PeriodKind::Quarters: return "Kwartały";
        case PeriodKind::Months: return "Miesiące";
        case PeriodKind::Years: return "Lata";
        case PeriodKind::WholeSpan: break;
    }
    return "Okres";
}

const char* romanNumeral(int n) {
    static const char* const numerals[] = {"",    "I",    "II", "III", "IV", "V",  "VI",
                                           "VII", "VIII", "IX", "X",   "XI", "XII"};
    return n >= 1 && n <= 12 ? numerals[n] : "";
}

DayRange quarterDays(int year, int quarter) {
    return {dayNumber(year, 3 * quarter - 2, 1),
            dayNumber(year, 3 * quarter, daysInMonth(year, 3 * quarter))};
}

DayRange monthDays(int year, int month) {
    return {dayNumber(year, month, 1), dayNumber(year, month, daysInMonth(year, month))};
}

DayRange yearDays(int year) { return {dayNumber(year, 1, 1), dayNumber(year, 12, 31)}; }

std::string periodExpression(const std::string& dateField, std::int32_t first, std::int32_t last,
                             const Locale& locale) {
    return dateField + ">='" + formatDate(first, locale) + "' AND " + dateField + "<='" +
           formatDate(last, locale) + "'";
}

}  // namespace zorv
