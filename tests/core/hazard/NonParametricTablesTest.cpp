// The result tables of the nonparametric hazard: fields, rows, titles,
// progress and report.

#include <gtest/gtest.h>

#include <cmath>

#include "NonParametricTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/NonParametricTables.h"
#include "report/ReportWriter.h"

namespace zorv {
namespace {

using testing::valueAt;

const EstimateRequest kFixed{0.1, 4.0, false};  // h and MMax as given, no search

std::vector<std::string> fieldNames(const Table& t) {
    std::vector<std::string> names;
    for (const FieldDef& f : t.fields()) names.push_back(f.name);
    return names;
}

std::vector<std::string> displayFormats(const Table& t) {
    std::vector<std::string> masks;
    for (const FieldDef& f : t.fields()) masks.push_back(f.displayFormat);
    return masks;
}

TEST(HazardTable, DefaultRangeAndColumns) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    testing::ScriptedProgress p;
    Hazard a(testing::hazardSettings(), &t, TimeUnit::Quarters, kFixed, {}, {3.0, 1.5}, &p);
    Table& r = *a.GetTable();
    EXPECT_EQ(fieldNames(r), (std::vector<std::string>{"Numer", "Okres", "m1", "m2"}));
    EXPECT_EQ(displayFormats(r), (std::vector<std::string>{"", "", "0.000", "0.000"}));
    // D = 0, 0.2, … by repeated addition; the 61st value is 11.99999999999999,
    // the next passes 12 (Python: v=0; c=0; while v<=12: c+=1; v+=0.2 → 61).
    ASSERT_EQ(r.recordCount(), 61u);
    EXPECT_EQ(valueAt(r, 0, "Okres"), 0.0);
    EXPECT_EQ(valueAt(r, 0, "m1"), 0.0);
    EXPECT_NEAR(valueAt(r, 60, "Okres"), 12.0, 1e-12);
    EXPECT_EQ(valueAt(r, 60, "m1"), a.HazardAt(3.0, valueAt(r, 60, "Okres")));
    EXPECT_EQ(valueAt(r, 60, "m2"), a.HazardAt(1.5, valueAt(r, 60, "Okres")));
    EXPECT_EQ(p.captions.back(), "Tworzenie tabeli danych...");
    EXPECT_EQ(p.maxima.back(), 120);  // trunc(10·12)
    EXPECT_EQ(a.GetTitle(), "Hazard sejsmiczny");
    EXPECT_EQ(a.GetLeftAxisTitle(), "Prawdopodobieństwo");
    EXPECT_EQ(a.GetBottomAxisTitle(), "Kwartały");
    const ScaleHints hints = a.GetScaleHints();
    EXPECT_EQ(hints.H, 0.1);
    EXPECT_EQ(hints.MMaxEst, 4.0);
    EXPECT_FALSE(hints.VariableUpperLimit);
}

// A range that starts below the smallest observed magnitude and ends above
// MMaxEst writes only the rows inside [smallest observed, MMaxEst]; the last
// row, at MMaxEst, has the unbounded return period stored as 0.
TEST(MeanReturnPeriodTable, RowsOnlyInsideTheObservedRange) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);  // smallest 1.0037
    testing::ScriptedProgress p;
    MeanReturnPeriod a(testing::hazardSettings(), &t, TimeUnit::Months, kFixed, {0.5, 4.5, 0.5}, &p);
    Table& r = *a.GetTable();
    EXPECT_EQ(fieldNames(r), (std::vector<std::string>{"Numer", "Magnituda", "Energia", "MRP"}));
    EXPECT_EQ(displayFormats(r), (std::vector<std::string>{"", "0.000", "0.00e+00", ""}));
    ASSERT_EQ(r.recordCount(), 6u);  // 1.5, 2, 2.5, 3, 3.5, 4
    EXPECT_EQ(valueAt(r, 0, "Magnituda"), 1.5);
    EXPECT_NEAR(valueAt(r, 0, "MRP"), 2.9527752, 1e-5);  // HrdsTest: SciPy reference
    EXPECT_NEAR(valueAt(r, 2, "Energia"), std::pow(10.0, 1.96 * 2.5 + 1.15), 1e-3);
    EXPECT_EQ(valueAt(r, 5, "Magnituda"), 4.0);
    EXPECT_EQ(valueAt(r, 5, "MRP"), 0.0);
    EXPECT_EQ(p.maxima.back(), 450);
    EXPECT_EQ(a.GetTitle(), "Średni okres powrotu");
    EXPECT_EQ(a.GetBottomAxisTitle(), "Energia");
}

TEST(MeanReturnPeriodTable, DefaultRangeFromSmallestObservedToMMaxEst) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    MeanReturnPeriod a(testing::hazardSettings(), &t, TimeUnit::Months, kFixed, {-1.0, 5.0, 0.1});
    EXPECT_EQ(a.Range().start, 1.0037);
    EXPECT_EQ(a.Range().end, 4.0);
    EXPECT_EQ(a.Range().step, 0.01);
    Table& r = *a.GetTable();
    // 1.0037 + k·0.01 up to 4.0: 300 steps, give or take the last one's
    // rounding.
    EXPECT_GE(r.recordCount(), 299u);
    EXPECT_LE(r.recordCount(), 300u);
    EXPECT_LE(valueAt(r, r.recordCount() - 1, "Magnituda"), 4.0);
}

TEST(HazardVsMagnitudeTable, EveryStepWritten) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    testing::ScriptedProgress p;
    HazardVsMagnitude a(testing::hazardSettings(), &t, TimeUnit::Months, kFixed, {0.5, 4.5, 1.0}, {1.0, 3.0},
                        &p);
    Table& r = *a.GetTable();
    EXPECT_EQ(fieldNames(r), (std::vector<std::string>{"Numer", "Magnituda", "Energia", "D1", "D2"}));
    EXPECT_EQ(displayFormats(r), (std::vector<std::string>{"", "0.000", "0.00e+00", "0.000", "0.000"}));
    ASSERT_EQ(r.recordCount(), 5u);  // 0.5 … 4.5, outside the observed range too
    const double rate = 120.0 / testing::kGr120Months;
    EXPECT_NEAR(valueAt(r, 0, "D1"), 1.0 - std::exp(-rate), 1e-15);  // below MMin
    EXPECT_NEAR(valueAt(r, 0, "D2"), 1.0 - std::exp(-3.0 * rate), 1e-15);
    // m = 2.5: R = 1 − exp(−D/T) with T(2.5) = 19.736574 from SciPy (HrdsTest).
    EXPECT_NEAR(valueAt(r, 2, "D1"), 1.0 - std::exp(-1.0 / 19.736574), 2e-6);
    EXPECT_NEAR(valueAt(r, 2, "D2"), 1.0 - std::exp(-3.0 / 19.736574), 2e-6);
    EXPECT_EQ(valueAt(r, 4, "D1"), 0.0);  // above MMaxEst
    EXPECT_EQ(a.GetTitle(), "Hazard vs magnituda");
    EXPECT_EQ(a.GetBottomAxisTitle(), "Energia");
    EXPECT_EQ(a.GetLeftAxisTitle(), "Prawdopodobieństwo");
}

struct FunctionRow {
    const char* name;
    std::uint8_t flags;
    const char* title;
    std::vector<std::string> fields;
};
const FunctionRow kFunctions[] = {
    {"Density", 1, "Funkcja gęstości", {"Numer", "Magnituda", "Energia", "pdf_est"}},
    {"AdaptiveDensity", 2, "Funkcja gęstości", {"Numer", "Magnituda", "Energia", "pdf_est_adapt"}},
    {"Distribution", 4, "Dystrybuanta", {"Numer", "Magnituda", "Energia", "cdf_est_adapt"}},
    {"BothDensities", 3, "Funkcje gęstości", {"Numer", "Magnituda", "Energia", "pdf_est", "pdf_est_adapt"}},
    {"DensityAndDistribution",
     5,
     "Funkcja gęstości i Dystrybuanta",
     {"Numer", "Magnituda", "Energia", "pdf_est", "cdf_est_adapt"}},
    {"All",
     7,
     "Funkcje gęstości i Dystrybuanta",
     {"Numer", "Magnituda", "Energia", "pdf_est", "pdf_est_adapt", "cdf_est_adapt"}},
};

class ProbabilitiesTable : public ::testing::TestWithParam<FunctionRow> {};

TEST_P(ProbabilitiesTable, FieldsAndTitle) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    Probabilities a(testing::hazardSettings(), &t, kFixed, {1.5, 2.5, 0.5}, GetParam().flags);
    EXPECT_EQ(a.GetTitle(), GetParam().title);
    EXPECT_EQ(ProbabilitiesTitle(GetParam().flags), GetParam().title);
    EXPECT_EQ(fieldNames(*a.GetTable()), GetParam().fields);
    EXPECT_EQ(a.GetLeftAxisTitle(), "Częstość względna");
    EXPECT_EQ(a.GetTable()->recordCount(), 3u);
}

INSTANTIATE_TEST_SUITE_P(NonParametric, ProbabilitiesTable, ::testing::ValuesIn(kFunctions),
                         [](const auto& info) { return std::string(info.param.name); });

// SciPy reference (HrdsTest's transcription): at m = 2 the kernel density
// norm.pdf((2-x)/h).sum()/(n*h) = 0.2081187962, the adaptive one
// (norm.pdf((2-x)/s)/lam).sum()/(n*h) = 0.1676754267; the distribution is
// truncated at the smallest observed magnitude min(x), not at MMin:
// F(1.5) = 0.6680056798, F(2.5) = 0.9503305583.
TEST(ProbabilitiesTableValues, AgainstScipy) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    Probabilities a(testing::hazardSettings(), &t, kFixed, {1.5, 2.5, 0.5}, 7);
    Table& r = *a.GetTable();
    EXPECT_NEAR(valueAt(r, 1, "pdf_est"), 0.2081187962, 1e-7);
    EXPECT_NEAR(valueAt(r, 1, "pdf_est_adapt"), 0.1676754267, 1e-7);
    EXPECT_NEAR(valueAt(r, 0, "cdf_est_adapt"), 0.6680056798, 2e-6);
    EXPECT_NEAR(valueAt(r, 2, "cdf_est_adapt"), 0.9503305583, 2e-6);
    EXPECT_EQ(displayFormats(r),
              (std::vector<std::string>{"", "0.000", "0.00e+00", "0.000", "0.000", "0.000"}));
}

struct BadRangeRow {
    const char* name;
    TableRange range;
};
const BadRangeRow kBadRanges[] = {
    {"ZeroStep", {0.0, 5.0, 0.0}},         {"NegativeStep", {0.0, 5.0, -0.2}},
    {"NaNStep", {0.0, 5.0, std::nan("")}}, {"StepBelowTheSpacingOfDoubles", {1e6, 2e6, 1e-12}},
    {"MillionsOfRows", {0.0, 12.0, 1e-6}},
};

class RefusedRange : public ::testing::TestWithParam<BadRangeRow> {};

// A step that is not positive, or too small to move the variable, would never
// end the table: refused with a message.
TEST_P(RefusedRange, InEveryTable) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    const TableRange r = GetParam().range;
    const auto s = testing::hazardSettings();
    EXPECT_THROW(Hazard(s, &t, TimeUnit::Months, kFixed, r, {3.0}), AnalysisError);
    EXPECT_THROW(MeanReturnPeriod(s, &t, TimeUnit::Months, kFixed, r), AnalysisError);
    EXPECT_THROW(HazardVsMagnitude(s, &t, TimeUnit::Months, kFixed, r, {1.0}), AnalysisError);
    EXPECT_THROW(Probabilities(s, &t, kFixed, r, 1), AnalysisError);
}

INSTANTIATE_TEST_SUITE_P(NonParametric, RefusedRange, ::testing::ValuesIn(kBadRanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NonParametricTables, SelectionsOutsideOneToFourAreRefused) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    const auto s = testing::hazardSettings();
    EXPECT_THROW(Hazard(s, &t, TimeUnit::Months, kFixed, {}, {}), AnalysisError);
    EXPECT_THROW(Hazard(s, &t, TimeUnit::Months, kFixed, {}, {1, 2, 3, 4, 5}), AnalysisError);
    EXPECT_THROW(HazardVsMagnitude(s, &t, TimeUnit::Months, kFixed, {}, {}), AnalysisError);
    EXPECT_THROW(Probabilities(s, &t, kFixed, {}, 0), AnalysisError);
}

ReportLines reportOf(Database& a) {
    const auto clock = reportClock;
    reportClock = [] { return 45000.5; };
    ReportLines lines;
    a.WriteReport(lines);
    reportClock = clock;
    return lines;
}

TEST(NonParametricReport, HazardInMonths) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    Hazard a(testing::hazardSettings(), &t, TimeUnit::Months, kFixed, {1.0, 2.0, 1.0}, {3.0});
    const ReportLines lines = reportOf(a);
    // Energies log10 E = 1.96·M + 1.15; 120 events in 117.2667 months.
    const std::vector<std::string> expected = {
        "",
        "Katalog",
        "",
        "Hazard sejsmiczny",
        "",
        "  Data utworzenia pliku:            2023-03-15 12:00:00",
        "  Okres czasu:                      2001-01-01 do 2010-10-11",
        "  Próg kompletności katalogu:       1.000 (1.29e+03[J])",
        "  Zależność Energia - Magnituda:    LogE = 1.96 · m + 1.15",
        "  Wielkość próby:                   120",
        "  Minimalna magnituda obserwowana:  1.004 (1.31e+03[J])",
        "  Maksymalna magnituda obserwowana: 3.442 (7.89e+07[J])",
        "  Maksymalna magnituda estymowana:  4.000 (9.77e+08[J])",
        "  Użyty współczynnik gładkości:     0.10000",
        "  Ilość miesięcy:                   117.3",
        "  Średnia aktywność/miesiąc:        1.023 zdarzeń",
        "",
        "Numer\tOkres\tm1\t",
    };
    ASSERT_EQ(lines.size(), expected.size() + 2);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
}

TEST(NonParametricReport, QuartersAndTheDensityReport) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    MeanReturnPeriod q(testing::hazardSettings(), &t, TimeUnit::Quarters, kFixed, {2.0, 2.0, 1.0});
    const ReportLines lines = reportOf(q);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[3], "Średni okres powrotu");
    EXPECT_EQ(lines[14], "  Ilość kwartałów:                  39.1");
    EXPECT_EQ(lines[15], "  Średnia aktywność/kwartał:        3.070 zdarzeń");
    // The density report ends its parameters with the smoothing factor.
    Probabilities d(testing::hazardSettings(), &t, kFixed, {2.0, 2.0, 1.0}, 4);
    const ReportLines dl = reportOf(d);
    ASSERT_EQ(dl.size(), 17u);
    EXPECT_EQ(dl[3], "Dystrybuanta");
    EXPECT_EQ(dl[13], "  Użyty współczynnik gładkości:     0.10000");
    EXPECT_EQ(dl[15], "Numer\tMagnituda\tEnergia\tcdf_est_adapt\t");
}

}  // namespace
}  // namespace zorv
