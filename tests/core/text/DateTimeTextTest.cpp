// Dates with times of day as text, written and read.

#include <gtest/gtest.h>

#include "text/DateTimeText.h"
#include "text/Dates.h"

namespace zorv {
namespace {

// 2004-04-01: /usr/bin/python3 -c "import datetime as d; print((d.date(2004,4,1)-d.date(1899,12,30)).days)"
constexpr double kApril1 = 38078;

double at(int h, int m, int s, int ms = 0) { return dayFraction({h, m, s, ms}); }

TEST(DateTimeText, TimeAloneDateAloneOrBoth) {
    EXPECT_EQ(formatTime(at(7, 5, 9)), "07:05:09");
    EXPECT_EQ(formatTime(at(23, 59, 59, 999)), "23:59:59");  // milliseconds cut, never 24:00:00
    EXPECT_EQ(formatTime(kApril1 + 0.25), "06:00:00");       // whole days ignored
    const struct {
        const char* name;
        double value;
        const char* comma;
        const char* point;
    } rows[] = {
        {"midnight: date alone", kApril1, "01.04.2004", "4/1/2004"},
        {"date and time", kApril1 + at(13, 45, 30), "01.04.2004 13:45:30", "4/1/2004 13:45:30"},
        {"day 0: time alone", 0.5, "12:00:00", "12:00:00"},
        {"day number 0: midnight", 0, "00:00:00", "00:00:00"},
        {"before the epoch", -0.25, "29.12.1899 18:00:00", "12/29/1899 18:00:00"},
        {"under a second after midnight", kApril1 + at(0, 0, 0, 400), "01.04.2004", "4/1/2004"},
        {"float error before midnight", kApril1 + 1 - 1e-11, "02.04.2004", "4/2/2004"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(formatDateTime(r.value, Locale::comma()), r.comma) << r.name;
        EXPECT_EQ(formatDateTime(r.value, Locale::point()), r.point) << r.name;
    }
}

TEST(DateTimeText, ParseDateWithOptionalTime) {
    const Locale pl = Locale::comma();
    const struct {
        const char* text;
        double expected;
    } rows[] = {{" 1.4.2004 ", kApril1},
                {"01.04.2004 13:45", kApril1 + at(13, 45, 0)},
                {"01.04.2004\t 7:05:09", kApril1 + at(7, 5, 9)},
                {"2004-04-01 23:59:59", kApril1 + at(23, 59, 59)}};
    for (const auto& r : rows) EXPECT_EQ(parseDateTime(r.text, pl), r.expected) << r.text;
    for (const char* bad : {"", "13:45", "01.04.2004 24:00", "01.04.2004 13:60", "01.04.2004 13:5",
                            "01.04.2004 13", "01.04.2004 13:45:30:00", "01.04.2004x 10:00",
                            "01.04.2004 10:00 x", "31.04.2004 10:00", "4/1/2004 10:00"})
        EXPECT_FALSE(parseDateTime(bad, pl)) << bad;

    // A date pattern with blanks of its own, and what is written reads back.
    const Locale sk = Locale::make(',', "d. M. yyyy");
    EXPECT_EQ(parseDateTime("1. 4. 2004 13:45", sk), kApril1 + at(13, 45, 0));
    for (const Locale& l : {Locale::comma(), Locale::point(), sk})
        for (double v : {kApril1, kApril1 + at(13, 45, 30), -700.0 + at(1, 2, 3)})
            EXPECT_EQ(parseDateTime(formatDateTime(v, l), l), v) << formatDateTime(v, l);
}

}  // namespace
}  // namespace zorv
