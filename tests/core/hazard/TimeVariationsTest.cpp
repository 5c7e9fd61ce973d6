// The sliding window of the time variations: the windows written, their
// inclusive ends, the notes of failed windows, each window's values against a
// separate estimate on the same events, cancel and the report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "HazardTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/HazardErrors.h"
#include "hazard/TimeVariations.h"
#include "table/TableError.h"
#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {
namespace {

using testing::grSample;
using testing::hazardSettings;
using testing::magnitudeCatalogue;
using testing::ScriptedProgress;

constexpr std::int32_t kFirst = 36892;  // 2001-01-01

AnalysisSettings quietSettings() {
    AnalysisSettings s = hazardSettings(1.0);
    s.WithProgress = false;
    return s;
}

// Events on the given days after kFirst, all of magnitude ≥ MMin = 1.
Table catalogueOnDays(const std::vector<int>& offsets) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    // A narrow range (Mmax 3), whose maximum-magnitude estimate converges.
    const std::vector<double> m = grSample(offsets.size(), 11, 1.0, 3.0);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        t.appendRecord({Value::date(kFirst + offsets[i]), Value::real(m[i])});
    return t;
}

double number(Table& t, std::size_t record, const char* field) {
    return t.column(t.requireField(field)).numberAt(t.rowOfRecord(record));
}
bool isNull(Table& t, std::size_t record, const char* field) {
    return t.column(t.requireField(field)).isNull(t.rowOfRecord(record));
}
std::string text(Table& t, std::size_t record, const char* field) {
    return t.column(t.requireField(field)).textAt(t.rowOfRecord(record));
}

TEST(TimeVariationsWindows, CountsAndEnds) {
    struct Row {
        const char* name;
        int days;  // one event a day on days 0 … days − 1
        int width, step;
        int formula, written;
        int lastStart, lastEnd;
    } rows[] = {
        // (1000 − 300) div 25 + 1 = 29 windows; the last one ends on the last day.
        {"thousand days", 1001, 300, 25, 29, 29, 700, 1000},
        // (1000 − 300) div 30 + 1 = 24; a 25th would end on day 1020.
        {"step not dividing", 1001, 300, 30, 24, 24, 690, 990},
        // (100 − 300) div 25 + 1 = −7, yet one window, reaching past the last day.
        {"shorter than the window", 101, 300, 25, -7, 1, 0, 300},
        {"window equals the span", 301, 300, 25, 1, 1, 0, 300},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Table cat = magnitudeCatalogue(grSample(static_cast<std::size_t>(r.days), 3, 1.0, 4.5), kFirst);
        TimeVariationsParameters p;
        p.windowWidth = r.width;
        p.windowStep = r.step;
        TimeVariations tv(quietSettings(), &cat, p);
        EXPECT_EQ(tv.WindowCountFormula(), r.formula);
        EXPECT_EQ(tv.WindowsWritten(), r.written);
        Table& t = *tv.GetTable();
        ASSERT_EQ(t.recordCount(), static_cast<std::size_t>(r.written));
        const std::size_t lastRec = t.recordCount() - 1;
        EXPECT_EQ(number(t, lastRec, "OkresStart"), kFirst + r.lastStart);
        EXPECT_EQ(number(t, lastRec, "OkresKoniec"), kFirst + r.lastEnd);
        EXPECT_EQ(number(t, lastRec, "DataKoniec"), kFirst + r.lastEnd);
        EXPECT_EQ(number(t, lastRec, "Data"), std::trunc((2.0 * kFirst + r.lastStart + r.lastEnd) * 0.5));
        EXPECT_EQ(number(t, lastRec, "Numer"), r.written);
    }
}

TEST(TimeVariationsWindows, BothEndsIncluded) {
    // Windows of 10 days by 5: [0,10] holds 0, 5, 10; [5,15] holds 5, 10, 11;
    // [10,20] holds 10, 11, 20; then 20, 20 and 35 alone. Counted by hand.
    Table cat = catalogueOnDays({0, 5, 10, 11, 20, 35});
    TimeVariationsParameters p;
    p.windowWidth = 10;
    p.windowStep = 5;
    TimeVariations tv(quietSettings(), &cat, p);
    Table& t = *tv.GetTable();
    const std::vector<int> expected = {3, 3, 3, 1, 1, 1};
    ASSERT_EQ(t.recordCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(number(t, i, "LZdarzen"), expected[i]);
        EXPECT_EQ(text(t, i, "Opis"), "Zbyt mała ilość rekordów");
    }
}

TEST(TimeVariationsWindows, FilterOfTheSelectionIsSwitchedOff) {
    // The run works on the whole working copy: a filter left on it does not
    // shrink the windows.
    Table cat = magnitudeCatalogue(grSample(101, 3, 1.0, 4.5), kFirst);
    cat.setFilter("MAGNITUDA > 2");
    cat.setFiltered(true);
    TimeVariationsParameters p;
    TimeVariations tv(quietSettings(), &cat, p);
    EXPECT_FALSE(cat.filtered());
    EXPECT_EQ(number(*tv.GetTable(), 0, "LZdarzen"), 101);
    // The analysis reads its events from the selection it was given.
    const int m = cat.requireField("MAGNITUDA");
    for (std::size_t row : {std::size_t(0), std::size_t(50), std::size_t(100)})
        EXPECT_EQ(tv.ReadMagnitude(row), cat.column(m).numberAt(row));
}

TEST(TimeVariationsWindows, EachWindowEqualsASeparateEstimate) {
    // The separate estimate selects the window's events through the filter
    // engine with quoted dates, independently of the day comparison. Seed 3
    // converges in every window; with seed 5 the integral of most windows
    // diverges (as in six windows of seed 3), and those windows carry the note of the separate estimate's
    // failure.
    const Locale iso = Locale::make('.', "yyyy-MM-dd");
    for (const std::uint64_t seed : {3u, 5u}) {
        SCOPED_TRACE(seed);
        Table cat = magnitudeCatalogue(grSample(1001, seed, 1.0, 4.5), kFirst);
        cat.setLocale(iso);
        TimeVariationsParameters p;
        p.unit = TimeUnit::Months;
        p.hazardMagnitude = 2.5;
        p.hazardPeriod = 3.0;
        p.returnMagnitude = 3.0;
        AnalysisSettings s = quietSettings();
        TimeVariations tv(s, &cat, p);
        Table& t = *tv.GetTable();
        ASSERT_EQ(t.recordCount(), 29u);
        int estimated = 0;
        for (std::size_t w = 0; w < t.recordCount(); ++w) {
            SCOPED_TRACE(w);
            const auto start = static_cast<std::int32_t>(number(t, w, "OkresStart"));
            const auto end = static_cast<std::int32_t>(number(t, w, "OkresKoniec"));
            EXPECT_EQ(start, kFirst + 25 * static_cast<int>(w));
            EXPECT_EQ(end, start + 300);
            cat.setFilter("DATA>='" + formatDate(start, iso) + "' AND DATA<='" + formatDate(end, iso) + "'");
            cat.setFiltered(true);
            Table window = cat.copyView();
            cat.setFiltered(false);
            EXPECT_EQ(number(t, w, "LZdarzen"), 301);
            std::optional<ParametricHazard> alone;
            try {
                alone.emplace(s, &window, TimeUnit::Months, true);
            } catch (...) {
                EXPECT_EQ(text(t, w, "Opis"), TimeVariationsNote(std::current_exception()));
                EXPECT_TRUE(isNull(t, w, "Beta"));
                continue;
            }
            ++estimated;
            ASSERT_TRUE(text(t, w, "Opis").empty());
            EXPECT_EQ(number(t, w, "DoAnalizy"), alone->SampleSize());
            EXPECT_EQ(number(t, w, "Beta"), alone->Beta());
            EXPECT_EQ(number(t, w, "b"), alone->BValue());
            EXPECT_EQ(number(t, w, "MMaxEst"), alone->MMaxEst());
            EXPECT_EQ(number(t, w, "Lambda"), alone->ActivityRate());
            EXPECT_EQ(number(t, w, "Hazard"), alone->Hazard(2.5, 3.0));
            EXPECT_EQ(number(t, w, "MRP"), alone->MeanReturnPeriod(3.0));
            // The events span 300 days: 1900-10-26 in the calendar arithmetic,
            // 9 + 25/30 months; all 301 events reach MMin = 1.
            EXPECT_NEAR(number(t, w, "Lambda"), 301.0 / (9.0 + 25.0 / 30.0), 1e-12);
        }
        if (seed == 3) {
            EXPECT_GE(estimated, 20);
        } else {
            EXPECT_LT(estimated, 29);
        }
    }
}

TEST(TimeVariationsWindows, FailedWindowsKeepTheirRecordWithANote) {
    struct Row {
        const char* name;
        std::vector<int> days;
        std::vector<double> magnitudes;  // empty: truncated Gutenberg–Richter, all ≥ MMin
        int width;
        const char* note;
    } rows[] = {
        {"29 events, minimum 30", std::vector<int>(29, 0), {}, 300, "Zbyt mała ilość rekordów"},
        // 40 records, but only 20 reach MMin = 1.
        {"too few above the threshold", std::vector<int>(40, 0), {}, 300, "Zbyt mała ilość rekordów"},
        // 400 events on two consecutive days: no length in months, no activity rate.
        {"span under three days", std::vector<int>(400, 0), {}, 2, "Zbyt krótki okres próby"},
    };
    rows[1].magnitudes.assign(40, 1.5);
    std::fill(rows[1].magnitudes.begin(), rows[1].magnitudes.begin() + 20, 0.5);
    for (std::size_t i = 0; i < rows[1].days.size(); ++i) rows[1].days[i] = static_cast<int>(i);
    for (std::size_t i = 200; i < rows[2].days.size(); ++i) rows[2].days[i] = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Table cat = catalogueOnDays(r.days);
        if (!r.magnitudes.empty())
            for (std::size_t i = 0; i < r.magnitudes.size(); ++i) {
                cat.setRecNo(i + 1);
                cat.edit();
                cat.setFieldValue("MAGNITUDA", Value::real(r.magnitudes[i]));
                cat.post();
            }
        TimeVariationsParameters p;
        p.windowWidth = r.width;
        TimeVariations tv(quietSettings(), &cat, p);
        Table& t = *tv.GetTable();
        ASSERT_EQ(t.recordCount(), 1u);
        EXPECT_EQ(text(t, 0, "Opis"), r.note);
        EXPECT_EQ(number(t, 0, "LZdarzen"), static_cast<double>(r.days.size()));
        for (const char* f : {"Beta", "b", "Lambda", "MMaxEst", "Hazard", "MRP", "DoAnalizy"}) {
            SCOPED_TRACE(f);
            EXPECT_TRUE(isNull(t, 0, f));
        }
        EXPECT_FALSE(isNull(t, 0, "OkresStart"));
    }
}

TEST(TimeVariationsWindows, HazardEmptyOnlyAtOrAboveTheEstimate) {
    Table cat = magnitudeCatalogue(grSample(400, 3, 1.0, 4.5), kFirst);
    TimeVariationsParameters p;
    p.hazardMagnitude = 9.5;  // far above any window's MMaxEst
    p.returnMagnitude = 2.0;
    TimeVariations tv(quietSettings(), &cat, p);
    Table& t = *tv.GetTable();
    ASSERT_GT(t.recordCount(), 1u);
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(isNull(t, i, "Hazard"));
        EXPECT_GT(number(t, i, "MRP"), 0.0);
        EXPECT_LT(number(t, i, "MMaxEst"), 9.5);
    }
}

TEST(TimeVariationsNotes, FailureTexts) {
    struct Row {
        const char* name;
        std::exception_ptr failure;
        const char* note;
    } rows[] = {
        {"sample too low", std::make_exception_ptr(ESampleTooLow()), "Zbyt mała ilość rekordów"},
        {"iterations", std::make_exception_ptr(ETooManyIterations()), "Przekroczony limit iteracji"},
        {"no root", std::make_exception_ptr(EHFactorBelowZero()), "Brak miejsca zerowego"},
        {"no records", std::make_exception_ptr(ENoRecords()), "Brak rekordów"},
        {"integral", std::make_exception_ptr(ETooLargeMagnitude()), "Całka nie jest zbieżna"},
        {"short span", std::make_exception_ptr(ESamplePeriodTooShort()), "Zbyt krótki okres próby"},
        {"other hazard failure", std::make_exception_ptr(EDerivZero()), "Nieznany wyjątek"},
        {"table failure", std::make_exception_ptr(TableError("x")), "Nieznany wyjątek"},
        {"not an exception class", std::make_exception_ptr(42), "Nieznany wyjątek"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string note = TimeVariationsNote(r.failure);
        EXPECT_EQ(note, r.note);
        // "Opis" holds 30 characters.
        EXPECT_LE(std::count_if(note.begin(), note.end(), [](char c) { return (c & 0xC0) != 0x80; }), 30);
    }
}

TEST(TimeVariationsRun, CancelEndsTheRun) {
    Table cat = magnitudeCatalogue(grSample(1001, 3, 1.0, 4.5), kFirst);
    ScriptedProgress progress;
    progress.cancelAfter = 2;
    AnalysisSettings s = hazardSettings(1.0);
    EXPECT_THROW(TimeVariations(s, &cat, TimeVariationsParameters{}, &progress), EBreakProcess);
    ASSERT_FALSE(progress.captions.empty());
    EXPECT_EQ(progress.captions.front(), "Analiza danych...");
    EXPECT_EQ(progress.maxima.front(), 29);
}

TEST(TimeVariationsRun, StepOrWidthBelowOneDayIsRefused) {
    Table cat = magnitudeCatalogue(grSample(101, 3, 1.0, 4.5), kFirst);
    for (const auto& [step, width] : {std::pair{0, 300}, std::pair{-25, 300}, std::pair{25, 0}}) {
        SCOPED_TRACE(step);
        TimeVariationsParameters p;
        p.windowStep = step;
        p.windowWidth = width;
        EXPECT_THROW(TimeVariations(quietSettings(), &cat, p), AnalysisError);
    }
    Table empty({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    EXPECT_THROW(TimeVariations(quietSettings(), &empty, TimeVariationsParameters{}), ENoRecords);
}

TEST(TimeVariationsRun, ReportAndChartLabels) {
    Table cat = magnitudeCatalogue(grSample(101, 3, 1.0, 4.5), kFirst);
    TimeVariationsParameters p;
    p.unit = TimeUnit::Months;
    p.hazardPeriod = 2.0;
    TimeVariations tv(quietSettings(), &cat, p);
    ReportLines lines;
    ASSERT_TRUE(tv.WriteReport(lines));
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    // The windows written (1), not the formula's −7.
    EXPECT_TRUE(has("  Liczba okien                       1"));
    EXPECT_TRUE(has("  Szerokość okna                     300 dni"));
    EXPECT_TRUE(has("  Krok okna                          25 dni"));
    EXPECT_TRUE(has("  Okres czasu:                       2001-01-01 do 2001-04-11"));
    EXPECT_TRUE(has("  Zależność Energia - Magnituda:    LogE = 1.96 · m + 1.15"));
    EXPECT_TRUE(has("   Liczba okresów D = 2 miesięcy"));
    EXPECT_TRUE(has("  Średni okres powrotu  (w miesiącach)"));
    // 10^(1.96·3 + 1.15) = 1.07e+07 J.
    EXPECT_TRUE(has("   Prawdopodobieństwo przekroczenia magnitudy 3.000 (1.07e+07[J])"));
    EXPECT_EQ(tv.HazardLabel(),
              "Prawd. przekroczenia magnitudy m = 3.000 (1.07e+07[J]) w przeciągu 2 miesięcy");
    EXPECT_EQ(tv.ReturnPeriodLabel(), "Średni okres powrotu zjawiska o magnitudzie m =3.000 (1.07e+07[J])");
}

// The text table of the windows, as the text window, the saved report and
// zorv-batch show it: TAB between the columns, the midpoint "Data" as a date.
TEST(TimeVariationsRun, TextTableHasSeparatorsAndDates) {
    Table cat = magnitudeCatalogue(grSample(1001, 3, 1.0, 4.5), kFirst);
    TimeVariations tv(quietSettings(), &cat, TimeVariationsParameters{});
    ReportLines lines;
    ASSERT_TRUE(tv.WriteTableText(lines));
    Table& t = *tv.GetTable();
    ASSERT_EQ(lines.size(), t.recordCount() + 1);
    const auto cells = [](const std::string& line) {
        std::vector<std::string> out;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            out.push_back(line.substr(from, tab - from));
        return out;
    };
    const std::vector<std::string> header = cells(lines[0]);
    ASSERT_EQ(header.size(), static_cast<std::size_t>(t.fieldCount()));
    EXPECT_EQ(header[0], "Numer");
    EXPECT_EQ(header[1], "Data");
    const std::vector<std::string> first = cells(lines[1]);
    ASSERT_EQ(first.size(), header.size());
    // The first window [0, 300] of 2001-01-01: its midpoint is day 150.
    EXPECT_EQ(first[1], formatDate(kFirst + 150, quietSettings().UserLocale));
    EXPECT_EQ(first[1], "2001-05-31");
}

}  // namespace
}  // namespace zorv
