// Printing to PDF at 300 dpi on A4: the report page gives back its title,
// header and parameter lines with their Polish letters (pdftotext), and the
// page rendered again (pdftoppm) holds the chart where the geometry put it
// and nothing in the margins.

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPicture>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "interchange/FileCommands.h"
#include "registry/AnalysisRegistry.h"
#include "report/PrintCommands.h"
#include "report/PrintDialogs.h"
#include "report/ReportPrinting.h"
#include "report/TfmRichText.h"

using namespace zorv;

namespace {

bool have(const char* tool) { return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(); }

void pdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    preparePrinter(printer, QStringLiteral("ZORV  Drukowanie raportu"));
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The height [pt] of the first box of each word pdftotext finds.
QMap<QString, double> wordHeights(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QMap<QString, double> out;
    for (auto m = word.globalMatch(html); m.hasNext();) {
        const auto w = m.next();
        if (!out.contains(w.captured(3)))
            out.insert(w.captured(3), w.captured(2).toDouble() - w.captured(1).toDouble());
    }
    return out;
}

QImage pdfPage(const QString& pdf, const QString& stem) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, stem});
    p.waitForFinished(60000);
    return QImage(stem + QStringLiteral(".png"));
}

// Pixels darker than near-white inside the rectangle.
int inkIn(const QImage& page, const QRect& r) {
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(page.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(page.width() - 1, r.right()); ++x)
            n += qGray(page.pixel(x, y)) < 230;
    return n;
}

// The chart window of a statistics analysis by years.
TfmGraph* yearlyChart(TfmZorv& w, const char* analysis) {
    AnalysisRequest r;
    r.period = PeriodKind::Years;
    return w.analysisCommands().run(*findAnalysis(analysis), r);
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void reportPageToPdf() {
        if (!have("pdftotext") || !have("pdftoppm"))
            QSKIP("pdftotext and pdftoppm (poppler-utils) are not installed");
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmGraph* g = yearlyChart(w, "energy");
        QVERIFY(g);
        ReportLines report;
        g->analysis().SetPrintMarkup(true);
        g->analysis().WriteReport(report);
        g->analysis().SetPrintMarkup(false);
        auto sections = reportSections(report);
        QCOMPARE(sections[TitleSection].lines, QStringList{QStringLiteral("Katalog")});
        sections[FooterSection].lines =
            QStringList{QStringLiteral("Komentarz: zagrożenie średnie, żółty alarm")};

        const QString pdf = f.dir.filePath(QStringLiteral("raport.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        ReportPrintOptions o;
        o.widthCm = 15.9;  // printed 15 cm wide
        o.heightCm = 10.0;
        o.position = ChartHPos::Centre;
        const PrintRect rect = printReportPage(printer, sections, o, *g->chart());
        // Qt's A4 at 300 dpi is 2479 px wide: free width 2479 − 2·236 = 2007,
        // so the centred 1770 px keep (2007 − 1770) / 2 = 118 px each side and
        // the odd pixel goes to the chart.
        QCOMPARE(printer.width(), 2479);
        QCOMPARE(rect, (PrintRect{236 + 118, rect.top, 2479 - 236 - 118, rect.top + 10 * 118}));

        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Katalog")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Roczna energia wyzwolona")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Data utworzenia pliku:")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("zagrożenie średnie, żółty")), qPrintable(text));

        const QImage page = pdfPage(pdf, f.dir.filePath(QStringLiteral("strona")));
        QVERIFY2(std::abs(page.width() - 2480) <= 1 && std::abs(page.height() - 3508) <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
        const QRect chart(rect.left, rect.top, rect.width(), rect.height());
        QVERIFY(inkIn(page, chart.adjusted(2, 2, -2, -2)) > 1000);
        // Nothing left and right of the chart's band, nothing in the margins.
        QCOMPARE(inkIn(page, QRect(0, chart.top() + 2, chart.left() - 2, chart.height() - 4)), 0);
        QCOMPARE(inkIn(page, QRect(chart.right() + 3, chart.top() + 2, 2480 - chart.right() - 3,
                                   chart.height() - 4)),
                 0);
        QCOMPARE(inkIn(page, QRect(0, 0, 2480, 230)), 0);
        QCOMPARE(inkIn(page, QRect(0, 0, 230, 3508)), 0);
        // The title's ink starts just inside the top margin (236 px).
        int firstInk = -1;
        for (int y = 230; y < 400 && firstInk < 0; ++y)
            if (inkIn(page, QRect(236, y, 1500, 1)) > 0) firstInk = y;
        QVERIFY2(firstInk >= 236 && firstInk < 236 + 83, qPrintable(QString::number(firstInk)));
    }

    void chartPageFillsTheMargins() {
        if (!have("pdftoppm")) QSKIP("pdftoppm (poppler-utils) is not installed");
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmGraph* g = yearlyChart(w, "activity");
        QVERIFY(g);
        const QString pdf = f.dir.filePath(QStringLiteral("wykres.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        const PrintRect rect =
            printChartPage(printer, *g->chart(), {}, true, ChartHPos::Left, ChartVPos::Top, 15, 12);
        QCOMPARE(rect, (PrintRect{236, 236, 2479 - 236, 3508 - 236}));
        const QImage page = pdfPage(pdf, f.dir.filePath(QStringLiteral("wykres")));
        QVERIFY(inkIn(page, QRect(300, 300, 1800, 2800)) > 1000);
        QCOMPARE(inkIn(page, QRect(0, 0, 2480, 233)), 0);
        QCOMPARE(inkIn(page, QRect(2479 - 233, 0, 233, 3508)), 0);
    }

    // The printed chart is the chart as its window draws it: the page's
    // chart area, brought down to the size the chart is laid out at (its
    // printed size in screen pixels), against the chart's own rendering at
    // that size.
    // A chart laid out at another size (texts drawn at the printer's
    // resolution outgrow their layout, and get cut) differs clearly.
    void printedChartIsTheChartsOwnRendering() {
        if (!have("pdftoppm")) QSKIP("pdftoppm (poppler-utils) is not installed");
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmGraph* g = yearlyChart(w, "energy");
        QVERIFY(g);
        g->setPanelColour(0xFFFFFF);
        const QString pdf = f.dir.filePath(QStringLiteral("wykres.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        const PrintRect rect =
            printChartPage(printer, *g->chart(), {}, false, ChartHPos::Left, ChartVPos::Top, 15, 10);
        const QImage page = pdfPage(pdf, f.dir.filePath(QStringLiteral("wykres")));
        // Laid out at its printed size in the pixels of the screen.
        const double toScreen = QPicture().logicalDpiX() / 300.0;
        const QSize laidOut(qRound(rect.width() * toScreen), qRound(rect.height() * toScreen));
        const QImage printed = page.copy(rect.left, rect.top, rect.width(), rect.height())
                                   .scaled(laidOut, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .convertToFormat(QImage::Format_Grayscale8);
        auto rendering = [&](QSize size) {
            return g->chart()
                ->toPixmap(size.width(), size.height())
                .toImage()
                .scaled(laidOut, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_Grayscale8);
        };
        // Share of pixels whose grey differs by more than a quarter of the range.
        auto differing = [&](const QImage& other) {
            int n = 0;
            for (int y = 0; y < laidOut.height(); ++y)
                for (int x = 0; x < laidOut.width(); ++x)
                    n += std::abs(qGray(printed.pixel(x, y)) - qGray(other.pixel(x, y))) > 64;
            return double(n) / (laidOut.width() * laidOut.height());
        };
        const double same = differing(rendering(laidOut));
        const double otherLayout = differing(rendering(laidOut * 3 / 2));
        // ZORV_PRINT_DIFF=stem keeps both images for a look.
        if (qEnvironmentVariableIsSet("ZORV_PRINT_DIFF")) {
            page.save(qEnvironmentVariable("ZORV_PRINT_DIFF") + QStringLiteral("-page.png"));
            printed.save(qEnvironmentVariable("ZORV_PRINT_DIFF") + QStringLiteral("-printed.png"));
            rendering(laidOut).save(qEnvironmentVariable("ZORV_PRINT_DIFF") + QStringLiteral("-screen.png"));
        }
        qInfo("differing pixels: %g (same layout), %g (other layout)", same, otherLayout);
        // Measured: 1.8 % (glyph edges and dash patterns), 12 % for the other layout.
        QVERIFY2(same < 0.04, qPrintable(QString::number(same)));
        QVERIFY2(otherLayout > 3 * same + 0.01,
                 qPrintable(QStringLiteral("%1 %2").arg(same).arg(otherLayout)));
    }

    // A chart printed at the printer's full resolution reads as it does at
    // 300 dpi: its title and tick labels come out at their point sizes, not
    // shrunk by the ratio of the resolutions.
    void chartTextsKeepTheirPointSizes() {
        if (!have("pdftotext")) QSKIP("pdftotext (poppler-utils) is not installed");
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmGraph* g = yearlyChart(w, "energy");
        QVERIFY(g);
        auto heights = [&](int dpi) {
            const QString pdf = f.dir.filePath(QStringLiteral("wykres-%1.pdf").arg(dpi));
            QPrinter printer(QPrinter::HighResolution);
            pdfPrinter(printer, pdf);
            printer.setResolution(dpi);
            printChartPage(printer, *g->chart(), {}, false, ChartHPos::Left, ChartVPos::Top, 15, 10);
            return wordHeights(pdf);
        };
        for (int dpi : {300, 1200}) {
            const auto h = heights(dpi);
            // The chart's title (bold Arial 10 pt) and a year of the axis
            // (8 pt): a word's box is about 1.2 times its size.
            QString titleWord;
            for (const QString& k : h.keys())
                if (k.startsWith(QStringLiteral("Roczna"))) titleWord = k;
            QVERIFY2(!titleWord.isEmpty() && h.contains(QStringLiteral("2002")),
                     qPrintable(QStringList(h.keys()).join(QLatin1Char('|'))));
            const double title = h.value(titleWord), tick = h.value(QStringLiteral("2002"));
            QVERIFY2(title > 8.0 && title < 16.0,
                     qPrintable(QStringLiteral("%1 dpi: %2 pt").arg(dpi).arg(title)));
            QVERIFY2(tick > 6.0 && tick < 13.0,
                     qPrintable(QStringLiteral("%1 dpi: %2 pt").arg(dpi).arg(tick)));
        }
    }

    // A text longer than a page goes on on the next pages: its last line is
    // on the last page, and no line is lost.
    void longTextTakesSeveralPages() {
        if (!have("pdftotext")) QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("tekst.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        QStringList lines;
        for (int i = 1; i <= 200; ++i) lines << QStringLiteral("Wiersz %1").arg(i);
        printTextPage(printer, lines, QFont(QStringLiteral("Courier New"), 10));
        const QStringList pages = pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        // 10 pt lines at 300 dpi: 42 px, 72 to a page inside 2 cm margins.
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[0].contains(QStringLiteral("Wiersz 72\n")) &&
                !pages[0].contains(QStringLiteral("Wiersz 73")));
        QVERIFY(pages[1].startsWith(QStringLiteral("Wiersz 73\n")));
        QVERIFY2(pages[2].trimmed().endsWith(QStringLiteral("Wiersz 200")), qPrintable(pages[2]));
        const QString all = pages.join(QString());
        int found = 0;
        for (int i = 1; i <= 200; ++i) found += all.contains(QStringLiteral("Wiersz %1\n").arg(i));
        QCOMPARE(found, 200);
    }

    // "Drukuj" on a chart window: the kind question, the colour warning
    // only for a coloured background, the report and its separate table
    // document, the chart alone; on a text window its lines.
    void printCommand() {
        if (!have("pdftotext")) QSKIP("pdftotext (poppler-utils) is not installed");
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        TfmGraph* g = yearlyChart(w, "energy");
        QVERIFY(g);
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(g->parentWidget()));
        bool chartOnly = false, withTable = true;
        f.answer = [&](QDialog& d) {
            if (auto* k = qobject_cast<PrintKindDialog*>(&d)) k->chartOnlyButton()->setChecked(chartOnly);
            if (auto* p = qobject_cast<TfmReportPanel*>(&d))
                p->sectionBox(TableSection)->setChecked(withTable);
            return int(QDialog::Accepted);
        };
        // The default panel is coloured; a white one prints without a word.
        g->setPanelColour(0xFFFFFF);
        f.dialogsShown.clear();
        f.dialogs.printAnswer = f.dir.filePath(QStringLiteral("raport.pdf"));
        w.action(QStringLiteral("mPrint"))->trigger();
        QCOMPARE(f.dialogsShown,
                 (std::vector<QString>{QStringLiteral("PrintKind"), QStringLiteral("TfmReportPanel")}));
        // White background: no warning (the one message names the files written).
        QVERIFY(std::none_of(f.dialogs.messages.begin(), f.dialogs.messages.end(),
                             [](const auto& m) { return m.kind == QStringLiteral("confirm"); }));
        QVERIFY(pdfText(f.dialogs.printAnswer).contains(QStringLiteral("Roczna energia wyzwolona")));
        const QString table = pdfText(f.dir.filePath(QStringLiteral("raport-tabela.pdf")));
        QVERIFY2(table.contains(QStringLiteral("Okres")) && table.contains(QStringLiteral("2003")),
                 qPrintable(table));
        // The table went to a file of its own, and the message says which.
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].kind, QStringLiteral("info"));
        QVERIFY2(f.dialogs.messages[0].text.contains(
                     QStringLiteral("Tabela danych: ") +
                     QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("raport-tabela.pdf")))),
                 qPrintable(f.dialogs.messages[0].text));
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("Raport: ")));
        f.dialogs.messages.clear();

        g->gradientVisible = true;
        g->gradientStart = 0xFFFF00;
        chartOnly = true;
        f.dialogsShown.clear();
        f.dialogs.printAnswer = f.dir.filePath(QStringLiteral("wykres.pdf"));
        w.action(QStringLiteral("mPrint"))->trigger();
        QCOMPARE(f.dialogsShown,
                 (std::vector<QString>{QStringLiteral("PrintKind"), QStringLiteral("TfmPrintGraph")}));
        QCOMPARE(f.dialogs.count(
                     QStringLiteral("Tło wykresu zawiera kolor różny od białego. Upewnij się, czy chcesz "
                                    "drukować w kolorze.")),
                 1);
        QVERIFY(QFile::exists(f.dialogs.printAnswer));

        // A cancelled print dialog prints nothing.
        f.dialogs.printAnswer.clear();
        w.action(QStringLiteral("mPrint"))->trigger();
        QCOMPARE(QDir(f.dir.path()).entryList({QStringLiteral("*.pdf")}).size(), 3);
        // The colour warning can stop the print.
        f.dialogs.printAnswer = f.dir.filePath(QStringLiteral("kolor.pdf"));
        f.dialogs.confirmAnswers = {false};
        w.action(QStringLiteral("mPrint"))->trigger();
        QVERIFY(!QFile::exists(f.dialogs.printAnswer));
        QCOMPARE(f.dialogs.messages.back().kind, QStringLiteral("confirm"));

        TfmRichText* text = w.fileCommands().openText(
            {"Raport zagrożenia", "  Próg kompletności katalogu: 1.3"}, QStringLiteral("Raport tekstowy"));
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(text->parentWidget()));
        f.dialogs.printAnswer = f.dir.filePath(QStringLiteral("tekst.pdf"));
        w.action(QStringLiteral("mPrint"))->trigger();
        QVERIFY(pdfText(f.dialogs.printAnswer).contains(QStringLiteral("Próg kompletności katalogu: 1.3")));
        QCOMPARE(w.printCommands().printer().docName(), QStringLiteral("Raport tekstowy"));
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
