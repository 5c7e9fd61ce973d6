#include "report/ReportPrinting.h"

#include <qcustomplot.h>

#include <QPainter>
#include <QPicture>
#include <QPrinter>

#include "report/ReportWriter.h"

namespace zorv {

namespace {

QFont sectionFont(const char* family, int points, QFont::StyleHint hint) {
    QFont f(QString::fromLatin1(family), points);
    f.setStyleHint(hint);
    return f;
}

PrintCursor cursorOf(const QPrinter& printer, const PrintMargins& margins) {
    return pageCursor(printer.width(), printer.height(), margins, printer.logicalDpiX());
}

// The section's lines from the cursor down; nothing for a hidden or empty one.
void printSection(QPainter& painter, const QPrinter& printer, PrintCursor& cursor,
                  const PrintSectionText& s) {
    if (!s.visible || s.lines.isEmpty()) return;
    painter.setFont(s.font);
    const int lineHeight = sectionLineHeight(s.font.pointSizeF(), printer.logicalDpiY());
    const int ascent = painter.fontMetrics().ascent();
    int y = placeSection(cursor, static_cast<int>(s.lines.size()), lineHeight);
    for (const QString& line : s.lines) {
        // Text below the bottom margin is not printed (no page breaks).
        if (y + lineHeight <= cursor.bottom) painter.drawText(QPoint(cursor.left, y + ascent), line);
        y += lineHeight;
    }
}

// The chart drawn into the rectangle as a chart of a third of the
// rectangle's size looks on the screen, enlarged three times. It is recorded
// on a picture first: laid out and drawn at screen resolution, so that its
// texts take the room the layout gave them (drawn straight on the printer,
// the texts would follow the printer's resolution and outgrow the layout),
// then played back scaled.
void drawChart(QPainter& painter, QCustomPlot& chart, const PrintRect& r) {
    const int w = std::max(1, r.width() / 3), h = std::max(1, r.height() / 3);
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        recorder.setMode(QCPPainter::pmNoCaching);
        // Hairlines (pens of width 0) would stay one printer dot wide, a
        // third of what the window shows; made 1 wide they scale with the
        // chart.
        recorder.setMode(QCPPainter::pmNonCosmetic);
        chart.toPainter(&recorder, w, h);
    }
    painter.save();
    painter.translate(r.left, r.top);
    // Played back on a device of another resolution, a picture grows by the
    // ratio of the resolutions.
    const double growX = double(painter.device()->logicalDpiX()) / picture.logicalDpiX();
    const double growY = double(painter.device()->logicalDpiY()) / picture.logicalDpiY();
    painter.scale(double(r.width()) / w / growX, double(r.height()) / h / growY);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

}  // namespace

std::array<PrintSectionText, kReportSections> reportSections(const ReportLines& report) {
    std::array<PrintSectionText, kReportSections> s;
    const char* markers[kReportSections] = {"<H1>", "<H2>", "<H3>", "<p>", "<H4>"};
    for (int i = 0; i < kReportSections; ++i) {
        ReportLines lines;
        ExtractReportSection(report, markers[i], lines);
        for (const std::string& l : lines) s[std::size_t(i)].lines << QString::fromStdString(l);
    }
    s[TitleSection].font = sectionFont("Arial", 20, QFont::SansSerif);
    s[HeaderSection].font = sectionFont("Arial", 14, QFont::SansSerif);
    s[ParametersSection].font = sectionFont("Courier", 10, QFont::TypeWriter);
    s[TableSection].font = sectionFont("Arial", 10, QFont::SansSerif);
    s[FooterSection].font = sectionFont("Arial", 10, QFont::SansSerif);
    return s;
}

void preparePrinter(QPrinter& printer, const QString& title, int copies) {
    printer.setFullPage(true);
    printer.setDocName(title);
    printer.setCopyCount(std::max(1, copies));
}

PrintRect printReportPage(QPrinter& printer, const std::array<PrintSectionText, kReportSections>& sections,
                          const ReportPrintOptions& o, QCustomPlot& chart) {
    QCPPainter painter(&printer);
    painter.setBackgroundMode(Qt::TransparentMode);
    PrintCursor cursor = cursorOf(printer, o.margins);
    for (int s : {TitleSection, HeaderSection, ParametersSection})
        printSection(painter, printer, cursor, sections[std::size_t(s)]);
    const PrintRect r =
        placeChart(cursor, o.position, ChartVPos::Top, o.specifySize ? o.widthCm : 0.0,
                   o.specifySize ? o.heightCm : 0.0, printer.logicalDpiX(), printer.logicalDpiY());
    drawChart(painter, chart, r);
    printSection(painter, printer, cursor, sections[FooterSection]);
    return r;
}

PrintRect printChartPage(QPrinter& printer, QCustomPlot& chart, const PrintMargins& margins, bool autoSize,
                         ChartHPos h, ChartVPos v, double widthCm, double heightCm) {
    QCPPainter painter(&printer);
    painter.setBackgroundMode(Qt::TransparentMode);
    PrintCursor cursor = cursorOf(printer, margins);
    const PrintRect r = placeChart(cursor, h, v, autoSize ? 0.0 : widthCm, autoSize ? 0.0 : heightCm,
                                   printer.logicalDpiX(), printer.logicalDpiY());
    drawChart(painter, chart, r);
    return r;
}

void printTextPage(QPrinter& printer, const QStringList& lines, const QFont& font,
                   const PrintMargins& margins) {
    QPainter painter(&printer);
    PrintCursor cursor = cursorOf(printer, margins);
    printSection(painter, printer, cursor, {lines, font, true});
}

}  // namespace zorv
