#include "interchange/CellValues.h"

#include <charconv>
#include <cmath>

#include "text/TextCase.h"

namespace zorv {

std::string_view trimBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r')) t.remove_suffix(1);
    return t;
}

std::optional<double> parseCellNumber(std::string_view text, bool decimalComma) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    char buffer[64];
    bool digit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (decimalComma && c == ',') {
            c = '.';
        } else if (c == '.' && decimalComma) {
            return std::nullopt;
        } else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') {
            return std::nullopt;
        }
        buffer[i] = c;
    }
    if (!digit) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(buffer, buffer + text.size(), v);
    if (ec != std::errc() || end != buffer + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

MissingValues::MissingValues(std::vector<std::string> marks, bool decimalComma) : marks_(std::move(marks)) {
    for (const std::string& m : marks_)
        if (const auto v = parseCellNumber(m, decimalComma)) numbers_.push_back(*v);
    // A mark written with a point is still a number in a decimal-comma file.
    if (decimalComma)
        for (const std::string& m : marks_)
            if (const auto v = parseCellNumber(m, false)) numbers_.push_back(*v);
}

bool MissingValues::isMissing(std::string_view text) const {
    text = trimBlanks(text);
    if (text.empty()) return true;
    if (text.size() <= 4) {
        const std::string folded = foldCase(text);
        if (folded == "nan" || folded == "na" || folded == "n/a" || folded == "null" || folded == "-")
            return true;
    }
    for (const std::string& m : marks_)
        if (text == m) return true;
    if (!numbers_.empty()) {
        for (const bool comma : {false, true})
            if (const auto v = parseCellNumber(text, comma))
                for (const double n : numbers_)
                    if (*v == n) return true;
    }
    return false;
}

}  // namespace zorv
