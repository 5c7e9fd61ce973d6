// The completeness magnitude of every window of the time variations: a known
// change of the detection threshold is seen in the windows either side of
// it, each window's value is the estimator's on the window's own events
// (those below MMin included), failed parametric windows keep their Mc, and
// with the option on nothing else of the table changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "HazardTestSupport.h"
#include "hazard/TimeVariations.h"

namespace zorv {
namespace {

using testing::hazardSettings;

constexpr std::int32_t kFirst = 36892;  // 2001-01-01
constexpr int kChangeDay = 1000;        // first day of the second half

struct Event {
    int day;  // after kFirst
    double magnitude;
};

// Gutenberg–Richter magnitudes (b = 1) from 0.0, each kept with the
// probability Φ((m − μ)/0.1) of a cumulative normal detection curve, μ = 0.8
// on days 0…999 and μ = 1.4 on days 1000…1999, 6,000 kept events in each
// half on uniformly drawn days. The network detects 97.7 % of the events from
// μ + 2·0.1 up: the true Mc is 1.0 in the first half and 1.6 in the second.
// The most frequent detected magnitude, where maximum curvature looks, is the
// mode of 10^(−m)·Φ((m − μ)/0.1): 0.9166 and 1.5166 by
//   /usr/bin/python3 -c "import numpy as np, scipy.stats as st; m = np.linspace(0, 3, 300001);
//   [print(m[np.argmax(10**(-m) * st.norm.cdf((m - mu) / 0.1))]) for mu in (0.8, 1.4)]"
// so maximum curvature + 0.2 lies 0.1 to 0.2 above the truth.
std::vector<Event> changingNetwork(std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<Event> events;
    for (const double mu : {0.8, 1.4}) {
        const int firstDay = mu < 1.0 ? 0 : kChangeDay;
        for (int kept = 0; kept < 6000;) {
            const double x = -std::log10(1.0 - u(g));
            const double detect = 0.5 * std::erfc(-(x - mu) / (0.1 * std::sqrt(2.0)));
            if (u(g) >= detect) continue;
            events.push_back({firstDay + static_cast<int>(u(g) * kChangeDay), x});
            ++kept;
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.day < b.day; });
    return events;
}

Table catalogueOf(const std::vector<Event>& events) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    for (const Event& e : events) t.appendRecord({Value::date(kFirst + e.day), Value::real(e.magnitude)});
    t.first();
    return t;
}

// MMin well above either Mc: a window's estimate on the events ≥ MMin
// alone would find no threshold change at all.
AnalysisSettings quietSettings(double mMin = 1.8) {
    AnalysisSettings s = hazardSettings(mMin);
    s.WithProgress = false;
    return s;
}

TimeVariationsParameters withMc(McMethod method = McMethod::MaxCurvatureCorrected) {
    TimeVariationsParameters p;
    p.windowWidth = 300;
    p.windowStep = 100;
    p.completeness.enabled = true;
    p.completeness.method = method;
    return p;
}

const Column& column(Table& t, const char* field) { return t.column(t.requireField(field)); }

TEST(WindowCompleteness, DefaultIsOffAndTheCorrectedMaximumCurvature) {
    const TimeVariationsParameters p;
    EXPECT_FALSE(p.completeness.enabled);
    EXPECT_EQ(p.completeness.method, McMethod::MaxCurvatureCorrected);
    EXPECT_DOUBLE_EQ(p.completeness.binWidth, 0.1);
    for (int tag : {1, 3, 4, 5, 10}) {
        SCOPED_TRACE(tag);
        const auto charts = TimeVariationsCharts(TimeVariationsDefaults(tag));
        EXPECT_TRUE(
            std::none_of(charts.begin(), charts.end(), [](const auto& c) { return c.quantity == 5; }));
    }
    // With the option on, the Mc chart comes last, without event markers or
    // counts.
    TimeVariationsParameters on = TimeVariationsDefaults(10);
    on.completeness.enabled = true;
    const auto charts = TimeVariationsCharts(on);
    ASSERT_EQ(charts.size(), 5u);
    EXPECT_EQ(charts.back().quantity, 5);
    EXPECT_EQ(charts.back().activity, 3);
    EXPECT_FALSE(charts.back().markEvents);
    // The Mc chart alone is a run.
    TimeVariationsParameters alone = TimeVariationsDefaults(0);
    alone.completeness.enabled = true;
    ASSERT_EQ(TimeVariationsCharts(alone).size(), 1u);
    // The bin width is checked only where it is used.
    TimeVariationsParameters bin;
    bin.completeness.binWidth = 0.0;
    EXPECT_FALSE(TimeVariationsProblem(bin));
    bin.completeness.enabled = true;
    EXPECT_TRUE(TimeVariationsProblem(bin));
    bin.completeness.binWidth = 0.001;
    EXPECT_FALSE(TimeVariationsProblem(bin));
    bin.completeness.binWidth = 1.5;
    EXPECT_TRUE(TimeVariationsProblem(bin));
}

TEST(WindowCompleteness, WindowsEitherSideOfAChangeRecoverTheirThreshold) {
    const std::vector<Event> events = changingNetwork(2005);
    Table cat = catalogueOf(events);
    TimeVariations tv(quietSettings(), &cat, withMc());
    Table& t = *tv.GetTable();
    const Column& mc = column(t, "Mc");
    const Column& start = column(t, "OkresStart");
    const Column& end = column(t, "OkresKoniec");
    int before = 0, after = 0;
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        const std::size_t row = t.rowOfRecord(i);
        const int from = static_cast<int>(start.numberAt(row)) - kFirst;
        const int to = static_cast<int>(end.numberAt(row)) - kFirst;
        SCOPED_TRACE(std::to_string(from) + "…" + std::to_string(to));
        ASSERT_FALSE(mc.isNull(row));
        if (to < kChangeDay) {
            EXPECT_LE(std::abs(mc.numberAt(row) - 1.0), 0.2 + 1e-9) << mc.numberAt(row);
            ++before;
        } else if (from >= kChangeDay) {
            EXPECT_LE(std::abs(mc.numberAt(row) - 1.6), 0.2 + 1e-9) << mc.numberAt(row);
            ++after;
        }
    }
    // Windows 0…300 to 600…900 and 1000…1300 to 1600…1900.
    EXPECT_EQ(before, 7);
    EXPECT_EQ(after, 7);
    EXPECT_EQ(tv.WindowsWithoutMc(), 0);
}

// Each window's Mc is the estimator's on every event of the window's days,
// both ends included, whatever its magnitude; every method, so that no
// method's "no estimate" is lost on the way to the table.
TEST(WindowCompleteness, EachWindowEqualsTheEstimatorOnTheWindowsEvents) {
    const std::vector<Event> events = changingNetwork(77);
    for (McMethod method : allMcMethods()) {
        SCOPED_TRACE(mcMethodName(method));
        Table cat = catalogueOf(events);
        TimeVariationsParameters p = withMc(method);
        p.completeness.binWidth = method == McMethod::KolmogorovSmirnov ? 0.2 : 0.1;
        TimeVariations tv(quietSettings(), &cat, p);
        Table& t = *tv.GetTable();
        int missing = 0;
        for (std::size_t i = 0; i < t.recordCount(); ++i) {
            const std::size_t row = t.rowOfRecord(i);
            const int from = static_cast<int>(column(t, "OkresStart").numberAt(row)) - kFirst;
            const int to = static_cast<int>(column(t, "OkresKoniec").numberAt(row)) - kFirst;
            std::vector<double> m;
            for (const Event& e : events)
                if (e.day >= from && e.day <= to) m.push_back(e.magnitude);
            McOptions o;
            o.binWidth = p.completeness.binWidth;
            o.bootstrapResamples = 0;
            const std::optional<double> expected = estimateCompleteness(m, o, {method}).estimates[0].mc;
            ASSERT_EQ(column(t, "LZdarzen").numberAt(row), static_cast<double>(m.size()));
            if (!expected) {
                EXPECT_TRUE(column(t, "Mc").isNull(row));
                ++missing;
                continue;
            }
            ASSERT_FALSE(column(t, "Mc").isNull(row)) << from;
            EXPECT_EQ(column(t, "Mc").numberAt(row), *expected) << from;
        }
        EXPECT_EQ(tv.WindowsWithoutMc(), missing);
    }
}

// Too few events for any estimate: every window's Mc is empty and counted;
// a window whose parametric estimate fails keeps the Mc it has.
TEST(WindowCompleteness, FailedWindowsKeepTheirMcAndSmallWindowsHaveNone) {
    const std::vector<Event> events = changingNetwork(3);
    Table cat = catalogueOf(events);
    TimeVariations reference(quietSettings(), &cat, withMc());
    // At least 1,000 events a window: each of the ~1,800 passes, yet with
    // MMin 3.5 no window has enough events at or above it.
    Table again = catalogueOf(events);
    TimeVariationsParameters p = withMc();
    p.minEvents = 1000;
    TimeVariations failed(quietSettings(3.5), &again, p);
    Table& a = *reference.GetTable();
    Table& b = *failed.GetTable();
    ASSERT_EQ(a.recordCount(), b.recordCount());
    for (std::size_t i = 0; i < a.recordCount(); ++i) {
        EXPECT_EQ(column(b, "Opis").textAt(b.rowOfRecord(i)), "Zbyt mała ilość rekordów");
        EXPECT_EQ(column(b, "Mc").numberAt(b.rowOfRecord(i)), column(a, "Mc").numberAt(a.rowOfRecord(i)));
    }

    // 24 events in each 300-day window: below the estimator's 25.
    std::vector<Event> sparse;
    for (int d = 0; d < 1500; d += 13) sparse.push_back({d, 1.0 + 0.01 * (d % 97)});
    Table few = catalogueOf(sparse);
    TimeVariations none(quietSettings(), &few, withMc());
    Table& t = *none.GetTable();
    ASSERT_GT(t.recordCount(), 0u);
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        const std::size_t row = t.rowOfRecord(i);
        EXPECT_LT(column(t, "LZdarzen").numberAt(row), 25.0);
        EXPECT_TRUE(column(t, "Mc").isNull(row));
    }
    EXPECT_EQ(none.WindowsWithoutMc(), none.WindowsWritten());

    ReportLines lines;
    none.WriteReport(lines);
    const std::string count = std::to_string(none.WindowsWritten());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "   Okna bez oszacowania: " + count + " z " + count),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "   Metoda: Maksymalna krzywizna + 0,2"), lines.end());

    TimeVariationsParameters zero = withMc();
    zero.completeness.binWidth = 0.0;
    EXPECT_THROW(TimeVariations(quietSettings(), &few, zero), EMcBinWidth);
}

// The column comes last, after the bands' columns, and every other field,
// value and report line is what the run without it writes.
TEST(WindowCompleteness, OnlyAddsItsColumnAndReportBlock) {
    std::vector<Event> events = changingNetwork(11);
    events.resize(4000);
    for (const bool bands : {false, true}) {
        SCOPED_TRACE(bands ? "bands" : "no bands");
        TimeVariationsParameters p;
        p.windowWidth = 300;
        p.windowStep = 50;
        p.bootstrap.enabled = bands;
        p.bootstrap.replicates = 20;
        TimeVariationsParameters q = p;
        q.completeness.enabled = true;
        Table c1 = catalogueOf(events), c2 = catalogueOf(events);
        AnalysisSettings s = quietSettings(1.2);
        TimeVariations off(s, &c1, p);
        TimeVariations on(s, &c2, q);
        Table& a = *off.GetTable();
        Table& b = *on.GetTable();
        ASSERT_EQ(b.fields().size(), a.fields().size() + 1);
        EXPECT_EQ(b.fields().back().name, "Mc");
        EXPECT_EQ(a.fieldIndex("Mc"), -1);
        ASSERT_EQ(a.recordCount(), b.recordCount());
        for (std::size_t f = 0; f < a.fields().size(); ++f)
            for (std::size_t i = 0; i < a.recordCount(); ++i) {
                const Column& x = a.column(static_cast<int>(f));
                const Column& y = b.column(static_cast<int>(f));
                const std::size_t ra = a.rowOfRecord(i), rb = b.rowOfRecord(i);
                ASSERT_EQ(x.isNull(ra), y.isNull(rb)) << a.fields()[f].name;
                if (x.isNull(ra)) continue;
                if (a.fields()[f].type == FieldType::String)
                    EXPECT_EQ(x.textAt(ra), y.textAt(rb)) << a.fields()[f].name;
                else
                    EXPECT_EQ(x.numberAt(ra), y.numberAt(rb)) << a.fields()[f].name;
            }
        ReportLines r1, r2;
        off.WriteReport(r1);
        on.WriteReport(r2);
        ASSERT_EQ(r2.size(), r1.size() + 5);
        for (std::size_t i = 0; i < r1.size(); ++i)
            if (r1[i].find("Data utworzenia") == std::string::npos) {
                EXPECT_EQ(r1[i], r2[i]);
            }
        EXPECT_EQ(r2[r1.size()], "");
        EXPECT_EQ(r2[r1.size() + 1].rfind("  Magnituda kompletności Mc", 0), 0u);
    }
}

}  // namespace
}  // namespace zorv
