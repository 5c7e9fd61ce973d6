// The commands that check the hazard on the sample catalogue: the
// maximum-magnitude comparison and the verification of past forecasts, with
// their chart windows and reports, and the same tables as zorv-batch.

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include "SampleShell.h"
#include "chart/TfmGraph.h"
#include "hazard/Backtest.h"
#include "hazard/MMaxComparison.h"
#include "hazard/TfmBacktest.h"
#include "report/ReportWriter.h"
#include "report/TfmRichText.h"

using namespace zorv;

class HazardCheckCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The comparison opens its chart: the estimates with error bars of ±σ,
    // the line of the largest observed magnitude, the verdict under the title.
    void maximumMagnitudeComparison() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        QAction* a = w.action(QStringLiteral("mMMaxCompare"));
        QVERIFY(a && a->isEnabled());
        QCOMPARE(a->text(), QStringLiteral("Maksymalna magnituda — porównanie estymatorów"));
        a->trigger();
        QVERIFY2(f.dialogs.messages.empty(),
                 f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages[0].text));
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 1);
        TfmGraph* g = opened[0];
        QCOMPARE(g->kind(), ChartKind::MMaxComparison);
        auto* c = dynamic_cast<MMaxComparison*>(&g->analysis());
        QVERIFY(c);
        QVERIFY(g->titleText().endsWith(QString::fromStdString(c->ShortVerdict())));

        const ChartSeries& estimates = g->series(seriesIndex("Series10"));
        QVERIFY(estimates.active && estimates.errorBars && estimates.errorBars->visible());
        int ok = 0;
        for (const MMaxRow& r : c->Rows()) ok += r.result.ok();
        QCOMPARE(estimates.graph->dataCount(), ok);
        QCOMPARE(estimates.errorBars->dataCount(), ok);
        // The first bar is the first successful row's σ, both ways.
        const MMaxRow& first = c->Rows()[0];
        QVERIFY(first.result.ok());
        QCOMPARE(estimates.errorBars->data()->at(0).errorPlus, first.result.sigma);
        QCOMPARE(estimates.errorBars->data()->at(0).errorMinus, first.result.sigma);
        const ChartSeries& observed = g->series(seriesIndex("Series11"));
        QVERIFY(observed.active);
        QCOMPARE(observed.graph->dataCount(), 9);
        QCOMPARE(observed.graph->data()->at(0)->value, c->LargestObserved());
        // The axis shows every bar whole.
        const QCPRange y = g->axis(ChartAxis::Left)->range();
        for (const MMaxRow& r : c->Rows()) {
            if (!r.result.ok()) continue;
            QVERIFY(y.lower <= r.result.estimate - r.result.sigma);
            QVERIFY(y.upper >= r.result.estimate + r.result.sigma);
        }

        // The report window shows the analysis' report.
        w.action(QStringLiteral("mViewReport"))->trigger();
        auto* report = qobject_cast<TfmRichText*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(report);
        ReportLines expected;
        g->analysis().WriteReport(expected);
        QCOMPARE(report->lines(), expected);
    }

    // The verification asks m, D and the window, then opens the reliability
    // chart; a horizon under a week keeps "Kontynuuj" off.
    void forecastVerification() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        bool refused = false;
        f.answer = [&](QDialog& d) {
            auto* b = qobject_cast<TfmBacktest*>(&d);
            if (!b) return int(QDialog::Accepted);
            b->horizon()->setValue(5);
            refused = !b->continueButton()->isEnabled() && !b->problem()->text().isEmpty();
            b->horizon()->setValue(60);
            b->window()->setValue(720);
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mBacktest"))->trigger();
        QVERIFY(refused);
        QVERIFY2(f.dialogs.messages.empty(),
                 f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages[0].text));
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 1);
        TfmGraph* g = opened[0];
        QCOMPARE(g->kind(), ChartKind::Reliability);
        auto* b = dynamic_cast<Backtest*>(&g->analysis());
        QVERIFY(b);
        QCOMPARE(b->Parameters().horizonDays, 60);
        QCOMPARE(b->Parameters().windowDays, 720);
        // One point per bin that holds forecasts, for each family.
        int filled = 0;
        for (const ReliabilityBin& r : b->Parametric().reliability) filled += r.count > 0;
        QCOMPARE(g->series(seriesIndex("Series10")).graph->dataCount(), filled);
        QCOMPARE(g->series(seriesIndex("Series11")).graph->dataCount(), 10);
        // Both axes show 0 … 1 with room for the points on the edges.
        for (ChartAxis a : {ChartAxis::Left, ChartAxis::Bottom}) {
            const QCPRange r = g->axis(a)->range();
            QVERIFY(r.lower < 0.0 && r.lower > -0.1 && r.upper > 1.0 && r.upper < 1.1);
        }
    }

    // zorv-batch gives the same table as the desktop command.
    void batchGivesTheSameTable() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.action(QStringLiteral("mMMaxCompare"))->trigger();
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 1);
        const QString desktop = f.dir.filePath(QStringLiteral("okno.csv"));
        QVERIFY(opened[0]->analysis().SaveTableAsText(desktop.toStdString(), ";"));
        const QString batch = f.dir.filePath(QStringLiteral("batch.csv"));
        QProcess p;
        p.start(QStringLiteral(ZORV_BATCH),
                {QStringLiteral("mmax-compare"), QStringLiteral("--settings"), f.iniPath(),
                 QStringLiteral("--table"), batch, QStringLiteral("--locale"), QStringLiteral("en"),
                 sampleCopy(f)});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(readAll(batch), readAll(desktop));
    }
};

QTEST_MAIN(HazardCheckCommandsTest)
#include "HazardCheckCommandsTest.moc"
