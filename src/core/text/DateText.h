#pragma once
// Dates written and read in the locale's short date format.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/Locale.h"

namespace zorv {

// The date of a day number in the locale's short date pattern.
std::string formatDate(std::int32_t dayNumber, const Locale& locale);

// Reads a date written in the locale's short date pattern (one- or two-digit
// day and month, four-digit year; a two-digit year is taken as 19xx/20xx
// around 1950) or as ISO yyyy-mm-dd. Surrounding blanks are ignored.
// Returns nothing for any other text or an impossible date.
std::optional<std::int32_t> parseDate(std::string_view text, const Locale& locale);

}  // namespace zorv
