#include "text/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace zorv {

namespace {

// Significant decimal digits of a magnitude: value = 0.digits × 10^point.
struct Digits {
    std::string digits;  // no leading or trailing zeros; empty for zero
    int point = 0;
};

// Parses the "d.ddde±XX" text of std::to_chars.
Digits fromScientific(const char* first, const char* last) {
    Digits d;
    const char* e = std::find(first, last, 'e');
    for (const char* p = first; p < e; ++p)
        if (*p != '.') d.digits += *p;
    int exponent = 0;
    if (e != last) std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), last, exponent);
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    d.point = d.digits.empty() ? 0 : exponent + 1;
    return d;
}

// Shortest digits that read back to |value|, or, with `significant` > 0,
// |value| correctly rounded to that many digits.
Digits decimalDigits(double value, int significant = 0) {
    char buf[64];
    const double a = std::fabs(value);
    const auto r = significant > 0 ? std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                                                   significant - 1)
                                   : std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    return fromScientific(buf, r.ptr);
}

// Keeps the first `keep` significant digits, rounding half away from zero on
// the decimal digits (the digits are exact, so "next digit >= 5" is the rule).
void roundDigits(Digits& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9'; --i)
            d.digits[static_cast<std::size_t>(i)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
}

char digitAt(const Digits& d, int index) {
    return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(index)]
                                                                   : '0';
}

std::string nonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-INF" : "INF";
}

// One section of a picture mask.
struct Section {
    std::string prefix;  // literal text before the number (all of it without placeholders)
    std::string suffix;  // literal text after the number
    bool hasPlaceholder = false;
    int intPlaces = 0;  // placeholders before the decimal point
    int minInt = 0;     // obligatory integer digits
    bool grouping = false;
    int minFrac = 0;  // obligatory fraction digits
    int maxFrac = 0;  // all fraction placeholders
    bool exponent = false;
    char expLetter = 'E';
    bool expAlwaysSigned = false;
    int expDigits = 0;  // minimum exponent digits
};

// Splits a mask at ';' outside quotes.
std::vector<std::string_view> splitSections(std::string_view mask) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            out.push_back(mask.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(mask.substr(start));
    return out;
}

Section parseSection(std::string_view s) {
    Section sec;
    enum class State { Prefix, Integer, Fraction, Suffix } state = State::Prefix;
    bool zeroSeen = false;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const bool startsNumber = c == '0' || c == '#' || c == '.';
        if (state == State::Suffix || (state == State::Prefix && !startsNumber)) {
            std::string& out = state == State::Prefix ? sec.prefix : sec.suffix;
            if (c == '\'' || c == '"') {
                std::size_t end = s.find(c, i + 1);
                if (end == std::string_view::npos) end = s.size();
                out += s.substr(i + 1, end - i - 1);
                i = std::min(end + 1, s.size());
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        if (state == State::Prefix) state = State::Integer;
        if (c == '0' || c == '#') {
            sec.hasPlaceholder = true;
            if (state == State::Integer) {
                ++sec.intPlaces;
                zeroSeen = zeroSeen || c == '0';
                if (zeroSeen) ++sec.minInt;
            } else {
                ++sec.maxFrac;
                if (c == '0') sec.minFrac = sec.maxFrac;
            }
            ++i;
        } else if (c == ',') {
            // Grouping is a property of the integer part wherever the comma
            // stands; a comma in the fraction means nothing.
            if (state == State::Integer) sec.grouping = true;
            ++i;
        } else if (c == '.' && state == State::Integer) {
            state = State::Fraction;
            ++i;
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            sec.exponent = true;
            sec.expLetter = c;
            sec.expAlwaysSigned = s[i + 1] == '+';
            i += 2;
            for (; i < s.size() && s[i] == '0'; ++i) ++sec.expDigits;
            sec.expDigits = std::max(sec.expDigits, 1);
            state = State::Suffix;
        } else {
            state = State::Suffix;  // this character is the first of the suffix
        }
    }
    return sec;
}

std::string grouped(const std::string& digits, char separator) {
    if (!separator || digits.size() <= 3) return digits;
    std::string out;
    const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    out.append(digits, 0, lead);
    for (std::size_t i = lead; i < digits.size(); i += 3) {
        out += separator;
        out.append(digits, i, 3);
    }
    return out;
}

// The digits (and exponent) of a magnitude in one section, without sign or
// literal text. `isZero` tells whether it rounded to zero.
std::string formatNumber(Digits d, const Section& sec, const Locale& locale, bool& isZero) {
    std::string intDigits;
    std::string frac;
    int exponent = 0;
    if (sec.exponent) {
        const int k = sec.intPlaces;
        if (!d.digits.empty()) {
            roundDigits(d, k + sec.maxFrac);
            exponent = d.point - k;
        }
        for (int i = 0; i < k; ++i) intDigits += digitAt(d, i);
        for (int i = 0; i < sec.maxFrac; ++i) frac += digitAt(d, k + i);
    } else {
        roundDigits(d, d.point + sec.maxFrac);
        for (int i = 0; i < d.point; ++i) intDigits += digitAt(d, i);
        for (int i = 0; i < sec.maxFrac; ++i) frac += digitAt(d, d.point + i);
    }
    isZero = d.digits.empty();

    const auto firstNonZero = intDigits.find_first_not_of('0');
    intDigits.erase(0, firstNonZero == std::string::npos ? intDigits.size() : firstNonZero);
    const auto minInt = static_cast<std::size_t>(std::max(sec.minInt, 1));
    if (intDigits.size() < minInt) intDigits.insert(0, minInt - intDigits.size(), '0');
    while (static_cast<int>(frac.size()) > sec.minFrac && frac.back() == '0') frac.pop_back();

    std::string out =
        sec.grouping && !sec.exponent ? grouped(intDigits, locale.thousandsSeparator) : intDigits;
    if (!frac.empty()) {
        out += locale.decimalSeparator;
        out += frac;
    }
    if (sec.exponent) {
        out += sec.expLetter;
        if (exponent < 0)
            out += '-';
        else if (sec.expAlwaysSigned)
            out += '+';
        const std::string e = std::to_string(std::abs(exponent));
        if (static_cast<int>(e.size()) < sec.expDigits)
            out.append(static_cast<std::size_t>(sec.expDigits) - e.size(), '0');
        out += e;
    }
    return out;
}

// A section applied to a magnitude (no minus sign); literal text only when
// the section has no placeholder.
std::string formatInSection(const Digits& d, const Section& sec, const Locale& locale) {
    if (!sec.hasPlaceholder) return sec.prefix;
    bool zero = false;
    return sec.prefix + formatNumber(d, sec, locale, zero) + sec.suffix;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The largest double whose 15 significant digits (1.79769313486231E+308)
// still name a finite double.
constexpr double kLargestWithin15Digits = 1.797693134862315e308;

}  // namespace

std::string formatMask(double value, std::string_view mask, const Locale& locale) {
    if (!std::isfinite(value)) return nonFinite(value);
    const std::vector<std::string_view> sections = splitSections(mask);
    const Section positive = parseSection(sections[0]);
    if (!positive.hasPlaceholder) return formatGeneral(value, locale);

    const Digits d = decimalDigits(value);
    bool zero = false;
    const std::string body = formatNumber(d, positive, locale, zero);
    if (zero) {
        if (sections.size() > 2 && !sections[2].empty())
            return formatInSection(Digits{}, parseSection(sections[2]), locale);
        return positive.prefix + body + positive.suffix;
    }
    if (value < 0 && sections.size() > 1 && !sections[1].empty())
        return formatInSection(d, parseSection(sections[1]), locale);
    return positive.prefix + (value < 0 ? "-" : "") + body + positive.suffix;
}

std::string formatGeneral(double value, const Locale& locale) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0) return "0";
    Digits d = decimalDigits(value);
    // Fifteen digits of the four doubles above kLargestWithin15Digits round up
    // past the largest double, to a text that reads back as no number; those
    // keep their shortest exact digits (17).
    if (d.digits.size() > 15 && std::fabs(value) <= kLargestWithin15Digits) d = decimalDigits(value, 15);

    std::string out = value < 0 ? "-" : "";
    const int exponent = d.point - 1;
    if (exponent >= -5 && exponent <= 14) {
        std::string frac;
        if (d.point <= 0) {
            out += '0';
            frac = std::string(static_cast<std::size_t>(-d.point), '0') + d.digits;
        } else {
            for (int i = 0; i < d.point; ++i) out += digitAt(d, i);
            if (static_cast<int>(d.digits.size()) > d.point)
                frac = d.digits.substr(static_cast<std::size_t>(d.point));
        }
        if (!frac.empty()) {
            out += locale.decimalSeparator;
            out += frac;
        }
    } else {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += locale.decimalSeparator;
            out += d.digits.substr(1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        out += std::to_string(std::abs(exponent));
    }
    return out;
}

std::optional<double> parseNumber(std::string_view text, const Locale& locale) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);

    // Rebuilt with a point for std::from_chars, which never depends on the
    // process locale (the GUI sets LC_NUMERIC to the user's).
    std::string buf;
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        if (negative) buf += '-';
        ++i;
    }
    int mantissaDigits = 0;
    // Decimal exponent of the first non-zero mantissa digit, less the written
    // exponent; only needed to tell overflow from underflow.
    long long leading = 0;
    bool nonZeroSeen = false;
    int intDigits = 0;
    for (; i < n && isDigit(text[i]); ++i, ++mantissaDigits, ++intDigits) {
        if (!nonZeroSeen && text[i] != '0') {
            nonZeroSeen = true;
            leading = -intDigits;  // fixed up below, once the length is known
        }
        buf += text[i];
    }
    if (nonZeroSeen) leading += intDigits - 1;
    if (i < n && text[i] == locale.decimalSeparator) {
        buf += '.';
        ++i;
        for (int pos = 1; i < n && isDigit(text[i]); ++i, ++mantissaDigits, ++pos) {
            if (!nonZeroSeen && text[i] != '0') {
                nonZeroSeen = true;
                leading = -pos;
            }
            buf += text[i];
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        buf += 'e';
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            buf += text[i];
            ++i;
        }
        int expDigits = 0;
        for (; i < n && isDigit(text[i]); ++i, ++expDigits) {
            buf += text[i];
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
        }
        if (expDigits == 0) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return std::nullopt;

    double value = 0;
    const auto r = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        if (leading + exponent > 0) return std::nullopt;  // beyond the largest double
        return negative ? -0.0 : 0.0;
    }
    if (r.ec != std::errc() || r.ptr != buf.data() + buf.size()) return std::nullopt;
    return value;
}

}  // namespace zorv
