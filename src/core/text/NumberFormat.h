#pragma once
// Numbers written with picture masks and in the general format, and numbers
// read back in the user's locale.
//
// Every function rounds on the decimal digits a reader sees: the value's
// shortest text that reads back to the same double (so 2.675 is taken as
// 2.675, not as the binary 2.67499999999999982236431605997495353221893310546875).

#include <optional>
#include <string>
#include <string_view>

#include "text/Locale.h"

namespace zorv {

// Writes `value` through a picture mask.
//
//   0      obligatory digit; in the integer part every placeholder from the
//          first "0" on is obligatory, in the fraction every one up to the
//          last "0"
//   #      optional digit: leading integer zeros and trailing fraction zeros
//          are left out
//   .      decimal point, printed as locale.decimalSeparator; it is left out
//          when no fraction digit follows it
//   ,      anywhere in the integer part: digits grouped by three with
//          locale.thousandsSeparator
//   E+ e+  exponent, always signed; E- e- signed only when negative; the
//          zeros after it give the minimum exponent digits. The letter is
//          printed as written. The mantissa has as many integer digits as
//          the integer part has placeholders ("0.00E+00": one, "00.0E+0":
//          two).
//   ;      separates up to three sections: positive; negative; zero. The
//          negative section gets the absolute value and no minus sign; the
//          zero section is used when the value rounds to zero in the first
//          one. An empty or missing section falls back to the first.
//
// Text before the first placeholder and after the number is copied as it is,
// quoted text ('...' or "...") without its quotes. A minus sign goes right
// before the digits, after such leading text.
//
// Rounding is half away from zero; a value that rounds to zero prints
// without a minus sign. A number never prints as an empty cell or a bare
// separator: where the classical notation would print no integer digit, a
// single "0" is printed. So "#" prints 0 as "0" and 0.5 as "1"; "#.##" prints
// 0.5 as "0.5" and 3 as "3". An empty mask, or a first section with no
// placeholder, gives formatGeneral(). NaN and infinities print as "NaN",
// "INF" and "-INF" whatever the mask.
std::string formatMask(double value, std::string_view mask, const Locale& locale);

// The general floating format: the shortest text that reads back to the value,
// limited to 15 significant digits (so 0.1 + 0.2 prints as "0.3"). Values
// whose decimal exponent lies in -5..14 are written in fixed notation
// ("0.00001", "100000000000000"); others as a mantissa, "E", a sign always and
// the exponent without leading zeros ("1E-6", "1.5E+20", "-2.5E+15"). Zero,
// negative zero included, is "0"; NaN and infinities as in formatMask().
// The text of every finite double reads back through parseNumber(): to the
// value itself when it has at most 15 significant digits, otherwise to the
// double nearest its 15 digits. The four doubles from 1.7976931348623151E+308
// up, whose 15 digits would round past the largest double, are written with
// their 17 exact digits instead.
std::string formatGeneral(double value, const Locale& locale);

// Reads a number written with the locale's decimal separator: optional sign,
// digits with an optional fraction (at least one digit in all: "5," and ",5"
// are read in the comma locale), optional exponent ("E" or "e", optional sign,
// digits); blanks and tabs around it allowed. Returns nothing for empty text,
// grouping characters, the other decimal separator, a second separator,
// letters, and a value too large for a double; a value too small underflows
// to zero.
std::optional<double> parseNumber(std::string_view text, const Locale& locale);

}  // namespace zorv
