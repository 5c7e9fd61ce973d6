// The chart properties dialog on charts of a fake analysis: what load
// shows, Apply/OK/Cancel, each page's parameters on the chart, the series
// page's options by series type, and the commands opening their pages.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "FakeAnalysis.h"
#include "ShellFixture.h"
#include "analysis/AnalysisCommands.h"
#include "analysis/Database.h"
#include "chart/StyleButtons.h"
#include "chart/TfmChartsProp.h"
#include "chart/TfmGraph.h"
#include "charts/ChartTemplateQt.h"
#include "charts/MaskTicker.h"
#include "text/NumberFormat.h"

using namespace zorv;

namespace {

std::shared_ptr<Database> makeAnalysis(const AnalysisSettings& settings, const QStringList& fields) {
    return std::make_shared<FakeAnalysis>(settings, makeTable(fields));
}

// Kind 0: seven bars E3..E9 and the point series Series10 (13) on the right
// axis. Kind 16: the bars of Series1 and the line Series11 (12).
const QStringList kClasses = {"Okres:s", "E3:i", "E4:i", "E5:i", "E6:i", "E7:i", "E8:i", "E9:i", "Energia:f"};
const QStringList kActivity = {"Okres:s", "Aktywnosc:i", "Energia:f"};
constexpr int kSeries11 = 12;
constexpr int kSeries10 = 13;

struct Fixture {
    std::unique_ptr<TfmGraph> chart;
    TfmChartsProp dialog;

    explicit Fixture(int kind, const QStringList& fields = kClasses) {
        AnalysisSettings s;
        s.UserLocale = Locale::point();
        chart = std::make_unique<TfmGraph>(makeAnalysis(s, fields), s, static_cast<ChartKind>(kind),
                                           QString(), nullptr, 0);
        chart->resize(500, 400);
        chart->build();
        dialog.load(*chart);
    }
    template <typename T>
    T* c(const char* name) {
        T* w = dialog.findChild<T*>(QString::fromUtf8(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    void pickColour(const char* button, std::uint32_t colour) {
        dialog.pickers().colour = [colour](const QColor&, QWidget*) {
            return std::optional<QColor>(toQColor(colour));
        };
        c<ColourButton>(button)->click();
    }
    void pickFont(const char* button, const QFont& font) {
        dialog.pickers().font = [font](const QFont&, QWidget*) { return std::optional<QFont>(font); };
        c<FontButton>(button)->click();
    }
    void apply() { c<QPushButton>("Apply")->click(); }
    QList<QCPItemText*> marks(int series) const {
        QList<QCPItemText*> out;
        for (int i = 0; i < chart->chart()->itemCount(); ++i) {
            auto* t = qobject_cast<QCPItemText*>(chart->chart()->item(i));
            if (t && t->property("series").isValid() && t->property("series").toInt() == series) out << t;
        }
        return out;
    }
};

QFont serif(int points, bool bold) {
    QFont f(QStringLiteral("DejaVu Serif"), points);
    f.setBold(bold);
    return f;
}

double barValueAt(const QCPBars* bars, int k) { return (bars->data()->begin() + k)->value; }
double barKeyAt(const QCPBars* bars, int k) { return (bars->data()->begin() + k)->key; }

}  // namespace

class ChartPropertiesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void loadShowsTheChart() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        w.titleElement()->setTextFlags(Qt::AlignHCenter);
        w.setLegendPosition(3);
        w.gradientDirection = 4;
        w.setBackColour(0x123456);
        f.dialog.load(w);
        QCOMPARE(f.c<QPlainTextEdit>("TitleText")->toPlainText(), w.titleText());
        QCOMPARE(f.c<QComboBox>("TitleAlignment")->currentText(), QStringLiteral("Środek"));
        QCOMPARE(f.c<QLineEdit>("BottomTitle")->text(), QStringLiteral("Oś X"));
        QCOMPARE(f.c<QLineEdit>("RightTitle")->text(), QStringLiteral("Oś prawa"));
        QVERIFY(f.c<FontButton>("AxisTitleFont")->chosenFont().bold());
        QCOMPARE(f.c<ColourButton>("BackColour")->colour(), 0x123456u);
        QCOMPARE(f.c<ColourButton>("PanelColour")->colour(), 13086103u);
        QCOMPARE(f.c<QComboBox>("GradientDirection")->currentText(), QStringLiteral("Ze Środka"));
        QCOMPARE(f.c<QComboBox>("LegendPosition")->currentText(), QStringLiteral("Na dole"));
        QVERIFY(f.c<QCheckBox>("LegendVisible")->isChecked());
        // The chooser lists the series by legend name and starts at the
        // first active one; seven grouped bars of 0.9/7 read as 90 %.
        auto* series = f.c<QComboBox>("Series");
        QCOMPARE(series->count(), kSeriesCount);
        QCOMPARE(series->currentText(), QStringLiteral("E3"));
        QCOMPARE(series->itemText(kSeries10), QStringLiteral("Energia"));
        QCOMPARE(f.c<QLineEdit>("SeriesName")->text(), QStringLiteral("Series1"));
        QCOMPARE(f.c<ColourButton>("SeriesColour")->colour(), 0x0000FFu);
        QCOMPARE(f.c<QSpinBox>("BarWidth")->value(), 90);
        QCOMPARE(f.c<QComboBox>("BarStyle")->currentText(), QStringLiteral("Obok siebie"));
        QVERIFY(f.c<QCheckBox>("MarksVisible")->isChecked());
        QCOMPARE(f.c<QComboBox>("Axis")->currentText(), QStringLiteral("Oś wartości x"));
        QVERIFY(f.c<QCheckBox>("Automatic")->isChecked());
        QVERIFY(!f.c<QDoubleSpinBox>("Minimum")->isEnabled());
    }

    // Apply keeps the dialog open; Cancel drops what was not applied; OK
    // applies and closes.
    void applyOkCancel() {
        Fixture f(0);
        auto* title = f.c<QPlainTextEdit>("TitleText");
        f.dialog.show();
        title->setPlainText(QStringLiteral("Pierwszy\nwiersz drugi"));
        f.apply();
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.chart->titleText(), QStringLiteral("Pierwszy\nwiersz drugi"));

        title->setPlainText(QStringLiteral("Niezastosowany"));
        f.c<QComboBox>("LegendPosition")->setCurrentIndex(0);
        f.c<QPushButton>("Cancel")->click();
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.chart->titleText(), QStringLiteral("Pierwszy\nwiersz drugi"));
        QCOMPARE(f.chart->legendPosition, 1);

        f.dialog.load(*f.chart);
        f.dialog.show();
        title->setPlainText(QStringLiteral("Po OK"));
        f.c<QPushButton>("OK")->click();
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.chart->titleText(), QStringLiteral("Po OK"));
    }

    void titlesAndAxisTitles() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        f.c<QComboBox>("TitleAlignment")->setCurrentIndex(1);  // "Prawo"
        f.pickFont("TitleFont", serif(14, false));
        f.c<QPlainTextEdit>("FooterText")->setPlainText(QStringLiteral("Stopka"));
        f.c<QComboBox>("FooterAlignment")->setCurrentIndex(2);  // "Środek"
        f.c<QLineEdit>("LeftTitle")->setText(QStringLiteral("Liczba"));
        f.pickFont("AxisTitleFont", serif(11, true));
        f.apply();
        QVERIFY(w.titleElement()->textFlags() & Qt::AlignRight);
        QCOMPARE(w.titleElement()->font().pointSize(), 14);
        QCOMPARE(w.footerText(), QStringLiteral("Stopka"));
        QVERIFY(w.footerElement()->textFlags() & Qt::AlignHCenter);
        QCOMPARE(w.axis(ChartAxis::Left)->label(), QStringLiteral("Liczba"));
        QCOMPARE(w.axis(ChartAxis::Bottom)->label(), QStringLiteral("Oś X"));
        for (ChartAxis a : {ChartAxis::Left, ChartAxis::Right, ChartAxis::Bottom}) {
            QCOMPARE(w.axis(a)->labelFont().family(), QStringLiteral("DejaVu Serif"));
            QVERIFY(w.axis(a)->labelFont().bold());
        }
        // An emptied footer takes no room.
        f.c<QPlainTextEdit>("FooterText")->clear();
        f.apply();
        QVERIFY(!w.footerElement()->visible());
    }

    void colours() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        f.pickColour("GradientStart", 0x0000FF);
        f.pickColour("GradientEnd", 0xFF0000);
        f.c<QCheckBox>("GradientVisible")->setChecked(true);
        f.c<QComboBox>("GradientDirection")->setCurrentIndex(1);  // "Góra -> Dół"
        f.pickColour("BackColour", 0x00FF00);
        f.c<QPushButton>("CopyColour")->click();
        QCOMPARE(f.c<ColourButton>("PanelColour")->colour(), 0x00FF00u);
        QVERIFY(w.gradientStart != 0x0000FFu);  // nothing before Apply
        f.apply();
        QCOMPARE(w.backColour(), 0x00FF00u);
        QCOMPARE(w.panelColour(), 0x00FF00u);
        QVERIFY(w.gradientVisible);
        QCOMPARE(w.gradientDirection, 1);
        // Top to bottom: the start colour above, the end colour below.
        const QImage bg = w.chart()->background().toImage();
        QVERIFY(!bg.isNull());
        const QColor top = bg.pixelColor(bg.width() / 2, 0);
        const QColor bottom = bg.pixelColor(bg.width() / 2, bg.height() - 1);
        QVERIFY(top.red() > 240 && top.blue() < 15);
        QVERIFY(bottom.blue() > 240 && bottom.red() < 15);
        QCOMPARE(captureTemplate(w).gradientEnd, 0xFF0000u);
    }

    void legend() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        f.c<QComboBox>("LegendPosition")->setCurrentIndex(2);  // "Na górze"
        f.c<QSpinBox>("LegendTop")->setValue(40);
        f.c<QSpinBox>("ShadowSize")->setValue(3);
        f.pickColour("LegendColour", 0x202020);
        f.pickFont("LegendFont", serif(9, false));
        f.apply();
        QCOMPARE(w.legendPosition, 2);
        QCOMPARE(w.legendTopPercent, 40.0);
        QCOMPARE(w.legendShadowSize, 3.0);
        QCOMPARE(fromQColor(w.chart()->legend->brush().color()), 0x202020u);
        QCOMPARE(w.chart()->legend->font().family(), QStringLiteral("DejaVu Serif"));
        w.chart()->replot();
        QVERIFY(w.chart()->legend->outerRect().bottom() <= w.chart()->axisRect()->outerRect().top());
        f.c<QCheckBox>("LegendVisible")->setChecked(false);
        f.apply();
        QVERIFY(!w.chart()->legend->visible());
    }

    // Edits of several series survive the chooser and are applied together.
    void seriesColourActiveAndNames() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        auto* chooser = f.c<QComboBox>("Series");
        chooser->setCurrentIndex(1);
        f.pickColour("SeriesColour", 0x336699);
        f.c<QLineEdit>("LegendText")->setText(QStringLiteral("Klasa 4"));
        chooser->setCurrentIndex(2);
        f.c<QCheckBox>("SeriesActive")->setChecked(false);
        chooser->setCurrentIndex(1);
        QCOMPARE(f.c<ColourButton>("SeriesColour")->colour(), 0x336699u);
        f.apply();
        QCOMPARE(seriesColour(w, 1), 0x336699u);
        QCOMPARE(w.series(1).plottable()->name(), QStringLiteral("Klasa 4"));
        QCOMPARE(chooser->itemText(1), QStringLiteral("Klasa 4"));
        QVERIFY(!w.series(2).active);
        QVERIFY(!w.series(2).plottable()->visible());
        QVERIFY(!w.chart()->legend->hasItemWithPlottable(w.series(2).plottable()));
        QVERIFY(f.marks(2).isEmpty());
        QCOMPARE(seriesColour(w, 0), 0x0000FFu);  // untouched
        // Six bars share the period now, 90 % of it as before.
        QCOMPARE(w.series(0).bars->barsGroup()->size(), 6);
        QVERIFY(qFuzzyCompare(w.series(0).bars->width(), 0.9 / 6));
    }

    void barsWidthOffsetAndStacking() {
        Fixture f(0);
        TfmGraph& w = *f.chart;
        QCPBars* first = w.series(0).bars;
        QCPBars* second = w.series(1).bars;
        const double key = barKeyAt(first, 0);
        f.c<QSpinBox>("BarWidth")->setValue(70);
        f.c<QSpinBox>("BarOffset")->setValue(50);
        f.apply();
        QVERIFY(qFuzzyCompare(first->width(), 0.7 / 7));
        QVERIFY(qFuzzyCompare(barKeyAt(first, 0), key + 0.5 * 0.7 / 7));
        // Applying again does not move the bars further.
        f.apply();
        QVERIFY(qFuzzyCompare(barKeyAt(first, 0), key + 0.5 * 0.7 / 7));
        f.c<QSpinBox>("BarOffset")->setValue(0);

        f.c<QComboBox>("BarStyle")->setCurrentIndex(1);  // "Skumulowane"
        f.apply();
        QCOMPARE(second->barBelow(), first);
        QVERIFY(!first->barsGroup());
        QVERIFY(qFuzzyCompare(first->width(), 0.7));
        QVERIFY(qFuzzyCompare(barKeyAt(first, 0), key));
        // The automatic left axis takes in the whole stack: 7 × 30.
        QVERIFY(w.axis(ChartAxis::Left)->range().upper >= 210.0);

        f.c<QComboBox>("BarStyle")->setCurrentIndex(2);  // "Skumulowane (100%)"
        f.apply();
        double stack = 0.0;
        for (int i = 0; i < 7; ++i) stack += barValueAt(w.series(i).bars, 0);
        QVERIFY(qFuzzyCompare(stack, 100.0));

        // Side by side again: the series' own values come back.
        f.c<QComboBox>("BarStyle")->setCurrentIndex(0);
        f.apply();
        QCOMPARE(barValueAt(first, 2), 30.0);
        QVERIFY(!second->barBelow());
        QCOMPARE(first->barsGroup()->size(), 7);
    }

    void linesPointsAndMarks() {
        Fixture f(16, kActivity);
        TfmGraph& w = *f.chart;
        auto* chooser = f.c<QComboBox>("Series");
        chooser->setCurrentIndex(kSeries11);
        f.c<QSpinBox>("LineWidth")->setValue(5);
        f.c<QComboBox>("MarkerType")->setCurrentIndex(7);  // "Diament"
        f.c<QSpinBox>("MarkerSize")->setValue(8);
        f.pickColour("MarkerColour", 0x00AA00);
        chooser->setCurrentIndex(0);
        f.c<QComboBox>("MarksFormat")->setCurrentText(QStringLiteral("0.#E+0"));
        f.c<QSpinBox>("MarksSpan")->setValue(12);
        f.pickFont("MarksFont", serif(9, false));
        f.apply();
        const QCPGraph* line = w.series(kSeries11).graph;
        QCOMPARE(line->pen().width(), 5);
        QCOMPARE(line->scatterStyle().shape(), QCPScatterStyle::ssDiamond);
        QCOMPARE(line->scatterStyle().size(), 8.0);
        QCOMPARE(fromQColor(line->scatterStyle().brush().color()), 0x00AA00u);
        const auto marks = f.marks(0);
        QCOMPARE(marks.size(), 3);
        QCOMPARE(marks[2]->text(), QString::fromStdString(formatMask(30, "0.#E+0", Locale::point())));
        QCOMPARE(marks[0]->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(marks[0]->padding().bottom(), 12);

        chooser->setCurrentIndex(kSeries11);
        f.c<QCheckBox>("LineMarker")->setChecked(false);
        chooser->setCurrentIndex(0);
        f.c<QCheckBox>("MarksVisible")->setChecked(false);
        f.apply();
        QCOMPARE(line->scatterStyle().shape(), QCPScatterStyle::ssNone);
        QVERIFY(f.marks(0).isEmpty());

        Fixture points(0);
        points.c<QComboBox>("Series")->setCurrentIndex(kSeries10);
        points.c<QComboBox>("PointType")->setCurrentIndex(5);  // "Krzyż"
        points.c<QSpinBox>("PointSize")->setValue(12);
        points.apply();
        QCOMPARE(points.chart->series(kSeries10).graph->scatterStyle().shape(), QCPScatterStyle::ssCross);
        QCOMPARE(points.chart->series(kSeries10).graph->scatterStyle().size(), 12.0);
    }

    void seriesPageShowsTheChosenType() {
        Fixture f(16, kActivity);
        auto* chooser = f.c<QComboBox>("Series");
        const auto shown = [&] {
            QStringList out;
            for (const char* n : {"BarOptions", "PointOptions", "LineOptions"})
                if (!f.c<QGroupBox>(n)->isHidden()) out << QString::fromUtf8(n);
            return out;
        };
        QCOMPARE(shown(), QStringList{"BarOptions"});
        chooser->setCurrentIndex(kSeries11);
        QCOMPARE(shown(), QStringList{"LineOptions"});
        chooser->setCurrentIndex(kSeries10);
        QCOMPARE(shown(), QStringList{"PointOptions"});
    }

    void axes() {
        Fixture f(16, kActivity);
        TfmGraph& w = *f.chart;
        auto* automatic = f.c<QCheckBox>("Automatic");
        auto* minimum = f.c<QDoubleSpinBox>("Minimum");
        auto* maximum = f.c<QDoubleSpinBox>("Maximum");
        f.c<QComboBox>("Axis")->setCurrentIndex(1);  // left
        QVERIFY(automatic->isChecked() && !minimum->isEnabled() && !maximum->isEnabled());
        automatic->setChecked(false);
        QVERIFY(minimum->isEnabled() && maximum->isEnabled());
        minimum->setValue(50);
        maximum->setValue(5);
        f.c<QComboBox>("GridStyle")->setCurrentIndex(1);  // "Kreska"
        f.c<QSpinBox>("GridWidth")->setValue(2);
        f.pickColour("GridColour", 0x0000C0);
        f.c<QCheckBox>("MinorGrid")->setChecked(true);
        f.c<QSpinBox>("MinorTickCount")->setValue(3);
        f.c<QSpinBox>("TickLength")->setValue(9);
        f.c<QComboBox>("LabelFormat")->setCurrentText(QStringLiteral("0.0"));
        // The bottom axis keeps its own edits while the left is shown again.
        f.c<QComboBox>("Axis")->setCurrentIndex(0);
        f.c<QCheckBox>("Labels")->setChecked(false);
        f.c<QComboBox>("Axis")->setCurrentIndex(1);
        QVERIFY(!automatic->isChecked());
        f.apply();

        const QCPAxis* left = w.axis(ChartAxis::Left);
        QCOMPARE(left->range().lower, 5.0);
        QCOMPARE(left->range().upper, 50.0);
        QVERIFY(!w.axisAutomatic(ChartAxis::Left));
        QCOMPARE(left->grid()->pen().style(), Qt::DashLine);
        QCOMPARE(left->grid()->pen().width(), 2);
        QCOMPARE(fromQColor(left->grid()->pen().color()), 0x0000C0u);
        QVERIFY(left->grid()->subGridVisible());
        QCOMPARE(w.minorTickCount(ChartAxis::Left), 3);
        QCOMPARE(left->tickLengthOut(), 9);
        QCOMPARE(w.axisFormat(ChartAxis::Left), QStringLiteral("0.0"));
        auto ticker = qSharedPointerDynamicCast<MaskTicker>(left->ticker());
        QVERIFY(ticker && ticker->mask() == "0.0");
        QVERIFY(!w.axis(ChartAxis::Bottom)->tickLabels());
        QVERIFY(w.axis(ChartAxis::Right)->tickLabels());

        // Automatic again: the axis fits its series (values 10 to 30).
        automatic->setChecked(true);
        QVERIFY(!minimum->isEnabled());
        f.apply();
        QVERIFY(w.axisAutomatic(ChartAxis::Left));
        QCOMPARE(left->range().lower, 0.0);
        QVERIFY(left->range().upper >= 30.0 && left->range().upper < 50.0);
        QCOMPARE(w.minorTickCount(ChartAxis::Left), 3);
    }

    // Each command opens the dialog on the active chart at its page; an
    // answer that edits and presses OK reaches the chart.
    void commandsOpenTheirPage() {
        ShellFixture f;
        TfmZorv& shell = f.start();
        shell.show();
        TfmGraph* chart = shell.analysisCommands().openChart(makeAnalysis(shell.analysisSettings(), kClasses),
                                                             ChartKind::ActivityInClasses);
        shell.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(chart->parentWidget()));
        shell.updateFileCommands();
        QList<int> pages;
        f.answer = [&](QDialog& d) {
            auto* p = qobject_cast<TfmChartsProp*>(&d);
            if (!p || p->chart() != chart) return int(QDialog::Rejected);
            pages << p->pages()->currentIndex();
            return int(QDialog::Rejected);
        };
        for (const char* name : {"mGraphProperties", "mGraphTitles", "mGraphAxisTitles", "mGraphColors",
                                 "mGraphLegend", "mGraphSeries", "mGraphAxis"})
            shell.action(QString::fromUtf8(name))->trigger();
        QCOMPARE(pages, (QList<int>{0, 0, 1, 2, 3, 4, 5}));

        f.answer = [&](QDialog& d) {
            d.findChild<QCheckBox*>(QStringLiteral("LegendVisible"))->setChecked(false);
            d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
            return d.result();
        };
        shell.action(QStringLiteral("mGraphLegend"))->trigger();
        QVERIFY(!chart->chart()->legend->visible());
    }
};

QTEST_MAIN(ChartPropertiesTest)
#include "ChartPropertiesTest.moc"
