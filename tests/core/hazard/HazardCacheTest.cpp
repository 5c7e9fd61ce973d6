// The kept smoothing factor and maximum magnitude, and the command's runs
// and failure messages.

#include <gtest/gtest.h>

#include <algorithm>

#include "NonParametricTestSupport.h"
#include "hazard/HazardAnalysis.h"
#include "hazard/HazardCache.h"

namespace zorv {
namespace {

HazardParameters params(bool touched, bool search, double alternativeH = 0.07) {
    HazardParameters p;
    p.touched = touched;
    p.useSearch = search;
    p.alternativeH = alternativeH;
    return p;
}

struct SettleRow {
    const char* name;
    bool previousSearch;  // the option in the run before
    bool touched;
    bool search;
    double h, mMax;  // requested
};
// The cache holds h = 0.15 and MMax = 4.2 from the run before.
const SettleRow kSettle[] = {
    {"TouchedSearchOn", true, true, true, -1.0, -1.0},
    {"TouchedSearchOff", true, true, false, 0.07, -1.0},
    {"UntouchedSearchOnAsBefore", true, false, true, 0.15, 4.2},
    {"UntouchedSearchOnOffBefore", false, false, true, -1.0, -1.0},
    {"UntouchedSearchOff", true, false, false, 0.07, 4.2},
    {"UntouchedSearchOffOffBefore", false, false, false, 0.07, 4.2},
};

class Settle : public ::testing::TestWithParam<SettleRow> {};

TEST_P(Settle, FiveCases) {
    const SettleRow& r = GetParam();
    HazardCache c;
    c.Settle(params(false, r.previousSearch));
    c.Store({0.15, 4.2, false, true});
    HazardParameters p = params(r.touched, r.search);
    p.variableUpperLimit = true;
    const EstimateRequest q = c.Settle(p);
    EXPECT_EQ(q.h, r.h);
    EXPECT_EQ(q.mMax, r.mMax);
    EXPECT_TRUE(q.variableUpperLimit);
    EXPECT_EQ(c.PreviousSearchOption(), r.search);
    EXPECT_TRUE(c.VariableUpperLimit());
}

INSTANTIATE_TEST_SUITE_P(HazardCache, Settle, ::testing::ValuesIn(kSettle),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HazardCache, ResetForgetsTheEstimate) {
    HazardCache c;
    c.Settle(params(false, false));
    c.Store({0.15, 4.2, true, true});
    c.Reset();
    EXPECT_FALSE(c.PreviousSearchOption() == false);
    const EstimateRequest q = c.Settle(params(false, true));
    EXPECT_EQ(q.h, -1.0);
    EXPECT_EQ(q.mMax, -1.0);
    EXPECT_EQ(c.Settle(params(false, false)).mMax, -1.0);
}

bool shown(const testing::ScriptedProgress& p, const std::string& prefix) {
    return std::any_of(p.captions.begin(), p.captions.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

// Two runs in a row with the search on and the same selection: the second
// neither searches h nor estimates MMax, and gives the same table.
TEST(HazardCommand, SecondRunReusesTheEstimate) {
    Table t = testing::spacedCatalogue(testing::grSample(150, 11, 1.0, 4.0), 7);
    HazardCache cache;
    HazardParameters p;
    p.kind = HazardKind::MeanReturnPeriod;
    testing::ScriptedProgress first;
    auto a = RunNonParametricHazard(testing::hazardSettings(), &t, p, cache, &first);
    EXPECT_TRUE(shown(first, "Poszukiwanie optymalnego"));
    EXPECT_TRUE(shown(first, "Obliczanie estymatora maksymalnej magnitudy"));
    const ScaleHints used = a->GetScaleHints();
    EXPECT_GT(used.H, 0.0);
    EXPECT_EQ(cache.RequestedH(), used.H);
    EXPECT_EQ(cache.RequestedMMax(), used.MMaxEst);

    testing::ScriptedProgress second;
    p.kind = HazardKind::Hazard;
    p.count = 1;
    p.values[0] = 2.5;
    auto b = RunNonParametricHazard(testing::hazardSettings(), &t, p, cache, &second);
    EXPECT_FALSE(shown(second, "Poszukiwanie optymalnego"));
    EXPECT_FALSE(shown(second, "Obliczanie"));
    EXPECT_EQ(b->GetScaleHints(), used);

    // Touching the parameters searches anew.
    testing::ScriptedProgress third;
    p.touched = true;
    RunNonParametricHazard(testing::hazardSettings(), &t, p, cache, &third);
    EXPECT_TRUE(shown(third, "Poszukiwanie optymalnego"));
}

// A change of any setting the estimate stands on (here the completeness
// threshold, the relation, the accuracy and the iteration limit) makes the
// next run estimate anew; a change of the alternative h alone does not.
TEST(HazardCommand, ChangedSettingsEstimateAnew) {
    Table t = testing::spacedCatalogue(testing::grSample(150, 11, 1.0, 4.0), 7);
    HazardCache cache;
    HazardParameters p;
    p.kind = HazardKind::MeanReturnPeriod;
    RunNonParametricHazard(testing::hazardSettings(), &t, p, cache);
    const auto change = std::vector<void (*)(AnalysisSettings&)>{
        [](AnalysisSettings& s) { s.MMin += 0.1; }, [](AnalysisSettings& s) { s.a += 0.1; },
        [](AnalysisSettings& s) { s.Epsilon /= 10; }, [](AnalysisSettings& s) { s.Iterations += 5; }};
    for (auto f : change) {
        AnalysisSettings s = testing::hazardSettings();
        f(s);
        testing::ScriptedProgress run;
        RunNonParametricHazard(s, &t, p, cache, &run);
        EXPECT_TRUE(shown(run, "Poszukiwanie optymalnego"));
        // Back to the first settings: estimated anew once more.
        testing::ScriptedProgress back;
        RunNonParametricHazard(testing::hazardSettings(), &t, p, cache, &back);
        EXPECT_TRUE(shown(back, "Poszukiwanie optymalnego"));
    }
    p.alternativeH = 0.3;
    testing::ScriptedProgress same;
    RunNonParametricHazard(testing::hazardSettings(), &t, p, cache, &same);
    EXPECT_FALSE(shown(same, "Poszukiwanie optymalnego"));
}

// With the search off the dialog's alternative h is the one used, even where
// the settings hold another.
TEST(HazardCommand, AlternativeHReplacesTheSettings) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardCache cache;
    HazardParameters p = params(true, false, 0.25);
    p.kind = HazardKind::Probabilities;
    p.functions = 1;
    auto a = RunNonParametricHazard(testing::hazardSettings(), &t, p, cache);
    EXPECT_EQ(a->GetScaleHints().H, 0.25);
    EXPECT_EQ(cache.RequestedH(), 0.25);
}

// The same magnitude chosen in two rows gives one column.
TEST(HazardCommand, DuplicateMagnitudesGiveOneColumn) {
    Table t = testing::spacedCatalogue(testing::kGr120, 30);
    HazardCache cache;
    HazardParameters p = params(true, false, 0.1);
    p.kind = HazardKind::Hazard;
    const std::vector<double> v = SelectedValues({{true, 3.0}, {true, 3.0}, {false, 2.0}}, Locale::point());
    ASSERT_EQ(v.size(), 1u);
    p.count = 1;
    p.values[0] = v[0];
    auto a = RunNonParametricHazard(testing::hazardSettings(), &t, p, cache);
    EXPECT_EQ(a->GetTable()->fieldCount(), 3);
    EXPECT_EQ(a->GetTable()->field(2).name, "m1");
}

// A failed run leaves the cache as settled: the option state is remembered,
// nothing is stored.
TEST(HazardCommand, FailureKeepsTheSettledCache) {
    Table t = testing::spacedCatalogue({1.5, 2.0, 1.2}, 1);  // two days: refused
    HazardCache cache;
    cache.Store({0.15, 4.2, false, true});
    HazardParameters p = params(false, false, 0.1);
    p.kind = HazardKind::MeanReturnPeriod;
    EXPECT_THROW(RunNonParametricHazard(testing::hazardSettings(), &t, p, cache), ESamplePeriodTooShort);
    EXPECT_EQ(cache.RequestedH(), 0.15);
    EXPECT_FALSE(cache.PreviousSearchOption());
}

struct FailureRow {
    const char* name;
    std::exception_ptr failure;
    const char* title;
    const char* text;
    bool error;
};

class Failure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(Failure, Message) {
    const HazardFailureMessage m = DescribeHazardFailure(GetParam().failure);
    EXPECT_EQ(m.title, GetParam().title);
    EXPECT_EQ(m.text, GetParam().text);
    EXPECT_EQ(m.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    HazardCommand, Failure,
    ::testing::Values(
        FailureRow{"MMaxExceeded", std::make_exception_ptr(EMMaxEstExceeded()), "Problem...",
                   "Procedura obliczania estymatora maksymalnej magnitudy nie jest zbieżna. Sugerowane "
                   "wyłączenie opcji zmiennej górnej granicy całkowania, ewentualnie skorzystanie z procedur "
                   "hazardu parametrycznego",
                   true},
        FailureRow{
            "TooManyIterations", std::make_exception_ptr(ETooManyIterations()), "Problem...",
            "Osiągnięto limit iteracji w procedurze obliczania estymatora maksymalnej magnitudy. "
            "Zwiększ maksymalną ilość iteracji. UWAGA: Procedura może też nie być zbieżna dla zmiennej "
            "górnej granicy całkowania.",
            true},
        FailureRow{"Stopped", std::make_exception_ptr(EBreakProcess()), "Przetwarzanie wstrzymane",
                   "Proces został przerwany przez użytkownika", false},
        FailureRow{"OtherHazardFailure", std::make_exception_ptr(ENoRecords()), "Problem...",
                   "Brak rekordów do analizy", true},
        FailureRow{"ShortPeriod", std::make_exception_ptr(ESamplePeriodTooShort()), "Problem...",
                   "Okres czasu próby jest zbyt krótki (krótszy niż trzy dni), aby wyznaczyć średnią "
                   "aktywność sejsmiczną",
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zorv
