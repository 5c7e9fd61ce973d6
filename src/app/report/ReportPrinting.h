#pragma once
// Printing on a QPrinter (a printer or a PDF file): a text window's lines as
// one document, a chart report page (title, chart header and parameters in
// their fonts, the chart, the comment) and a page holding the chart alone,
// placed by the print geometry of the core; text longer than a page goes on
// on the next pages. Pages are measured from the paper's edge (full page), in
// the printer's pixels; charts keep their fonts' point sizes at any printer
// resolution.

#include <QFont>
#include <QStringList>
#include <array>

#include "catalogue/Preferences.h"
#include "interchange/PrintGeometry.h"
#include "report/ReportLines.h"

class QCustomPlot;
class QPrinter;

namespace zorv {

enum ReportSectionIndex { TitleSection, HeaderSection, ParametersSection, TableSection, FooterSection };
inline constexpr int kReportSections = 5;

struct PrintSectionText {
    QStringList lines;
    QFont font;
    bool visible = true;
};

// The five sections of a report written with its section tags, in the report
// fonts of the preferences (by default title Arial 20 pt, header Arial 14 pt,
// parameters Courier 10 pt, table and comment Arial 10 pt).
std::array<PrintSectionText, kReportSections> reportSections(const ReportLines& taggedReport,
                                                             const Preferences& fonts = Preferences{});

struct ReportPrintOptions {
    bool specifySize = true;  // "Ustalone Rozmiary": else the chart fills the rest of the page
    ChartHPos position = ChartHPos::Left;
    double widthCm = 16.0, heightCm = 12.0;
    PrintMargins margins;
};

// Sets the printer to print from the paper's edge, with the job title and
// copies given.
void preparePrinter(QPrinter& printer, const QString& title, int copies = 1);

// The report page; returns where the chart went.
PrintRect printReportPage(QPrinter& printer, const std::array<PrintSectionText, kReportSections>& sections,
                          const ReportPrintOptions& options, QCustomPlot& chart);
// The chart alone inside the margins: filling them, or of the size given
// and aligned.
PrintRect printChartPage(QPrinter& printer, QCustomPlot& chart, const PrintMargins& margins, bool autoSize,
                         ChartHPos h, ChartVPos v, double widthCm, double heightCm);
// Lines of text from the top margin down, in one font, on as many pages as
// they take.
void printTextPage(QPrinter& printer, const QStringList& lines, const QFont& font,
                   const PrintMargins& margins = {});

}  // namespace zorv
