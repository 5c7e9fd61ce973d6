#include "text/DateText.h"

#include "text/Dates.h"

namespace zorv {

namespace {

void appendNumber(std::string& out, int value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    for (int i = static_cast<int>(digits.size()); i < minDigits; ++i) out += '0';
    out += digits;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Reads 1..maxDigits digits at `i`.
bool readNumber(std::string_view s, std::size_t& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < maxDigits) {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    return digits > 0;
}

std::optional<std::int32_t> parseWithPattern(std::string_view s, std::string_view pattern) {
    int year = -1, month = -1, day = -1;
    std::size_t i = 0;
    for (std::size_t p = 0; p < pattern.size();) {
        const char c = pattern[p];
        if (c == 'd' || c == 'M' || c == 'y') {
            std::size_t q = p;
            while (q < pattern.size() && pattern[q] == c) ++q;
            int value = 0, digits = 0;
            if (!readNumber(s, i, c == 'y' ? 4 : 2, value, digits)) return std::nullopt;
            if (c == 'd') day = value;
            if (c == 'M') month = value;
            if (c == 'y') {
                if (digits == 2)
                    value += value < 50 ? 2000 : 1900;
                else if (digits != 4)
                    return std::nullopt;
                year = value;
            }
            p = q;
        } else {
            if (i >= s.size() || s[i] != c) return std::nullopt;
            ++i;
            ++p;
        }
    }
    if (i != s.size() || year < 0 || month < 0 || day < 0) return std::nullopt;
    if (!isValidDate(year, month, day)) return std::nullopt;
    return dayNumber(year, month, day);
}

}  // namespace

std::string formatDate(std::int32_t dayNo, const Locale& locale) {
    const CivilDate c = civilDate(dayNo);
    std::string out;
    const std::string& pattern = locale.shortDatePattern;
    for (std::size_t p = 0; p < pattern.size();) {
        const char ch = pattern[p];
        if (ch == 'd' || ch == 'M' || ch == 'y') {
            std::size_t q = p;
            while (q < pattern.size() && pattern[q] == ch) ++q;
            const int width = static_cast<int>(q - p);
            if (ch == 'd') appendNumber(out, c.day, width >= 2 ? 2 : 1);
            if (ch == 'M') appendNumber(out, c.month, width >= 2 ? 2 : 1);
            if (ch == 'y') appendNumber(out, width <= 2 ? c.year % 100 : c.year, width <= 2 ? 2 : 4);
            p = q;
        } else {
            out += ch;
            ++p;
        }
    }
    return out;
}

std::optional<std::int32_t> parseDate(std::string_view text, const Locale& locale) {
    const std::string_view s = trim(text);
    if (auto d = parseWithPattern(s, locale.shortDatePattern)) return d;
    return parseWithPattern(s, "yyyy-MM-dd");
}

}  // namespace zorv
