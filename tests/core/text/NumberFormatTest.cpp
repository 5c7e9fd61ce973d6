// Numbers in picture masks and the general format in both locales, values
// that are not finite, and parsing the locale's numbers only.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "text/NumberFormat.h"

namespace zorv {
namespace {

// The text the comma locale prints for a point-locale text: the decimal point
// becomes a comma and the grouping comma a space.
std::string inCommaLocale(std::string s) {
    for (char& c : s) c = c == '.' ? ',' : c == ',' ? ' ' : c;
    return s;
}

struct MaskRow {
    const char* name;
    double value;
    const char* mask;
    const char* expected;  // in the point locale
};

// References: Python's decimal module rounding the shortest repr half up,
//   /usr/bin/python3 -c "from decimal import *; getcontext().rounding=ROUND_HALF_UP;
//                        print(format(Decimal(repr(V)), FMT))"
// with FMT '.Nf' (',.Nf' for grouping) or '.NE'; exponents padded and
// optional trailing zeros dropped by hand.
const MaskRow kMaskRows[] = {
    {"obligatory decimals", 1.2, "0.000", "1.200"},
    {"half at the last digit up", 0.125, "0.00", "0.13"},
    {"negative half away from zero", -0.125, "0.00", "-0.13"},
    {"2.675 as a reader sees it", 2.675, "0.00", "2.68"},
    {"1.005 as a reader sees it", 1.005, "0.00", "1.01"},
    {"carry into a new integer digit", 9.995, "0.00", "10.00"},
    {"rounds to zero without minus", -0.004, "0.00", "0.00"},
    {"negative zero", -0.0, "0.0", "0.0"},
    {"large beyond the shortest digits", 1.2345678901234568e20, "0", "123456789012345680000"},
    {"two obligatory integer digits", 1.25, "00.0", "01.3"},
    {"grouping", 1234567.891, "#,##0.###", "1,234,567.891"},
    {"grouping carry, zeros optional", 999.9996, "#,##0.###", "1,000"},
    {"grouping negative, full groups", -123456.5, "#,##0", "-123,457"},
    {"optional fraction rounded away", 1.999, "0.##", "2"},
    {"mixed fraction minimum", 2.0, "0.0#", "2.0"},
    {"# prints zero as 0", 0, "#", "0"},
    {"# rounds 0.5 up", 0.5, "#", "1"},
    {"#.## keeps a leading 0", 0.5, "#.##", "0.5"},
    {"#.## drops a bare point", 3, "#.##", "3"},
    // 10^(1.5*1.5 + 4.8): the energy of magnitude 1.5 in a report line.
    {"exponent always signed", 11220184.54301963, "0.00E+00", "1.12E+07"},
    {"lower-case exponent", 4988.844874600121, "0.00e+00", "4.99e+03"},
    {"carry into the exponent", 9.995e5, "0.00E+00", "1.00E+06"},
    {"negative exponent", 1.5e-7, "0.00E+00", "1.50E-07"},
    {"zero in exponent form", 0, "0.00E+00", "0.00E+00"},
    {"exponent wider than minimum", 1e100, "0.00E+00", "1.00E+100"},
    {"two mantissa integer digits", 1234, "00.00E+00", "12.34E+02"},
    {"negative mantissa", -1234.5, "0.0E+0", "-1.2E+3"},
    {"optional mantissa decimals dropped", 1000, "0.##E+0", "1E+3"},
    {"E- hides the plus", 1234, "0.0E-0", "1.2E3"},
    {"E- shows the minus", 0.0012, "0.0E-00", "1.2E-03"},
    {"no mantissa decimals", 2.5, "0E+0", "3E+0"},
    {"literal suffix", 1.5, "0.00 J", "1.50 J"},
    {"quoted prefix, minus before digits", -2, "'M='0.0", "M=-2.0"},
    {"negative section", -1.5, "0.00;(0.00)", "(1.50)"},
    {"rounds to zero: zero section", -0.001, "0.00;(0.00);zero", "zero"},
    {"empty negative section", -1.5, "0.00;", "-1.50"},
    {"empty mask is the general format", 1.96, "", "1.96"},
    {"mask without placeholder", 0.25, "x", "0.25"},
};

TEST(NumberFormat, MasksInBothLocales) {
    for (const MaskRow& r : kMaskRows) {
        EXPECT_EQ(formatMask(r.value, r.mask, Locale::point()), r.expected) << r.name;
        EXPECT_EQ(formatMask(r.value, r.mask, Locale::comma()), inCommaLocale(r.expected)) << r.name;
    }
}

TEST(NumberFormat, NonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatMask(std::nan(""), "0.00", Locale::comma()), "NaN");
    EXPECT_EQ(formatMask(inf, "0.00E+00", Locale::comma()), "INF");
    EXPECT_EQ(formatGeneral(-inf, Locale::comma()), "-INF");
}

// References: repr(V) when it has at most 15 significant digits, otherwise
// /usr/bin/python3 -c "print('%.15g' % V)" (digits; exponent form rewritten).
TEST(NumberFormat, GeneralFormat) {
    const struct {
        double value;
        const char* expected;
    } rows[] = {{1.96, "1.96"},
                {1.15, "1.15"},
                {0.1 + 0.2, "0.3"},
                {1.0 / 3, "0.333333333333333"},
                {100000, "100000"},
                {-2.5, "-2.5"},
                {-0.0, "0"},
                {1e14, "100000000000000"},
                {1e15, "1E+15"},
                {999999999999999.9, "1E+15"},
                {1.2345678901234568e17, "1.23456789012346E+17"},
                {1.5e20, "1.5E+20"},
                {1e-5, "0.00001"},
                {1.25e-6, "1.25E-6"},
                {1e-7, "1E-7"}};
    for (const auto& r : rows) {
        EXPECT_EQ(formatGeneral(r.value, Locale::point()), r.expected) << r.expected;
        EXPECT_EQ(formatGeneral(r.value, Locale::comma()), inCommaLocale(r.expected)) << r.expected;
    }
}

// Every finite double's general text reads back: exactly where 15 digits
// name it, and as a fixed point of formatting (the text of the value read
// back is the same text) where they do not. Checked at the ends of the range,
// where rounding to 15 digits can cross the largest double or lose a
// denormal, and on a spread of bit patterns.
TEST(NumberFormat, GeneralFormatReadsBack) {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kMin = std::numeric_limits<double>::min();
    constexpr double kDenormal = std::numeric_limits<double>::denorm_min();
    std::vector<double> values = {kMax,
                                  kDenormal,
                                  2 * kDenormal,
                                  kMin,
                                  std::nextafter(kMin, 0.0),
                                  1e308,
                                  1e-308,
                                  0.1 + 0.2,
                                  1.0,
                                  std::nextafter(1.0, 2.0),
                                  123456789012345678.0};
    double x = kMax;
    for (int i = 0; i < 8; ++i, x = std::nextafter(x, 0.0)) values.push_back(x);
    std::uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 2000; ++i) {
        bits = bits * 6364136223846793005u + 1442695040888963407u;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
    }
    for (const double value : values) {
        // Whether 15 significant digits name the value exactly.
        char digits15[32];
        const auto r =
            std::to_chars(digits15, digits15 + sizeof digits15, value, std::chars_format::scientific, 14);
        double nearest = 0;
        std::from_chars(digits15, r.ptr, nearest);
        for (const double signedValue : {value, -value}) {
            for (const Locale& loc : {Locale::point(), Locale::comma()}) {
                const std::string text = formatGeneral(signedValue, loc);
                const std::optional<double> back = parseNumber(text, loc);
                ASSERT_TRUE(back.has_value()) << text;
                EXPECT_EQ(formatGeneral(*back, loc), text);
                EXPECT_EQ(std::signbit(*back), std::signbit(signedValue)) << text;
                if (nearest == value) {
                    EXPECT_EQ(*back, signedValue) << text;
                }
            }
        }
    }
    // The largest doubles read back as themselves.
    for (double v = kMax; v > 1.797693134862315e308; v = std::nextafter(v, 0.0))
        EXPECT_EQ(parseNumber(formatGeneral(v, Locale::point()), Locale::point()), v);
    EXPECT_EQ(formatGeneral(kMax, Locale::point()), "1.7976931348623157E+308");
    EXPECT_EQ(formatGeneral(-1.797693134862315e308, Locale::comma()), "-1,79769313486231E+308");
}

TEST(NumberFormat, ParseOnlyTheLocaleNumber) {
    const std::optional<double> no;
    const struct {
        const char* text;
        bool commaLocale;
        std::optional<double> expected;
    } rows[] = {
        {"1.5", false, 1.5},      {" -2.25\t", false, -2.25}, {"+3", false, 3},
        {"1.5E-2", false, 0.015}, {".5", false, 0.5},         {"5.", false, 5},
        {"007", false, 7},        {"1,5", true, 1.5},         {"-0,001", true, -0.001},
        {"1,5e3", true, 1500},    {"1e-400", false, 0},       {"1e400", false, no},
        {"", false, no},          {"   ", false, no},         {"1.2.3", false, no},
        {"1,5", false, no},       {"1.5", true, no},          {"1 234", true, no},
        {"1,234.5", false, no},   {"1.5x", false, no},        {"e5", false, no},
        {"1e", false, no},        {"1e+", false, no},         {"- 1", false, no},
        {"--1", false, no},       {"0x10", false, no},        {"inf", false, no},
        {"nan", false, no},       {".", false, no},           {"1 2", false, no},
    };
    for (const auto& r : rows)
        EXPECT_EQ(parseNumber(r.text, r.commaLocale ? Locale::comma() : Locale::point()), r.expected)
            << r.text;
    EXPECT_TRUE(std::signbit(*parseNumber("-1e-400", Locale::point())));
    // Overflow and underflow are told by the magnitude, not by the exponent's sign.
    const std::string zeros(400, '0');
    EXPECT_EQ(parseNumber("1" + zeros + "e-5", Locale::point()), no);
    EXPECT_EQ(parseNumber("0." + zeros + "1e5", Locale::point()), 0.0);
    EXPECT_EQ(parseNumber("1" + zeros + "e-390", Locale::point()), 1e10);
}

}  // namespace
}  // namespace zorv
