// Periods of the period analyses: their day ranges, the loop over every
// period of the span with its labels, unsorted samples and the empty sample.

#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "analysis/ActivitySeries.h"
#include "analysis/Periods.h"
#include "base/AnalysisError.h"

namespace zorv {
namespace {

using testing::Event;
using testing::makeCatalogue;

std::vector<std::string> labels(const Table& t) {
    std::vector<std::string> out;
    for (const Value& v : testing::columnValues(t, "Okres")) out.push_back(v.textValue());
    return out;
}

TEST(Periods, DayRanges) {
    EXPECT_EQ(quarterDays(2004, 2).first, dayNumber(2004, 4, 1));
    EXPECT_EQ(quarterDays(2004, 2).last, dayNumber(2004, 6, 30));
    EXPECT_EQ(quarterDays(2004, 4).last, dayNumber(2004, 12, 31));
    EXPECT_EQ(monthDays(2004, 2).last, dayNumber(2004, 2, 29));
    EXPECT_EQ(monthDays(2003, 2).last, dayNumber(2003, 2, 28));
    // A year divisible by 100 but not 400 has no 29 February.
    EXPECT_EQ(monthDays(2100, 2).last, dayNumber(2100, 2, 28));
    EXPECT_EQ(periodExpression("DATA", dayNumber(2004, 4, 1), dayNumber(2004, 6, 30), Locale::comma()),
              "DATA>='01.04.2004' AND DATA<='30.06.2004'");
}

TEST(Periods, LoopCoversEverySpanPeriodWithLabels) {
    const auto s = testing::defaultSettings();
    {
        Table t = makeCatalogue({{2004, 7, 15, 10, 1}, {2004, 11, 2, 10, 1}});
        DBBarEnReleased q(s, &t, PeriodKind::Quarters);
        EXPECT_EQ(labels(*q.GetTable()), (std::vector<std::string>{"III 2004", "IV 2004"}));
    }
    {
        Table t = makeCatalogue({{2003, 12, 20, 10, 1}, {2004, 1, 5, 20, 1}});
        DBBarEnReleased m(s, &t, PeriodKind::Months);
        EXPECT_EQ(labels(*m.GetTable()), (std::vector<std::string>{"XII 2003", "I 2004"}));
        DBBarEnReleased y(s, &t, PeriodKind::Years);
        EXPECT_EQ(labels(*y.GetTable()), (std::vector<std::string>{"2003", "2004"}));
        DBBarEnReleased w(s, &t, PeriodKind::WholeSpan);
        EXPECT_EQ(labels(*w.GetTable()), (std::vector<std::string>{"2003-12-20 - 2004-01"}));
        EXPECT_EQ(testing::columnValues(*w.GetTable(), "Energia"), (std::vector<Value>{Value::real(30)}));
    }
    {
        // An empty month inside the span has a row of zeros; the leap day and
        // the last day of a month fall in their own month.
        Table t = makeCatalogue({{2004, 1, 31, 1, 1}, {2004, 2, 29, 2, 1}, {2004, 4, 1, 4, 1}});
        DBBarEnReleased m(s, &t, PeriodKind::Months);
        EXPECT_EQ(labels(*m.GetTable()),
                  (std::vector<std::string>{"I 2004", "II 2004", "III 2004", "IV 2004"}));
        EXPECT_EQ(testing::columnValues(*m.GetTable(), "Energia"),
                  (std::vector<Value>{Value::real(1), Value::real(2), Value::real(0), Value::real(4)}));
    }
}

TEST(Periods, UnsortedSampleSelectsTheSameRecords) {
    const auto s = testing::defaultSettings();
    Table sorted =
        makeCatalogue({{2004, 1, 3, 1, 1}, {2004, 2, 1, 2, 1}, {2004, 2, 9, 4, 1}, {2004, 3, 1, 8, 1}});
    Table shuffled =
        makeCatalogue({{2004, 1, 3, 1, 1}, {2004, 2, 9, 4, 1}, {2004, 3, 1, 8, 1}, {2004, 2, 1, 2, 1}});
    DBBarEnReleased a(s, &sorted, PeriodKind::Months);
    // The span comes from the first and last record: January to February here.
    DBBarEnReleased b(s, &shuffled, PeriodKind::Months);
    EXPECT_EQ(testing::columnValues(*a.GetTable(), "Energia"),
              (std::vector<Value>{Value::real(1), Value::real(6), Value::real(8)}));
    EXPECT_EQ(testing::columnValues(*b.GetTable(), "Energia"),
              (std::vector<Value>{Value::real(1), Value::real(6)}));
}

TEST(Periods, EmptySampleFailsClearlyForPeriods) {
    const auto s = testing::defaultSettings();
    Table empty = makeCatalogue({});
    EXPECT_THROW(DBBarEnReleased(s, &empty, PeriodKind::Quarters), AnalysisError);
    DBBarEnReleased whole(s, &empty, PeriodKind::WholeSpan);
    EXPECT_EQ(whole.GetTable()->recordCount(), 1u);
}

}  // namespace
}  // namespace zorv
