// The smoothing-factor table: its rows, titles and report.

#include <gtest/gtest.h>

#include "HazardTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/LSCV.h"
#include "report/ReportWriter.h"

namespace zorv {
namespace {

// h is accumulated by repeated addition: the defaults 0.002, 0.15, 0.002 reach
// 0.1500000000000001 after 74 rows, above the end, so the table has 74 rows,
// not 75 (Python: h=0.002; c=0; while h<=0.15: c+=1; h+=0.002 → c = 74).
TEST(LSCV, RowsOfTheDefaultRange) {
    Table t = testing::magnitudeCatalogue(testing::grSample(150, 8, 1.0, 4.0));
    testing::ScriptedProgress p;
    LSCV a(testing::hazardSettings(), &t, -1.0, 0.3, 0.01, &p);
    EXPECT_EQ(a.Start(), 0.002);
    EXPECT_EQ(a.End(), 0.15);
    Table& r = *a.GetTable();
    ASSERT_EQ(r.recordCount(), 74u);
    double h = 0.002;
    for (std::size_t i = 0; i < r.recordCount(); ++i, h += 0.002) {
        EXPECT_EQ(r.value(r.rowOfRecord(i), 1).toDouble(), h);
        EXPECT_EQ(r.value(r.rowOfRecord(i), 2).toDouble(), a.LscvFunction(h));
    }
    EXPECT_EQ(r.value(r.rowOfRecord(73), 1).toDouble(), 0.1480000000000001);
    // The light construction: no search, no kernel, no maximum magnitude.
    EXPECT_EQ(a.RequestedH(), -1.0);
    EXPECT_EQ(a.MMaxEst(), 0.0);
    EXPECT_EQ(p.captions.back(), "Tworzenie tabeli danych...");
    EXPECT_EQ(p.maxima.back(), 150);
    EXPECT_EQ(a.GetTitle(), "Współczynnik gładkości");
    EXPECT_EQ(a.GetBottomAxisTitle(), "Współczynnik gładkości h");
    EXPECT_EQ(a.GetLeftAxisTitle(), "");
    EXPECT_EQ(r.field(1).name, "h");
    EXPECT_EQ(r.field(2).name, "f");
}

TEST(LSCV, StepThatIsNotPositiveIsRefused) {
    Table t = testing::magnitudeCatalogue(testing::grSample(50, 8, 1.0, 4.0));
    EXPECT_THROW(LSCV(testing::hazardSettings(), &t, 0.01, 0.2, 0.0), AnalysisError);
    EXPECT_THROW(LSCV(testing::hazardSettings(), &t, 0.01, 0.2, -0.5), AnalysisError);
}

TEST(LSCV, Report) {
    Table t = testing::magnitudeCatalogue({0.5, 1.25, 2.5, 1.75});
    AnalysisSettings s = testing::hazardSettings(1.0);
    s.WithProgress = false;
    LSCV a(s, &t, 0.1, 0.3, 0.1);
    const auto clock = reportClock;
    reportClock = [] { return 45000.5; };
    ReportLines lines;
    a.WriteReport(lines);
    reportClock = clock;
    // log10 E = 1.96·M + 1.15.
    const std::vector<std::string> expected = {
        "",
        "Katalog",
        "",
        "Współczynnik gładkości",
        "",
        "  Data utworzenia pliku:            2023-03-15 12:00:00",
        "  Okres czasu:                      2001-01-02 do 2001-01-04",
        "  Minimalna założona magnituda:     1.000 (1.29e+03[J])",
        "  Wielkość próby:                   3",
        "  Minimalna magnituda obserwowana:  1.250 (3.98e+03[J])",
        "  Maksymalna magnituda obserwowana: 2.500 (1.12e+06[J])",
        "",
        "Numer\th\tf\t",
    };
    ASSERT_GE(lines.size(), expected.size() + 2);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
    EXPECT_EQ(lines.size(), expected.size() + 2);  // h = 0.1, 0.2; then 0.30000000000000004 > 0.3
}

}  // namespace
}  // namespace zorv
