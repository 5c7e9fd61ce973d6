#include "report/ReportPrinting.h"

#include <qcustomplot.h>

#include <QPainter>
#include <QPicture>
#include <QPrinter>

#include "report/ReportWriter.h"
#include "services/ReportFontQt.h"

namespace zorv {

namespace {

PrintCursor cursorOf(const QPrinter& printer, const PrintMargins& margins) {
    return pageCursor(printer.width(), printer.height(), margins, printer.logicalDpiX());
}

// The section's lines from the cursor down, going on on new pages past the
// bottom margin; nothing for a hidden or empty one.
void printSection(QPainter& painter, QPrinter& printer, PrintCursor& cursor, int pageTop,
                  const PrintSectionText& s) {
    if (!s.visible || s.lines.isEmpty()) return;
    painter.setFont(s.font);
    const int lineHeight = sectionLineHeight(s.font.pointSizeF(), printer.logicalDpiY());
    const int ascent = painter.fontMetrics().ascent();
    const auto places = placeSectionLines(cursor, static_cast<int>(s.lines.size()), lineHeight, pageTop);
    for (qsizetype i = 0; i < s.lines.size(); ++i) {
        const PlacedLine& at = places[std::size_t(i)];
        if (at.newPageBefore) printer.newPage();
        painter.drawText(QPoint(cursor.left, at.y + ascent), s.lines[i]);
    }
}

// The chart drawn into the rectangle as it looks in a window of the
// rectangle's size: laid out at that size in the pixels of the screen, so
// that its fonts keep their point sizes on paper whatever the printer's
// resolution. It is recorded on a picture first (drawn straight on the
// printer, the texts would follow the printer's resolution and outgrow the
// layout), then played back on the printer.
void drawChart(QPainter& painter, QCustomPlot& chart, const PrintRect& r) {
    QPicture picture;
    const double toScreenX = double(picture.logicalDpiX()) / painter.device()->logicalDpiX();
    const double toScreenY = double(picture.logicalDpiY()) / painter.device()->logicalDpiY();
    const int w = std::max(1, int(std::lround(r.width() * toScreenX)));
    const int h = std::max(1, int(std::lround(r.height() * toScreenY)));
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        recorder.setMode(QCPPainter::pmNoCaching);
        // Hairlines (pens of width 0) would stay one printer dot wide, far
        // thinner than the window shows them; made 1 wide they scale with
        // the chart.
        recorder.setMode(QCPPainter::pmNonCosmetic);
        chart.toPainter(&recorder, w, h);
    }
    painter.save();
    painter.translate(r.left, r.top);
    // Played back on a device of another resolution, a picture grows by the
    // ratio of the resolutions; what is left is the rounding of w and h.
    painter.scale(double(r.width()) / w * toScreenX, double(r.height()) / h * toScreenY);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

// The chart placed below the sections, on a new page when too little of
// this one is left for it.
PrintRect placeChartOnPage(QPrinter& printer, PrintCursor& cursor, int pageTop, ChartHPos h, ChartVPos v,
                           double widthCm, double heightCm) {
    if (chartNeedsNewPage(cursor, heightCm, printer.logicalDpiY(), pageTop)) {
        printer.newPage();
        cursor.top = pageTop;
    }
    return placeChart(cursor, h, v, widthCm, heightCm, printer.logicalDpiX(), printer.logicalDpiY());
}

}  // namespace

std::array<PrintSectionText, kReportSections> reportSections(const ReportLines& report,
                                                             const Preferences& fonts) {
    std::array<PrintSectionText, kReportSections> s;
    const char* markers[kReportSections] = {"<H1>", "<H2>", "<H3>", "<p>", "<H4>"};
    for (int i = 0; i < kReportSections; ++i) {
        ReportLines lines;
        ExtractReportSection(report, markers[i], lines);
        for (const std::string& l : lines) s[std::size_t(i)].lines << QString::fromStdString(l);
    }
    s[TitleSection].font = qtFont(fonts.TitleFont, QFont::SansSerif);
    s[HeaderSection].font = qtFont(fonts.HeaderFont, QFont::SansSerif);
    s[ParametersSection].font = qtFont(fonts.ParametersFont, QFont::TypeWriter);
    s[TableSection].font = qtFont(fonts.TableFont, QFont::SansSerif);
    s[FooterSection].font = qtFont(fonts.FooterFont, QFont::SansSerif);
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
    const int pageTop = cursor.top;
    for (int s : {TitleSection, HeaderSection, ParametersSection})
        printSection(painter, printer, cursor, pageTop, sections[std::size_t(s)]);
    const PrintRect r = placeChartOnPage(printer, cursor, pageTop, o.position, ChartVPos::Top,
                                         o.specifySize ? o.widthCm : 0.0, o.specifySize ? o.heightCm : 0.0);
    drawChart(painter, chart, r);
    printSection(painter, printer, cursor, pageTop, sections[FooterSection]);
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
    printSection(painter, printer, cursor, cursor.top, {lines, font, true});
}

}  // namespace zorv
