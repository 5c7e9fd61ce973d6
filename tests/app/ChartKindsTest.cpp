// Every chart kind drawn on a result table made for it: which series are
// active with which fields and axes, the axis formats and logarithmic
// flags, the logarithmic range rule, the texts and the "Info" hint.

#include <QStandardPaths>
#include <QTest>

#include "FakeAnalysis.h"
#include "analysis/Database.h"
#include "chart/TfmGraph.h"
#include "charts/ChartLayout.h"
#include "charts/MaskTicker.h"
#include "services/WindowSlots.h"

using namespace zorv;

namespace {

AnalysisSettings pointSettings(bool magnitudeOnly) {
    AnalysisSettings s;
    s.UserLocale = Locale::point();
    s.MagnitudeOnly = magnitudeOnly;
    return s;
}

struct Built {
    std::unique_ptr<TfmGraph> window;
    // "Series1=E3>R" for each active series in index order: its name, the
    // Y field, ">R" when on the right axis.
    QStringList series;
    // "L:#", "R:0.#E+0*log", "B:text" or "B:date".
    QStringList axes;
};

QString axisText(const TfmGraph& w, ChartAxis a, const char* letter) {
    const auto ticker = w.axis(a)->ticker();
    QString kind = w.axisFormat(a);
    if (qSharedPointerDynamicCast<RecordLabelTicker>(ticker)) kind = QStringLiteral("text");
    if (qSharedPointerDynamicCast<DateTicker>(ticker)) kind = QStringLiteral("date");
    if (w.axisLogarithmic(a)) {
        kind += QStringLiteral("*log");
        // A logarithmic axis is logarithmic on the chart too.
        if (w.axis(a)->scaleType() != QCPAxis::stLogarithmic) kind += QStringLiteral("!");
    }
    return QString::fromUtf8(letter) + QLatin1Char(':') + kind;
}

Built build(int kind, const QString& fields, bool magnitudeOnly = true, std::vector<double> values = {}) {
    Built b;
    auto analysis = std::make_shared<FakeAnalysis>(pointSettings(magnitudeOnly), makeTable(fields), values);
    b.window = std::make_unique<TfmGraph>(analysis, analysis->settings(), static_cast<ChartKind>(kind),
                                          QString(), nullptr, 0);
    b.window->build();
    for (int i = 0; i < kSeriesCount; ++i) {
        const ChartSeries& s = b.window->series(i);
        if (!s.active) continue;
        QString text = QString::fromUtf8(seriesDefaults()[static_cast<std::size_t>(i)].name) +
                       QLatin1Char('=') + s.plottable()->name();
        if (s.plottable()->valueAxis() == b.window->chart()->yAxis2) text += QStringLiteral(">R");
        b.series << text;
    }
    for (const AxisSetup& a : b.window->layout().axes) {
        const char* letter = a.axis == ChartAxis::Left ? "L" : a.axis == ChartAxis::Right ? "R" : "B";
        b.axes << axisText(*b.window, a.axis, letter);
    }
    return b;
}

const QString kClasses = QStringLiteral("Okres:s,E3:i,E4:i,E5:i,E6:i,E7:i,E8:i,E9:i,Energia:f");
const QStringList kClassBars = {QStringLiteral("Series1=E3"),  QStringLiteral("Series2=E4"),
                                QStringLiteral("Series3=E5"),  QStringLiteral("Series4=E6"),
                                QStringLiteral("Series5=E7"),  QStringLiteral("Series13=E8"),
                                QStringLiteral("Series14=E9"), QStringLiteral("Series10=Energia>R")};

}  // namespace

class ChartKindsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void seriesDefaultsInListOrder() {
        const auto& d = seriesDefaults();
        QCOMPARE(QString::fromUtf8(d[5].name), QStringLiteral("Series13"));
        QCOMPARE(QString::fromUtf8(d[13].name), QStringLiteral("Series10"));
        QCOMPARE(d[2].colour, 4227072u);
        QCOMPARE(d[3].colour, 33023u);
        QCOMPARE(d[4].colour, 16744576u);
        QCOMPARE(seriesIndex("Series10"), 13);
        QCOMPARE(seriesIndex("Series11"), 12);
        QCOMPARE(seriesIndex("Series12"), 11);
        QVERIFY(d[11].type == SeriesType::Point && d[12].type == SeriesType::Line);
    }

    // The kinds of the table: active series with their fields, and axes.
    void kinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<bool>("magnitude");
        QTest::addColumn<QStringList>("series");
        QTest::addColumn<QStringList>("axes");
        const QString activity = QStringLiteral("Okres:s,Aktywnosc:i");
        for (int kind : {0, 1})
            QTest::addRow("%d energy classes", kind)
                << kind << kClasses << true << kClassBars << QStringList{"L:#", "R:0.#E+0*log", "B:text"};
        for (int kind : {2, 3})
            QTest::addRow("%d released energy", kind)
                << kind << "Okres:s,Energia:f" << true << QStringList{"Series1=Energia"}
                << QStringList{"L:0.##E+0*log", "B:text"};
        QTest::newRow("4 daily energy")
            << 4 << "Okres:s,X:i,Energia:f" << true << QStringList{"Series6=Energia"}
            << QStringList{"L:0.##E+0", "B:date"};
        // The traces chart says what its energy is.
        for (int kind : {5, 21})
            QTest::addRow("%d daily energy, logarithmic", kind)
                << kind << "Okres:s,X:i,Energia:f" << true
                << QStringList{kind == 21 ? "Series6=Energia śladów" : "Series6=Energia"}
                << QStringList{"L:0.##E+0*log", "B:date"};
        for (int kind : {6, 12})
            QTest::addRow("%d hazard", kind)
                << kind << "Okres:f,m1:f,m2:f" << true << QStringList{"Series6=M>2.5", "Series7=M>3"}
                << QStringList{"L:0.##", "B:0.##"};
        QTest::newRow("7 return period, magnitude")
            << 7 << "Magnituda:f,Energia:f,MRP:f" << true << QStringList{"Series6=Okres powrotu"}
            << QStringList{"L:0.##", "B:0.##"};
        QTest::newRow("13 return period, energy")
            << 13 << "Magnituda:f,Energia:f,MRP:f" << false << QStringList{"Series6=Okres powrotu"}
            << QStringList{"L:0.##", "B:0.##E+0*log"};
        QTest::newRow("8 smoothing factor")
            << 8 << "h:f,f:f" << true << QStringList{"Series6=Funkcja CV"} << QStringList{"L:0.##", "B:0.##"};
        QTest::newRow("9 densities, two of three")
            << 9 << "Magnituda:f,Energia:f,pdf_est:f,cdf_est_adapt:f" << true
            << QStringList{"Series6=Gęstość", "Series8=Dystrybuanta"} << QStringList{"L:0.##", "B:0.##"};
        for (int kind : {10, 14})
            QTest::addRow("%d hazard against energy", kind)
                << kind << "Magnituda:f,Energia:f,D1:f,D2:f" << false
                << QStringList{"Series6=D=2.5", "Series7=D=3"} << QStringList{"L:0.##", "B:0.##E+0*log"};
        QTest::newRow("11 zones in classes")
            << 11 << "Strefa:s,Aktywnosc:i,E3:i,E4:i,E5:i,E6:i,E7:i,E8:i,E9:i,Energia:f" << true << kClassBars
            << QStringList{"L:0", "R:0.0E+0*log", "B:text"};
        QTest::newRow("11 zones without classes")
            << 11 << "Strefa:s,Aktywnosc:i" << true << QStringList{"Series1=Aktywność"}
            << QStringList{"L:0", "R:0.0E+0*log", "B:text"};
        for (int kind : {16, 18})
            QTest::addRow("%d total activity", kind) << kind << "Okres:s,Aktywnosc:i,Energia:f" << true
                                                     << QStringList{"Series1=Aktywność", "Series11=Energia>R"}
                                                     << QStringList{"L:#", "R:0.#E+0*log", "B:text"};
        for (int kind : {17, 28})
            QTest::addRow("%d over the threshold", kind)
                << kind << activity << true << QStringList{"Series1=Aktywność"}
                << QStringList{"L:#", "B:text"};
        QTest::newRow("19 b-value") << 19 << "Okres:s,b:f" << true << QStringList{"Series10=b"}
                                    << QStringList{"L:0.##", "B:text"};
        QTest::newRow("20 recurrence, magnitude")
            << 20 << "LogN:f,ELabel:s,MLabel:s" << true << QStringList{"Series1=log N"}
            << QStringList{"L:#.##", "B:text"};
        QTest::newRow("22 zone activity") << 22 << "Strefa:s,Aktywnosc:i,Energia:f" << true
                                          << QStringList{"Series1=Aktywność", "Series11=Energia>R"}
                                          << QStringList{"L:#", "R:0.##E+0*log", "B:text"};
        QTest::newRow("23 zone energy")
            << 23 << "Strefa:s,Energia:f" << true << QStringList{"Series1=Energia"}
            << QStringList{"L:0.##E+0*log", "B:text"};
        QTest::newRow("24 zone b-value")
            << 24 << "Strefa:s,b:f" << true << QStringList{"Series10=b"} << QStringList{"L:0.##", "B:text"};
        QTest::newRow("25 zone over the threshold")
            << 25 << "Strefa:s,Aktywnosc:f" << true << QStringList{"Series1=Aktywność"}
            << QStringList{"L:#", "B:text"};
        QTest::newRow("26 parametric density")
            << 26 << "Magnituda:f,Energia:f,ParamPDF:f" << true << QStringList{"Series6=Gęstość"}
            << QStringList{"L:0.##", "B:0.##"};
        QTest::newRow("27 parametric distribution, energy")
            << 27 << "Magnituda:f,Energia:f,ParamCDF:f" << false << QStringList{"Series6=Dystrybuanta"}
            << QStringList{"L:0.##", "B:0.##E+0*log"};
    }
    void kinds() {
        QFETCH(int, kind);
        QFETCH(QString, fields);
        QFETCH(bool, magnitude);
        QFETCH(QStringList, series);
        QFETCH(QStringList, axes);
        const Built b = build(kind, fields, magnitude, {2.5, 3.0});
        QCOMPARE(b.series, series);
        QCOMPARE(b.axes, axes);
        // A bottom axis of magnitude or energy is titled by what it shows.
        if (fields.contains(QStringLiteral("Magnituda")))
            QCOMPARE(b.window->chart()->xAxis->label(),
                     magnitude ? QStringLiteral("Magnituda") : QStringLiteral("Energia"));
        // Each active series holds the three rows of its table.
        for (int i = 0; i < kSeriesCount; ++i) {
            const ChartSeries& s = b.window->series(i);
            if (!s.active) continue;
            QCOMPARE(s.tag, 1);
            QCOMPARE(s.plottable()->interface1D()->dataCount(), 3);
            QVERIFY(s.plottable()->visible());
        }
        QCOMPARE(b.window->chart()->yAxis2->visible(),
                 axes.join(QLatin1Char(',')).contains(QStringLiteral("R:")));
    }

    void recurrenceLabelsFollowTheUnit() {
        const QString fields = QStringLiteral("LogN:f,ELabel:s,MLabel:s");
        for (const bool magnitude : {true, false}) {
            const Built b = build(20, fields, magnitude);
            QCOMPARE(b.window->layout().series.at(0).labelField,
                     std::string(magnitude ? "MLabel" : "ELabel"));
            QVERIFY(b.window->chart()->xAxis->tickLabelRotation() != 0);
        }
    }

    void timeVariationCharts_data() {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("activity");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("series");
        QTest::newRow("hazard") << 0 << 3 << "Hazard sejsmiczny" << QStringList{"Series6=Hazard"};
        QTest::newRow("return period, both counts")
            << 1 << 2 << "Średni okres powrotu"
            << QStringList{"Series6=Okres powrotu", "Series7=m ≥ MMin>R", "Series8=Zjawiska>R"};
        QTest::newRow("maximum magnitude, events")
            << 3 << 1 << "Estymator MMax" << QStringList{"Series6=MMax", "Series8=Zjawiska>R"};
        QTest::newRow("b-value, analysed")
            << 4 << 0 << "Współczynnik b" << QStringList{"Series6=b", "Series7=m ≥ MMin>R"};
    }
    void timeVariationCharts() {
        QFETCH(int, quantity);
        QFETCH(int, activity);
        QFETCH(QString, title);
        QFETCH(QStringList, series);
        auto analysis = std::make_shared<FakeAnalysis>(
            pointSettings(true),
            makeTable(QStringLiteral("Hazard:f,MRP:f,MMaxEst:f,b:f,Data:i,LZdarzen:i,DoAnalizy:i")));
        TfmGraph w(analysis, analysis->settings(), ChartKind::TimeVariations, QString(), nullptr, 0);
        w.buildTimeVariation(quantity, activity);
        QCOMPARE(w.titleElement()->text(), title);
        QStringList active;
        for (int i = 0; i < kSeriesCount; ++i)
            if (w.series(i).active)
                active << QString::fromUtf8(seriesDefaults()[static_cast<std::size_t>(i)].name) +
                              QLatin1Char('=') + w.series(i).plottable()->name() +
                              (w.series(i).plottable()->valueAxis() == w.chart()->yAxis2
                                   ? QStringLiteral(">R")
                                   : QString());
        QCOMPARE(active, series);
        QVERIFY(qSharedPointerDynamicCast<DateTicker>(w.chart()->xAxis->ticker()));
        QCOMPARE(w.chart()->xAxis->label(), QStringLiteral("Data"));
        QCOMPARE(w.axisLogarithmic(ChartAxis::Left), quantity == 1);
    }

    // 3.2E+04 … 7.5E+08 on a logarithmic axis: from 1.0E+04 to 1.0E+09.
    void logarithmicRange() {
        const LogRange r = zorv::logarithmicRange(3.2e4, 7.5e8);
        QCOMPARE(r.minimum, 1e4);
        QCOMPARE(r.maximum, 1e9);
        const LogRange none = zorv::logarithmicRange(0.0, -1.0);
        QCOMPARE(none.minimum, 1.0);
        QCOMPARE(none.maximum, 10.0);
        // Below one the decade is taken downward, so the values stay inside:
        // 0.05 … 0.5 gives 10^-2 … 10^0.
        QCOMPARE(zorv::logarithmicRange(0.05, 0.5).minimum, 0.01);
        QCOMPARE(zorv::logarithmicRange(0.05, 0.5).maximum, 1.0);

        Table t(FieldDefs{
            {"Numer", FieldType::AutoInc}, {"Strefa", FieldType::String, 10}, {"Energia", FieldType::Float}});
        t.appendRecord({Value{}, Value::text("G-1"), Value::real(3.2e4)});
        t.appendRecord({Value{}, Value::text("G-2"), Value::real(7.5e8)});
        auto analysis = std::make_shared<FakeAnalysis>(pointSettings(true), std::move(t));
        TfmGraph w(analysis, analysis->settings(), ChartKind::ZoneEnergyReleased, QString(), nullptr, 0);
        w.build();
        QCOMPARE(w.chart()->yAxis->range().lower, 1e4);
        QCOMPARE(w.chart()->yAxis->range().upper, 1e9);
        // The bars stand on the bottom of the axis.
        QCOMPARE(w.series(0).bars->baseValue(), 1e4);
    }

    void emptyValuesLeaveGaps() {
        Table t(FieldDefs{
            {"Numer", FieldType::AutoInc}, {"Okres", FieldType::String, 20}, {"b", FieldType::Float}});
        t.appendRecord({Value{}, Value::text("I 2000"), Value::real(1.0)});
        t.appendRecord({Value{}, Value::text("II 2000"), Value{}});
        t.appendRecord({Value{}, Value::text("III 2000"), Value::real(0.9)});
        auto analysis = std::make_shared<FakeAnalysis>(pointSettings(true), std::move(t));
        TfmGraph w(analysis, analysis->settings(), ChartKind::BChanges, QString(), nullptr, 0);
        w.build();
        QCOMPARE(w.series(13).graph->dataCount(), 2);
        // Every period keeps its label.
        auto labels = qSharedPointerDynamicCast<RecordLabelTicker>(w.chart()->xAxis->ticker());
        QVERIFY(labels);
        QCOMPARE(labels->ticks().size(), 3);
        QCOMPARE(labels->ticks().value(2.0), QStringLiteral("II 2000"));
    }

    // With a "sigma" column the b charts draw b ± sigma as error bars on the
    // points that have a value; without one they draw none.
    void bChartsDrawTheirErrors() {
        for (int kind : {19, 24}) {
            const char* label = kind == 19 ? "Okres" : "Strefa";
            Table t(FieldDefs{{"Numer", FieldType::AutoInc},
                              {label, FieldType::String, 20},
                              {"b", FieldType::Float},
                              {"sigma", FieldType::Float}});
            t.appendRecord({Value{}, Value::text("a"), Value::real(1.0), Value::real(0.1)});
            t.appendRecord({Value{}, Value::text("b"), Value{}, Value{}});
            t.appendRecord({Value{}, Value::text("c"), Value::real(0.8), Value::real(0.25)});
            auto analysis = std::make_shared<FakeAnalysis>(pointSettings(true), std::move(t));
            TfmGraph w(analysis, analysis->settings(), static_cast<ChartKind>(kind), QString(), nullptr, 0);
            w.build();
            const ChartSeries& s = w.series(13);
            QVERIFY(s.errorBars);
            QCOMPARE(s.errorBars->dataPlottable(), static_cast<QCPAbstractPlottable*>(s.graph));
            QCOMPARE(s.errorBars->dataCount(), 2);
            QCOMPARE(s.errorBars->data()->at(1).errorPlus, 0.25);
            QCOMPARE(s.errorBars->data()->at(1).errorMinus, 0.25);
            QVERIFY(!w.chart()->legend->hasItemWithPlottable(s.errorBars));
            // The value axis takes in the bars: 0.8 − 0.25 and 1.0 + 0.1.
            QVERIFY(w.chart()->yAxis->range().lower <= 0.55);
            QVERIFY(w.chart()->yAxis->range().upper >= 1.1);
            // Building again leaves one set of bars.
            const int plottables = w.chart()->plottableCount();
            w.build();
            QCOMPARE(w.chart()->plottableCount(), plottables);
        }
        Built plain = build(19, QStringLiteral("Okres:s,b:f"));
        QVERIFY(!plain.window->series(13).errorBars);
    }

    void maskLabelsUseTheDecimalSeparator() {
        QCustomPlot plot;
        auto ticker = QSharedPointer<MaskTicker>::create("0.##", Locale::comma(), 0.01);
        plot.xAxis->setTicker(ticker);
        plot.xAxis->setRange(0.0, 1.0);
        plot.replot();
        const QVector<QString> labels = plot.xAxis->tickVectorLabels();
        QVERIFY(labels.contains(QStringLiteral("0")));
        QVERIFY(labels.contains(QStringLiteral("1")));
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [](const QString& l) { return l.contains(QLatin1Char(',')); }));
        QVERIFY(std::none_of(labels.begin(), labels.end(),
                             [](const QString& l) { return l.contains(QLatin1Char('.')); }));
        // The increment is the least step: on 0..0.02 no label finer than 0.01.
        plot.xAxis->setRange(0.0, 0.02);
        plot.replot();
        QVERIFY(plot.xAxis->tickVector().size() <= 3);
        // Never finer than the mask, whatever the increment: on 0.97..1 every
        // label reads differently.
        plot.xAxis->setTicker(QSharedPointer<MaskTicker>::create("0.##", Locale::comma(), 0.0));
        plot.xAxis->setRange(0.9655, 1.0021);
        plot.replot();
        const QVector<QString> fine = plot.xAxis->tickVectorLabels();
        QCOMPARE(QSet<QString>(fine.begin(), fine.end()).size(), fine.size());
        // "#" never labels fractions.
        plot.yAxis->setTicker(QSharedPointer<MaskTicker>::create("#", Locale::point(), 5));
        plot.yAxis->setRange(0.0, 3.0);
        plot.replot();
        for (double t : plot.yAxis->tickVector()) QCOMPARE(t, std::round(t));
    }

    void textsWithAndWithoutFilter() {
        auto analysis =
            std::make_shared<FakeAnalysis>(pointSettings(true), makeTable(QStringLiteral("Okres:s,b:f")));
        TfmGraph plain(analysis, analysis->settings(), ChartKind::BChanges, QString(), nullptr, 0);
        plain.build();
        QCOMPARE(plain.titleText(), QStringLiteral("Katalog\nTytuł analizy"));
        QCOMPARE(plain.windowTitle(), QStringLiteral("Tytuł analizy"));
        QVERIFY(plain.footerText().isEmpty());
        QCOMPARE(plain.chart()->xAxis->label(), QStringLiteral("Oś X"));
        QCOMPARE(plain.chart()->yAxis->label(), QStringLiteral("Oś Y"));

        AnalysisSettings untitled = pointSettings(true);
        untitled.MainTitle.clear();
        auto second = std::make_shared<FakeAnalysis>(untitled, makeTable(QStringLiteral("Okres:s,b:f")));
        TfmGraph filtered(second, untitled, ChartKind::BChanges, QStringLiteral("Strefa G-1"), nullptr, 0);
        filtered.build();
        QCOMPARE(filtered.titleText(), QStringLiteral("Tytuł analizy"));
        QCOMPARE(filtered.windowTitle(), QStringLiteral("Tytuł analizy /Strefa G-1"));
        QCOMPARE(filtered.footerText(), QStringLiteral("Filtr: Strefa G-1"));

        // The window list tells the estimates apart, and the time-variation
        // charts carry the filter like the others.
        TfmGraph kernel(second, untitled, ChartKind::Hazard, QString(), nullptr, 0);
        kernel.build();
        QCOMPARE(kernel.windowTitle(), QStringLiteral("Tytuł analizy (nieparametryczny)"));
        auto windows = std::make_shared<FakeAnalysis>(
            untitled,
            makeTable(QStringLiteral("Hazard:f,MRP:f,MMaxEst:f,b:f,Data:i,LZdarzen:i,DoAnalizy:i")));
        TfmGraph variation(windows, untitled, ChartKind::TimeVariations, QStringLiteral("Strefa G-1"),
                           nullptr, 0);
        variation.buildTimeVariation(0, 3);
        QCOMPARE(variation.windowTitle(), QStringLiteral("Hazard sejsmiczny w oknach czasowych /Strefa G-1"));
        QCOMPARE(variation.titleText(), QStringLiteral("Hazard sejsmiczny"));
    }

    // A title wider than the chart breaks at its words and stays inside the
    // chart; where it fits, it keeps one line. The text itself (saved in
    // templates, shown in properties) is not changed.
    void longTitlesWrapInNarrowCharts() {
        auto analysis =
            std::make_shared<FakeAnalysis>(pointSettings(true), makeTable(QStringLiteral("Okres:s,b:f")));
        TfmGraph w(analysis, analysis->settings(), ChartKind::BChanges, QStringLiteral("Strefa G-1"), nullptr,
                   0);
        w.build();
        const QString title =
            QStringLiteral("Parametryczny hazard sejsmiczny w ciągu 1 miesiąca dla zjawisk o magnitudzie 3");
        w.titleElement()->setText(title);
        const int line = QFontMetrics(w.titleElement()->font()).height();
        for (const int width : {1200, 300}) {
            w.chart()->setViewport(QRect(0, 0, width, 400));
            w.chart()->replot();
            const QRect box = w.titleElement()->outerRect();
            QVERIFY2(box.right() < width, qPrintable(QString::number(box.right())));
            if (width == 1200)
                QVERIFY(box.height() < 2 * line);
            else
                QVERIFY2(box.height() >= 2 * line, qPrintable(QString::number(box.height())));
        }
        QCOMPARE(w.titleText(), title);
        QVERIFY(w.chart()->axisRect()->outerRect().width() <= 300);
    }

    void infoHint() {
        QCOMPARE(QString::fromStdString(infoHintText({"<H3>", "  a"})), QStringLiteral("Brak parametrów"));
        QCOMPARE(QString::fromStdString(infoHintText({"<H3>", "  Okres:   1  ", "\tMMin: 1,3 "})),
                 QStringLiteral("<H3>\nOkres:   1\nMMin: 1,3|"));
        auto analysis = std::make_shared<FakeAnalysis>(
            pointSettings(true), makeTable(QStringLiteral("Okres:s,b:f")), std::vector<double>{},
            ReportLines{"Raport", "<H3>", "  Parametr 1:  x", "  Parametr 2:  y", "  Parametr 3:  z", "<p>",
                        "tabela"});
        TfmGraph w(analysis, analysis->settings(), ChartKind::BChanges, QString(), nullptr, 0);
        w.build();
        QCOMPARE(w.infoHint(), QStringLiteral("Parametr 1:  x\nParametr 2:  y\nParametr 3:  z|"));
        QVERIFY(!w.infoHint().contains(QStringLiteral("tabela")));
    }

    void zoomFollowsTheSettings_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("zoom");
        QTest::addColumn<bool>("block");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("line, zoom on") << 19 << true << true << true;
        QTest::newRow("line, zoom off") << 19 << false << false << false;
        QTest::newRow("bars, blocked") << 17 << true << true << false;
        QTest::newRow("bars, not blocked, zoom off") << 17 << false << false << true;
    }
    void zoomFollowsTheSettings() {
        QFETCH(int, kind);
        QFETCH(bool, zoom);
        QFETCH(bool, block);
        QFETCH(bool, allowed);
        auto analysis = std::make_shared<FakeAnalysis>(pointSettings(true),
                                                       makeTable(QStringLiteral("Okres:s,b:f,Aktywnosc:i")));
        TfmGraph w(analysis, analysis->settings(), static_cast<ChartKind>(kind), QString(), nullptr, 0);
        w.build();
        w.setupZoom({true, zoom, block, 450, 350});
        QCOMPARE(w.zoomEnabled(), allowed);
        QCOMPARE(w.chart()->selectionRectMode() != QCP::srmNone, allowed);
        QVERIFY(w.zoomAnimated());
    }

    // A window holds its slot while it lives; the last one frees the analysis.
    void windowsCountInTheirSlot() {
        WindowSlots counters;
        auto analysis =
            std::make_shared<FakeAnalysis>(pointSettings(true), makeTable(QStringLiteral("Okres:s,b:f")));
        std::weak_ptr<Database> watch = analysis;
        std::vector<std::unique_ptr<TfmGraph>> windows;
        for (int i = 0; i < WindowSlots::kCount; ++i)
            windows.push_back(std::make_unique<TfmGraph>(
                i == 0 ? analysis : std::make_shared<FakeAnalysis>(pointSettings(true), makeTable("b:f")),
                analysis->settings(), ChartKind::BChanges, QString(), &counters, counters.freeSlot()));
        QCOMPARE(counters.count(49), 1);
        // With 50 windows open the next takes slot 0 and its counter becomes 2.
        const int slot = counters.freeSlot();
        QCOMPARE(slot, 0);
        windows.push_back(std::make_unique<TfmGraph>(analysis, analysis->settings(), ChartKind::BChanges,
                                                     QString(), &counters, slot));
        QCOMPARE(counters.count(0), 2);
        analysis.reset();
        windows.front().reset();
        QCOMPARE(counters.count(0), 1);
        QVERIFY(!watch.expired());
        windows.back().reset();
        QCOMPARE(counters.count(0), 0);
        QVERIFY(watch.expired());
        QCOMPARE(counters.freeSlot(), 0);
    }
};

QTEST_MAIN(ChartKindsTest)
#include "ChartKindsTest.moc"
