// The period record of the time-filter dialog: its defaults from the first and
// last record whatever the filter, its ranges and the start-after-end check.

#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "analysis/PeriodDialog.h"

namespace zorv {
namespace {

TEST(PeriodDialog, DefaultsComeFromFirstAndLastRecordWhateverTheFilter) {
    Table t = testing::makeCatalogue({{2003, 11, 20, 1, 1}, {2004, 2, 3, 1, 1}, {2005, 8, 9, 1, 1}});
    t.setFilter("X<>0");
    const PeriodDialogValues v = periodDialogDefaults(t, "DATA", PeriodKind::Months);
    EXPECT_EQ(v.stDate, dayNumber(2003, 11, 20));
    EXPECT_EQ(v.enDate, dayNumber(2005, 8, 9));
    EXPECT_EQ(v.stQuarter, 4);
    EXPECT_EQ(v.enQuarter, 3);
    EXPECT_EQ(v.stMonth, 11);
    EXPECT_EQ(v.enYYear, 2005);
    EXPECT_EQ(periodDialogDescription(v, Locale::comma()), "01.11.2003 do 31.08.2005");
    EXPECT_EQ(periodDialogExpression(v, "DATA", Locale::comma()),
              "DATA>='01.11.2003' AND DATA<='31.08.2005'");
}

TEST(PeriodDialog, RangesAndTheStartAfterEndCheck) {
    PeriodDialogValues v;
    v.Scale = PeriodKind::Quarters;
    v.stQuarter = 4;
    v.stQYear = 2005;
    v.enQuarter = 1;
    v.enQYear = 2006;
    EXPECT_EQ(checkPeriodDialog(v), "");
    EXPECT_EQ(periodDialogRange(v).first, dayNumber(2005, 10, 1));
    EXPECT_EQ(periodDialogRange(v).last, dayNumber(2006, 3, 31));
    v.enQYear = 2005;
    EXPECT_EQ(checkPeriodDialog(v), kStartAfterEndMessage);

    v.Scale = PeriodKind::Months;
    v.stMonth = 2;
    v.stYear = 2004;
    v.enMonth = 2;
    v.enYear = 2004;
    EXPECT_EQ(checkPeriodDialog(v), "");
    EXPECT_EQ(periodDialogRange(v).last, dayNumber(2004, 2, 29));

    v.Scale = PeriodKind::WholeSpan;
    v.stDate = dayNumber(2004, 5, 2);
    v.enDate = dayNumber(2004, 5, 1);
    EXPECT_EQ(checkPeriodDialog(v), kStartAfterEndMessage);

    v.Scale = PeriodKind::Years;
    v.stYYear = 2001;
    v.enYYear = 2003;
    EXPECT_EQ(periodDialogRange(v).first, dayNumber(2001, 1, 1));
    EXPECT_EQ(periodDialogRange(v).last, dayNumber(2003, 12, 31));
    v.Expression = "X>0";
    EXPECT_EQ(periodDialogExtraExpression(v), "");
    v.Exclude = true;
    EXPECT_EQ(periodDialogExtraExpression(v), "X>0");
}

}  // namespace
}  // namespace zorv
