#include "dbase/DbaseCodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "table/TableError.h"
#include "text/Cp1250.h"
#include "text/Dates.h"

namespace zorv {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Milliseconds from 0001-01-01 counted as day 1 to day number 0.
constexpr std::int64_t kTimestampOfDayZero = (1 - std::int64_t{kDayNumberOf00010101}) * kMsPerDay;
constexpr std::int32_t kLongMax = std::numeric_limits<std::int32_t>::max();

std::uint64_t be64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
    return v;
}

void putBe64(std::uint64_t v, unsigned char* p) {
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<unsigned char>(v);
        v >>= 8;
    }
}

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

double doubleOf(std::uint64_t u) {
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

bool isPad(char c) { return c == ' ' || c == '\0'; }

std::string_view trimmed(std::string_view s) {
    std::size_t i = 0, n = s.size();
    while (i < n && isPad(s[i])) ++i;
    while (n > i && isPad(s[n - 1])) --n;
    return s.substr(i, n - i);
}

// UTF-8 form of each windows-1250 byte.
struct Utf8Of1250 {
    unsigned char size[256];
    char bytes[256][4];
    Utf8Of1250() {
        for (int b = 0; b < 256; ++b) {
            std::string s;
            appendUtf8(s, cp1250CodePoint(static_cast<unsigned char>(b)));
            size[b] = static_cast<unsigned char>(s.size());
            std::memcpy(bytes[b], s.data(), s.size());
        }
    }
};

const Utf8Of1250& utf8Of1250() {
    static const Utf8Of1250 table;
    return table;
}

std::string fixedText(double v, int decimals) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

std::string integerText(std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

[[noreturn]] void wrongKind(const DbaseField& f) {
    throw TableError("Niezgodny typ wartości dla pola " + describeDbaseField(f) + " pliku dBase");
}

[[noreturn]] void doesNotFit(const DbaseField& f, const std::string& value) {
    throw TableError("Wartość " + value + " nie mieści się w polu " + describeDbaseField(f) + " pliku dBase");
}

bool isBinary(const DbaseField& f) {
    return f.type == 'I' || f.type == '+' || f.type == 'O' || f.type == '@' ||
           (f.type == 'M' && f.width == 4);
}

}  // namespace

// ---------------------------------------------------------------- binary forms

void putDbaseLong(std::int32_t v, unsigned char* out) {
    const std::uint32_t u = static_cast<std::uint32_t>(v) ^ 0x80000000u;
    out[0] = static_cast<unsigned char>(u >> 24);
    out[1] = static_cast<unsigned char>(u >> 16);
    out[2] = static_cast<unsigned char>(u >> 8);
    out[3] = static_cast<unsigned char>(u);
}

std::optional<std::int32_t> getDbaseLong(const unsigned char* in) {
    const std::uint32_t u = (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) |
                            (std::uint32_t{in[2]} << 8) | std::uint32_t{in[3]};
    if (u == 0) return std::nullopt;
    return static_cast<std::int32_t>(u ^ 0x80000000u);
}

void putDbaseDouble(double v, unsigned char* out) {
    // One quiet NaN: an arbitrary NaN with the sign bit and every payload
    // bit set would invert to the null form.
    std::uint64_t u = bitsOf(std::isnan(v) ? std::numeric_limits<double>::quiet_NaN() : v);
    // Decided by the sign bit, not by v < 0: -0.0 inverts to 7FFF...,
    // while flipping its sign bit would give the null form.
    u = (u >> 63) ? ~u : (u | (std::uint64_t{1} << 63));
    putBe64(u, out);
}

std::optional<double> getDbaseDouble(const unsigned char* in) {
    std::uint64_t u = be64(in);
    if (u == 0) return std::nullopt;
    u = (u >> 63) ? (u & ~(std::uint64_t{1} << 63)) : ~u;
    return doubleOf(u);
}

void putDbaseTimestamp(double dateTime, unsigned char* out) {
    const double ms = std::round(dateTime * static_cast<double>(kMsPerDay));
    // 0001-01-01 is the first day the form holds; 9999-12-31 is far below 2^53 ms.
    if (!(ms > -static_cast<double>(kTimestampOfDayZero)) || ms > 1e15)
        throw TableError("Chwila spoza zakresu lat 1-9999 nie mieści się w polu daty i czasu pliku dBase");
    const auto total = static_cast<std::int64_t>(ms) + kTimestampOfDayZero;
    putBe64(bitsOf(static_cast<double>(total)), out);
}

std::optional<double> getDbaseTimestamp(const unsigned char* in) {
    const std::uint64_t u = be64(in);
    if (u == 0) return std::nullopt;
    const double total = doubleOf(u);
    if (!std::isfinite(total) || std::fabs(total) > 1e15) return std::nullopt;
    const auto ms = static_cast<std::int64_t>(std::llround(total)) - kTimestampOfDayZero;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

// ---------------------------------------------------------------- text forms

std::optional<double> parseDbaseNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    char buf[64];
    const char* p = text.data();
    if (text.find(',') != std::string_view::npos) {
        // A decimal comma, as some programs of comma locales wrote.
        std::memcpy(buf, text.data(), text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            if (buf[i] == ',') buf[i] = '.';
        p = buf;
    }
    double v = 0;
    const auto r = std::from_chars(p, p + text.size(), v);
    if (r.ec != std::errc{} || r.ptr != p + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> parseDbaseInteger(std::string_view text) {
    const std::string_view t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    std::int64_t v = 0;
    const std::size_t digitsFrom = i;
    while (i < t.size() && i - digitsFrom < 18 && t[i] >= '0' && t[i] <= '9') v = v * 10 + (t[i++] - '0');
    if (i == t.size() && i > digitsFrom) return negative ? -v : v;
    // Anything else ("12.00", "1e3", a comma): read as a number, kept
    // only when it is whole.
    const auto d = parseDbaseNumber(t);
    if (!d || *d != std::trunc(*d) || std::fabs(*d) > 9.2e18) return std::nullopt;
    return static_cast<std::int64_t>(*d);
}

bool fitsIntegerType(std::int64_t v, FieldType type) {
    switch (type) {
        case FieldType::SmallInt: return v >= -32768 && v <= 32767;
        case FieldType::Word: return v >= 0 && v <= 65535;
        case FieldType::LargeInt: return true;
        default: return v >= std::numeric_limits<std::int32_t>::min() && v <= kLongMax;
    }
}

std::optional<std::int32_t> parseDbaseDate(std::string_view text) {
    if (text.size() < 8) return std::nullopt;
    int part[3] = {0, 0, 0};
    const int digits[3] = {4, 2, 2};
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k)
        for (int n = 0; n < digits[k]; ++n, ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            part[k] = part[k] * 10 + (text[i] - '0');
        }
    if (!isValidDate(part[0], part[1], part[2])) return std::nullopt;
    return dayNumber(part[0], part[1], part[2]);
}

std::optional<bool> parseDbaseLogical(char c) {
    switch (c) {
        case 'T':
        case 't':
        case 'Y':
        case 'y': return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n': return false;
        default: return std::nullopt;
    }
}

std::string shortestDbaseNumber(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    if (e == std::string::npos) return s;
    std::size_t i = e + 1;
    std::string exponent;
    if (s[i] == '-') exponent += s[i];
    if (s[i] == '-' || s[i] == '+') ++i;
    while (i + 1 < s.size() && s[i] == '0') ++i;
    exponent += s.substr(i);
    return s.substr(0, e + 1) + exponent;
}

std::string_view dbaseText(std::string_view bytes, std::string& scratch) {
    std::size_t n = bytes.size();
    while (n > 0 && isPad(bytes[n - 1])) --n;
    bool ascii = true;
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return bytes.substr(0, n);
    const Utf8Of1250& t = utf8Of1250();
    scratch.resize(3 * n);
    char* out = scratch.data();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::memcpy(out, t.bytes[b], 3);
        out += t.size[b];
    }
    return std::string_view(scratch.data(), static_cast<std::size_t>(out - scratch.data()));
}

// ---------------------------------------------------------------- fields

std::string describeDbaseField(const DbaseField& f) {
    std::string s = "'" + f.name + "' (" + f.type;
    if (f.type == 'C' || f.type == 'N' || f.type == 'F') s += " " + std::to_string(f.width);
    if ((f.type == 'N' || f.type == 'F') && f.decimals > 0) s += "." + std::to_string(f.decimals);
    return s + ")";
}

Value decodeDbaseField(const DbaseField& f, const unsigned char* in) {
    const std::string_view raw(reinterpret_cast<const char*>(in), static_cast<std::size_t>(f.width));
    switch (f.type) {
        case 'C': {
            std::string scratch;
            return Value::text(std::string(dbaseText(raw, scratch)));
        }
        case 'N':
        case 'F':
            if (const FieldType t = fieldDefOf(f).type; isIntegerType(t)) {
                if (const auto v = parseDbaseInteger(raw); v && fitsIntegerType(*v, t))
                    return Value::integer(*v);
            } else if (const auto v = parseDbaseNumber(raw)) {
                return Value::real(*v);
            }
            return {};
        case 'D':
            if (const auto v = parseDbaseDate(raw)) return Value::date(*v);
            return {};
        case 'L':
            if (const auto v = parseDbaseLogical(raw[0])) return Value::boolean(*v);
            return {};
        case 'I':
        case '+':
            if (const auto v = getDbaseLong(in)) return Value::integer(*v);
            return {};
        case 'O':
            if (const auto v = getDbaseDouble(in)) return Value::real(*v);
            return {};
        case '@':
            if (const auto v = getDbaseTimestamp(in)) return Value::dateTime(*v);
            return {};
        default: return {};  // memos are not read
    }
}

void encodeDbaseBlank(const DbaseField& f, unsigned char* out) {
    std::memset(out, isBinary(f) ? 0 : ' ', static_cast<std::size_t>(f.width));
}

void encodeDbaseText(const DbaseField& f, std::string_view cp1250, unsigned char* out) {
    if (f.type != 'C') wrongKind(f);
    if (cp1250.size() > static_cast<std::size_t>(f.width))
        throw TableError("Tekst '" + cp1250ToUtf8(cp1250) + "' jest dłuższy niż pole " +
                         describeDbaseField(f) + " pliku dBase");
    std::memcpy(out, cp1250.data(), cp1250.size());
    std::memset(out + cp1250.size(), ' ', static_cast<std::size_t>(f.width) - cp1250.size());
}

void encodeDbaseNumberText(const DbaseField& f, std::string_view text, unsigned char* out) {
    const auto width = static_cast<std::size_t>(f.width);
    if (text.size() > width) doesNotFit(f, std::string(text));
    std::memset(out, ' ', width - text.size());
    std::memcpy(out + width - text.size(), text.data(), text.size());
}

void encodeDbaseInteger(const DbaseField& f, std::int64_t v, unsigned char* out) {
    switch (f.type) {
        case 'I':
        case '+':
            // -2^31 would encode as the null form.
            if (v < -kLongMax || v > kLongMax) doesNotFit(f, integerText(v));
            putDbaseLong(static_cast<std::int32_t>(v), out);
            return;
        case 'O': putDbaseDouble(static_cast<double>(v), out); return;
        case 'N':
        case 'F': {
            std::string text = integerText(v);
            if (f.decimals > 0) text += "." + std::string(static_cast<std::size_t>(f.decimals), '0');
            encodeDbaseNumberText(f, text, out);
            return;
        }
        case 'L': out[0] = v != 0 ? 'T' : 'F'; return;
        default: wrongKind(f);
    }
}

void encodeDbaseReal(const DbaseField& f, double v, unsigned char* out) {
    switch (f.type) {
        case 'O': putDbaseDouble(v, out); return;
        case 'I':
        case '+':
            if (!(v == std::trunc(v) && std::fabs(v) <= kLongMax)) doesNotFit(f, shortestDbaseNumber(v));
            putDbaseLong(static_cast<std::int32_t>(v), out);
            return;
        case 'N':
        case 'F': {
            // Text fields hold no NaN or infinity: blank, that is null.
            if (!std::isfinite(v)) {
                encodeDbaseBlank(f, out);
                return;
            }
            const std::string text = fixedText(v, f.decimals);
            if (parseDbaseNumber(text) != v)
                throw TableError("Wartości " + shortestDbaseNumber(v) + " nie da się zapisać w polu " +
                                 describeDbaseField(f) + " pliku dBase bez utraty cyfr");
            encodeDbaseNumberText(f, text, out);
            return;
        }
        default: wrongKind(f);
    }
}

void encodeDbaseDate(const DbaseField& f, std::int32_t day, unsigned char* out) {
    if (f.type == '@') {
        putDbaseTimestamp(day, out);
        return;
    }
    if (f.type != 'D') wrongKind(f);
    const CivilDate c = civilDate(day);
    if (c.year < 1 || c.year > 9999)
        throw TableError("Data spoza zakresu lat 1-9999 nie mieści się w polu " + describeDbaseField(f) +
                         " pliku dBase");
    const int digits[8] = {c.year / 1000, c.year / 100 % 10, c.year / 10 % 10, c.year % 10,
                           c.month / 10,  c.month % 10,      c.day / 10,       c.day % 10};
    for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>('0' + digits[i]);
}

void encodeDbaseField(const DbaseField& f, const Value& v, unsigned char* out) {
    using K = Value::Kind;
    switch (v.kind()) {
        case K::Null: encodeDbaseBlank(f, out); return;
        case K::Text: encodeDbaseText(f, utf8ToCp1250(v.textValue()), out); return;
        case K::Int:
        case K::Bool: encodeDbaseInteger(f, v.toInt(), out); return;
        case K::Float: encodeDbaseReal(f, v.toDouble(), out); return;
        case K::Date: encodeDbaseDate(f, static_cast<std::int32_t>(v.toInt()), out); return;
        case K::DateTime:
        case K::Time:
            if (f.type != '@') wrongKind(f);
            putDbaseTimestamp(v.toDouble(), out);
            return;
    }
}

}  // namespace zorv
