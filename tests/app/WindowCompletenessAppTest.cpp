// The completeness magnitude of the time variations in the main window: the
// dialog's check box and method, the chart window it adds with MMin as a
// level line, and the table's column; with the box unticked, no such chart.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "SampleShell.h"
#include "chart/TfmGraph.h"
#include "hazard/TfmTimeVariations.h"

using namespace zorv;

class WindowCompletenessAppTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void dialogCarriesTheOption() {
        TfmTimeVariations d;
        d.prepare(TimeVariationsDefaults(5), 1.96, 1.15, Locale::point());
        QVERIFY(!d.completenessChart()->isChecked());
        QVERIFY(!d.completenessMethod()->isEnabled());
        QVERIFY(!d.parameters().completeness.enabled);
        QCOMPARE(d.completenessMethod()->count(), 6);
        d.completenessChart()->setChecked(true);
        QVERIFY(d.completenessMethod()->isEnabled());
        d.completenessMethod()->setCurrentIndex(4);
        TimeVariationsParameters p = d.parameters();
        QVERIFY(p.completeness.enabled);
        QVERIFY(p.completeness.method == McMethod::BValueStability);
        QCOMPARE(p.completeness.binWidth, 0.1);
        // The Mc chart alone is enough to run.
        d.bValueChart()->setChecked(false);
        QVERIFY(d.continueButton()->isEnabled());
        d.completenessChart()->setChecked(false);
        QVERIFY(!d.continueButton()->isEnabled());
        // Prepared parameters come back as they were, the bin width too.
        p.completeness.method = McMethod::GoodnessOfFit95;
        p.completeness.binWidth = 0.2;
        d.prepare(p, 1.96, 1.15, Locale::point());
        QVERIFY(d.completenessChart()->isChecked());
        QCOMPARE(d.completenessMethod()->currentIndex(), 3);
        QVERIFY(d.parameters().completeness == p.completeness);
    }

    void checkBoxOpensTheMcChart() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [](QDialog& d) {
            if (auto* t = qobject_cast<TfmTimeVariations*>(&d)) t->completenessChart()->setChecked(true);
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mtvBeta"))->trigger();
        const QList<TfmGraph*> open = charts(w);
        QCOMPARE(open.size(), 2);
        TfmGraph* mc = nullptr;
        for (TfmGraph* g : open)
            if (g->titleText() == QStringLiteral("Magnituda kompletności Mc")) mc = g;
        QVERIFY(mc);
        QCOMPARE(mc->kind(), ChartKind::TimeVariations);
        const Table& t = *mc->analysis().GetTable();
        const int field = t.fieldIndex("Mc");
        QVERIFY(field >= 0);
        QCOMPARE(t.fields().back().name, std::string("Mc"));
        // The chart draws every window with an estimate.
        int estimated = 0;
        for (std::size_t i = 0; i < t.recordCount(); ++i)
            estimated += !t.column(field).isNull(t.rowOfRecord(i));
        QVERIFY(estimated > 0);
        const ChartSeries& line = mc->series(seriesIndex("Series6"));
        QVERIFY(line.active);
        QCOMPARE(line.field, std::string("Mc"));
        QCOMPARE(line.graph->dataCount(), estimated);
        // MMin as a level line across the windows, within the left axis.
        const ChartSeries& level = mc->series(seriesIndex("Series9"));
        QVERIFY(level.active && level.graph->visible());
        QCOMPARE(level.graph->dataCount(), 2);
        const double mMin = w.analysisSettings().MMin;
        QCOMPARE(level.graph->data()->at(0)->value, mMin);
        QCOMPARE(level.graph->data()->at(1)->value, mMin);
        QCOMPARE(level.graph->data()->at(0)->key, line.graph->data()->at(0)->key);
        QVERIFY(mc->chart()->yAxis->range().contains(mMin));
        QVERIFY(level.graph->name().contains(QStringLiteral("MMin")));
    }

    void uncheckedOpensNoMcChart() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.action(QStringLiteral("mtvBeta"))->trigger();
        const QList<TfmGraph*> open = charts(w);
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first()->analysis().GetTable()->fieldIndex("Mc"), -1);
    }
};

QTEST_MAIN(WindowCompletenessAppTest)
#include "WindowCompletenessAppTest.moc"
