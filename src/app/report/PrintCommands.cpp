#include "report/PrintCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <cmath>

#include "analysis/Database.h"
#include "chart/TfmGraph.h"
#include "report/PrintDialogs.h"
#include "report/ReportPrinting.h"
#include "report/TfmRichText.h"
#include "services/ProgressWindow.h"
#include "services/ShellInterface.h"
#include "services/UserDialogs.h"

namespace zorv {

namespace {

const QString kColourWarning =
    QStringLiteral("Tło wykresu zawiera kolor różny od białego. Upewnij się, czy chcesz drukować w kolorze.");

bool printsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

// Prints `work` as a document of its own: to a PDF file of its own name when
// the printer writes PDF, so that the documents do not overwrite each other.
// The file written is added to `written` under the document's caption.
template <class Work>
void separateDocument(QPrinter& printer, const QString& title, const QString& suffix, const QString& caption,
                      PrintedFiles& written, Work work) {
    const QString file = printer.outputFileName();
    if (printsToFile(printer)) {
        printer.setOutputFileName(separateDocumentFile(file, suffix));
        written.push_back({caption, printer.outputFileName()});
    }
    preparePrinter(printer, title, printer.copyCount());
    work();
    printer.setOutputFileName(file);
}

}  // namespace

QString separateDocumentFile(const QString& pdf, const QString& suffix) {
    const QFileInfo info(pdf);
    const QString ext = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + suffix + ext);
}

QString printedFilesMessage(const PrintedFiles& files) {
    QString text = QStringLiteral("Zapisano pliki:");
    for (const PrintedFile& f : files)
        text += QStringLiteral("\n%1: %2").arg(f.caption, QDir::toNativeSeparators(f.path));
    return text;
}

PrintCommands::PrintCommands(ShellInterface& shell)
    : QObject(shell.mainWindow()),
      shell_(shell),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrintCommands::~PrintCommands() = default;

void PrintCommands::bind() {
    shell_.bindCommand(QStringLiteral("mPrint"), [this](int) { print(); });
    shell_.bindCommand(QStringLiteral("mPrintSetup"), [this](int) { pageSetup(); });
}

TfmReportPanel& PrintCommands::reportPanel() {
    if (!panel_) panel_ = new TfmReportPanel(shell_.mainWindow());
    return *panel_;
}

TfmPrintGraph& PrintCommands::chartDialog() {
    if (!chartDialog_) chartDialog_ = new TfmPrintGraph(shell_.mainWindow());
    return *chartDialog_;
}

void PrintCommands::print() {
    shell_.refreshAnalysisSettings();
    QMdiSubWindow* active = shell_.activeChild();
    if (!active) return;
    if (auto* text = qobject_cast<TfmRichText*>(active->widget()))
        printText(*text);
    else if (auto* chart = qobject_cast<TfmGraph*>(active->widget()))
        printChart(*chart);
}

void PrintCommands::pageSetup() {
    QPageSetupDialog dialog(printer_.get(), shell_.mainWindow());
    shell_.execDialog(dialog);
}

bool PrintCommands::printText(TfmRichText& window) {
    if (!shell_.dialogs().setUpPrinter(*printer_)) return false;
    preparePrinter(*printer_, window.windowTitle(), printer_->copyCount());
    QStringList lines;
    for (const std::string& l : window.lines()) lines << QString::fromStdString(l);
    printTextPage(*printer_, lines, window.editor()->font());
    return true;
}

bool PrintCommands::printChart(TfmGraph& chart) {
    PrintKindDialog kind(shell_.mainWindow());
    if (shell_.execDialog(kind) != QDialog::Accepted) return false;
    if (chartBackgroundInColour(chart.gradientVisible, chart.panelColour(), chart.backColour(),
                                chart.gradientStart, chart.gradientEnd) &&
        !shell_.dialogs().confirm(kConfirmTitle, kColourWarning))
        return false;  // the user would rather not print in colour
    return kind.fullReport() ? printReport(chart) : printChartOnly(chart);
}

bool PrintCommands::printReport(TfmGraph& chart) {
    ReportLines report;
    {
        ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Tworzenie raportu..."));
        chart.analysis().SetPrintMarkup(true);
        chart.analysis().WriteReport(report);
        chart.analysis().SetPrintMarkup(false);
    }
    const Preferences& prefs = shell_.preferences();
    TfmReportPanel& panel = reportPanel();
    panel.prepare(reportSections(report, prefs), std::trunc(prefs.PrinterGraphWidth),
                  std::trunc(prefs.PrinterGraphHeight));
    if (shell_.execDialog(panel) != QDialog::Accepted) return false;
    if (!shell_.dialogs().setUpPrinter(*printer_)) return false;
    const auto sections = panel.sections();
    const ReportPrintOptions options = panel.options();
    PrintedFiles written;
    if (panel.parametersOnOwnPage())
        separateDocument(*printer_, QStringLiteral("ZORV  Drukowanie parametrów wykresu..."),
                         QStringLiteral("parametry"), QStringLiteral("Parametry"), written, [&] {
                             printTextPage(*printer_, sections[ParametersSection].lines,
                                           sections[ParametersSection].font, options.margins);
                         });
    if (panel.tableDocument())
        separateDocument(*printer_, QStringLiteral("ZORV  Drukowanie tabeli..."), QStringLiteral("tabela"),
                         QStringLiteral("Tabela danych"), written, [&] {
                             printTextPage(*printer_, sections[TableSection].lines,
                                           sections[TableSection].font, options.margins);
                         });
    preparePrinter(*printer_, QStringLiteral("ZORV  Drukowanie raportu"), printer_->copyCount());
    printReportPage(*printer_, sections, options, *chart.chart());
    // A PDF of the report alone is where the user asked; the separate
    // documents beside it are named, or they would go unnoticed.
    if (printsToFile(*printer_) && !written.empty()) {
        written.insert(written.begin(), {QStringLiteral("Raport"), printer_->outputFileName()});
        shell_.dialogs().information(kInfoTitle, printedFilesMessage(written));
    }
    return true;
}

bool PrintCommands::printChartOnly(TfmGraph& chart) {
    TfmPrintGraph& dialog = chartDialog();
    if (shell_.execDialog(dialog) != QDialog::Accepted) return false;
    if (!shell_.dialogs().setUpPrinter(*printer_)) return false;
    preparePrinter(*printer_, QStringLiteral("ZORV 1.61  Drukowanie wykresu"), printer_->copyCount());
    printChartPage(*printer_, *chart.chart(), dialog.margins(), dialog.autoSize(), dialog.hAlign(),
                   dialog.vAlign(), dialog.widthCm(), dialog.heightCm());
    return true;
}

}  // namespace zorv
