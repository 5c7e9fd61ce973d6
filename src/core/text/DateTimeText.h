#pragma once
// Date-time values (day numbers with the time of day as fraction) as text.

#include <optional>
#include <string>
#include <string_view>

#include "text/Locale.h"

namespace zorv {

// "hh:mm:ss", 24-hour clock, two digits each. Whole days are ignored and
// the time is rounded to the millisecond first; the milliseconds are then cut
// off, so a time never shows as 24:00:00.
std::string formatTime(double dayFraction);

// The date in the locale's short date format, one space and the time. A value
// whose time of day shows as 00:00:00 is written as the date alone; a value on
// day 0 (1899-12-30, the day of values that carry a time only) as the time
// alone. Day number 0 itself is midnight of a time-only value: "00:00:00".
std::string formatDateTime(double dayNumber, const Locale& locale);

// Reads a date in the locale's short date format (or ISO yyyy-mm-dd),
// optionally followed by blanks and a time "h:mm" or "h:mm:ss" (hour 0..23,
// two-digit minutes and seconds). Surrounding blanks are ignored. Returns
// nothing for any other text.
std::optional<double> parseDateTime(std::string_view text, const Locale& locale);

}  // namespace zorv
