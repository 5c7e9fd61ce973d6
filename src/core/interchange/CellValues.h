#pragma once
// The values of cells read from catalogues written elsewhere: numbers with a
// decimal point or comma, read by no locale, and the marks of a missing
// value.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// A number: optional sign, digits with an optional fraction after a point
// (or, with `decimalComma`, a comma), an optional exponent; blanks around it
// allowed. Nothing for any other text, infinities and NaN included.
std::optional<double> parseCellNumber(std::string_view text, bool decimalComma);

// Whether the text has no value: empty or blank, "NaN", "NA", "N/A", "null"
// or "-" (any case), or one of the user's own marks (such as -999, matched as
// text and, when both are numbers, by value).
class MissingValues {
public:
    MissingValues() = default;
    explicit MissingValues(std::vector<std::string> marks, bool decimalComma = false);
    bool isMissing(std::string_view text) const;
    const std::vector<std::string>& marks() const { return marks_; }

private:
    std::vector<std::string> marks_;
    std::vector<double> numbers_;
};

// The text without blanks and tabs at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace zorv
