#pragma once
// Dates and times of catalogues written elsewhere, read by no locale: ISO
// 8601 dates and date-times ("2021-03-04", "2021-03-04T05:06:07.25Z",
// "2021-03-04 05:06:07+01:00"), and dates written day first
// ("04.03.2021", "4/3/2021") or month first ("3/4/2021") in the order the
// user chose, each optionally followed by a time of day. A time with an
// offset from UTC is turned into UTC, which may move the date. A leap
// second (23:59:60) is kept as written. Years run from 1000 to 9999 (in
// UTC), as in the year columns of the catalogue forms.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zorv {

enum class DateOrder { Iso, DayFirst, MonthFirst };

// "ISO 8601", "dzień.miesiąc.rok", "miesiąc/dzień/rok".
const char* dateOrderName(DateOrder order);

struct CatalogueTime {
    std::int32_t day = 0;  // day number (days since 1899-12-30)
    bool hasTime = false;
    int hour = 0, minute = 0;
    double second = 0;  // [s], 0 <= second < 61
};

// Reads a date with an optional time. A non-ISO date takes `order` (with
// DateOrder::Iso it is refused); ISO dates are read in any order.
std::optional<CatalogueTime> parseCatalogueTime(std::string_view text, DateOrder order);

// Which order a non-ISO date allows: a first part above 12 is a day, a
// second part above 12 makes it month first. Nothing when it fits both or
// is no date of either form.
enum class DateFit { None, Iso, DayFirst, MonthFirst, Either };
DateFit dateFit(std::string_view text);

// A time of day "h:mm", "hh:mm:ss" or "hh:mm:ss.fff" alone.
bool parseTimeOfDay(std::string_view text, CatalogueTime& into);

}  // namespace zorv
