#pragma once
// Calendar arithmetic on day numbers.
//
// A day number counts days since 1899-12-30 (day 0), the epoch the catalogue
// files and reports use; a fractional part is the time of day. All dates are
// proleptic Gregorian. The conversions are the closed-form algorithms on the
// 400-year cycle, exact for every year from -32768 to 32767.

#include <cstdint>

namespace zorv {

struct CivilDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Day number of 0001-01-01; dBase level-7 timestamps and Paradox dates count
// days with that date as day 1.
inline constexpr std::int32_t kDayNumberOf00010101 = -693593;

constexpr bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int daysInMonth(int year, int month) {
    constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

constexpr bool isValidDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

// Days since 1970-01-01 of a civil date (no validity check).
constexpr std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

inline constexpr std::int64_t kUnixDaysOf18991230 = -25569;

constexpr std::int32_t dayNumber(int year, int month, int day) {
    return static_cast<std::int32_t>(daysFromCivil(year, month, day) - kUnixDaysOf18991230);
}

constexpr std::int32_t dayNumber(const CivilDate& c) { return dayNumber(c.year, c.month, c.day); }

constexpr CivilDate civilDate(std::int32_t dayNo) {
    return civilFromDays(static_cast<std::int64_t>(dayNo) + kUnixDaysOf18991230);
}

// Whole days of a date-time day number (floor, so times before 1899-12-30
// still fall on their own calendar day).
std::int32_t wholeDays(double dateTime);

// Time of day of a date-time day number, rounded to the millisecond.
TimeOfDay timeOfDay(double dateTime);

// Day fraction of a time of day.
double dayFraction(const TimeOfDay& t);

}  // namespace zorv
