// Day numbers of dates: known dates, four centuries of round trips, leap
// years, times of day, and date text in both locales.

#include <gtest/gtest.h>

#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {
namespace {

// Day numbers against the spreadsheet epoch (1899-12-30 = 0), checked with
// Python: (datetime.date(y,m,d) - datetime.date(1899,12,30)).days
TEST(Dates, DayNumbersOfKnownDates) {
    struct Row {
        int y, m, d;
        std::int32_t n;
    } rows[] = {
        {1899, 12, 30, 0},   {1900, 1, 1, 2},    {1900, 3, 1, 61},        {2000, 2, 29, 36585},
        {2004, 4, 1, 38078}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1600, 3, 1, -109511},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(dayNumber(r.y, r.m, r.d), r.n) << r.y << "-" << r.m << "-" << r.d;
        EXPECT_EQ(civilDate(r.n), (CivilDate{r.y, r.m, r.d}));
    }
    EXPECT_EQ(dayNumber(1, 1, 1), kDayNumberOf00010101);
}

TEST(Dates, RoundTripEveryDayOfFourCenturies) {
    for (std::int32_t n = dayNumber(1800, 1, 1); n < dayNumber(2200, 1, 1); ++n) {
        const CivilDate c = civilDate(n);
        ASSERT_TRUE(isValidDate(c.year, c.month, c.day));
        ASSERT_EQ(dayNumber(c), n);
    }
}

TEST(Dates, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2004));
    EXPECT_EQ(daysInMonth(2004, 2), 29);
    EXPECT_EQ(daysInMonth(2003, 2), 28);
    EXPECT_EQ(daysInMonth(2100, 2), 28);
    EXPECT_FALSE(isValidDate(2003, 2, 29));
    EXPECT_FALSE(isValidDate(2003, 13, 1));
}

TEST(Dates, TimeOfDayRoundsToTheMillisecond) {
    const double t = dayNumber(2004, 4, 1) + dayFraction({13, 45, 30, 250});
    EXPECT_EQ(wholeDays(t), dayNumber(2004, 4, 1));
    EXPECT_EQ(timeOfDay(t), (TimeOfDay{13, 45, 30, 250}));
    // A time just short of midnight by float error stays on its day's end,
    // and a date-time before the epoch falls on its own calendar day.
    EXPECT_EQ(wholeDays(1.0 - 1e-12), 1);
    EXPECT_EQ(wholeDays(-0.25), -1);
    EXPECT_EQ(timeOfDay(-0.25), (TimeOfDay{18, 0, 0, 0}));
}

TEST(DateText, BothLocalesWriteAndRead) {
    const Locale pl = Locale::comma();
    const Locale en = Locale::point();
    const std::int32_t d = dayNumber(2004, 4, 1);
    EXPECT_EQ(formatDate(d, pl), "01.04.2004");
    EXPECT_EQ(formatDate(d, en), "4/1/2004");
    EXPECT_EQ(parseDate("01.04.2004", pl), d);
    EXPECT_EQ(parseDate("1.4.2004", pl), d);
    EXPECT_EQ(parseDate("4/1/2004", en), d);
    EXPECT_EQ(parseDate(" 2004-04-01 ", pl), d);
    EXPECT_EQ(parseDate("2004-04-01", en), d);
    EXPECT_FALSE(parseDate("31.04.2004", pl));
    EXPECT_FALSE(parseDate("01.04.2004x", pl));
    EXPECT_FALSE(parseDate("", pl));
    EXPECT_FALSE(parseDate("4/1/2004", pl));
}

TEST(DateText, TwoDigitYearPatternsAreWidened) {
    const Locale c = Locale::make('.', "dd/MM/yy");
    EXPECT_EQ(c.shortDatePattern, "dd/MM/yyyy");
    EXPECT_EQ(formatDate(dayNumber(1999, 12, 31), c), "31/12/1999");
}

}  // namespace
}  // namespace zorv
