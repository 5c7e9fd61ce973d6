// What a chart shows where an analysis has no value: the failure markers of
// the b charts and the maximum-magnitude comparison (a marker at the bottom
// of the value axis, the reason as its tooltip, the count in the legend),
// the Aki–Utsu series beside the truncated b, and the confidence band of the
// return period that stays open upwards to the curve's end, on a linear and
// a logarithmic axis.

#include <QStandardPaths>
#include <QTest>
#include <cmath>

#include "FakeAnalysis.h"
#include "chart/TfmGraph.h"
#include "charts/ChartLayout.h"
#include "charts/MaskTicker.h"

using namespace zorv;

namespace {

AnalysisSettings pointSettings() {
    AnalysisSettings s;
    s.UserLocale = Locale::point();
    s.MagnitudeOnly = true;
    return s;
}

std::unique_ptr<TfmGraph> chartOf(ChartKind kind, Table t) {
    auto analysis = std::make_shared<FakeAnalysis>(pointSettings(), std::move(t));
    auto w = std::make_unique<TfmGraph>(analysis, analysis->settings(), kind, QString(), nullptr, 0);
    w->resize(800, 500);
    w->show();
    w->build();
    QCoreApplication::processEvents();
    w->chart()->replot();
    return w;
}

// The pixel of the marker at `key` on the bottom of the axis rectangle.
QPointF markerPixel(const TfmGraph& w, double key) {
    return {w.chart()->xAxis->coordToPixel(key), static_cast<double>(w.chart()->axisRect()->bottom())};
}

}  // namespace

class ChartFailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void bChartsMarkEveryFailedRow() {
        for (const ChartKind kind : {ChartKind::BChanges, ChartKind::ZoneB}) {
            const char* label = kind == ChartKind::BChanges ? "Okres" : "Strefa";
            Table t(FieldDefs{{"Numer", FieldType::AutoInc},
                              {label, FieldType::String, 20},
                              {"b", FieldType::Float},
                              {"Opis", FieldType::String, 30}});
            t.appendRecord({Value{}, Value::text("a"), Value::real(1.0), Value::text("")});
            t.appendRecord({Value{}, Value::text("b"), Value{}, Value::text("Przekroczony limit iteracji")});
            t.appendRecord(
                {Value{}, Value::text("c"), Value{}, Value::text("Równanie Mmax bez rozwiązania")});
            // Empty with no reason (no analysis of that row): no marker.
            t.appendRecord({Value{}, Value::text("d"), Value{}, Value::text("")});
            t.appendRecord({Value{}, Value::text("e"), Value::real(0.9), Value::text("")});
            auto w = chartOf(kind, std::move(t));
            const auto& markers = w->failureMarkers();
            QCOMPARE(markers.size(), std::size_t{2});
            QCOMPARE(markers[0].key, 2.0);
            QCOMPARE(markers[1].key, 3.0);
            QVERIFY(w->failureLegend());
            QVERIFY(w->chart()->legend->hasItemWithPlottable(w->failureLegend()));
            QVERIFY(w->failureLegend()->name().contains(QStringLiteral("Brak estymacji: 2")));
            // The tooltip names the reason of the marker under the mouse and
            // of no other.
            QCOMPARE(w->failureAt(markerPixel(*w, 2.0)), QStringLiteral("Przekroczony limit iteracji"));
            QCOMPARE(w->failureAt(markerPixel(*w, 3.0) + QPointF(3, -2)),
                     QStringLiteral("Równanie Mmax bez rozwiązania"));
            QVERIFY(w->failureAt(markerPixel(*w, 4.0)).isEmpty());
            QVERIFY(w->failureAt(markerPixel(*w, 2.0) - QPointF(0, 40)).isEmpty());
            // The points with a value stay two; building again keeps one set
            // of markers and one legend entry.
            QCOMPARE(w->series(13).graph->dataCount(), 2);
            const int items = w->chart()->itemCount();
            const int plottables = w->chart()->plottableCount();
            w->build();
            QCOMPARE(w->chart()->itemCount(), items);
            QCOMPARE(w->chart()->plottableCount(), plottables);
        }
        // No failure: no legend entry.
        Table ok(FieldDefs{{"Numer", FieldType::AutoInc},
                           {"Okres", FieldType::String, 20},
                           {"b", FieldType::Float},
                           {"Opis", FieldType::String, 30}});
        ok.appendRecord({Value{}, Value::text("a"), Value::real(1.0), Value::text("")});
        auto w = chartOf(ChartKind::BChanges, std::move(ok));
        QVERIFY(w->failureMarkers().empty());
        QVERIFY(!w->failureLegend());
    }

    void akiSeriesBesideTheTruncatedB() {
        Table t(FieldDefs{{"Numer", FieldType::AutoInc},
                          {"Okres", FieldType::String, 20},
                          {"b", FieldType::Float},
                          {"Opis", FieldType::String, 30},
                          {"b_AKI", FieldType::Float},
                          {"sigma_AKI", FieldType::Float}});
        t.appendRecord({Value{}, Value::text("a"), Value::real(1.0), Value::text(""), Value::real(1.02),
                        Value::real(0.07)});
        t.appendRecord({Value{}, Value::text("b"), Value{}, Value::text("Równanie Mmax bez rozwiązania"),
                        Value::real(1.31), Value::real(0.09)});
        auto w = chartOf(ChartKind::BChanges, std::move(t));
        const ChartSeries& aki = w->series(seriesIndex(SeriesName::Series12));
        QVERIFY(aki.active);
        QCOMPARE(aki.graph->name(), QStringLiteral("b Aki–Utsu ± sigma_AKI"));
        QCOMPARE(aki.graph->dataCount(), 2);
        QVERIFY(aki.errorBars);
        QCOMPARE(aki.errorBars->data()->at(1).errorPlus, 0.09);
        // The failed row of the truncated b is still marked.
        QCOMPARE(w->failureMarkers().size(), std::size_t{1});
    }

    void mmaxComparisonMarksFailedEstimators() {
        Table t(FieldDefs{{"Numer", FieldType::AutoInc},
                          {"Estymator", FieldType::String, 60},
                          {"Skrot", FieldType::String, 10},
                          {"MMax", FieldType::Float},
                          {"Sigma", FieldType::Float},
                          {"MObs", FieldType::Float},
                          {"Status", FieldType::String, 80}});
        // Nine estimators as the analysis has them, the fourth failed.
        const char* labels[] = {"NP st.", "NP zm.", "K-S st.", "K-S zm.", "K-S-B",
                                "T-P",    "R-W",    "R-W-C",   "N-P-G"};
        for (int k = 0; k < 9; ++k) {
            const bool failed = k == 3;
            t.appendRecord({Value{}, Value::text("estymator"), Value::text(labels[k]),
                            failed ? Value{} : Value::real(4.2 + 0.01 * k),
                            failed ? Value{} : Value::real(0.02), Value::real(4.19),
                            Value::text(failed ? "Brak rozwiązania równania poniżej dopuszczalnej magnitudy"
                                               : "obliczony")});
        }
        auto w = chartOf(ChartKind::MMaxComparison, std::move(t));
        QCOMPARE(w->failureMarkers().size(), std::size_t{1});
        QCOMPARE(w->failureMarkers()[0].key, 4.0);
        QCOMPARE(w->failureAt(markerPixel(*w, 4.0)),
                 QStringLiteral("Brak rozwiązania równania poniżej dopuszczalnej magnitudy"));
        // Every estimator is named on the axis, none thinned out.
        QCOMPARE(w->chart()->xAxis->tickVector().size(), 9);
        QCOMPARE(w->chart()->xAxis->tickVectorLabels().at(3), QStringLiteral("K-S zm."));
    }

    void returnPeriodBandReachesTheCurvesEnd() {
        Table t(FieldDefs{{"Numer", FieldType::AutoInc},
                          {"Magnituda", FieldType::Float},
                          {"Energia", FieldType::Float},
                          {"MRP", FieldType::Float},
                          {"MRP_lo", FieldType::Float},
                          {"MRP_hi", FieldType::Float}});
        // The upper end is infinite (null) on the last two rows.
        const double rows[][4] = {{2.0, 1.0, 0.8, 1.3},
                                  {2.5, 4.0, 3.0, 6.0},
                                  {3.0, 20.0, 12.0, 45.0},
                                  {3.5, 90.0, 40.0, NAN},
                                  {4.0, 400.0, 150.0, NAN}};
        for (const auto& r : rows)
            t.appendRecord({Value{}, Value::real(r[0]), Value::real(r[0]), Value::real(r[1]),
                            Value::real(r[2]), std::isnan(r[3]) ? Value{} : Value::real(r[3])});
        auto w = chartOf(ChartKind::ParametricReturnPeriod, std::move(t));
        QCPGraph* top = nullptr;
        for (int i = 0; i < w->chart()->graphCount(); ++i)
            if (w->chart()->graph(i)->name().endsWith(QStringLiteral("(przedział ufności)")))
                top = w->chart()->graph(i);
        QVERIFY(top);
        // The band spans every row of the curve; its open ends stand at the
        // top of the axis, which the curve and the closed ends set.
        QCOMPARE(top->dataCount(), 5);
        const auto upperAt = [&](int k) { return (top->data()->constBegin() + k)->value; };
        QCOMPARE(upperAt(2), 45.0);
        const QCPRange linear = w->chart()->yAxis->range();
        QCOMPARE(upperAt(4), linear.upper);
        QVERIFY(linear.upper < 1000.0);
        // On a logarithmic axis: whole decades about the values, the open
        // ends following.
        const QString linearMask = w->axisFormat(ChartAxis::Left);
        w->setAxisLogarithmic(ChartAxis::Left, true);
        QCOMPARE(w->chart()->yAxis->scaleType(), QCPAxis::stLogarithmic);
        // Decades below 1 are labelled with an exponent, not as 0.
        QCOMPARE(w->axisFormat(ChartAxis::Left), QStringLiteral("0.##E+0"));
        QVERIFY(w->axisLogarithmic(ChartAxis::Left));
        QCOMPARE(w->chart()->yAxis->range().lower, 0.1);
        QCOMPARE(w->chart()->yAxis->range().upper, 1000.0);
        QCOMPARE(upperAt(3), 1000.0);
        // A zoom moves them with the axis.
        w->chart()->yAxis->setRange(1.0, 500.0);
        QCOMPARE(upperAt(4), 500.0);
        w->setAxisLogarithmic(ChartAxis::Left, false);
        QCOMPARE(w->chart()->yAxis->scaleType(), QCPAxis::stLinear);
        QCOMPARE(w->chart()->yAxis->range(), linear);
        QCOMPARE(w->axisFormat(ChartAxis::Left), linearMask);
    }
};

QTEST_MAIN(ChartFailuresTest)
#include "ChartFailuresTest.moc"
