// Details of the main window a user meets at once: the chart buttons stay in
// place as the filter text changes, dialog titles are not cut, date fields
// take typed dates, the zone summary shows what was chosen, chart windows
// say which estimate they show and their legends speak Polish.

#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "catalogue/TfmMainBase.h"
#include "catalogue/TfmSort.h"
#include "registry/AnalysisRegistry.h"
#include "services/WindowTitleFit.h"

using namespace zorv;

namespace {

// The names in the "Strefa" column of a summary grid.
QStringList gridNames(const QTableWidget* grid) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 1)) out << grid->item(r, 1)->text();
    return out;
}

}  // namespace

class WindowDetailsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void chartButtonsStayPutAsTheFilterChanges() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.resize(1400, 900);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* charts = w.findChild<QToolBar*>(QStringLiteral("ToolBar4"));
        QVERIFY(charts);
        w.setFilterBarText(QStringLiteral("   "));
        QCoreApplication::processEvents();
        const int x = charts->x();
        const QString longFilter = QStringLiteral(
            "Strefa: G-1/1 lub G-1/2 lub G-2/1 lub G-2/2  i Zlokalizowane  i Okres: 2001-01-01 - "
            "2003-12-31   ");
        w.setFilterBarText(longFilter);
        QCoreApplication::processEvents();
        QCOMPARE(charts->x(), x);
        // The whole text is kept, and shown in the tip.
        QCOMPARE(w.filterBarText(), longFilter);
        auto* bar = w.findChild<QLabel*>(QStringLiteral("FilterBar"));
        QCOMPARE(bar->toolTip(), longFilter);
        QVERIFY(bar->text().size() < longFilter.size());
    }

    void dialogTitlesFitTheirWindows() {
        QDialog d;
        d.setWindowTitle(QStringLiteral("Analiza aktywności sejsmicznej w strefach i oddziałach kopalni"));
        d.resize(120, 80);
        fitWindowTitle(d);
        QVERIFY(d.minimumWidth() >= titleBarWidth(d));
        QVERIFY(titleBarWidth(d) > QFontMetrics(d.font()).horizontalAdvance(d.windowTitle()));
        // A wide dialog keeps its own minimum.
        QDialog wide;
        wide.setWindowTitle(QStringLiteral("Filtr"));
        wide.setMinimumWidth(900);
        fitWindowTitle(wide);
        QCOMPARE(wide.minimumWidth(), 900);
        // Every dialog the shell runs goes through it.
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmSort& sort = w.periodDialog();
        sort.setWindowTitle(QStringLiteral("Filtr okresu, stref i wyrażenia dodatkowego katalogu zjawisk"));
        sort.setMinimumWidth(0);
        w.execDialog(sort);
        QVERIFY(sort.minimumWidth() >= titleBarWidth(sort));
    }

    void dateFieldsTakeTypedDates() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmSort& sort = w.periodDialog();
        sort.scale()->setCurrentIndex(0);
        sort.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sort));
        auto* start = sort.findChild<QDateEdit*>(QStringLiteral("stDate"));
        auto* end = sort.findChild<QDateEdit*>(QStringLiteral("enDate"));
        QVERIFY(start && end);
        // By default the catalogue's first and last date.
        const QDate first = start->date(), last = end->date();
        QVERIFY(first < last);
        const QDate typed = first.addDays(int(first.daysTo(last) / 2));
        start->setFocus();
        start->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(start, typed.toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(start->date(), typed);
        // Digits alone, field after field.
        const QDate other = first.addDays(int(first.daysTo(last) / 3));
        start->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(start, other.toString(QStringLiteral("yyyyMMdd")));
        QCOMPARE(start->date(), other);
        QCOMPARE(sort.values().stDate, dayOfDate(other));
        // A date past the catalogue's last is brought back to it.
        start->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(start, last.addYears(1).toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(sort.values().stDate, dayOfDate(last));
        emit start->editingFinished();
        QCOMPARE(start->date(), last);
        sort.hide();
    }

    void zoneSummaryShowsTheChosenZones() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        TfmMainBase& cw = w.catalogueWindow();
        w.action(QStringLiteral("mShowDaneBazy"))->trigger();
        auto* zones = cw.findChild<QTableWidget*>(QStringLiteral("Dane"));
        auto* departments = cw.findChild<QTableWidget*>(QStringLiteral("MainDane"));
        QVERIFY(zones && departments);
        const QStringList allZones = gridNames(zones);
        QVERIFY(allZones.size() > 2);
        // Two zones ticked in the list: their rows and their departments only.
        w.action(QStringLiteral("mZone"))->trigger();
        const QString a = allZones.front(), b = allZones.back();
        for (const QString& z : {a, b})
            cw.zoneList()->findItems(z, Qt::MatchExactly).front()->setCheckState(Qt::Checked);
        w.action(QStringLiteral("mShowDaneBazy"))->trigger();
        QCOMPARE(gridNames(zones), (QStringList{a, b}));
        const QString depA = a.section(QLatin1Char('/'), 0, 0), depB = b.section(QLatin1Char('/'), 0, 0);
        QCOMPARE(gridNames(departments), depA == depB ? QStringList{depA} : (QStringList{depA, depB}));
        // The count of a chosen zone is that zone's own.
        QVERIFY(zones->item(0, 2)->text().toInt() > 0);
        QVERIFY(zones->item(0, 2)->text().toInt() < int(w.session().recordCount()));
    }

    void chartWindowsSayWhatTheyShow() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        AnalysisRequest r;
        r.period = PeriodKind::Years;
        TfmGraph* activity = w.analysisCommands().run(*findAnalysis("total-activity"), r);
        QVERIFY(activity);
        QStringList names;
        for (int i = 0; i < kSeriesCount; ++i)
            if (activity->series(i).active) names << activity->series(i).plottable()->name();
        QVERIFY2(names.contains(QStringLiteral("Aktywność")), qPrintable(names.join(QLatin1Char(','))));
        QVERIFY(!names.contains(QStringLiteral("Aktywnosc")));
    }
};

QTEST_MAIN(WindowDetailsTest)
#include "WindowDetailsTest.moc"
