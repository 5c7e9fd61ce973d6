// "Oszacuj" beside MMin in the base properties and the preferences: the
// completeness dialog on the open sample lists every method with its
// spread, draws the frequency–magnitude distribution with the estimates, and
// the estimate taken becomes MMin; cancel and a missing catalogue leave it.
//
// With ZORV_SHOT set to a file name the dialog is also saved as a picture
// there (the screenshots script runs it under xvfb-run).

#include <qcustomplot.h>

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include "SampleShell.h"
#include "catalogue/TfmBasePreferences.h"
#include "catalogue/TfmPreferences.h"
#include "hazard/TfmCompleteness.h"

using namespace zorv;

namespace {

// Answers the completeness dialog by taking the estimate of `row` (or
// cancelling for −1) and accepts every other dialog.
std::function<int(QDialog&)> taking(int row, int* shown) {
    return [row, shown](QDialog& d) {
        auto* c = qobject_cast<TfmCompleteness*>(&d);
        if (!c) return int(QDialog::Accepted);
        ++*shown;
        if (qEnvironmentVariableIsSet("ZORV_SHOT")) {
            c->show();
            QTest::qWait(200);
            c->grab().save(qEnvironmentVariable("ZORV_SHOT"));
        }
        if (row < 0) {
            c->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
            return c->result();
        }
        c->estimates()->selectRow(row);
        c->takeButton()->click();
        return c->result();
    };
}

}  // namespace

class CompletenessDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The sample's estimates, from the same estimators on the command line:
    //   zorv-batch mc data/sample/katalog.dbf
    // maxc 1,20, maxc+0.2 1,40, gof90 1,20, gof95 1,30, mbs 1,40, ks 1,40.
    void dialogListsEveryMethodAndDrawsTheDistribution() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        int shown = 0;
        f.answer = [&shown](QDialog& d) {
            auto* c = qobject_cast<TfmCompleteness*>(&d);
            if (!c) return int(QDialog::Accepted);
            ++shown;
            QTableWidget* t = c->estimates();
            const QStringList mc{QStringLiteral("1.20"), QStringLiteral("1.40"), QStringLiteral("1.20"),
                                 QStringLiteral("1.30"), QStringLiteral("1.40"), QStringLiteral("1.40")};
            [&] {
                QCOMPARE(t->rowCount(), 6);
                for (int r = 0; r < 6; ++r) {
                    QCOMPARE(t->item(r, 1)->text().replace(QLatin1Char(','), QLatin1Char('.')), mc[r]);
                    QVERIFY(!t->item(r, 2)->text().isEmpty());
                }
                // Nothing is taken before a row is chosen.
                QVERIFY(!c->takeButton()->isEnabled());
                QCustomPlot* chart = c->chart();
                QCOMPARE(chart->yAxis->scaleType(), QCPAxis::stLogarithmic);
                // Cumulative and per-bin counts, then one legend entry per estimate.
                QVERIFY(chart->graphCount() == 8);
                QCOMPARE(chart->graph(0)->data()->begin()->value, 19838.0);
                QCOMPARE(chart->itemCount(), 6);
                auto* line = qobject_cast<QCPItemStraightLine*>(chart->item(5));
                QVERIFY(line);
                QCOMPARE(line->point1->coords().x(), line->point2->coords().x());
            }();
            return int(QDialog::Rejected);
        };
        w.basePreferencesDialog().estimateButton()->click();
        QCOMPARE(shown, 1);
    }

    void baseDialogTakesTheChosenEstimate() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmBasePreferences& d = w.basePreferencesDialog();
        QVERIFY(d.estimateButton()->isEnabled());
        const double before = d.mminEdit()->value();
        int shown = 0;
        f.answer = taking(-1, &shown);
        d.estimateButton()->click();
        QCOMPARE(shown, 1);
        QCOMPARE(d.mminEdit()->value(), before);

        f.answer = taking(5, &shown);  // Kolmogorov–Smirnov
        d.estimateButton()->click();
        QCOMPARE(shown, 2);
        QCOMPARE(d.mminEdit()->value(), 1.4);
        // The base properties take it at once: the analyses use it.
        w.refreshAnalysisSettings();
        QCOMPARE(w.analysisSettings().MMin, 1.4);
    }

    void preferencesTakeTheChosenEstimate() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmPreferences& d = w.preferencesDialog();
        int shown = 0;
        f.answer = taking(1, &shown);  // maximum curvature + 0.2
        d.estimateButton()->click();
        QCOMPARE(shown, 1);
        QCOMPARE(w.preferences().MMin, 1.4);
        QCOMPARE(d.findChild<QDoubleSpinBox*>(QStringLiteral("MMin"))->value(), 1.4);
    }

    void withoutACatalogueNothingIsEstimated() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const double before = w.preferences().MMin;
        int shown = 0;
        f.answer = taking(0, &shown);
        w.preferencesDialog().estimateButton()->click();
        QCOMPARE(shown, 0);
        QCOMPARE(w.preferences().MMin, before);
        QCOMPARE(f.dialogs.count(QStringLiteral("Otwórz katalog, aby oszacować magnitudę kompletności.")), 1);
    }
};

QTEST_MAIN(CompletenessDialogTest)
#include "CompletenessDialogTest.moc"
