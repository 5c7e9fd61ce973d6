#include "interchange/CatalogueDates.h"

#include <charconv>
#include <cmath>

#include "interchange/CellValues.h"
#include "text/Dates.h"

namespace zorv {

namespace {

// Reads 1..maxDigits digits at `p`, advancing it.
bool digits(std::string_view t, std::size_t& p, int minDigits, int maxDigits, int& value) {
    int n = 0;
    value = 0;
    while (p < t.size() && n < maxDigits && t[p] >= '0' && t[p] <= '9') {
        value = value * 10 + (t[p] - '0');
        ++p;
        ++n;
    }
    return n >= minDigits;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// hh:mm[:ss[.fff]] from `p` to the end or an offset / Z.
bool timePart(std::string_view t, std::size_t& p, CatalogueTime& into) {
    int h = 0, m = 0, s = 0;
    if (!digits(t, p, 1, 2, h) || p >= t.size() || t[p] != ':') return false;
    ++p;
    if (!digits(t, p, 2, 2, m)) return false;
    double second = 0;
    if (p < t.size() && t[p] == ':') {
        ++p;
        if (!digits(t, p, 2, 2, s)) return false;
        second = s;
        if (p < t.size() && (t[p] == '.' || t[p] == ',')) {
            ++p;
            double scale = 0.1;
            int n = 0;
            while (p < t.size() && isDigit(t[p])) {
                second += scale * (t[p] - '0');
                scale /= 10;
                ++p;
                ++n;
            }
            if (n == 0) return false;
        }
    }
    if (h > 23 || m > 59 || s > 60) return false;
    // A leap second ends the last minute of a day only.
    if (s == 60 && !(h == 23 && m == 59)) return false;
    into.hasTime = true;
    into.hour = h;
    into.minute = m;
    into.second = second;
    return true;
}

// Z, +hh, +hh:mm, +hhmm (or -) at `p`: the offset in minutes.
bool offsetPart(std::string_view t, std::size_t& p, int& minutes) {
    minutes = 0;
    if (p >= t.size()) return true;
    if (t[p] == 'Z' || t[p] == 'z') {
        ++p;
        return true;
    }
    if (t[p] != '+' && t[p] != '-') return false;
    const int sign = t[p] == '-' ? -1 : 1;
    ++p;
    int h = 0, m = 0;
    if (!digits(t, p, 2, 2, h)) return false;
    if (p < t.size() && t[p] == ':') ++p;
    if (p < t.size() && !digits(t, p, 2, 2, m)) return false;
    if (h > 14 || m > 59) return false;
    minutes = sign * (h * 60 + m);
    return true;
}

// The offset applied: the time in UTC, the date moved when it crosses
// midnight.
void toUtc(CatalogueTime& t, int offsetMinutes) {
    if (offsetMinutes == 0) return;
    int total = t.hour * 60 + t.minute - offsetMinutes;
    while (total < 0) {
        total += 24 * 60;
        --t.day;
    }
    while (total >= 24 * 60) {
        total -= 24 * 60;
        ++t.day;
    }
    t.hour = total / 60;
    t.minute = total % 60;
}

// A year of four digits after the time is turned into UTC: the year
// columns, the ISO dates and the date fields read back the same only so.
std::optional<CatalogueTime> inCatalogueYears(const CatalogueTime& t) {
    const int year = civilDate(t.day).year;
    if (year < 1000 || year > 9999) return std::nullopt;
    return t;
}

std::optional<CatalogueTime> isoTime(std::string_view t) {
    std::size_t p = 0;
    int y = 0, mo = 0, d = 0;
    if (!digits(t, p, 4, 4, y) || p >= t.size() || (t[p] != '-' && t[p] != '/')) return std::nullopt;
    const char dash = t[p++];
    if (!digits(t, p, 1, 2, mo) || p >= t.size() || t[p] != dash) return std::nullopt;
    ++p;
    if (!digits(t, p, 1, 2, d) || !isValidDate(y, mo, d)) return std::nullopt;
    CatalogueTime out;
    out.day = dayNumber(y, mo, d);
    if (p == t.size()) return inCatalogueYears(out);
    if (t[p] != 'T' && t[p] != 't' && t[p] != ' ') return std::nullopt;
    ++p;
    while (p < t.size() && t[p] == ' ') ++p;
    if (!timePart(t, p, out)) return std::nullopt;
    int offset = 0;
    if (!offsetPart(t, p, offset) || p != t.size()) return std::nullopt;
    toUtc(out, offset);
    return inCatalogueYears(out);
}

struct Parts {
    int a = 0, b = 0, year = 0;
    std::size_t end = 0;
};

// a.b.yyyy, a/b/yyyy or a-b-yyyy with one or two digits for a and b.
std::optional<Parts> numericDate(std::string_view t) {
    Parts r;
    std::size_t p = 0;
    if (!digits(t, p, 1, 2, r.a) || p >= t.size()) return std::nullopt;
    const char sep = t[p];
    if (sep != '.' && sep != '/' && sep != '-') return std::nullopt;
    ++p;
    if (!digits(t, p, 1, 2, r.b) || p >= t.size() || t[p] != sep) return std::nullopt;
    ++p;
    if (!digits(t, p, 4, 4, r.year)) return std::nullopt;
    r.end = p;
    return r;
}

}  // namespace

const char* dateOrderName(DateOrder order) {
    switch (order) {
        case DateOrder::Iso: return "ISO 8601";
        case DateOrder::DayFirst: return "dzień.miesiąc.rok";
        case DateOrder::MonthFirst: break;
    }
    return "miesiąc/dzień/rok";
}

bool parseTimeOfDay(std::string_view text, CatalogueTime& into) {
    text = trimBlanks(text);
    std::size_t p = 0;
    CatalogueTime t = into;
    if (!timePart(text, p, t) || p != text.size()) return false;
    into = t;
    return true;
}

std::optional<CatalogueTime> parseCatalogueTime(std::string_view text, DateOrder order) {
    text = trimBlanks(text);
    if (auto iso = isoTime(text)) return iso;
    if (order == DateOrder::Iso) return std::nullopt;
    const auto parts = numericDate(text);
    if (!parts) return std::nullopt;
    const int day = order == DateOrder::DayFirst ? parts->a : parts->b;
    const int month = order == DateOrder::DayFirst ? parts->b : parts->a;
    if (!isValidDate(parts->year, month, day)) return std::nullopt;
    CatalogueTime out;
    out.day = dayNumber(parts->year, month, day);
    std::size_t p = parts->end;
    if (p == text.size()) return inCatalogueYears(out);
    if (text[p] != ' ' && text[p] != 'T') return std::nullopt;
    while (p < text.size() && (text[p] == ' ' || text[p] == 'T')) ++p;
    if (!timePart(text, p, out)) return std::nullopt;
    int offset = 0;
    if (!offsetPart(text, p, offset) || p != text.size()) return std::nullopt;
    toUtc(out, offset);
    return inCatalogueYears(out);
}

DateFit dateFit(std::string_view text) {
    text = trimBlanks(text);
    if (isoTime(text)) return DateFit::Iso;
    const bool day = parseCatalogueTime(text, DateOrder::DayFirst).has_value();
    const bool month = parseCatalogueTime(text, DateOrder::MonthFirst).has_value();
    if (day && month) return DateFit::Either;
    if (day) return DateFit::DayFirst;
    if (month) return DateFit::MonthFirst;
    return DateFit::None;
}

}  // namespace zorv
