// The report writer: a series report line by line on screen and for
// printing, the masks of table values, the common parameters, and the saved
// text and RTF files.

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "analysis/ActivitySeries.h"
#include "analysis/AnalysisTestSupport.h"
#include "report/ReportWriter.h"

namespace zorv {
namespace {

using testing::makeCatalogue;

class ReportWriterTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        saved_ = reportClock;
        // 2006-05-04 13:02:01
        reportClock = [] { return dayNumber(2006, 5, 4) + dayFraction({13, 2, 1, 0}); };
    }
    void TearDown() override {
        reportClock = saved_;
        ScratchDirTest::TearDown();
    }
    std::function<double()> saved_;
};

TEST_F(ReportWriterTest, SeriesReportLineByLineInBothModes) {
    auto s = testing::defaultSettings();
    Table t = makeCatalogue({{2004, 1, 10, 2e5, 1}, {2004, 4, 2, 50, 1}});
    DBBarEnReleased a(s, &t, PeriodKind::Quarters);
    ReportLines lines{"stale line"};
    ASSERT_TRUE(a.WriteReport(lines));
    const ReportLines screen{"",
                             "Katalog",
                             "",
                             "Kwartalna energia wyzwolona",
                             "",
                             "  Data utworzenia pliku:            2006-05-04 13:02:01",
                             "",
                             "Numer\tOkres\tEnergia\t",
                             "1\tI 2004\t2.00e+05\t",
                             "2\tII 2004\t50.000\t"};
    EXPECT_EQ(lines, screen);

    s.PrintMarkup = true;
    DBBarEnReleased printed(s, &t, PeriodKind::Quarters);
    printed.WriteReport(lines);
    ReportLines expected = screen;
    expected[0] = "<H1>";
    expected[2] = "<H2>";
    expected[4] = "<H3>";
    expected[6] = "<p>";
    EXPECT_EQ(lines, expected);

    ReportLines section;
    ExtractReportSection(lines, "<p>", section);
    EXPECT_EQ(section, ReportLines(expected.begin() + 7, expected.end()));
    ExtractReportSection(lines, "<H2>", section);
    EXPECT_EQ(section, ReportLines{"Kwartalna energia wyzwolona"});
    ExtractReportSection(lines, "<H4>", section);
    EXPECT_TRUE(section.empty());
}

// A catalogue with a CRS (from its .crs file) has it named under the
// report's date; one without has no such line.
TEST_F(ReportWriterTest, CoordinateSystemNamedWhenTheCatalogueHasOne) {
    auto s = testing::defaultSettings();
    s.CoordinateSystem = "EPSG:2180 (ETRF2000-PL / CS92)";
    Table t = makeCatalogue({{2004, 1, 10, 2e5, 1}});
    DBBarEnReleased a(s, &t, PeriodKind::Quarters);
    ReportLines lines;
    ASSERT_TRUE(a.WriteReport(lines));
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[5], "  Data utworzenia pliku:            2006-05-04 13:02:01");
    EXPECT_EQ(lines[6], "  Układ współrzędnych X/Y:          EPSG:2180 (ETRF2000-PL / CS92)");
}

TEST_F(ReportWriterTest, TableValuesPickTheirMask) {
    auto s = testing::defaultSettings();
    s.EnergyMask = "0.00E+00";
    s.UserLocale = Locale::comma();
    Table sample = makeCatalogue({{2004, 1, 10, 1, 1}});
    DBBarEnReleased a(s, &sample, PeriodKind::WholeSpan);
    Table values({{"F", FieldType::Float}, {"I", FieldType::Integer}, {"D", FieldType::Date}});
    for (double v : {100000.0, 99999.9, -2.5e6, 1.2})
        values.appendRecord({Value::real(v), Value::integer(123456), Value::date(dayNumber(2004, 4, 1))});
    ReportLines lines;
    WriteTableHeader(a, lines, values);
    WriteTableRows(a, lines, values);
    EXPECT_EQ(lines,
              (ReportLines{"F\tI\tD\t", "1,00E+05\t123456\t01.04.2004\t", "99999,900\t123456\t01.04.2004\t",
                           "-2500000,000\t123456\t01.04.2004\t", "1,200\t123456\t01.04.2004\t"}));
    // The header alone for a table without records.
    Table none({{"A", FieldType::Integer}});
    lines.clear();
    WriteTableHeader(a, lines, none);
    WriteTableRows(a, lines, none);
    EXPECT_EQ(lines, ReportLines{"A\t"});
}

TEST_F(ReportWriterTest, CommonParametersAndLabels) {
    auto s = testing::defaultSettings();
    s.a = 1.5;
    s.b = 4.8;
    s.EnergyMask = "0.00E+00";
    s.MMin = 1.5;
    Table t = makeCatalogue({{2004, 1, 10, 1, 1}, {2004, 4, 2, 1, 1}});
    DBBarEnReleased a(s, &t, PeriodKind::WholeSpan);
    // 10^(1.5·1.5 + 4.8) = 10^7.05 = 1.122e7 (python3 -c "print(10**7.05)")
    EXPECT_EQ(FormatMagnitudeEnergy(a, 1.5), "1.500 (1.12E+07[J])");
    ReportLines lines;
    WriteCommonParameters(a, lines, 3);
    EXPECT_EQ(lines, (ReportLines{"  Okres czasu:                      2004-01-10 do 2004-04-02",
                                  "  Próg kompletności katalogu:       1.500 (1.12E+07[J])",
                                  "  Zależność Energia - Magnituda:    LogE = 1.5 · m + 4.8"}));
    // 36 characters, not bytes.
    EXPECT_EQ(ReportLabel("Zależność Energia - Magnituda:"), "  Zależność Energia - Magnituda:    ");
}

TEST_F(ReportWriterTest, SavedReportIsWindows1250WithCrLf) {
    const auto dir = dir_;
    const std::string name = SaveReportText({"Próg", "x\ty"}, (dir / "raport").string());
    EXPECT_EQ(name, (dir / "raport.txt").string());
    EXPECT_EQ(slurp(name), "Pr\xF3g\r\nx\ty\r\n");
    EXPECT_EQ(withDefaultExtension((dir / "a.log").string(), ".txt"), (dir / "a.log").string());
    EXPECT_EQ(withDefaultExtension("/x.d/raport", ".rtf"), "/x.d/raport.rtf");
}

TEST_F(ReportWriterTest, RtfKeepsPolishLettersAndEscapes) {
    const std::string rtf = reportRtf({"Zażółć {x}\\", "a\tb"});
    EXPECT_NE(rtf.find("\\ansicpg1250"), std::string::npos);
    EXPECT_NE(rtf.find("\\fcharset238 Courier New;"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs20"), std::string::npos);
    // ż = 0xBF, ó = 0xF3, ł = 0xB3, ć = 0xE6 in windows-1250.
    EXPECT_NE(rtf.find("Za\\'bf\\'f3\\'b3\\'e6 \\{x\\}\\\\\\par"), std::string::npos);
    EXPECT_NE(rtf.find("a\\tab b\\par"), std::string::npos);
}

}  // namespace
}  // namespace zorv
