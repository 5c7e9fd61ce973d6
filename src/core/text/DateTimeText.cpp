#include "text/DateTimeText.h"

#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {

namespace {

void appendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Reads "h:mm" or "h:mm:ss" as a day fraction.
std::optional<double> parseTime(std::string_view s) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (true) {
        const std::size_t start = i;
        int value = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < 2; ++i)
            value = value * 10 + (s[i] - '0');
        const std::size_t digits = i - start;
        if (digits == 0 || (count > 0 && digits != 2)) return std::nullopt;
        parts[count++] = value;
        if (i == s.size()) break;
        if (s[i] != ':' || count == 3) return std::nullopt;
        ++i;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return dayFraction({parts[0], parts[1], parts[2], 0});
}

}  // namespace

std::string formatTime(double dayFraction) {
    const TimeOfDay t = timeOfDay(dayFraction);
    std::string out;
    appendTwoDigits(out, t.hour);
    out += ':';
    appendTwoDigits(out, t.minute);
    out += ':';
    appendTwoDigits(out, t.second);
    return out;
}

std::string formatDateTime(double dayNumber, const Locale& locale) {
    const std::int32_t day = wholeDays(dayNumber);
    const TimeOfDay t = timeOfDay(dayNumber);
    if (day == 0) return formatTime(dayNumber);
    if (t.hour == 0 && t.minute == 0 && t.second == 0) return formatDate(day, locale);
    return formatDate(day, locale) + ' ' + formatTime(dayNumber);
}

std::optional<double> parseDateTime(std::string_view text, const Locale& locale) {
    const std::string_view s = trim(text);
    if (auto date = parseDate(s, locale)) return *date;
    // The time is the last blank-separated word; a date pattern may itself
    // hold blanks ("d. M. yyyy").
    std::size_t blank = s.size();
    while (blank > 0 && !isBlank(s[blank - 1])) --blank;
    if (blank == 0) return std::nullopt;
    const auto date = parseDate(trim(s.substr(0, blank)), locale);
    if (!date) return std::nullopt;
    const auto time = parseTime(s.substr(blank));
    if (!time) return std::nullopt;
    return *date + *time;
}

}  // namespace zorv
