// The logic of the nonparametric hazard dialog.

#include <gtest/gtest.h>

#include <cmath>

#include "hazard/HazardParameters.h"

namespace zorv {
namespace {

struct SelectionRow {
    const char* name;
    std::vector<SelectableValue> rows;
    Locale locale;
    std::vector<double> expected;
};

class Selection : public ::testing::TestWithParam<SelectionRow> {};

// Ordered as texts: "12" before "3", "2,5" after "12", "3" before "3.5".
TEST_P(Selection, OrderedAsTextWithoutRepeats) {
    EXPECT_EQ(SelectedValues(GetParam().rows, GetParam().locale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HazardDialog, Selection,
    ::testing::Values(
        SelectionRow{"TwelveBeforeThree", {{true, 3.0}, {true, 12.0}}, Locale::point(), {12.0, 3.0}},
        SelectionRow{"RepeatCountsOnce", {{true, 3.0}, {true, 3.0}, {true, 3.0}}, Locale::point(), {3.0}},
        SelectionRow{"UncheckedIgnored", {{false, 1.0}, {true, 4.5}, {false, 2.0}}, Locale::point(), {4.5}},
        SelectionRow{
            "PrefixFirst", {{true, 3.5}, {true, 3.0}, {true, 0.7}}, Locale::point(), {0.7, 3.0, 3.5}},
        SelectionRow{"CommaLocale", {{true, 2.5}, {true, 12.0}, {true, 2.5}}, Locale::comma(), {12.0, 2.5}},
        SelectionRow{"NoneChecked", {{false, 1.0}}, Locale::point(), {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ContinueRow {
    const char* name;
    HazardKind kind;
    std::vector<SelectableValue> rows;
    std::uint8_t functions;
    bool enabled;
};

class Continue : public ::testing::TestWithParam<ContinueRow> {};

TEST_P(Continue, Enabled) {
    EXPECT_EQ(ContinueEnabled(GetParam().kind, GetParam().rows, GetParam().functions), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    HazardDialog, Continue,
    ::testing::Values(
        ContinueRow{"HazardWithMagnitude", HazardKind::Hazard, {{false, 1}, {true, 3}}, 0, true},
        ContinueRow{"HazardWithout", HazardKind::Hazard, {{false, 1}, {false, 3}}, 7, false},
        ContinueRow{"PeriodsWithOne", HazardKind::HazardVsMagnitude, {{true, 1}}, 0, true},
        ContinueRow{"PeriodsWithout", HazardKind::HazardVsMagnitude, {{false, 1}}, 0, false},
        ContinueRow{"FunctionChosen", HazardKind::Probabilities, {}, 4, true},
        ContinueRow{"NoFunction", HazardKind::Probabilities, {{true, 1}}, 0, false},
        ContinueRow{"ReturnPeriodAlways", HazardKind::MeanReturnPeriod, {}, 0, true},
        ContinueRow{"SmoothingAlways", HazardKind::SmoothingFactor, {}, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HazardDialog, KindTitlesAndMenuTags) {
    const std::pair<HazardKind, const char*> titles[] = {
        {HazardKind::Hazard, "Hazard sejsmiczny"},
        {HazardKind::MeanReturnPeriod, "Średni okres powrotu"},
        {HazardKind::SmoothingFactor, "Współczynnik gładkości Silvermana"},
        {HazardKind::Probabilities, "Funkcje gęstości, dystrybuanta rozkładu"},
        {HazardKind::HazardVsMagnitude, "Hazard w funkcji magnitudy"},
    };
    for (const auto& [kind, title] : titles) EXPECT_EQ(HazardKindTitle(kind), title);
    const std::pair<int, HazardMenuEntry> tags[] = {
        {1, {HazardKind::Hazard, 0}},          {2, {HazardKind::MeanReturnPeriod, 0}},
        {3, {HazardKind::SmoothingFactor, 0}}, {4, {HazardKind::HazardVsMagnitude, 0}},
        {5, {HazardKind::Probabilities, 1}},   {6, {HazardKind::Probabilities, 2}},
        {7, {HazardKind::Probabilities, 4}},
    };
    for (const auto& [tag, entry] : tags) {
        const auto e = HazardMenuEntryOfTag(tag);
        ASSERT_TRUE(e) << tag;
        EXPECT_EQ(e->kind, entry.kind) << tag;
        EXPECT_EQ(e->functions, entry.functions) << tag;
    }
    EXPECT_FALSE(HazardMenuEntryOfTag(0));
    EXPECT_FALSE(HazardMenuEntryOfTag(8));
}

struct RangeRow {
    const char* name;
    bool automatic;
    double start, end, step;
    bool refused;
};

class Range : public ::testing::TestWithParam<RangeRow> {};

// A step that is not positive would never end the table.
TEST_P(Range, StepCheck) {
    HazardParameters p;
    p.automaticRange = GetParam().automatic;
    p.start = GetParam().start;
    p.end = GetParam().end;
    p.step = GetParam().step;
    const auto problem = HazardRangeProblem(p);
    EXPECT_EQ(problem.has_value(), GetParam().refused);
    if (problem) {
        EXPECT_EQ(*problem, "Krok tabeli musi być liczbą większą od zera");
    }
}

INSTANTIATE_TEST_SUITE_P(HazardDialog, Range,
                         ::testing::Values(RangeRow{"Positive", false, 1, 12, 0.2, false},
                                           RangeRow{"Zero", false, 1, 12, 0.0, true},
                                           RangeRow{"Negative", false, 1, 12, -0.2, true},
                                           RangeRow{"AutomaticIgnoresStep", true, -1, -1, -1, false},
                                           RangeRow{"EndBeforeStartIsEmptyNotEndless", false, 5, 1, 0.1,
                                                    false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HazardDialog, DefaultsEnergyAndUnits) {
    const HazardParameters h = DefaultHazardParameters(HazardKind::Hazard, 0, 0.12, true, false);
    EXPECT_EQ(h.start, 1.0);
    EXPECT_EQ(h.end, 12.0);
    EXPECT_EQ(h.step, 0.2);
    EXPECT_EQ(h.values[0], 3.0);
    const HazardParameters v = DefaultHazardParameters(HazardKind::HazardVsMagnitude, 0, 0.3, false, true);
    EXPECT_EQ(v.values, (std::array<double, 4>{1, 3, 5, 7}));
    EXPECT_EQ(v.step, 0.02);
    EXPECT_EQ(v.alternativeH, 0.3);
    EXPECT_FALSE(v.useSearch);
    EXPECT_TRUE(v.variableUpperLimit);
    EXPECT_EQ(DefaultHazardParameters(HazardKind::SmoothingFactor, 0, 0.12, true, false).end, 0.2);
    // 10^(1.96·3 + 1.15) = 10^7.03 = 1.0715e7.
    EXPECT_EQ(EnergyReadout(3.0, 1.96, 1.15, Locale::point()), "1.072E+07");
    EXPECT_EQ(EnergyReadout(3.0, 1.96, 1.15, Locale::comma()), "1,072E+07");
    EXPECT_EQ(PeriodUnitLabel(TimeUnit::Months), "miesięcy");
    EXPECT_EQ(PeriodUnitLabel(TimeUnit::Quarters), "kwartałów");
}

}  // namespace
}  // namespace zorv
