#pragma once
// The user's number and date conventions, handed into the core by value.

#include <string>

namespace zorv {

struct Locale {
    // Character written and accepted between the integer and fraction digits.
    char decimalSeparator = '.';
    // Grouping character of masks with "#,##0" (written only, never parsed).
    char thousandsSeparator = ',';
    // Short date pattern: d, dd, M, MM, yy, yyyy and literal separators.
    // A two-digit year is widened to four digits on construction through
    // withShortDate(), so dates are never ambiguous.
    std::string shortDatePattern = "yyyy-MM-dd";

    // A locale with the given pattern, its year widened to four digits.
    static Locale make(char decimalSeparator, std::string shortDatePattern, char thousandsSeparator = 0);
    // English-like: point, "M/d/yyyy".
    static Locale point();
    // Polish: comma, "dd.MM.yyyy".
    static Locale comma();

    friend bool operator==(const Locale&, const Locale&) = default;
};

// Widens "yy" to "yyyy" in a short date pattern (other tokens unchanged).
std::string widenYear(const std::string& pattern);

}  // namespace zorv
